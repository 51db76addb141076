// Attribute texts onto objects (XMLToObj) and property-stream values onto properties: the
// conversions by type kind.
#include <charconv>
#include <optional>

#include "core/codepage.h"
#include "core/float_text.h"
#include "core/number_parse.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/qbx_strings.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {
namespace {

const FormatSettings& DotSettings() {
  static const FormatSettings settings;  // "." as the decimal separator
  return settings;
}

// The plain form [-]digits[.digits] (the one the program writes) read directly; nullopt for
// anything else.
std::optional<double> ParsePlainFloat(StringView raw) {
  char ascii[32];
  if (raw.empty() || raw.size() >= sizeof ascii) return std::nullopt;
  size_t digits = 0, separators = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i];
    if (c >= u'0' && c <= u'9') ++digits;
    else if ((c == u'.' || c == u',') && digits > 0 && separators == 0 && i + 1 < raw.size()) ++separators;
    else if (!(c == u'-' && i == 0)) return std::nullopt;
    ascii[i] = c == u',' ? '.' : static_cast<char>(c);
  }
  if (digits == 0) return std::nullopt;
  double value = 0;
  const auto res = std::from_chars(ascii, ascii + raw.size(), value);
  if (res.ec != std::errc() || res.ptr != ascii + raw.size()) return std::nullopt;
  return value;
}

// Spaces removed, "," and "." both the decimal separator.
double ParseAttributeFloat(StringView raw) {
  if (const auto plain = ParsePlainFloat(raw)) return *plain;
  String text;
  for (char16_t c : raw) {
    if (c != u' ') text.push_back(c == u',' ? u'.' : c);
  }
  if (const auto value = ParseFloat(text, DotSettings())) return *value;
  ThrowNotValid(text, u"floating point value");
}

// The UTF-8 bytes an old-format document holds in 8-bit characters.
String DecodeOldFormatUtf8(const String& text) { return Utf8ToString(EncodeCodePage(text, kCodePage1251)); }

// An ordinal given as text: a number, or an element name of the property's enumeration.
int32_t OrdinalOfText(const PropInfo& prop, StringView text) {
  if (const auto number = ParseInt32(text)) return *number;
  return prop.enum_type ? prop.enum_type->Ordinal(text) : StrToInt(text);
}

int32_t OrdinalOf(const PropInfo& prop, const Variant& value) {
  if (value.Kind() == VarKind::String) return OrdinalOfText(prop, value.StringValue());
  if (value.Kind() == VarKind::Boolean) return value.BoolValue() ? 1 : 0;
  if (value.Kind() == VarKind::Double || value.Kind() == VarKind::Single) throw Error(u"Invalid property value");
  return static_cast<int32_t>(value.SignedValue());
}

// `value` converted to the kind of `prop` (not a class); values an enumeration lacks raise.
Variant PropertyValue(const PropInfo& prop, const Variant& value) {
  switch (prop.kind) {
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::WChar:
    case TypeKind::Set:
      return Variant(OrdinalOf(prop, value));
    case TypeKind::Enumeration: {
      const int32_t ordinal = OrdinalOf(prop, value);
      // Booleans take any non-zero ordinal as true; other enumerations refuse values they lack.
      const bool boolean = prop.enum_type == &BooleanType();
      if (!boolean && prop.enum_type && (ordinal < 0 || ordinal >= prop.enum_type->Count())) {
        throw Error(u"Invalid property value");
      }
      return Variant(ordinal);
    }
    case TypeKind::Float:
      if (value.Kind() == VarKind::String) return Variant(ParseAttributeFloat(value.StringValue()));
      if (value.Kind() == VarKind::Double || value.Kind() == VarKind::Date) return Variant(value.DoubleValue());
      if (value.Kind() == VarKind::Single) return Variant(static_cast<double>(value.SingleValue()));
      return Variant(static_cast<double>(value.SignedValue()));
    case TypeKind::String:
      return Variant(value.StringValue());
    case TypeKind::Variant:
    case TypeKind::Class:
      break;
  }
  return value;
}

}  // namespace

void TqbxXMLSerializer::XMLToObj(StringView text, Object& object) {
  FontAttributes fonts;
  ReadAttributes(text, object, fonts, nullptr);
  FinishAttributes(fonts, object);
}

void TqbxXMLSerializer::ReadAttributes(StringView text, Object& object, FontAttributes& fonts,
                                       std::vector<Entry>* record) {
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == u' ') ++i;
    const size_t equals = text.find(u'=', i);
    if (equals == StringView::npos) break;
    StringView name = text.substr(i, equals - i);
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    if (name.empty()) break;
    const size_t open = text.find(u'"', equals);
    if (open == StringView::npos) break;
    size_t close = text.find(u'"', open + 1);
    if (close == StringView::npos) close = text.size();
    const StringView raw = text.substr(open + 1, close - open - 1);
    i = close + 1;
    fonts.Own = fonts.Own || (name.size() > 5 && SameTextAscii(name.substr(0, 5), u"Font."));
    fonts.Parent = fonts.Parent || SameTextAscii(name, u"ParentFont");
    std::vector<const PropInfo*> path;
    Entry entry;
    Object* target = &object;
    try {
      entry = ResolveAttribute(object, name, raw, target, record ? &path : nullptr);
    } catch (const Error& e) {
      // Compiling reports nothing: the errors come with each application.
      if (record) record->push_back({{}, TqbxCompiledAttributes::Op::Error, nullptr, Variant(e.Message())});
      else AddError(e.Message());
      continue;
    }
    try {
      ApplyEntry(entry, *target);
    } catch (const Error& e) {
      if (!record) AddError(e.Message());
    }
    if (record && entry.Action != TqbxCompiledAttributes::Op::None) {
      entry.Path = std::move(path);
      record->push_back(std::move(entry));
    }
  }
}

void TqbxXMLSerializer::ApplyCompiled(const TqbxCompiledAttributes& compiled, Object& object) {
  for (const Entry& entry : compiled.FEntries) {
    if (entry.Action == TqbxCompiledAttributes::Op::Error) {
      AddError(entry.Value.StringValue());
      continue;
    }
    Object* target = &object;
    for (const PropInfo* sub : entry.Path) {
      target = sub->get(*target).ObjectValue();
      if (!target) break;
    }
    if (!target) continue;
    try {
      ApplyEntry(entry, *target);
    } catch (const Error& e) {
      AddError(e.Message());
    }
  }
}

void TqbxXMLSerializer::FinishAttributes(const FontAttributes& fonts, Object& object) {
  // Font.* attributes without ParentFont give the object its own font (see TqbxComponent).
  if (fonts.Own && !fonts.Parent)
    if (auto* component = AsComponent(object)) component->FontReadFromAttributes();
}

TqbxCompiledAttributes::Entry TqbxXMLSerializer::ResolveAttribute(Object& object, StringView name, StringView raw,
                                                                  Object*& target,
                                                                  std::vector<const PropInfo*>* path) {
  using Op = TqbxCompiledAttributes::Op;
  // Dotted names walk into owned sub-objects (`Font.Name`, `Frame.LeftLine.Color`).
  target = &object;
  for (size_t dot = name.find(u'.'); dot != StringView::npos; dot = name.find(u'.')) {
    const PropInfo* prop = target->ClassType().FindProp(name.substr(0, dot));
    if (!prop || prop->kind != TypeKind::Class || prop->reference || !prop->get) break;
    Object* sub = prop->get(*target).ObjectValue();
    if (!sub) break;
    if (path) path->push_back(prop);
    target = sub;
    name = name.substr(dot + 1);
  }
  TqbxComponent* component = AsComponent(*target);
  const auto memo = [component] { return component && component->AsMemoText(); };
  const auto text = [this, raw] { return OldFormat ? DecodeOldFormatUtf8(XmlUnescape(raw)) : XmlUnescape(raw); };
  if (name.size() == 1) {
    // The compact names of prepared pages.
    switch (name[0]) {
      case u'l': if (component) return {{}, Op::Left, nullptr, Variant(ParseAttributeFloat(raw))}; break;
      case u't': if (component) return {{}, Op::Top, nullptr, Variant(ParseAttributeFloat(raw))}; break;
      case u'w': if (component) return {{}, Op::Width, nullptr, Variant(ParseAttributeFloat(raw))}; break;
      case u'h': if (component) return {{}, Op::Height, nullptr, Variant(ParseAttributeFloat(raw))}; break;
      case u'x': if (memo()) return {{}, Op::MemoText, nullptr, Variant(XmlUnescape(raw))}; break;
      case u'u': if (memo()) return {{}, Op::MemoText, nullptr, Variant(text())}; break;
    }
  }
  if (SameTextAscii(name, u"Text")) {
    if (target->ClassType().InheritsFrom(TStrings::StaticClass()))
      return {{}, Op::StringsText, nullptr, Variant(XmlUnescape(raw))};
    if (memo()) return {{}, Op::MemoText, nullptr, Variant(text())};
  }
  if (SameTextAscii(name, u"PropData")) return {{}, Op::PropData, nullptr, Variant(raw)};
  if (SameTextAscii(name, u"Name") && component && (IgnoreName || component->IsReport())) return {};
  const PropInfo* prop = target->ClassType().FindProp(name);
  if (!prop || !prop->set) return {};
  switch (prop->kind) {
    case TypeKind::Integer:
    case TypeKind::Char:
    case TypeKind::WChar:
    case TypeKind::Set:
      return {{}, Op::Property, prop, PropertyValue(*prop, Variant(StrToInt(raw)))};
    case TypeKind::Enumeration:
      return {{}, Op::Property, prop, PropertyValue(*prop, Variant(OrdinalOfText(*prop, raw)))};
    case TypeKind::Float:
      return {{}, Op::Property, prop, Variant(ParseAttributeFloat(raw))};
    case TypeKind::String:
    case TypeKind::Variant:
      return {{}, Op::Property, prop, Variant(XmlUnescape(raw))};
    case TypeKind::Class:
      return {{}, Op::Reference, prop, Variant(XmlUnescape(raw))};
  }
  return {};
}

void TqbxXMLSerializer::ApplyEntry(const Entry& entry, Object& target) {
  using Op = TqbxCompiledAttributes::Op;
  // Geometry and memo text entries are compiled for components only.
  const auto component = [&target] { return AsComponent(target); };
  switch (entry.Action) {
    case Op::None:
    case Op::Error:
      return;
    case Op::Left: return component()->SetLeft(entry.Value.DoubleValue());
    case Op::Top: return component()->SetTop(entry.Value.DoubleValue());
    case Op::Width: return component()->SetWidth(entry.Value.DoubleValue());
    case Op::Height: return component()->SetHeight(entry.Value.DoubleValue());
    case Op::MemoText: return component()->AsMemoText()->SetMemoText(entry.Value.StringValue());
    case Op::StringsText: return static_cast<TStrings&>(target).SetText(entry.Value.StringValue());
    case Op::PropData: return ReadPropData(target, entry.Value.StringValue());
    case Op::Property: return entry.Prop->set(target, entry.Value);
    case Op::Reference:
      FFixups.push_back({&target, entry.Prop, entry.Value.StringValue()});
      return;
  }
}

// Converts a value read from text or a property stream to the property's kind and sets it.
void TqbxXMLSerializer::SetPropValue(Object& object, const PropInfo& prop, const Variant& value) {
  if (prop.kind != TypeKind::Class) return prop.set(object, PropertyValue(prop, value));
  if (value.Kind() == VarKind::String) FFixups.push_back({&object, &prop, value.StringValue()});
}

void TqbxXMLSerializer::SetPropFromStream(Object& object, const PropInfo& prop, TqbxPropReader& reader) {
  const TValueType type = reader.ReadValueType();
  if (type == vaSet) {
    int32_t mask = 0;
    for (const String& element : reader.ReadSetNames()) {
      const int bit = prop.enum_type ? prop.enum_type->Ordinal(element) : -1;
      if (bit >= 0 && bit < 32) mask |= 1 << bit;
    }
    return SetPropValue(object, prop, Variant(mask));
  }
  SetPropValue(object, prop, reader.ReadScalar(type));
}

void TqbxXMLSerializer::ReadPropData(Object& object, StringView hex) {
  const std::string bytes = HexToBytes(hex);
  TqbxPropReader reader(bytes);
  auto* defined = dynamic_cast<TqbxDefinedProperties*>(&object);
  // The first error ends the data silently.
  try {
    while (!reader.AtEnd()) {
      const String name = reader.ReadShortText();
      if (defined && defined->ReadDefinedProperty(name, reader, *this)) continue;
      const PropInfo* prop = object.ClassType().FindProp(name);
      if (prop && prop->set) {
        SetPropFromStream(object, *prop, reader);
      } else {
        reader.SkipValue();
      }
    }
  } catch (const Error&) {
  }
}

void TqbxXMLSerializer::ReadCollectionData(TqbxPropReader& reader, const std::function<Object&()>& add_item) {
  const TValueType type = reader.ReadValueType();
  if (type == vaList) {
    // Items as vaList-framed attribute texts.
    while (reader.PeekValueType() != vaNull) {
      if (reader.ReadValueType() != vaList) throw Error(u"Stream read error");
      Object& item = add_item();
      while (reader.PeekValueType() != vaNull) {
        const Variant text = reader.ReadScalar(reader.ReadValueType());
        XMLToObj(text.StringValue(), item);
      }
      reader.ReadValueType();
    }
    reader.ReadValueType();
  } else if (type == vaCollection) {
    while (reader.PeekValueType() != vaNull) {
      TValueType item_type = reader.ReadValueType();
      if (item_type != vaList) item_type = (reader.ReadScalar(item_type), reader.ReadValueType());
      if (item_type != vaList) throw Error(u"Stream read error");
      Object& item = add_item();
      while (reader.PeekValueType() != vaNull) {
        const String name = reader.ReadShortText();
        const PropInfo* prop = item.ClassType().FindProp(name);
        if (prop && prop->set) SetPropFromStream(item, *prop, reader);
        else reader.SkipValue();
      }
      reader.ReadValueType();
    }
    reader.ReadValueType();
  } else {
    throw Error(u"Stream read error");
  }
}

}  // namespace zavrik
