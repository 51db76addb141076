#include "report/binding/qbx_report_script.h"

#include <algorithm>

#include "core/error.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_script_classes.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_istatements.h"
#include "script/qs_itypes.h"

namespace zavrik {

namespace {

const char16_t* const kAggregates[] = {u"SUM", u"AVG", u"MIN", u"MAX", u"COUNT"};

bool IsAggregateName(StringView name) {
  for (const char16_t* aggregate : kAggregates) {
    if (name == aggregate) return true;
  }
  return false;
}

// `SUM(...)` and the like: the text before the first bracket, trimmed, names an aggregate.
bool IsAggregateCall(StringView text) {
  const size_t bracket = text.find(u'(');
  return bracket != StringView::npos && IsAggregateName(AsciiUpper(Trim(text.substr(0, bracket))));
}

String ArgumentText(const std::vector<Variant>& params, size_t index) {
  return index < params.size() ? VarToString(params[index]) : String();
}

}  // namespace

TqbxReportScript::TqbxReportScript(TqbxReport& report)
    : FReport(report), FScript(std::make_unique<TqsScript>(&qsGlobalUnit())) {
  FScript->ExtendedCharset = true;
  AddReportScriptClasses(*FScript);
  PublishHelpers();
  FScript->AddVariable(u"Value", u"Variant", Variant::Null());
  FScript->AddVariable(u"Self", u"TqbxView", Variant::Null());
  FValueVariable = FScript->FindLocal(u"Value");
  FSelfVariable = FScript->FindLocal(u"Self");
  // Everything added from here on (the published objects and the compiled program) is the
  // report's and goes at the next preparation.
  FScript->FAddedBy = this;
}

TqbxReportScript::~TqbxReportScript() = default;

// Every report created once this library is linked gets its binding (the library is linked whole,
// so this registration is always part of the program).
const bool kRegistered = (RegisterReportScriptingFactory([](TqbxReport& report) -> std::unique_ptr<TqbxReportScripting> {
  return std::make_unique<TqbxReportScript>(report);
}), true);

TqbxReportScript& ReportScriptOf(const TqbxReport& report) {
  return static_cast<TqbxReportScript&>(report.Scripting());
}

String TqbxReportScript::ErrorPosition() const { return FScript->ErrorPos; }

Variant TqbxReportScript::CalcCompiled(StringView expression, String& error) {
  return FCache.Calc(expression, *FScript, error);
}

void TqbxReportScript::Unpublish() {
  FCache.Clear();
  FScript->ClearItems(this);
  SetValue(Variant::Null());
  SetSelf(nullptr);
}

Object& TqbxReportScript::HostObject(const void* owner, int kind,
                                     const std::function<std::unique_ptr<Object>()>& make) {
  std::unique_ptr<Object>& object = FHostObjects[{owner, kind}];
  if (!object) object = make();
  return *object;
}

bool TqbxReportScript::Prepare() {
  Unpublish();
  FHostObjects.clear();
  FCache.SetLanguage(FReport.ScriptLanguage());
  FScript->FMainProg = true;
  FScript->SetParent(&qsGlobalUnit());
  PublishObjects();
  FScript->SetText(FReport.ScriptText()->Text());
  FScript->FSyntaxType = FReport.ScriptLanguage();
  if (FScript->Compile()) return true;
  FReport.Errors.Add(u"Ошибка в скрипте " + FScript->ErrorPos + u": " + FScript->ErrorMsg);
  return false;
}

void TqbxReportScript::ExecuteMainBlock() {
  if (FScript->FStatement && !FScript->FStatement->FItems.empty()) FScript->Execute();
}

void TqbxReportScript::PublishObjects() {
  // Names are unique within the tree, so the order of adding does not matter; in name order each
  // addition lands after the ones before it instead of moving them aside.
  std::vector<std::pair<String, TqbxComponent*>> named;
  for (TqbxComponent* object : FReport.AllObjects()) {
    object->IsDesigning = false;
    if (!object->Name().empty()) named.emplace_back(qsUpperName(object->Name()), object);
  }
  std::sort(named.begin(), named.end());
  for (const auto& [upper, object] : named) FScript->AddObject(object->Name(), object);
  FScript->AddObject(u"Report", &FReport);
  if (auto* pages = dynamic_cast<Object*>(FReport.PreviewPages())) {
    FScript->AddObject(u"PreviewPages", pages);
    if (auto* outline = dynamic_cast<Object*>(&FReport.PreviewPages()->Outline()))
      FScript->AddObject(u"Outline", outline);
  }
  if (auto* engine = dynamic_cast<Object*>(FReport.Engine)) FScript->AddObject(u"Engine", engine);
}

void TqbxReportScript::PublishHelpers() {
  FScript->AddMethod(u"function Get(Name: String): Variant",
                     [this](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                       return Get(ArgumentText(p, 0));
                     });
  FScript->AddMethod(u"procedure Set(Name: String; Value: Variant)",
                     [this](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                       FReport.Variables().Set(ArgumentText(p, 0), p.size() > 1 ? p[1] : Variant());
                       return Variant();
                     });
  FScript->AddMethod(u"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
                     [this](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                       return MacroIIF(p);
                     });
  const auto aggregate = [this](Object*, const ClassInfo*, const String& name,
                                std::vector<Variant>& p) { return MacroAggregate(name, p); };
  for (const char16_t* name : {u"SUM", u"AVG", u"MIN", u"MAX"}) {
    FScript->AddMethod(u"macrofunction " + String(name) +
                           u"(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                       aggregate);
  }
  FScript->AddMethod(u"macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant",
                     aggregate);
}

Variant TqbxReportScript::Get(const String& name) {
  Variant value;
  if (FReport.LookupValue(name, value)) return value;
  if (IsAggregateCall(name)) return FReport.Calc(name);
  if (FReport.EngineOptions()->IgnoreExprError) return Variant(name);
  FReport.Errors.Add(u"Неизвестная переменная или поле БД: " + name);
  return Variant();
}

Variant TqbxReportScript::MacroIIF(const std::vector<Variant>& params) {
  try {
    const bool condition = VarEqual(FReport.Calc(ArgumentText(params, 0)), Variant(true));
    return FReport.Calc(ArgumentText(params, condition ? 1 : 2));
  } catch (const Error&) {
    return Variant();
  }
}

Variant TqbxReportScript::MacroAggregate(const String& name, const std::vector<Variant>& params) {
  struct ProgName {
    TqsScript& script;
    String saved;
    ~ProgName() { script.SetProgName(saved); }
  } prog_name{*FScript, FScript->ProgName()};
  FScript->SetProgName(u"");
  const bool is_count = name == u"COUNT";
  const size_t first = is_count ? 0 : 1;
  // Blank band and flag texts mean 0.
  const auto argument = [&](size_t index) {
    const String text = ArgumentText(params, index);
    return Trim(text).empty() ? Variant(int32_t{0}) : FReport.Calc(text);
  };
  const Variant band = argument(first);
  const int flags = VarToInteger(argument(first + 1));
  auto* band_object =
      band.Kind() == VarKind::Object ? dynamic_cast<TqbxComponent*>(band.ObjectValue()) : nullptr;
  if (!FReport.Engine) return Variant::Null();
  return FReport.Engine->GetAggregateValue(name, is_count ? String() : ArgumentText(params, 0),
                                           band_object, flags);
}

bool TqbxReportScript::FindVariable(StringView name, Variant& value) const {
  auto* variable = dynamic_cast<TqsVariable*>(FScript->FindLocal(name));
  if (!variable) return false;
  value = variable->Value();
  return true;
}

void TqbxReportScript::SetSelf(TqbxComponent* object) {
  if (FSelfVariable)
    FSelfVariable->SetValue(object ? Variant(static_cast<Object*>(object)) : Variant::Null());
}

void TqbxReportScript::SetValue(const Variant& value) {
  if (FValueVariable) FValueVariable->SetValue(value);
}

Variant TqbxReportScript::CallFunction(StringView name, const std::vector<Variant>& params) {
  auto* procedure = dynamic_cast<TqsProcVariable*>(FScript->FindLocal(name));
  return procedure ? procedure->Call(params) : Variant::Null();
}

}  // namespace zavrik
