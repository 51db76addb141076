// The report script and every expression of the template, compiled as the report compiles them
// (through its script and expression cache) but never run.
#include <algorithm>

#include "core/variant_convert.h"
#include "engine/run/qbx_aggregate.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/views/qbx_memo_format.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_report_script.h"
#include "report/model/qbx_variables.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "template_check.h"

namespace zavrik::tool {
namespace {

String NameOf(const TqbxComponent& object) { return object.IsReport() ? String(u"Report") : object.Name(); }

class ExpressionChecker {
 public:
  ExpressionChecker(TqbxReport& report, CheckFindings& findings) : FReport(report), FFindings(findings) {}

  void CheckScript() {
    const std::vector<String> before = FReport.Errors.Items();
    FScriptCompiles = FReport.PrepareScript();
    if (FScriptCompiles) return;
    for (const String& message : FReport.Errors.Items()) {
      if (std::find(before.begin(), before.end(), message) != before.end()) continue;
      FFindings.Add(u"Report", u"script", message);
      FFindings.Explained.push_back(message);
    }
  }

  void CheckVariables() {
    TqbxVariables& variables = FReport.Variables();
    for (int i = 0; i < variables.Count(); ++i) {
      const TqbxVariable& variable = variables.Item(i);
      if (variable.Name().starts_with(u' ')) continue;  // a category heading
      Check(u"Report", u"variable " + variable.Name(), VarToStr(variable.Value()));
    }
  }

  void CheckObject(TqbxComponent& object) {
    CheckEvents(object);
    if (auto* header = dynamic_cast<TqbxGroupHeader*>(&object)) Check(NameOf(object), u"group condition", header->Condition());
    auto* memo = dynamic_cast<TqbxCustomMemoView*>(&object);
    if (!memo) return;
    for (const auto& highlight : memo->Highlights())
      if (highlight) Check(object.Name(), u"highlight condition", highlight->Condition);
    if (!memo->AllowExpressions) return;
    for (const String& expression : ExpressionsOf(memo->MemoText(), memo->ExpressionDelimiters)) {
      const bool compiles = Check(object.Name(), u"[" + expression + u"]", WithoutInlineFormat(expression));
      for (const TqbxAggregateCall& call : FindAggregateCalls(expression, VariableText(), IsField()))
        CheckAggregate(object.Name(), call, compiles);
    }
  }

 private:
  // " #..." at the end of a memo expression is its display format.
  static String WithoutInlineFormat(String expression) {
    const size_t hash = expression.find(u" #");
    if (hash != String::npos && expression.find(u')', hash) == String::npos) expression.resize(hash);
    return expression;
  }

  // Names the report resolves itself (data fields, system and report variables, global and
  // script variables) are not compiled; everything else is, below the report's script. False
  // when it does not compile.
  bool Check(const String& object, const String& where, const String& expression) {
    if (Trim(expression).empty() || SameTextAscii(expression, u"TOTALPAGES#") || SameTextAscii(expression, u"COPYNAME#"))
      return true;
    String field, error;
    Variant value;
    if (FReport.GetDatasetAndField(expression, field) && !field.empty()) return true;
    const auto& system = FReport.SystemVariables();
    if (std::any_of(system.begin(), system.end(), [&](const String& v) { return SameTextAscii(v, expression); }))
      return true;
    if (FReport.Variables().IndexOf(expression) >= 0 || qbxGlobalVariables().IndexOf(expression) >= 0) return true;
    TqbxReportScript& script = ReportScriptOf(FReport);
    if (script.FindVariable(expression, value)) return true;
    if (script.ExpressionCache().Compiles(expression, script.Script(), error)) return true;
    FFindings.Add(object, u"expression", where + u": " + error);
    return false;
  }

  // The accumulated expression (unless the memo's expression already failed) and the band that
  // feeds the aggregate.
  void CheckAggregate(const String& object, const TqbxAggregateCall& call, bool compiles) {
    const bool is_count = AggregateFunctionOf(call.Word) == agCount;
    const auto argument = [&](size_t index) { return index < call.Arguments.size() ? call.Arguments[index] : String(); };
    if (!is_count && compiles) Check(object, call.Text + u", its expression", argument(0));
    const String band = argument(is_count ? 0 : 1);
    if (!band.empty() && !dynamic_cast<TqbxBand*>(FReport.FindObject(band)))
      FFindings.Add(object, u"aggregate",
                    call.Text + u" names " + band + u", which is not a band of the template: it stays empty");
  }

  // Event properties name script procedures; a name the script lacks runs nothing. A script that
  // does not compile has no procedures to look at.
  void CheckEvents(TqbxComponent& object) {
    if (!FScriptCompiles) return;
    for (const PropInfo* prop : object.ClassType().Props()) {
      if (prop->kind != TypeKind::String || !prop->get || !prop->name.starts_with(u"On")) continue;
      const String procedure = VarToStr(prop->get(object));
      if (procedure.empty()) continue;
      if (!dynamic_cast<TqsProcVariable*>(ReportScriptOf(FReport).Script().FindLocal(procedure)))
        FFindings.Add(NameOf(object), u"event",
                      prop->name + u" names " + procedure + u", which the report script does not have: nothing runs");
    }
  }

  std::function<bool(StringView, String&)> VariableText() {
    return [this](StringView name, String& value) {
      const int index = FReport.Variables().IndexOf(name);
      if (index < 0) return false;
      value = VarToStr(FReport.Variables().Item(index).Value());
      return true;
    };
  }

  std::function<bool(StringView)> IsField() {
    return [this](StringView text) {
      String field;
      return FReport.GetDatasetAndField(text, field) != nullptr && !field.empty();
    };
  }

  TqbxReport& FReport;
  CheckFindings& FFindings;
  bool FScriptCompiles = false;
};

}  // namespace

void CheckExpressions(TqbxReport& report, CheckFindings& findings) {
  ExpressionChecker checker(report, findings);
  checker.CheckScript();
  checker.CheckVariables();
  checker.CheckObject(report);
  for (TqbxComponent* object : report.AllObjects()) checker.CheckObject(*object);
}

}  // namespace zavrik::tool
