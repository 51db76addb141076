#include "report/model/views/qbx_view.h"

#include "core/rtti_props.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/qbx_diff.h"
#include "report/model/qbx_evaluator.h"

namespace zavrik {

const EnumType& AlignType() {
  static const EnumType type{u"baNone", u"baLeft", u"baRight", u"baCenter", u"baWidth", u"baBottom", u"baClient", u"baHidden"};
  return type;
}

TqbxView::TqbxView() { SetComponentStyle(ComponentStyle() | csDefaultDiff); }

PropList TqbxView::FillProps() {
  using C = TqbxView;
  return {
      Prop(u"FillType", &C::FillType, &C::SetFillType).Enum(FillTypeType()).Default(ftBrush),
      Prop(u"Fill", &C::Fill, &C::SetFill),
  };
}

const ClassInfo& TqbxView::StaticClass() {
  using C = TqbxView;
  static const EnumType shift_modes{u"smDontShift", u"smAlways", u"smWhenOverlapped"};
  static const EnumType visibility{u"vsPreview", u"vsExport", u"vsPrint"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxView", &TqbxReportComponent::StaticClass(), nullptr, JoinProps({
      GeometryProps(),
      PlacementProps(),
      {
          Prop(u"Align", &C::Align, &C::SetAlign).Enum(AlignType()).Default(baNone),
          Prop(u"AllowVectorExport", &C::AllowVectorExport, &C::SetAllowVectorExport).Default(1),
          Prop(u"ShiftMode", &C::ShiftMode, &C::SetShiftMode).Enum(shift_modes).Default(smAlways),
          Prop(u"Visibility", &C::Visibility, &C::SetVisibility).SetOf(visibility).Default(7),
          Prop(u"Printable", &C::Printable, &C::SetPrintable).NotStored(),
          Prop(u"Frame", &C::Frame),
          Prop(u"Color", &C::Color, &C::SetColor).NotStored(),
          Prop(u"BrushStyle", &C::BrushStyle, &C::SetBrushStyle).Enum(BrushStyleType()).NotStored(),
          Prop(u"URL", &C::URL, &C::SetURL).NotStored(),
          Prop(u"Hyperlink", &C::Hyperlink),
          Prop(u"TagStr", &C::TagStr, &C::SetTagStr),
          Prop(u"DataSet", &C::DataSet, &C::SetDataSet).Reference(),
          Prop(u"DataSetName", &C::DataSetName, &C::SetDataSetName),
          Prop(u"DataField", &C::DataField, &C::SetDataField),
          Prop(u"Hint", &C::Hint, &C::SetHint),
          Prop(u"ShowHint", &C::ShowHint, &C::SetShowHint).Default(0),
          Prop(u"Cursor", &C::Cursor, &C::SetCursor).Default(0),
          Field(u"OnMouseEnter", &C::FOnMouseEnter),
          Field(u"OnMouseLeave", &C::FOnMouseLeave),
          Field(u"OnMouseDown", &C::FOnMouseDown),
          Field(u"OnMouseMove", &C::FOnMouseMove),
          Field(u"OnMouseUp", &C::FOnMouseUp),
      },
      EventProps(),
  })); });
  return info;
}

int32_t TqbxView::Color() const {
  if (auto* brush = dynamic_cast<const TqbxBrushFill*>(Fill())) return brush->BackColor();
  if (auto* gradient = dynamic_cast<const TqbxGradientFill*>(Fill())) return gradient->GetColor();
  return static_cast<const TqbxGlassFill*>(Fill())->Color();
}

void TqbxView::SetColor(int32_t v) {
  if (auto* brush = dynamic_cast<TqbxBrushFill*>(Fill())) brush->SetBackColor(v);
  else if (auto* glass = dynamic_cast<TqbxGlassFill*>(Fill())) glass->SetColor(v);
}

TqbxBrushStyle TqbxView::BrushStyle() const {
  auto* brush = dynamic_cast<const TqbxBrushFill*>(Fill());
  return brush ? brush->Style() : bsClear;
}

void TqbxView::SetBrushStyle(TqbxBrushStyle v) {
  if (auto* brush = dynamic_cast<TqbxBrushFill*>(Fill())) brush->SetStyle(v);
}

void TqbxView::SetURL(const String& v) {
  if (v.empty()) return;
  if (v[0] == u'@' || v[0] == u'#') {
    FHyperlink->SetKind(v[0] == u'@' ? hkPageNumber : hkAnchor);
    FHyperlink->SetValue(v.substr(1, 255));
  } else {
    FHyperlink->SetKind(hkURL);
    FHyperlink->SetValue(v);
  }
}


void TqbxView::BeforePrint() {
  TqbxReportComponent::BeforePrint();
  FSavedTagStr = FTagStr;
  FSavedHyperlinkValue = FHyperlink->Value();
  if (TqbxEvaluator* evaluator = EvaluatorOf(*this)) evaluator->SetSelfValue(this);
}

void TqbxView::AfterPrint() {
  TqbxReportComponent::AfterPrint();
  FTagStr = FSavedTagStr;
  FHyperlink->SetValue(FSavedHyperlinkValue);
}

void TqbxView::MirrorContent(int32_t mirror_modes) {
  TqbxReportComponent::MirrorContent(mirror_modes);
  if (mirror_modes & mcmRTLAppearance) FFrame->SwapSides(ftLeft, ftRight);
  if (mirror_modes & mcmBTTAppearance) FFrame->SwapSides(ftTop, ftBottom);
}

String TqbxView::Diff(const TqbxComponent* other) const {
  const auto* o = ComponentAs<TqbxView>(other);
  if (!o) {
    // Against a view with the class defaults.
    std::unique_ptr<Object> fresh = ClassType().Create();
    auto* view = dynamic_cast<TqbxView*>(fresh.get());
    return view ? Diff(view) : String();
  }
  String out = TqbxComponent::Diff(o);
  DiffInt(out, u"Align", FAlign, o->FAlign);
  out += FFrame->Diff(*o->FFrame);
  DiffInt(out, u"Cursor", FCursor, o->FCursor);
  DiffInt(out, u"Visibility", FVisibility, o->FVisibility);
  DiffString(out, u"TagStr", FTagStr, o->FTagStr);
  DiffInt(out, u"FillType", FillType(), o->FillType());
  out += Fill()->Diff(o->Fill(), u"Fill");
  out += FHyperlink->Diff(*o->FHyperlink);
  return out;
}

// --- TqbxStretcheable

PropList TqbxStretcheable::StretchProps() {
  using C = TqbxStretcheable;
  static const EnumType stretch_modes{u"smDontStretch", u"smActualHeight", u"smMaxHeight"};
  return {
      Prop(u"CanShrink", &C::CanShrink, &C::SetCanShrink).Default(0),
      Prop(u"StretchMode", &C::StretchMode, &C::SetStretchMode).Enum(stretch_modes).Default(smDontStretch),
  };
}

const ClassInfo& TqbxStretcheable::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxStretcheable", &TqbxView::StaticClass(), nullptr, StretchProps()); });
  return info;
}

}  // namespace zavrik
