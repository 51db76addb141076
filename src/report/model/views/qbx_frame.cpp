#include "report/model/views/qbx_frame.h"

#include <utility>

#include "core/rtti_props.h"
#include "report/model/qbx_diff.h"

namespace zavrik {

const EnumType& FrameStyleType() {
  static const EnumType type{u"fsSolid", u"fsDash", u"fsDot", u"fsDashDot", u"fsDashDotDot", u"fsDouble",
                             u"fsAltDot", u"fsSquare"};
  return type;
}

const EnumType& FrameTypeSet() {
  static const EnumType type{u"ftLeft", u"ftRight", u"ftTop", u"ftBottom"};
  return type;
}

const ClassInfo& TqbxFrameLine::StaticClass() {
  using C = TqbxFrameLine;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxFrameLine", &Object::StaticClass(), nullptr, {
      Prop(u"Color", &C::Color, &C::SetColor).Stored(&C::IsColorStored),
      Prop(u"Style", &C::Style, &C::SetStyle).Enum(FrameStyleType()).Stored(&C::IsStyleStored),
      Prop(u"Width", &C::Width, &C::SetWidth).Stored(&C::IsWidthStored),
  }); });
  return info;
}

void TqbxFrameLine::Assign(const TqbxFrameLine& source) {
  FColor = source.FColor;
  FStyle = source.FStyle;
  FWidth = source.FWidth;
}

bool TqbxFrameLine::SameAs(const TqbxFrameLine& o) const {
  return FColor == o.FColor && FStyle == o.FStyle && FWidth == o.FWidth;
}

bool TqbxFrameLine::IsColorStored() const { return !FFrame || FColor != FFrame->Color(); }
bool TqbxFrameLine::IsStyleStored() const { return !FFrame || FStyle != FFrame->Style(); }
bool TqbxFrameLine::IsWidthStored() const { return !FFrame || FWidth != FFrame->Width(); }

TqbxFrame::TqbxFrame() = default;

const ClassInfo& TqbxFrame::StaticClass() {
  using C = TqbxFrame;
  // The lines come after the frame-level properties, so that per-line attributes override them.
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxFrame", &Object::StaticClass(), nullptr, {
      Prop(u"Color", &C::Color, &C::SetColor).Default(0),
      Prop(u"DropShadow", &C::DropShadow, &C::SetDropShadow).Default(0),
      Prop(u"ShadowColor", &C::ShadowColor, &C::SetShadowColor).Default(0),
      Prop(u"ShadowWidth", &C::ShadowWidth, &C::SetShadowWidth).Stored(&C::IsShadowWidthStored),
      Prop(u"Style", &C::Style, &C::SetStyle).Enum(FrameStyleType()).Default(fsSolid),
      Prop(u"Typ", &C::Typ, &C::SetTyp).SetOf(FrameTypeSet()).Default(0),
      Prop(u"Width", &C::Width, &C::SetWidth).Stored(&C::IsWidthStored),
      Prop(u"LeftLine", &C::LeftLine),
      Prop(u"TopLine", &C::TopLine),
      Prop(u"RightLine", &C::RightLine),
      Prop(u"BottomLine", &C::BottomLine),
  }); });
  return info;
}

void TqbxFrame::SetColor(int32_t v) {
  FColor = v;
  for (auto* line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine}) line->SetColor(v);
}

void TqbxFrame::SetStyle(TqbxFrameStyle v) {
  FStyle = v;
  for (auto* line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine}) line->SetStyle(v);
}

void TqbxFrame::SetWidth(double v) {
  FWidth = v;
  for (auto* line : {&FLeftLine, &FTopLine, &FRightLine, &FBottomLine}) line->SetWidth(v);
}

TqbxFrameLine& TqbxFrame::Line(TqbxFrameType side) const {
  switch (side) {
    case ftLeft: return FLeftLine;
    case ftRight: return FRightLine;
    case ftTop: return FTopLine;
    case ftBottom: break;
  }
  return FBottomLine;
}

void TqbxFrame::Assign(const TqbxFrame& s) {
  FColor = s.FColor;
  FStyle = s.FStyle;
  FWidth = s.FWidth;
  FTyp = s.FTyp;
  FDropShadow = s.FDropShadow;
  FShadowColor = s.FShadowColor;
  FShadowWidth = s.FShadowWidth;
  FLeftLine.Assign(s.FLeftLine);
  FTopLine.Assign(s.FTopLine);
  FRightLine.Assign(s.FRightLine);
  FBottomLine.Assign(s.FBottomLine);
}

bool TqbxFrame::SameAs(const TqbxFrame& o) const {
  return FColor == o.FColor && FStyle == o.FStyle && FWidth == o.FWidth && FTyp == o.FTyp &&
         FDropShadow == o.FDropShadow && FShadowColor == o.FShadowColor && FShadowWidth == o.FShadowWidth &&
         FLeftLine.SameAs(o.FLeftLine) && FTopLine.SameAs(o.FTopLine) && FRightLine.SameAs(o.FRightLine) &&
         FBottomLine.SameAs(o.FBottomLine);
}

void TqbxFrame::SwapSides(TqbxFrameType a, TqbxFrameType b) {
  TqbxFrameLine kept;
  kept.Assign(Line(a));
  Line(a).Assign(Line(b));
  Line(b).Assign(kept);
  const bool has_a = FTyp & a, has_b = FTyp & b;
  FTyp &= ~(a | b);
  if (has_a) FTyp |= b;
  if (has_b) FTyp |= a;
}

String TqbxFrame::Diff(const TqbxFrame& o) const {
  String out;
  DiffInt(out, u"Frame.Color", FColor, o.FColor);
  DiffBool(out, u"Frame.DropShadow", FDropShadow, o.FDropShadow);
  DiffInt(out, u"Frame.ShadowColor", FShadowColor, o.FShadowColor);
  DiffFloat(out, u"Frame.ShadowWidth", FShadowWidth, o.FShadowWidth);
  DiffInt(out, u"Frame.Style", FStyle, o.FStyle);
  DiffInt(out, u"Frame.Typ", FTyp, o.FTyp);
  DiffFloat(out, u"Frame.Width", FWidth, o.FWidth);
  // A line is compared with this frame's value when the frame-level value was written (the reader
  // sets every line from it), else with the other frame's line.
  const bool color_written = FColor != o.FColor, style_written = FStyle != o.FStyle, width_written = FWidth != o.FWidth;
  const std::pair<const char16_t*, TqbxFrameType> sides[] = {
      {u"Frame.LeftLine", ftLeft}, {u"Frame.TopLine", ftTop}, {u"Frame.RightLine", ftRight}, {u"Frame.BottomLine", ftBottom}};
  for (const auto& [name, side] : sides) {
    const TqbxFrameLine& line = Line(side);
    const TqbxFrameLine& other = o.Line(side);
    // The names are built only for the values that differ.
    const int64_t color = color_written ? FColor : other.Color();
    const int64_t style = style_written ? FStyle : other.Style();
    const double width = width_written ? FWidth : other.Width();
    if (line.Color() != color) DiffInt(out, {name, u".Color"}, line.Color(), color);
    if (line.Style() != style) DiffInt(out, {name, u".Style"}, line.Style(), style);
    if (line.Width() != width) DiffFloat(out, {name, u".Width"}, line.Width(), width);
  }
  return out;
}

}  // namespace zavrik
