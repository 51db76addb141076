// The "data sets" host module: TDataSet and TField members over the data-set and field interfaces
// hosts implement (qs_ihost.h); the other data-set classes by name. The events fire around what
// scripts do through these members (opening, closing, moving; reading a field's text).
#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_iclasses.h"
#include "script/qs_ievents.h"
#include "script/qs_ihost.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {
namespace {

[[noreturn]] void NotHosted() { throw Error(u"Access violation: the object is nil or of another class"); }

TqsDataSetSource& DataSet(Object* instance) {
  auto* source = dynamic_cast<TqsDataSetSource*>(instance);
  if (!source) NotHosted();
  return *source;
}

TqsFieldSource& Field(Object* instance) {
  auto* source = dynamic_cast<TqsFieldSource*>(instance);
  if (!source) NotHosted();
  return *source;
}

void FireDataSetEvent(Object* instance, StringView event_name) {
  if (auto* event = qsFindEvent<TqsDatasetNotifyEvent>(instance, event_name)) event->Notify(instance);
}

// Runs a navigation of the data set between its Before and After events.
template <class F>
void Navigate(Object* instance, StringView what, F&& step) {
  FireDataSetEvent(instance, u"Before" + String(what));
  step();
  FireDataSetEvent(instance, u"After" + String(what));
}

Variant DataSetMethod(Object* instance, const ClassInfo*, const String& name, std::vector<Variant>& p) {
  TqsDataSetSource& data = DataSet(instance);
  if (name == u"OPEN") Navigate(instance, u"Open", [&] { data.Open(); });
  else if (name == u"CLOSE") Navigate(instance, u"Close", [&] { data.Close(); });
  else if (name == u"FIRST") Navigate(instance, u"Scroll", [&] { data.First(); });
  else if (name == u"NEXT") Navigate(instance, u"Scroll", [&] { data.Next(); });
  else if (name == u"PRIOR") Navigate(instance, u"Scroll", [&] { data.Prior(); });
  else if (name == u"FINDFIELD") return Variant(data.FindField(VarToString(p[0])));
  else if (name == u"FIELDBYNAME") {
    const String field = VarToString(p[0]);
    if (Object* found = data.FindField(field)) return Variant(found);
    throw Error(u"Field '" + field + u"' not found");
  } else if (name == u"FIELDS.GET") {
    const int index = VarToInteger(p[0]);
    if (index < 0 || index >= data.FieldCount()) {
      throw Error(u"List index out of bounds (" + Utf8ToString(std::to_string(index)) + u")");
    }
    return Variant(data.Field(index));
  }
  return Variant::Null();
}

Variant DataSetProperty(Object* instance, const ClassInfo*, const String& name) {
  TqsDataSetSource& data = DataSet(instance);
  if (name == u"EOF") return Variant(data.Eof());
  if (name == u"BOF") return Variant(data.Bof());
  if (name == u"ACTIVE") return Variant(data.Active());
  if (name == u"RECORDCOUNT") return Variant(int32_t{data.RecordCount()});
  if (name == u"FIELDCOUNT") return Variant(int32_t{data.FieldCount()});
  return Variant::Null();
}

Variant FieldProperty(Object* instance, const ClassInfo*, const String& name) {
  TqsFieldSource& field = Field(instance);
  if (name == u"FIELDNAME") return Variant(field.FieldName());
  if (name == u"DISPLAYTEXT" || name == u"TEXT") {
    String text = field.FieldText();
    if (auto* event = qsFindEvent<TqsFieldGetTextEvent>(instance, u"OnGetText")) {
      event->Notify(instance, text, name == u"DISPLAYTEXT");
    }
    return Variant(text);
  }
  const Variant value = field.FieldValue();
  if (name == u"VALUE") return value;
  if (name == u"ISNULL") return Variant(value.IsNull() || value.IsEmpty());
  // The typed readers take Null as the type's zero.
  const bool null = value.IsNull() || value.IsEmpty();
  if (name == u"ASSTRING") return Variant(VarToStr(value));
  if (name == u"ASINTEGER") return Variant(null ? 0 : VarToInteger(value));
  if (name == u"ASFLOAT") return Variant(null ? 0.0 : VarToDouble(value));
  if (name == u"ASDATETIME") return Variant(DateTime{null ? 0.0 : VarToDate(value)});
  if (name == u"ASBOOLEAN") return Variant(!null && VarToBoolean(value));
  return Variant::Null();
}

}  // namespace

String TqsFieldSource::FieldText() const { return VarToStr(FieldValue()); }

void TqsFieldSource::SetFieldValue(const Variant&) {
  throw Error(u"Field '" + FieldName() + u"' cannot be modified");
}

void qsAddDataSetClasses(TqsScript& script) {
  const ClassInfo& component = qsNamedClass(u"TComponent", nullptr);
  if (TqsClassVariable* field = script.AddClass(qsNamedClass(u"TField", &component), u"TComponent")) {
    for (const auto& [prop, type] : {std::pair{u"FieldName", u"String"}, {u"DisplayText", u"String"},
                                     {u"Text", u"String"}, {u"IsNull", u"Boolean"},
                                     {u"AsString", u"String"}, {u"AsInteger", u"Integer"},
                                     {u"AsFloat", u"Extended"}, {u"AsDateTime", u"TDateTime"},
                                     {u"AsBoolean", u"Boolean"}}) {
      field->AddProperty(prop, type, FieldProperty);
    }
    field->AddEvent(u"OnGetText", qsEventBinder<TqsFieldGetTextEvent>(u"OnGetText"));
    field->AddProperty(u"Value", u"Variant", FieldProperty,
                       [](Object* instance, const ClassInfo*, const String&, const Variant& v) {
                         Field(instance).SetFieldValue(v);
                       });
  }
  if (TqsClassVariable* data = script.AddClass(qsNamedClass(u"TDataSet", &component), u"TComponent")) {
    for (const char16_t* syntax : {u"procedure Open", u"procedure Close", u"procedure First",
                                   u"procedure Next", u"procedure Prior",
                                   u"function FieldByName(const FieldName: string): TField",
                                   u"function FindField(const FieldName: string): TField"}) {
      data->AddMethod(syntax, DataSetMethod);
    }
    for (const auto& [prop, type] : {std::pair{u"Eof", u"Boolean"}, {u"Bof", u"Boolean"},
                                     {u"Active", u"Boolean"}, {u"RecordCount", u"Integer"},
                                     {u"FieldCount", u"Integer"}}) {
      data->AddProperty(prop, type, DataSetProperty);
    }
    data->AddIndexProperty(u"Fields", u"Integer", u"TField", DataSetMethod, true);
    for (const char16_t* event : {u"BeforeOpen", u"AfterOpen", u"BeforeClose", u"AfterClose",
                                  u"BeforeScroll", u"AfterScroll"}) {
      data->AddEvent(event, qsEventBinder<TqsDatasetNotifyEvent>(event));
    }
  }
}

}  // namespace zavrik
