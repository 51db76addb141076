#include "report/model/views/qbx_hyperlink.h"

#include "core/rtti_props.h"
#include "report/model/qbx_diff.h"

namespace zavrik {

const ClassInfo& TqbxHyperlink::StaticClass() {
  using C = TqbxHyperlink;
  static const EnumType kinds{u"hkURL", u"hkAnchor", u"hkPageNumber", u"hkDetailReport", u"hkDetailPage", u"hkCustom", u"hkNone"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxHyperlink", &Object::StaticClass(), nullptr, {
      Prop(u"Kind", &C::Kind, &C::SetKind).Enum(kinds).Default(hkURL),
      Prop(u"DetailReport", &C::DetailReport, &C::SetDetailReport),
      Prop(u"DetailPage", &C::DetailPage, &C::SetDetailPage),
      Prop(u"Expression", &C::Expression, &C::SetExpression),
      Prop(u"ReportVariable", &C::ReportVariable, &C::SetReportVariable),
      Prop(u"TabCaption", &C::TabCaption, &C::SetTabCaption),
      Prop(u"Value", &C::Value, &C::SetValue),
      Prop(u"ValuesSeparator", &C::ValuesSeparator, &C::SetValuesSeparator).Stored(&C::IsValuesSeparatorStored),
  }); });
  return info;
}

String TqbxHyperlink::Diff(const TqbxHyperlink& o) const {
  String out;
  DiffInt(out, u"Hyperlink.Kind", FKind, o.FKind);
  DiffString(out, u"Hyperlink.DetailReport", FDetailReport, o.FDetailReport);
  DiffString(out, u"Hyperlink.DetailPage", FDetailPage, o.FDetailPage);
  DiffString(out, u"Hyperlink.ReportVariable", FReportVariable, o.FReportVariable);
  DiffString(out, u"Hyperlink.TabCaption", FTabCaption, o.FTabCaption);
  DiffString(out, u"Hyperlink.Value", FValue, o.FValue);
  DiffString(out, u"Hyperlink.ValuesSeparator", FValuesSeparator, o.FValuesSeparator);
  return out;
}

}  // namespace zavrik
