#include "test_classes.h"

#include <sstream>

#include "core/rtti_props.h"

namespace zavrik::test {

const ClassInfo& TtstFrame::StaticClass() {
  static const EnumType kSides{u"ftLeft", u"ftRight", u"ftTop", u"ftBottom"};
  using C = TtstFrame;
  static const ClassInfo info(u"TtstFrame", &Object::StaticClass(), &New<TtstFrame>, {
      Prop(u"Color", &C::Color, &C::SetColor).Default(0),
      Prop(u"Typ", &C::Typ, &C::SetTyp).SetOf(kSides).Default(0),
      Prop(u"Width", &C::Width, &C::SetWidth),
  });
  return info;
}

const ClassInfo& TtstQuery::StaticClass() {
  static const ClassInfo info(u"TtstQuery", &TqbxReportComponent::StaticClass(), &New<TtstQuery>, {
      Prop(u"SQL", &TtstQuery::SQL),
  });
  return info;
}

const ClassInfo& TtstBand::StaticClass() {
  static const ClassInfo info(u"TtstBand", &TqbxReportComponent::StaticClass(), &New<TtstBand>,
                              JoinProps({TqbxComponent::GeometryProps(), TqbxComponent::FontProps(),
                                         TqbxComponent::PlacementProps(),
                                         {Prop(u"DataSet", &TtstBand::DataSet, &TtstBand::SetDataSet).Reference()}}));
  return info;
}

const ClassInfo& TtstItem::StaticClass() {
  static const ClassInfo info(u"TtstItem", &Object::StaticClass(), &New<TtstItem>, {
      Prop(u"Expression", &TtstItem::Expression, &TtstItem::SetExpression),
  });
  return info;
}

const ClassInfo& TtstMemoView::StaticClass() {
  static const EnumType kAligns{u"haLeft", u"haRight", u"haCenter", u"haBlock"};
  static const EnumType kPlacements{u"baNone", u"baLeft", u"baRight", u"baCenter", u"baWidth", u"baBottom", u"baClient", u"baHidden"};
  using C = TtstMemoView;
  static const ClassInfo info(u"TtstMemoView", &TqbxReportComponent::StaticClass(), &New<TtstMemoView>,
                              JoinProps({TqbxComponent::GeometryProps(), TqbxComponent::FontProps(),
                                         TqbxComponent::PlacementProps(),
                                         {
                                             Prop(u"Align", &C::Align, &C::SetAlign).Enum(kPlacements).Default(baNone),
                                             Prop(u"Frame", &C::Frame),
                                             Prop(u"HAlign", &C::HAlign, &C::SetHAlign).Enum(kAligns).Default(haLeft),
                                             Prop(u"Value", &C::Value, &C::SetValue),
                                         }}));
  return info;
}

bool TtstMemoView::ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) {
  if (!SameTextAscii(name, u"Items")) return false;
  serializer.ReadCollectionData(reader, [this]() -> Object& { return *Items.emplace_back(std::make_unique<TtstItem>()); });
  return true;
}

void TtstMemoView::WriteDefinedProperties(TqbxPropWriter& writer) const {
  if (Items.empty()) return;
  writer.WritePropName(u"Items");
  writer.WriteValueType(vaList);
  for (const auto& item : Items) {
    writer.WriteValueType(vaList);
    writer.WriteString(u"Expression=\"" + item->Expression() + u"\"");
    writer.WriteValueType(vaNull);
  }
  writer.WriteValueType(vaNull);
}

const ClassInfo& TtstReport::StaticClass() {
  static const ClassInfo info(u"TtstReport", &TqbxComponent::StaticClass(), &New<TtstReport>, {
      Prop(u"ScriptText", &TtstReport::ScriptText),
  });
  return info;
}

bool TtstReport::ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) {
  if (!SameTextAscii(item.Name(), u"Variables")) return false;
  serializer.ReadCollection(item, [this]() -> Object& { return *Variables.emplace_back(std::make_unique<TtstItem>()); });
  return true;
}

bool TtstReport::WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const {
  if (Variables.empty()) return false;
  std::vector<const Object*> items;
  for (const auto& v : Variables) items.push_back(v.get());
  serializer.WriteCollection(item, u"Variables", items);
  return true;
}

void RegisterTestClasses() {
  for (const ClassInfo* info : {&TtstReport::StaticClass(), &TtstBand::StaticClass(), &TtstMemoView::StaticClass(),
                                &TtstQuery::StaticClass(), &TtstFrame::StaticClass()}) {
    RegisterClass(*info);
  }
}

std::unique_ptr<TtstReport> LoadReport(const std::string& xml, std::vector<String>* errors) {
  RegisterTestClasses();
  auto report = std::make_unique<TtstReport>();
  std::istringstream in(xml);
  report->LoadFromStream(in, errors);
  return report;
}

std::string SaveReport(const TqbxComponent& report) {
  std::ostringstream out;
  report.SaveToStream(out);
  return out.str();
}

std::string Template(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TtstReport>" + body + "</TtstReport>";
}

}  // namespace zavrik::test
