// Number, colour and string forms of PDF output. Never locale-dependent.
#pragma once

#include <cstdint>
#include <string>

#include "core/ustring.h"

namespace zavrik::pdf {

// Fixed point with exactly two decimals: 12.00, -0.75.
std::string F2(double value);
// Fixed point with exactly three decimals: 9.965.
std::string F3(double value);
// Three decimals, trailing zeros and a trailing "." removed: 0.563, 12, 1.5.
std::string F3t(double value);
// F2 and F3t appended to a buffer.
void AppendF2(std::string& out, double value);
void AppendF3t(std::string& out, double value);

// Colours are $00BBGGRR values; 536870911 is no colour.
inline constexpr uint32_t kNoColor = 0x1FFFFFFF;
// Form A: "0 0 0", "1 1 1", else each component / 255 in F2.
std::string ColorA(uint32_t color);
// Form B: each component / 255 in F3t; no colour gives "0 0 0".
std::string ColorB(uint32_t color);
// Form C: each component as "0", "1" or "0." + two digits of c * 100 / 256.
std::string ColorC(uint32_t color);

// A text string: "()" when empty, else "(" + FE FF + UTF-16BE bytes + ")" with \n \r \( \) \\ escaped.
std::string PdfTextString(StringView text);
// A date value "(D:yyyymmddhhnnss-00'00')" from broken-down local time.
std::string PdfDate(int year, int month, int day, int hour, int minute, int second);

}  // namespace zavrik::pdf
