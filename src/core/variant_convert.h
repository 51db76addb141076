// Conversions of Variants to the typed values scripts, report variables and hosts read.
// Null converts to nothing (only VarToStr turns it into ''); a failed conversion raises
// "Could not convert variant of type (<from>) into type (<to>)"; integers that do not fit
// raise "Range check error".
#pragma once

#include <cstdint>

#include "core/format_settings.h"
#include "core/variant.h"

namespace zavrik {

[[noreturn]] void ThrowConversionError(VarKind from, const char16_t* to_name);

// Floats, Currency and Dates round halves to even; Strings hold an integer (decimal or
// "$"-hexadecimal) or "True"/"False" (1 and 0); Boolean True is -1; Empty is 0.
int32_t VarToInteger(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
int64_t VarToInt64(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
// Strings are read with the settings' decimal separator; Boolean True is -1; Empty is 0.
double VarToDouble(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
// Non-zero numbers are True; Strings are "True"/"False" in any case or a number; Empty is False.
bool VarToBoolean(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
Currency VarToCurrency(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
// The day count of a date value; Strings are read as date-time texts (or plain numbers).
double VarToDate(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());

// The text of a value: integers in decimal, Floats in general form, Currency and Dates in the
// settings' formats, Booleans as "True" and "False", Empty as ''. Null fails.
String VarToString(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());
// As VarToString, with Null giving ''.
String VarToStr(const Variant& v, const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
