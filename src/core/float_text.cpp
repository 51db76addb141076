#include "core/float_text.h"

#include <charconv>
#include <cmath>

#include "core/decimal.h"

namespace zavrik {
namespace {

void AppendAscii(String& out, std::string_view text) { out.append(text.begin(), text.end()); }

// The integer digits, with the thousands separator between groups of three when asked.
void AppendIntegerPart(String& out, const Decimal& d, bool thousands, const FormatSettings& fs) {
  const std::string digits = IntegerPartText(d);
  for (size_t i = 0; i < digits.size(); ++i) {
    if (thousands && i > 0 && (digits.size() - i) % 3 == 0) out.push_back(fs.thousand_separator);
    out.push_back(static_cast<char16_t>(digits[i]));
  }
}

String FixedText(const Decimal& d, int decimals, bool thousands, const FormatSettings& fs) {
  String out;
  if (d.negative && !d.IsZero()) out.push_back(u'-');
  AppendIntegerPart(out, d, thousands, fs);
  if (decimals > 0) {
    out.push_back(fs.decimal_separator);
    AppendAscii(out, FractionText(d, decimals));
  }
  return out;
}

// Digits of the fraction without trailing zeros.
int SignificantDecimals(const Decimal& d) {
  const int n = static_cast<int>(d.digits.size()) - d.exponent;
  return n > 0 ? n : 0;
}

String ScientificText(const Decimal& d, int min_exponent_digits, bool plus_sign,
                      int mantissa_digits, const FormatSettings& fs) {
  String out;
  if (d.negative) out.push_back(u'-');
  out.push_back(static_cast<char16_t>(d.digits[0]));
  if (mantissa_digits > 1) {
    out.push_back(fs.decimal_separator);
    for (int i = 1; i < mantissa_digits; ++i) {
      out.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[i] : u'0');
    }
  }
  out.push_back(u'E');
  const int exponent = d.exponent - 1;
  if (exponent < 0) {
    out.push_back(u'-');
  } else if (plus_sign) {
    out.push_back(u'+');
  }
  std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(digits.size()) < min_exponent_digits) {
    digits.insert(0, min_exponent_digits - digits.size(), '0');
  }
  AppendAscii(out, digits);
  return out;
}

}  // namespace

String AsciiToString(std::string_view text) { return String(text.begin(), text.end()); }

String NonFiniteText(double value) {
  if (std::isnan(value)) return u"NAN";
  return value < 0 ? u"-INF" : u"INF";
}

String FloatToStr(double value, const FormatSettings& fs) {
  return FloatToStrGeneral(value, kGeneralPrecision, fs);
}

String FloatToStrGeneral(double value, int precision, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (precision < 1) precision = 1;
  if (precision > kGeneralPrecision + 3) precision = kGeneralPrecision + 3;
  Decimal d = ToDecimal(value);
  RoundToSignificant(d, precision);
  if (d.IsZero()) return u"0";
  // Below 0.00001 means a first significant digit at the sixth decimal or later.
  if (d.exponent < -4 || d.exponent > precision) {
    return ScientificText(d, 1, false, static_cast<int>(d.digits.size()), fs);
  }
  return FixedText(d, SignificantDecimals(d), false, fs);
}

String SingleToStr(float value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  double widened = 0;
  std::from_chars(buf, res.ptr, widened);
  return FloatToStr(widened, fs);
}

String FloatToStrFixed(double value, int decimals, bool thousands, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  Decimal d = ToDecimal(value);
  RoundToDecimals(d, decimals);
  return FixedText(d, decimals, thousands, fs);
}

String FloatToStrExponent(double value, int precision, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (precision < 1) precision = 1;
  if (precision > kGeneralPrecision + 3) precision = kGeneralPrecision + 3;
  Decimal d = ToDecimal(value);
  RoundToSignificant(d, precision);
  if (d.IsZero()) {
    d.digits.assign(1, '0');
    d.exponent = 1;
    d.negative = false;
  }
  return ScientificText(d, 3, true, precision, fs);
}

String FloatToStrCurrency(double value, int decimals, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  // "$" stands for the symbol and "1" for the amount.
  static constexpr std::u16string_view kPositive[] = {u"$1", u"1$", u"$ 1", u"1 $"};
  static constexpr std::u16string_view kNegative[] = {
      u"($1)", u"-$1",  u"$-1",  u"$1-",  u"(1$)",  u"-1$",   u"1-$",  u"1$-",
      u"-1 $", u"-$ 1", u"1 $-", u"$ 1-", u"$ -1", u"1- $", u"($ 1)", u"(1 $)"};
  Decimal d = ToDecimal(value);
  RoundToDecimals(d, decimals);
  const bool negative = d.negative && !d.IsZero();
  d.negative = false;
  const String amount = FixedText(d, decimals, true, fs);
  const int positive_format = fs.currency_format & 3;
  const int negative_format = fs.negative_currency_format & 15;
  const std::u16string_view pattern =
      negative ? kNegative[negative_format] : kPositive[positive_format];
  String out;
  for (char16_t c : pattern) {
    if (c == u'$') {
      out.append(fs.currency_string);
    } else if (c == u'1') {
      out.append(amount);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

String CurrToStr(Currency value, const FormatSettings& fs) {
  const bool negative = value.scaled < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(value.scaled) : static_cast<uint64_t>(value.scaled);
  const Decimal d = DecimalFromScaled(magnitude, negative, 4);
  return FixedText(d, SignificantDecimals(d), false, fs);
}

String IntToStr(int64_t value) { return AsciiToString(std::to_string(value)); }

String UIntToStr(uint64_t value) { return AsciiToString(std::to_string(value)); }

String IntToHex(uint64_t value, int min_digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kHex[value & 15]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < min_digits) digits.insert(0, min_digits - digits.size(), '0');
  return AsciiToString(digits);
}

}  // namespace zavrik
