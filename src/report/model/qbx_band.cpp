#include "report/model/qbx_band.h"

#include <map>

#include "core/numeric.h"
#include "core/rtti_props.h"
#include "report/model/views/qbx_memo.h"

namespace zavrik {
namespace {

// Bands publish the geometry without stored-tests of views and their own event set.
const EnumType& ShiftEngineType() {
  static const EnumType type{u"seLinear", u"seTree", u"seDontShift"};
  return type;
}

}  // namespace

const ClassInfo& TqbxFillGaps::StaticClass() {
  using C = TqbxFillGaps;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxFillGaps", &Object::StaticClass(), nullptr, {
      Field(u"Top", &C::Top).Default(0),
      Field(u"Left", &C::Left).Default(0),
      Field(u"Bottom", &C::Bottom).Default(0),
      Field(u"Right", &C::Right).Default(0),
  }); });
  return info;
}

TqbxBand::TqbxBand() { SetComponentStyle(ComponentStyle() | csAcceptsQbxComponents); }
TqbxBand::~TqbxBand() = default;

PropList TqbxBand::Pick(std::initializer_list<const char16_t*> names) {
  using C = TqbxBand;
  static const std::map<String, PropInfo> all = [] {
    std::map<String, PropInfo> m;
    auto add = [&m](PropInfo p) { m.emplace(p.name, std::move(p)); };
    add(Field(u"AllowSplit", &C::FAllowSplit).Default(0));
    add(Prop(u"Child", &C::Child, &C::SetChild).Reference());
    add(Field(u"KeepChild", &C::FKeepChild).Default(0));
    add(Field(u"PrintChildIfInvisible", &C::FPrintChildIfInvisible).Default(0));
    add(Field(u"StartNewPage", &C::FStartNewPage).Default(0));
    add(Field(u"Stretched", &C::FStretched).Default(0));
    add(Field(u"ShiftEngine", &C::FShiftEngine).Enum(ShiftEngineType()).Default(seTree));
    add(Field(u"ReprintOnNewPage", &C::FReprintOnNewPage).Default(0));
    add(Field(u"KeepTogether", &C::FKeepTogether).Default(0));
    add(Field(u"PrintOnFirstPage", &C::FPrintOnFirstPage).Default(1));
    add(Field(u"PrintOnLastPage", &C::FPrintOnLastPage).Default(1));
    add(Field(u"PrintOnSinglePage", &C::FPrintOnSinglePage).Default(0));
    add(Field(u"PrintAtBottom", &C::FPrintAtBottom).Default(0));
    add(Field(u"PrintOnTop", &C::FPrintOnTop).Default(0));
    add(Field(u"OutlineText", &C::FOutlineText));
    return m;
  }();
  PropList list;
  for (const char16_t* name : names) list.push_back(all.at(name));
  return list;
}

const ClassInfo& TqbxBand::StaticClass() {
  using C = TqbxBand;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxBand", &TqbxReportComponent::StaticClass(), nullptr, JoinProps({
      GeometryProps(),
      FontProps(),
      {
          Prop(u"Visible", &C::Visible, &C::SetVisible).Default(1),
          Prop(u"Restrictions", &C::Restrictions, &C::SetRestrictions).Default(0),
          Prop(u"AllowMirrorMode", &C::AllowMirrorMode, &C::SetAllowMirrorMode).Default(0),
          Prop(u"Vertical", &C::Vertical, &C::SetVertical).Default(0),
          Prop(u"FillType", &C::FillType, &C::SetFillType).Enum(FillTypeType()).Default(ftBrush),
          Prop(u"Fill", &C::Fill, &C::SetFill),
          Prop(u"FillGap", &C::FillGap),
          Prop(u"Frame", &C::Frame),
          Prop(u"OnAfterCalcHeight", &C::OnAfterCalcHeight, &C::SetOnAfterCalcHeight),
      },
      EventProps(),
  })); });
  return info;
}

TqbxChild* TqbxBand::Child() const { return FChild; }

void TqbxBand::SetChild(TqbxChild* value) {
  // Walk the new child's chain (bounded, in case a chain was already broken into a loop).
  int steps = 0;
  for (const TqbxBand* band = value; band && steps < 100000; band = band->FChild, ++steps) {
    if (band == this) ThrowError(u"Circular child reference is not allowed");
  }
  FChild = value;
}

TqbxMemoView* TqbxBand::CreateFillMemo() {
  if (FFillMemo) return FFillMemo;
  const auto* brush = dynamic_cast<const TqbxBrushFill*>(Fill());
  if (IsNullBand() || ((brush && brush->IsDefault()) && FFrame->IsEmpty())) return nullptr;
  TqbxMemoView& memo = CreateIn<TqbxMemoView>(*this);
  MoveChild(memo, 0);
  memo.SetAlign(baHidden);
  memo.SetFill(Fill());
  memo.Frame()->Assign(*FFrame);
  // The gap insets the background on every side.
  const TqbxFillGaps& gap = *FFillGap;
  memo.SetBounds(gap.Left, gap.Top, Width() - gap.Left - gap.Right, Height() - gap.Top - gap.Bottom);
  FFillMemo = &memo;
  return FFillMemo;
}

void TqbxBand::DisposeFillMemo() {
  if (!FFillMemo) return;
  FFillMemo->Detach();
  FFillMemo = nullptr;
}

#define ZAVRIK_BAND_TABLE(Name, ...)                                                                     \
  const ClassInfo& Name::StaticClass() {                                                                 \
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"" #Name, &TqbxBand::StaticClass(), &New<Name>, Pick({__VA_ARGS__})); }); \
    return info;                                                                                         \
  }

#define ZAVRIK_CHILD_FLAGS u"AllowSplit", u"Child", u"KeepChild", u"PrintChildIfInvisible", u"StartNewPage", u"Stretched", u"ShiftEngine"

ZAVRIK_BAND_TABLE(TqbxReportTitle, ZAVRIK_CHILD_FLAGS)
ZAVRIK_BAND_TABLE(TqbxReportSummary, ZAVRIK_CHILD_FLAGS, u"PrintAtBottom")
ZAVRIK_BAND_TABLE(TqbxPageHeader, u"Child", u"PrintChildIfInvisible", u"PrintOnFirstPage", u"Stretched", u"ShiftEngine")
ZAVRIK_BAND_TABLE(TqbxPageFooter, u"PrintOnFirstPage", u"PrintOnLastPage", u"PrintOnSinglePage")
ZAVRIK_BAND_TABLE(TqbxHeader, ZAVRIK_CHILD_FLAGS, u"ReprintOnNewPage")
ZAVRIK_BAND_TABLE(TqbxFooter, u"AllowSplit", u"Child", u"KeepChild", u"PrintChildIfInvisible", u"Stretched", u"ShiftEngine")
ZAVRIK_BAND_TABLE(TqbxColumnHeader, u"Child", u"Stretched", u"ShiftEngine")
ZAVRIK_BAND_TABLE(TqbxOverlay, u"PrintOnTop")
#undef ZAVRIK_BAND_TABLE

const ClassInfo& TqbxColumnFooter::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxColumnFooter", &TqbxBand::StaticClass(), &New<TqbxColumnFooter>, {}); });
  return info;
}

const ClassInfo& TqbxNullBand::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxNullBand", &TqbxBand::StaticClass(), &New<TqbxNullBand>, {}); });
  return info;
}

const ClassInfo& TqbxGroupFooter::StaticClass() {
  using C = TqbxGroupFooter;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxGroupFooter", &TqbxBand::StaticClass(), &New<TqbxGroupFooter>, JoinProps({
      Pick({u"AllowSplit", u"Child"}),
      {Field(u"HideIfSingleDataRecord", &C::FHideIfSingleDataRecord).Default(0)},
      Pick({u"KeepChild", u"PrintChildIfInvisible", u"Stretched", u"ShiftEngine"}),
  })); });
  return info;
}

const ClassInfo& TqbxGroupHeader::StaticClass() {
  using C = TqbxGroupHeader;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxGroupHeader", &TqbxBand::StaticClass(), &New<TqbxGroupHeader>, JoinProps({
      Pick({u"AllowSplit", u"Child"}),
      {
          Field(u"Condition", &C::FCondition),
          Field(u"DrillDown", &C::FDrillDown).Default(0),
          Field(u"ExpandDrillDown", &C::FExpandDrillDown).Default(0),
          Field(u"DrillName", &C::FDrillName),
      },
      Pick({u"KeepChild", u"KeepTogether", u"ReprintOnNewPage", u"OutlineText", u"PrintChildIfInvisible"}),
      {
          Field(u"ResetPageNumbers", &C::FResetPageNumbers).Default(0),
          Field(u"ShowFooterIfDrillDown", &C::FShowFooterIfDrillDown).Default(0),
          Field(u"ShowChildIfDrillDown", &C::FShowChildIfDrillDown).Default(0),
      },
      Pick({u"StartNewPage", u"Stretched", u"ShiftEngine"}),
  })); });
  return info;
}

const ClassInfo& TqbxChild::StaticClass() {
  using C = TqbxChild;
  static const EnumType rows_modes{u"rmCount", u"rmAddToCount", u"rmTillPageEnds"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxChild", &TqbxBand::StaticClass(), &New<TqbxChild>, JoinProps({
      Pick({ZAVRIK_CHILD_FLAGS}),
      {
          Field(u"ToNRows", &C::FToNRows).Default(0),
          Field(u"ToNRowsMode", &C::FToNRowsMode).Enum(rows_modes).Default(rmCount),
      },
  })); });
  return info;
}

}  // namespace zavrik
