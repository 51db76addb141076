// Conversions of parameter values to the forms the client takes.
#pragma once

#include <cstdint>

#include "core/variant.h"

namespace zavrik::data {

String ParamText(const Variant& v);
// Raises "Range check error" outside [lo, hi].
int64_t ParamInteger(const Variant& v, int64_t lo, int64_t hi);
bool ParamBoolean(const Variant& v);
double ParamDouble(const Variant& v);
Currency ParamCurrency(const Variant& v);
double ParamDateTime(const Variant& v);

// "dd.mm.yyyy", "dd.mm.yyyy h:nn[:ss[.zzz]]" or "h:nn[:ss[.zzz]]" as days since 1899-12-30.
double ParseDateTimeText(StringView text);

}  // namespace zavrik::data
