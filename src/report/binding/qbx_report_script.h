// TqbxReportScript: the report's own script program (a child of the global script unit) with the
// report's objects and helper functions published in it, the expression cache below it, and the
// calls of event procedures by name.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "report/binding/qbx_expression_cache.h"
#include "report/model/qbx_report_scripting.h"

namespace zavrik {

class TqbxComponent;
class TqbxReport;
class TqsCustomVariable;
class TqsScript;

class TqbxReportScript : public TqbxReportScripting {
 public:
  explicit TqbxReportScript(TqbxReport& report);
  ~TqbxReportScript() override;

  TqsScript& Script() const { return *FScript; }
  TqbxExpressionCache& ExpressionCache() { return FCache; }

  bool Prepare() override;
  void Unpublish() override;
  void ExecuteMainBlock() override;
  String ErrorPosition() const override;
  Variant CalcCompiled(StringView expression, String& error) override;
  bool FindVariable(StringView name, Variant& value) const override;
  void SetSelf(TqbxComponent* object) override;
  void SetValue(const Variant& value) override;

  // Calls the script procedure `name`; an unknown name does nothing.
  Variant CallFunction(StringView name, const std::vector<Variant>& params) override;

  // A host object handed to scripts (a component's child list, a memo's lines), one per owner and
  // kind, made on first need and kept until the next preparation.
  Object& HostObject(const void* owner, int kind, const std::function<std::unique_ptr<Object>()>& make);

 private:
  std::map<std::pair<const void*, int>, std::unique_ptr<Object>> FHostObjects;
  // The report's objects, by name, for one preparation.
  void PublishObjects();
  // Get, Set and the macro functions (for the script's whole life).
  void PublishHelpers();
  // Get(Name): bracketed names of expressions.
  Variant Get(const String& name);
  // IIF with its arguments as source text: only the chosen branch is evaluated.
  Variant MacroIIF(const std::vector<Variant>& params);
  // SUM, AVG, MIN, MAX, COUNT: the engine's aggregate of the expression text.
  Variant MacroAggregate(const String& name, const std::vector<Variant>& params);

  TqbxReport& FReport;
  std::unique_ptr<TqsScript> FScript;
  TqbxExpressionCache FCache;
  TqsCustomVariable* FValueVariable = nullptr;
  TqsCustomVariable* FSelfVariable = nullptr;
};

// The script binding of `report` (the one this library registers for every report).
TqbxReportScript& ReportScriptOf(const TqbxReport& report);

}  // namespace zavrik
