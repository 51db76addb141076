#include "data/query_script_source.h"

#include "core/case_fold.h"
#include "data/field_text.h"
#include "data/query.h"
#include "script/qs_iclass.h"

namespace zavrik::data {
namespace {

const ClassInfo& ComponentClass() { return qsNamedClass(u"TComponent", nullptr); }

// The field of the open query at a current row, or none.
Field* CurrentField(Query& query, StringView name) {
  if (!query.Active() || query.RecNo() == 0) return nullptr;
  return query.FindField(name);
}

}  // namespace

const ClassInfo& QueryScriptField::StaticClass() {
  return qsNamedClass(u"TField", &ComponentClass());
}

Variant QueryScriptField::FieldValue() const {
  Field* field = CurrentField(FQuery, FName);
  return field ? field->Value() : Variant::Null();
}

String QueryScriptField::FieldText() const {
  Field* field = CurrentField(FQuery, FName);
  return field ? FieldDisplayText(*field) : String();
}

const ClassInfo& QueryScriptSource::StaticClass() {
  return qsNamedClass(u"TDataSet", &ComponentClass());
}

void QueryScriptSource::Open() {
  if (!FQuery.Active()) FQuery.Open();
}

void QueryScriptSource::Close() { FQuery.Close(); }
bool QueryScriptSource::Active() const { return FQuery.Active(); }
void QueryScriptSource::First() { FQuery.First(); }
void QueryScriptSource::Next() { FQuery.Next(); }
void QueryScriptSource::Prior() { FQuery.Prior(); }
bool QueryScriptSource::Eof() const { return FQuery.Eof(); }
bool QueryScriptSource::Bof() const { return FQuery.Bof(); }
int QueryScriptSource::RecordCount() const { return FQuery.RecordCount(); }
int QueryScriptSource::FieldCount() const { return FQuery.Active() ? FQuery.FieldCount() : 0; }

Object* QueryScriptSource::Field(int index) const {
  if (index < 0 || index >= FieldCount()) return nullptr;
  return FieldObject(FQuery.Fields(index).FieldName());
}

Object* QueryScriptSource::FindField(StringView name) const {
  data::Field* field = FQuery.Active() ? FQuery.FindField(name) : nullptr;
  return field ? FieldObject(field->FieldName()) : nullptr;
}

Object* QueryScriptSource::FieldObject(const String& name) const {
  auto& slot = FFields[UpperCase(name)];
  if (!slot) slot = std::make_unique<QueryScriptField>(FQuery, name);
  return slot.get();
}

}  // namespace zavrik::data
