// What a report needs from its script binding. The binding implements it and registers a factory
// (the model does not depend on the binding); every report created afterwards owns one.
#pragma once

#include <memory>

#include "core/variant.h"
#include "report/model/qbx_script_caller.h"

namespace zavrik {

class TqbxComponent;
class TqbxReport;

class TqbxReportScripting : public TqbxScriptCaller {
 public:
  // Publishes the report's objects and helpers and compiles ScriptText in ScriptLanguage; a
  // compile error goes to the report's Errors.
  virtual bool Prepare() = 0;
  // Withdraws the published objects, the compiled program and the cached expressions.
  virtual void Unpublish() = 0;
  // Runs the main block when it has statements.
  virtual void ExecuteMainBlock() = 0;
  // Where the last run error of the program happened ("" when unknown).
  virtual String ErrorPosition() const = 0;
  // The value of an expression compiled once and kept; `error` receives a failure's message.
  virtual Variant CalcCompiled(StringView expression, String& error) = 0;
  // The value of a variable of the compiled program (procedures do not count).
  virtual bool FindVariable(StringView name, Variant& value) const = 0;
  // The script variables Self and Value.
  virtual void SetSelf(TqbxComponent* object) = 0;
  virtual void SetValue(const Variant& value) = 0;
};

using TqbxReportScriptingFactory = std::unique_ptr<TqbxReportScripting> (*)(TqbxReport& report);
void RegisterReportScriptingFactory(TqbxReportScriptingFactory factory);
// The registered binding for `report`; without one, the report cannot evaluate or run scripts.
std::unique_ptr<TqbxReportScripting> CreateReportScripting(TqbxReport& report);

}  // namespace zavrik
