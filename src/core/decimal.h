// Decimal digits of a double, the one source of digits for every number-to-text formatter.
// Digits come from the shortest text that reads back as the same double, so 2.675 has the digits
// 2675 (not 2674999...), and are then rounded in decimal, halves away from zero as displays do.
#pragma once

#include <cstdint>
#include <string>

namespace zavrik {

struct Decimal {
  bool negative = false;
  std::string digits;  // significant digits '0'..'9', no leading or trailing zeros; empty for 0
  int exponent = 0;    // value = 0.digits * 10^exponent

  bool IsZero() const { return digits.empty(); }
  // Number of digits before the decimal point (0 for values below 1).
  int IntegerDigitCount() const { return exponent > 0 ? exponent : 0; }
  // The digit at decimal position `pos` (0 = first digit after "0."), '0' outside the digits.
  char DigitAt(int pos) const;
};

// The digits of a finite double.
Decimal ToDecimal(double value);
// The digits of magnitude * 10^-scale (for fixed-point values such as Currency).
Decimal DecimalFromScaled(uint64_t magnitude, bool negative, int scale);

// Keeps `count` significant digits, rounding halves away from zero.
void RoundToSignificant(Decimal& d, int count);
// Keeps `decimals` digits after the decimal point, rounding halves away from zero.
void RoundToDecimals(Decimal& d, int decimals);

// The integer part as text ("0" when there is none), and `count` fraction digits (zero-padded).
std::string IntegerPartText(const Decimal& d);
std::string FractionText(const Decimal& d, int count);

}  // namespace zavrik
