// What views need from their report to evaluate expressions: the report implements it; the
// expression binding supplies Calc.
#pragma once

#include "core/variant.h"

namespace zavrik {

class TqbxComponent;

class TqbxEvaluator {
 public:
  virtual ~TqbxEvaluator() = default;
  // The value of an expression of the report's script language.
  virtual Variant Calc(StringView expression) = 0;
  virtual String ScriptLanguage() const = 0;
  // The object that `Self` names in expressions while it is evaluated.
  virtual void SetSelfValue(TqbxComponent* object) = 0;
  // The value a memo printed last (what `Value` names in highlight conditions).
  virtual void SetLocalValue(const Variant& value) = 0;
};

// The evaluator of a component's report; none outside a report.
TqbxEvaluator* EvaluatorOf(const TqbxComponent& component);

}  // namespace zavrik
