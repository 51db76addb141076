// Variant comparisons. Integer classes (Booleans among them, True being -1) compare as integers,
// Floats and Strings holding numbers as doubles, Currency as fixed point, Dates as day counts,
// two Strings by UTF-16 code units (case-sensitive, a proper prefix is smaller), Booleans with
// False < True, two Empty values are equal. Null equals Null and is smaller than any other value.
#pragma once

#include <compare>

#include "core/format_settings.h"
#include "core/variant.h"

namespace zavrik {

// Unordered only when a NaN takes part. Arrays fail with "Invalid variant operation".
std::partial_ordering VarCompare(const Variant& a, const Variant& b,
                                 const FormatSettings& fs = DefaultFormatSettings());

bool VarEqual(const Variant& a, const Variant& b);
bool VarNotEqual(const Variant& a, const Variant& b);
bool VarLess(const Variant& a, const Variant& b);
bool VarLessEqual(const Variant& a, const Variant& b);
bool VarGreater(const Variant& a, const Variant& b);
bool VarGreaterEqual(const Variant& a, const Variant& b);

}  // namespace zavrik
