// The report's side of expressions: Calc, the names it resolves directly, and the script's
// preparation.
#include <algorithm>

#include "core/error.h"
#include "core/numeric.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

// A null field value as ConvertNulls gives it, by the field's type.
Variant ConvertedNull(int field_type) {
  switch (field_type) {
    case TqbxFieldSource::kFieldTypeString:
      return Variant(String());
    case TqbxFieldSource::kFieldTypeBoolean:
      return Variant(false);
    default:
      return field_type >= 4 ? Variant::Null() : Variant(int32_t{0});
  }
}

bool ContainsLineBreak(const String& text) { return text.find(u"\r\n") != String::npos; }

}  // namespace

bool TqbxReport::PrepareScript() {
  if (Engine) Engine->ClearNotifications();
  return Scripting().Prepare();
}

void TqbxReport::SetSelfValue(TqbxComponent* object) {
  SelfValue = object;
  Scripting().SetSelf(object);
}

void TqbxReport::SetLocalValue(const Variant& value) {
  LocalValue = value;
  Scripting().SetValue(value);
}

Variant TqbxReport::CalcCompiled(StringView expression, String& error) {
  return Scripting().CalcCompiled(expression, error);
}

Variant TqbxReport::Calc(StringView expression) {
  if (OnCalc) return OnCalc(expression);
  Variant value;
  if (LookupValue(expression, value)) return value;
  String error;
  value = CalcCompiled(expression, error);
  if (error.empty()) return value;
  if (error == kFloatDivisionByZero && FEngineOptions->IgnoreDevByZero) return Variant();
  if (FEngineOptions->IgnoreExprError) return Variant(String(expression));
  if (SelfValue && !SelfValue->Name().empty()) error = SelfValue->Name() + u": " + error;
  Errors.Add(error);
  throw Error(error);
}

Variant TqbxReport::ScriptCalc(StringView expression) {
  Variant value;
  if (LookupValue(expression, value)) return value;
  String error;
  value = CalcCompiled(expression, error);
  if (error.empty()) return value;
  if (error == kFloatDivisionByZero && FEngineOptions->IgnoreDevByZero) return Variant();
  if (FEngineOptions->IgnoreExprError) return Variant(String(expression));
  throw Error(u"Error in Calc expression:" + error);
}

bool TqbxReport::LookupValue(StringView name, Variant& value) {
  String field;
  if (TqbxReportComponent* data_set = GetDatasetAndField(name, field); data_set && !field.empty()) {
    if (auto* source = data_set->AsFieldSource()) {
      value = source->FieldValue(field);
      if (value.IsNull() && FEngineOptions->ConvertNulls)
        value = ConvertedNull(source->FieldTypeCode(field));
      return true;
    }
  }
  if (LookupSystemVariable(name, value)) return true;
  if (LookupVariable(name, value)) return true;
  if (qbxGlobalVariables().IndexOf(name) >= 0) {
    value = qbxGlobalVariables().Get(name);
    return true;
  }
  return Scripting().FindVariable(name, value);
}

bool TqbxReport::LookupSystemVariable(StringView name, Variant& value) const {
  const auto it = std::find_if(FSystemVariables.begin(), FSystemVariables.end(),
                               [&](const String& v) { return SameTextAscii(v, name); });
  if (it == FSystemVariables.end()) return false;
  const String& variable = *it;
  TqbxCustomPreviewPages* pages = FPreviewPages.get();
  const auto number = [&](int n) { value = Variant(int32_t{n}); };
  if (variable == u"Date")
    value = Variant(DateTime{Engine ? Engine->StartDate : 0});
  else if (variable == u"Time")
    value = Variant(DateTime{Engine ? Engine->StartTime : 0});
  else if (variable == u"Page")
    number(pages ? pages->GetLogicalPageNo() : 0);
  else if (variable == u"Page#")
    number(pages ? pages->CurPage + 1 : 0);
  else if (variable == u"TotalPages")
    number(pages ? pages->GetLogicalTotalPages() : 0);
  else if (variable == u"TotalPages#")
    number(Engine ? Engine->TotalPages : 0);
  else if (variable == u"Line")
    number(Engine ? Engine->CurLine : 0);
  else if (variable == u"Line#")
    number(Engine ? Engine->CurLineThrough : 0);
  else if (variable == u"CopyName#")
    value = qbxGlobalVariables().Get(u"CopyName0");
  else if (variable == u"TableRow")
    number(Engine ? Engine->CurTableRow : 0);
  else
    number(Engine ? Engine->CurTableColumn : 0);
  return true;
}

void TqbxReport::SetDataVariable(StringView name, const String& text) {
  FVariables.Set(name, Variant(text));
  const String key = AsciiUpper(String(name));
  const auto it = std::find_if(FDataVariables.begin(), FDataVariables.end(),
                               [&](const auto& entry) { return entry.first == key; });
  if (it != FDataVariables.end()) it->second = text;
  else FDataVariables.emplace_back(key, text);
}

bool TqbxReport::LookupVariable(StringView name, Variant& value) {
  const int index = FVariables.IndexOf(name);
  if (index < 0) return false;
  TqbxVariable& variable = FVariables.Item(index);
  const Variant& stored = variable.Value();
  if (stored.Kind() != VarKind::String || ContainsLineBreak(stored.StringValue())) {
    value = stored;
    return true;
  }
  const String key = AsciiUpper(variable.Name());
  for (const auto& [data_name, text] : FDataVariables) {
    if (data_name == key && stored.StringValue() == text) {
      value = VariableDataValue(text);
      return true;
    }
  }
  // The text is an expression; one that refers back to its own variable fails.
  if (std::find(FVariablesInEvaluation.begin(), FVariablesInEvaluation.end(), key) !=
      FVariablesInEvaluation.end())
    throw Error(u"Circular reference in variable '" + variable.Name() + u"'");
  FVariablesInEvaluation.push_back(key);
  struct Leave {
    std::vector<String>& list;
    ~Leave() { list.pop_back(); }
  } leave{FVariablesInEvaluation};
  const String text = stored.StringValue();
  value = Calc(text);
  return true;
}

}  // namespace zavrik
