// Text to numbers and Booleans, with the locale's decimal separator.
#pragma once

#include <cstdint>
#include <optional>

#include "core/format_settings.h"

namespace zavrik {

// An integer: leading blanks, an optional sign, then decimal digits or "$" and hexadecimal digits.
// Hexadecimal texts are read as 64-bit patterns ("$FFFFFFFFFFFFFFFF" is -1). None when malformed
// or out of the 64-bit range.
std::optional<int64_t> ParseInt64(StringView text);
// As ParseInt64 within 32 bits; hexadecimal texts up to "$FFFFFFFF" wrap ("$FFFFFFFF" is -1).
std::optional<int32_t> ParseInt32(StringView text);

// A float: optional blanks around, an optional sign, digits with the settings' decimal separator,
// an optional exponent ("1,5E-3"). No thousands separators.
std::optional<double> ParseFloat(StringView text, const FormatSettings& fs = DefaultFormatSettings());

// "True" or "False" in any case, or a number (0 is False, any other number True).
std::optional<bool> ParseBool(StringView text, const FormatSettings& fs = DefaultFormatSettings());

// The library conversions; they fail with "'%s' is not a valid integer value", "... floating
// point value" and "... boolean value".
int32_t StrToInt(StringView text);
int64_t StrToInt64(StringView text);
double StrToFloat(StringView text, const FormatSettings& fs = DefaultFormatSettings());
bool StrToBool(StringView text, const FormatSettings& fs = DefaultFormatSettings());

// "'<text>' is not a valid <what>", the conversion error of the library functions.
[[noreturn]] void ThrowNotValid(StringView text, const char16_t* what);

}  // namespace zavrik
