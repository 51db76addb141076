// The program's additions to the global script scope: the function MoneyToString and the data
// module as the object Dm.
#pragma once

#include <vector>

#include "core/rtti.h"
#include "core/variant.h"

namespace zavrik {
class TqsScript;
}

namespace zavrik::extensions {

// Serves the registered functions; it has no state of its own.
class TRSScript {
 public:
  // "MONEYTOSTRING": the amount Params[0] in words with the kopecks as digits. Other names leave
  // `result` as the engine supplied it.
  Variant CallMethod(Object* instance, const ClassInfo* class_type, const String& method_name,
                     std::vector<Variant>& params, const Variant& result = Variant()) const;
};

// Adds MoneyToString and Dm (`data_module`) to `scope`, normally the global unit. The handler
// object lives until the process ends.
void RegisterScriptExtensions(TqsScript& scope, Object* data_module);

}  // namespace zavrik::extensions
