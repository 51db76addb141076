#include "report/model/qbx_report_component.h"

#include "core/rtti_props.h"

namespace zavrik {

PropList TqbxReportComponent::EventProps() {
  using C = TqbxReportComponent;
  return {
      Prop(u"Description", &C::Description, &C::SetDescription),
      Prop(u"OnAfterData", &C::OnAfterData, &C::SetOnAfterData),
      Prop(u"OnAfterPrint", &C::OnAfterPrint, &C::SetOnAfterPrint),
      Prop(u"OnBeforePrint", &C::OnBeforePrint, &C::SetOnBeforePrint),
      Prop(u"OnContentChanged", &C::OnContentChanged, &C::SetOnContentChanged),
      Prop(u"OnPreviewClick", &C::OnPreviewClick, &C::SetOnPreviewClick),
      Prop(u"OnPreviewDblClick", &C::OnPreviewDblClick, &C::SetOnPreviewDblClick),
  };
}

const ClassInfo& TqbxReportComponent::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxReportComponent", &TqbxComponent::StaticClass(), nullptr, EventProps()); });
  return info;
}

const ClassInfo& TqbxDialogComponent::StaticClass() {
  using C = TqbxDialogComponent;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxDialogComponent", &TqbxReportComponent::StaticClass(), nullptr, {
      Prop(u"Left", &C::Left, &C::SetLeft),
      Prop(u"Top", &C::Top, &C::SetTop),
  }); });
  return info;
}

void TqbxReportComponent::BeforePrint() { OriginalRect = {Left(), Top(), Width(), Height()}; }

void TqbxReportComponent::AfterPrint() {
  // Children restore their own bounds; the anchors must not move them a second time.
  TqbxAnchorsSuspended suspended;
  SetBounds(OriginalRect.Left, OriginalRect.Top, OriginalRect.Right, OriginalRect.Bottom);
}

TqbxRect TqbxReportComponent::GetRealBounds() const {
  const double left = AbsLeft(), top = AbsTop();
  return {left, top, left + Width(), top + Height()};
}

}  // namespace zavrik
