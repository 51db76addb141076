// Numbers as text: the general floating-point form used by every conversion of a Float to a
// String, and the fixed and exponent forms of the printf-style formatter.
#pragma once

#include <cstdint>

#include "core/format_settings.h"
#include "core/variant.h"

namespace zavrik {

inline constexpr int kGeneralPrecision = 15;

// "INF", "-INF" or "NAN" for values that are not finite.
String NonFiniteText(double value);

// General form: `precision` significant digits, trailing zeros removed, the decimal separator of
// the settings; scientific notation ("1,5E20", "1E-6") when the magnitude is below 0.00001 or the
// integer part has more than `precision` digits.
String FloatToStr(double value, const FormatSettings& fs = DefaultFormatSettings());
String FloatToStrGeneral(double value, int precision,
                         const FormatSettings& fs = DefaultFormatSettings());

// A Single in general form with the digits of its shortest exact text (0.1f gives "0,1").
String SingleToStr(float value, const FormatSettings& fs = DefaultFormatSettings());

// Fixed form with exactly `decimals` digits after the separator, optionally grouped by thousands.
String FloatToStrFixed(double value, int decimals, bool thousands,
                       const FormatSettings& fs = DefaultFormatSettings());

// Exponent form "-d.dddE+ddd" with `precision` significant digits and at least three exponent
// digits.
String FloatToStrExponent(double value, int precision,
                          const FormatSettings& fs = DefaultFormatSettings());

// A money amount: fixed form with `decimals` digits and thousands grouping, placed with the
// settings' currency symbol by their positive and negative currency formats ("1 234,50 ₽").
String FloatToStrCurrency(double value, int decimals,
                          const FormatSettings& fs = DefaultFormatSettings());

// A Currency in general form (up to four decimals, trailing zeros removed, no symbol).
String CurrToStr(Currency value, const FormatSettings& fs = DefaultFormatSettings());

String IntToStr(int64_t value);
String UIntToStr(uint64_t value);
// Upper-case hexadecimal, at least `min_digits` digits.
String IntToHex(uint64_t value, int min_digits);

// ASCII text widened to a String.
String AsciiToString(std::string_view text);

}  // namespace zavrik
