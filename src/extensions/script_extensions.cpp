#include "extensions/script_extensions.h"

#include "core/variant_convert.h"
#include "extensions/money_to_str.h"
#include "script/qs_iinterpreter.h"

namespace zavrik::extensions {

Variant TRSScript::CallMethod(Object*, const ClassInfo*, const String& method_name,
                              std::vector<Variant>& params, const Variant& result) const {
  if (method_name != u"MONEYTOSTRING") return result;
  const double value = params.empty() ? 0.0 : VarToDouble(params[0]);
  return Variant(MoneyToStr(MoneyAmount(value), true));
}

void RegisterScriptExtensions(TqsScript& scope, Object* data_module) {
  static const TRSScript handler;
  // Registering again replaces Dm (a new data module) and keeps the one MoneyToString.
  if (TqsCustomVariable* old = scope.FindLocal(u"Dm")) scope.Remove(old);
  scope.AddObject(u"Dm", data_module);
  if (scope.FindLocal(u"MoneyToString")) return;
  scope.AddMethod(
      u"function MoneyToString(S: Real): String;",
      [](Object* instance, const ClassInfo* class_type, const String& method_name,
         std::vector<Variant>& params) {
        return handler.CallMethod(instance, class_type, method_name, params);
      },
      u"Telvo Система", u"Получить значение денежной суммы прописью");
}

}  // namespace zavrik::extensions
