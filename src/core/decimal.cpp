#include "core/decimal.h"

#include <charconv>
#include <cmath>

namespace zavrik {
namespace {

void StripZeros(Decimal& d) {
  const size_t last = d.digits.find_last_not_of('0');
  if (last == std::string::npos) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  d.digits.resize(last + 1);
  const size_t first = d.digits.find_first_not_of('0');
  d.digits.erase(0, first);
  d.exponent -= static_cast<int>(first);
}

// Keeps the first `keep` digits (may be <= 0), rounding on the digit that follows.
void RoundAt(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    d.exponent = 0;
    return;
  }
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exponent;
    }
  }
  StripZeros(d);
}

}  // namespace

char Decimal::DigitAt(int pos) const {
  const int index = pos + exponent;
  return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
}

Decimal ToDecimal(double value) {
  Decimal d;
  d.negative = std::signbit(value);
  if (value == 0 || !std::isfinite(value)) return d;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                 std::chars_format::scientific);
  // "d.dddde+xx" or "de+xx"
  const std::string_view text(buf, res.ptr - buf);
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') d.digits.push_back(text[i]);
  }
  int exp10 = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exp10);
  d.exponent = exp10 + 1;
  StripZeros(d);
  return d;
}

Decimal DecimalFromScaled(uint64_t magnitude, bool negative, int scale) {
  Decimal d;
  d.negative = negative;
  d.digits = std::to_string(magnitude);
  d.exponent = static_cast<int>(d.digits.size()) - scale;
  StripZeros(d);
  return d;
}

void RoundToSignificant(Decimal& d, int count) { RoundAt(d, count); }

void RoundToDecimals(Decimal& d, int decimals) { RoundAt(d, d.exponent + decimals); }

std::string IntegerPartText(const Decimal& d) {
  if (d.exponent <= 0) return "0";
  std::string text = d.digits.substr(0, d.exponent);
  text.resize(d.exponent, '0');
  return text;
}

std::string FractionText(const Decimal& d, int count) {
  std::string text;
  text.reserve(count > 0 ? count : 0);
  for (int i = 0; i < count; ++i) text.push_back(d.DigitAt(i));
  return text;
}

}  // namespace zavrik
