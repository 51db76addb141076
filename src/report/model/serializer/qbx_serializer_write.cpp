// Writing: objects to attribute texts (ObjToXML) and component trees to elements.
#include <algorithm>
#include <ostream>

#include "core/float_text.h"
#include "core/variant_convert.h"
#include "report/model/qbx_application.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/qbx_strings.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {

String FloatText(double value) {
  static const FormatSettings dot;
  return FloatToStrGeneral(value, kGeneralPrecision, dot);
}

namespace {

// A text without one trailing line break.
String WithoutFinalLineBreak(String text) {
  if (text.ends_with(u"\r\n")) text.resize(text.size() - 2);
  else if (text.ends_with(u"\n") || text.ends_with(u"\r")) text.pop_back();
  return text;
}

// Values without a text form (arrays, objects) are written empty.
String VariantText(const Variant& value) {
  try {
    return VarToStr(value);
  } catch (const Error&) {
    return String();
  }
}

void AppendAttribute(String& out, StringView prefix, StringView name, StringView value) {
  out += u' ';
  out += prefix;
  out += name;
  out += u"=\"";
  out += value;
  out += u'"';
}

}  // namespace

String TqbxXMLSerializer::ReferenceName(const Object& referenced) const {
  if (String qualified = ApplicationObjectName(referenced); !qualified.empty()) return qualified;
  if (auto* component = dynamic_cast<const TqbxComponent*>(&referenced)) return component->Name();
  return String();
}

String TqbxXMLSerializer::ObjToXML(const Object& object, StringView prefix) {
  String out;
  const bool is_component = dynamic_cast<const TqbxComponent*>(&object) != nullptr;
  for (const PropInfo* prop : object.ClassType().Props()) {
    if (!prop->get || !prop->IsStored(object)) continue;
    // A component's name leads its element instead.
    if (is_component && SameTextAscii(prop->name, u"Name")) continue;
    const Variant value = prop->get(object);
    switch (prop->kind) {
      case TypeKind::Integer:
      case TypeKind::Char:
      case TypeKind::WChar:
      case TypeKind::Set:
      case TypeKind::Enumeration: {
        const int64_t ordinal = value.SignedValue();
        if (!SerializeDefaultValues && prop->default_value == ordinal) continue;
        String text = prop->kind == TypeKind::Enumeration && prop->enum_type ? prop->enum_type->Name(ordinal) : String();
        if (text.empty()) text = IntToStr(ordinal);
        AppendAttribute(out, prefix, prop->name, text);
        break;
      }
      case TypeKind::Float:
        AppendAttribute(out, prefix, prop->name, FloatText(value.DoubleValue()));
        break;
      case TypeKind::String:
        if (!SerializeDefaultValues && value.StringValue().empty()) continue;
        AppendAttribute(out, prefix, prop->name, XmlEscape(value.StringValue()));
        break;
      case TypeKind::Variant:
        AppendAttribute(out, prefix, prop->name, XmlEscape(VariantText(value)));
        break;
      case TypeKind::Class: {
        const Object* sub = value.ObjectValue();
        if (!sub) continue;
        if (prop->reference) {
          if (String name = ReferenceName(*sub); !name.empty()) AppendAttribute(out, prefix, prop->name, XmlEscape(name));
        } else if (auto* strings = dynamic_cast<const TStrings*>(sub)) {
          String text = WithoutFinalLineBreak(strings->Text());
          if (SerializeDefaultValues || !text.empty()) {
            AppendAttribute(out, prefix, prop->name + u".Text", XmlEscape(text));
          }
        } else {
          out += ObjToXML(*sub, String(prefix) + prop->name + u".");
        }
        break;
      }
    }
  }
  if (auto* memo = dynamic_cast<const TqbxMemoText*>(&object)) {
    AppendAttribute(out, prefix, u"Text", XmlEscape(WithoutFinalLineBreak(memo->MemoText())));
  }
  const auto* component = dynamic_cast<const TqbxComponent*>(&object);
  const bool handles_nested = component && (component->ComponentStyle() & csHandlesNestedProperties);
  if (auto* defined = dynamic_cast<const TqbxDefinedProperties*>(&object); defined && !handles_nested) {
    TqbxPropWriter writer;
    defined->WriteDefinedProperties(writer);
    if (!writer.Bytes().empty()) AppendAttribute(out, prefix, u"PropData", BytesToHex(writer.Bytes()));
  }
  return out;
}

String TqbxXMLSerializer::ElementText(const TqbxComponent& component, bool is_root) {
  String text;
  if (!is_root && !IgnoreName) AppendAttribute(text, {}, u"Name", XmlEscape(component.Name()));
  text += ObjToXML(component);
  if (!text.empty()) text.erase(0, 1);  // the writer puts the separating space
  return text;
}

void TqbxXMLSerializer::WriteRootComponent(const TqbxComponent& root, bool save_children, TqbxXMLItem& item) {
  struct Pending {
    const TqbxComponent* component;
    TqbxXMLItem* item;
  };
  std::vector<Pending> pending{{&root, &item}};
  while (!pending.empty()) {
    const Pending next = pending.back();
    pending.pop_back();
    const TqbxComponent& component = *next.component;
    next.item->SetName(component.ClassType().Name());
    next.item->SetText(ElementText(component, &component == &root));
    if (HandleNestedProperties && (component.ComponentStyle() & csHandlesNestedProperties)) {
      component.WriteNestedProperties(*next.item, *this);
    }
    if (!save_children) continue;
    const size_t first = pending.size();
    for (const auto& child : component.Objects()) pending.push_back({child.get(), &next.item->Add()});
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
  }
}

void TqbxXMLSerializer::WriteRootComponent(const TqbxComponent& root, bool save_children, std::ostream& stream) {
  TqbxXMLDocument document;
  document.AutoIndent = AutoIndent;
  WriteRootComponent(root, save_children, document.Root());
  document.SaveToStream(stream);
}

String TqbxXMLSerializer::WriteComponentStr(const TqbxComponent& component) {
  String text = component.ClassType().Name();
  const String attributes = ElementText(component, false);
  if (!attributes.empty()) text += u" " + attributes;
  return text;
}

void TqbxXMLSerializer::WriteComponent(const TqbxComponent& component, std::ostream& stream) {
  const String attributes = ElementText(component, false);
  std::string line = "<" + XmlNameToBytes(component.ClassType().Name(), XmlDialect::kTemplate);
  if (!attributes.empty()) line += " " + StringToUtf8(attributes);
  line += "/>";
  stream << line;
}

void TqbxXMLSerializer::WriteCollection(TqbxXMLItem& parent, StringView name, const std::vector<const Object*>& items) {
  TqbxXMLItem& element = parent.Add(String(name));
  for (const Object* item : items) {
    String text = ObjToXML(*item);
    if (!text.empty()) text.erase(0, 1);
    element.Add(u"item").SetText(std::move(text));
  }
}

}  // namespace zavrik
