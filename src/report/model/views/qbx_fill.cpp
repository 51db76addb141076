#include "report/model/views/qbx_fill.h"

#include <algorithm>

#include "core/numeric.h"
#include "core/rtti_props.h"
#include "platform/color.h"
#include "report/model/qbx_diff.h"

namespace zavrik {
namespace {

const EnumType& GradientStyleType() {
  static const EnumType type{u"gsHorizontal", u"gsVertical", u"gsElliptic", u"gsRectangle", u"gsVertCenter",
                             u"gsHorizCenter"};
  return type;
}

const EnumType& OrientationType() {
  static const EnumType type{u"foVertical", u"foHorizontal", u"foVerticalMirror", u"foHorizontalMirror"};
  return type;
}

int Component(int32_t color, int shift) { return (ColorToRgb(static_cast<Color>(color)) >> shift) & 0xFF; }

// Per component: f(component of a, component of b).
template <class F>
int32_t MixComponents(int32_t a, int32_t b, F f) {
  int32_t result = 0;
  for (int shift : {0, 8, 16}) result |= (f(Component(a, shift), Component(b, shift)) & 0xFF) << shift;
  return result;
}

}  // namespace

const EnumType& FillTypeType() {
  static const EnumType type{u"ftBrush", u"ftGradient", u"ftGlass"};
  return type;
}

const EnumType& BrushStyleType() {
  static const EnumType type{u"bsSolid", u"bsClear", u"bsHorizontal", u"bsVertical", u"bsFDiagonal", u"bsBDiagonal",
                             u"bsCross", u"bsDiagCross"};
  return type;
}

const ClassInfo& TqbxCustomFill::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomFill", &Object::StaticClass(), nullptr, {}); });
  return info;
}

// --- brush

const ClassInfo& TqbxBrushFill::StaticClass() {
  using C = TqbxBrushFill;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxBrushFill", &TqbxCustomFill::StaticClass(), &New<TqbxBrushFill>, {
      Prop(u"BackColor", &C::BackColor, &C::SetBackColor).Default(0x1FFFFFFF),
      Prop(u"ForeColor", &C::ForeColor, &C::SetForeColor).Default(0),
      Prop(u"Style", &C::Style, &C::SetStyle).Enum(BrushStyleType()).Default(bsSolid),
  }); });
  return info;
}

void TqbxBrushFill::Assign(const TqbxCustomFill& source) {
  if (auto* s = dynamic_cast<const TqbxBrushFill*>(&source)) *this = *s;
}

bool TqbxBrushFill::IsDefault() const { return FBackColor == 0x1FFFFFFF && FForeColor == 0 && FStyle == bsSolid; }

String TqbxBrushFill::Diff(const TqbxCustomFill* other, StringView prefix) const {
  const auto* o = dynamic_cast<const TqbxBrushFill*>(other);
  String out;
  DiffInt(out, {prefix, u".BackColor"}, FBackColor, o ? o->FBackColor : ~int64_t{FBackColor});
  DiffInt(out, {prefix, u".ForeColor"}, FForeColor, o ? o->FForeColor : ~int64_t{FForeColor});
  DiffInt(out, {prefix, u".Style"}, FStyle, o ? o->FStyle : -1);
  return out;
}

std::unique_ptr<TqbxCustomFill> TqbxBrushFill::Clone() const { return std::make_unique<TqbxBrushFill>(*this); }

// --- gradient

const ClassInfo& TqbxGradientFill::StaticClass() {
  using C = TqbxGradientFill;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxGradientFill", &TqbxCustomFill::StaticClass(), &New<TqbxGradientFill>, {
      Prop(u"StartColor", &C::StartColor, &C::SetStartColor).Default(16777215),
      Prop(u"EndColor", &C::EndColor, &C::SetEndColor).Default(0),
      Prop(u"GradientStyle", &C::GradientStyle, &C::SetGradientStyle).Enum(GradientStyleType()).Default(gsHorizontal),
  }); });
  return info;
}

void TqbxGradientFill::Assign(const TqbxCustomFill& source) {
  if (auto* s = dynamic_cast<const TqbxGradientFill*>(&source)) *this = *s;
}

int32_t TqbxGradientFill::StepColor(int i, int steps) const {
  return MixComponents(FStartColor, FEndColor, [&](int s, int e) {
    return s + static_cast<int>(RoundHalfEven(static_cast<double>(e - s) * i / steps));
  });
}

int32_t TqbxGradientFill::GetColor() const { return StepColor(127, 255); }

String TqbxGradientFill::Diff(const TqbxCustomFill* other, StringView prefix) const {
  const auto* o = dynamic_cast<const TqbxGradientFill*>(other);
  String out;
  DiffInt(out, {prefix, u".StartColor"}, FStartColor, o ? o->FStartColor : ~int64_t{FStartColor});
  DiffInt(out, {prefix, u".EndColor"}, FEndColor, o ? o->FEndColor : ~int64_t{FEndColor});
  DiffInt(out, {prefix, u".GradientStyle"}, FGradientStyle, o ? o->FGradientStyle : -1);
  return out;
}

std::unique_ptr<TqbxCustomFill> TqbxGradientFill::Clone() const { return std::make_unique<TqbxGradientFill>(*this); }

// --- glass

const ClassInfo& TqbxGlassFill::StaticClass() {
  using C = TqbxGlassFill;
  // A new glass fill is grey, but templates write its colour against white.
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxGlassFill", &TqbxCustomFill::StaticClass(), &New<TqbxGlassFill>, {
      Prop(u"Color", &C::Color, &C::SetColor).Default(16777215),
      Prop(u"Blend", &C::Blend, &C::SetBlend),
      Prop(u"Hatch", &C::Hatch, &C::SetHatch).Default(0),
      Prop(u"Orientation", &C::Orientation, &C::SetOrientation).Enum(OrientationType()).Default(foHorizontal),
  }); });
  return info;
}

void TqbxGlassFill::Assign(const TqbxCustomFill& source) {
  if (auto* s = dynamic_cast<const TqbxGlassFill*>(&source)) *this = *s;
}

int32_t TqbxGlassFill::BlendColor() const {
  return MixComponents(FColor, FColor, [&](int c, int) {
    return std::min(255, c + static_cast<int>(RoundHalfEven((255 - c) * std::clamp(FBlend, 0.0, 1.0))));
  });
}

String TqbxGlassFill::Diff(const TqbxCustomFill* other, StringView prefix) const {
  const auto* o = dynamic_cast<const TqbxGlassFill*>(other);
  String out;
  DiffInt(out, {prefix, u".Color"}, FColor, o ? o->FColor : ~int64_t{FColor});
  if (!o || o->FBlend != FBlend) DiffFloat(out, {prefix, u".Blend"}, FBlend, FBlend + 1);
  DiffBool(out, {prefix, u".Hatch"}, FHatch, o ? o->FHatch : !FHatch);
  DiffInt(out, {prefix, u".Orientation"}, FOrientation, o ? o->FOrientation : -1);
  return out;
}

std::unique_ptr<TqbxCustomFill> TqbxGlassFill::Clone() const { return std::make_unique<TqbxGlassFill>(*this); }

std::unique_ptr<TqbxCustomFill> CreateFill(TqbxFillType kind) {
  switch (kind) {
    case ftGradient: return std::make_unique<TqbxGradientFill>();
    case ftGlass: return std::make_unique<TqbxGlassFill>();
    case ftBrush: break;
  }
  return std::make_unique<TqbxBrushFill>();
}

void TqbxFillHolder::SetFillType(TqbxFillType kind) {
  if (kind != FillType()) FFill = CreateFill(kind);
}

void TqbxFillHolder::SetFill(const TqbxCustomFill* source) {
  if (!source) return;
  SetFillType(source->Kind());
  FFill->Assign(*source);
}

}  // namespace zavrik
