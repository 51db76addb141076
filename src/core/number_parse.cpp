#include "core/number_parse.h"

#include <charconv>
#include <string>

#include "core/error.h"

namespace zavrik {
namespace {

bool IsBlank(char16_t c) { return c <= u' '; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

struct ParsedInteger {
  bool negative = false;
  bool hex = false;
  uint64_t magnitude = 0;
};

std::optional<ParsedInteger> ParseInteger(StringView text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  ParsedInteger r;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) r.negative = text[i++] == u'-';
  if (i < text.size() && text[i] == u'$') {
    r.hex = true;
    ++i;
  }
  const unsigned base = r.hex ? 16 : 10;
  const size_t first = i;
  for (; i < text.size(); ++i) {
    const int digit = r.hex ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - u'0' : -1);
    if (digit < 0) return std::nullopt;
    if (r.magnitude > (UINT64_MAX - digit) / base) return std::nullopt;
    r.magnitude = r.magnitude * base + digit;
  }
  if (i == first) return std::nullopt;
  return r;
}

}  // namespace

std::optional<int64_t> ParseInt64(StringView text) {
  const std::optional<ParsedInteger> p = ParseInteger(text);
  if (!p) return std::nullopt;
  if (p->hex) {
    const uint64_t bits = p->negative ? 0 - p->magnitude : p->magnitude;
    return static_cast<int64_t>(bits);
  }
  if (p->negative) {
    if (p->magnitude > uint64_t(INT64_MAX) + 1) return std::nullopt;
    return static_cast<int64_t>(0 - p->magnitude);
  }
  if (p->magnitude > uint64_t(INT64_MAX)) return std::nullopt;
  return static_cast<int64_t>(p->magnitude);
}

std::optional<int32_t> ParseInt32(StringView text) {
  const std::optional<ParsedInteger> p = ParseInteger(text);
  if (!p) return std::nullopt;
  if (p->hex) {
    if (p->magnitude > UINT32_MAX) return std::nullopt;
    const uint32_t bits = static_cast<uint32_t>(p->negative ? 0 - p->magnitude : p->magnitude);
    return static_cast<int32_t>(bits);
  }
  if (p->magnitude > (p->negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) {
    return std::nullopt;
  }
  return static_cast<int32_t>(p->negative ? -static_cast<int64_t>(p->magnitude)
                                          : static_cast<int64_t>(p->magnitude));
}

std::optional<double> ParseFloat(StringView text, const FormatSettings& fs) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  // Rewrite as the ASCII form from_chars reads: [-]digits[.digits][e[-]digits].
  std::string ascii;
  size_t i = b;
  if (i < e && (text[i] == u'-' || text[i] == u'+')) {
    if (text[i] == u'-') ascii.push_back('-');
    ++i;
  }
  int mantissa_digits = 0;
  bool seen_separator = false;
  for (; i < e; ++i) {
    if (IsDigit(text[i])) {
      ascii.push_back(static_cast<char>(text[i]));
      ++mantissa_digits;
    } else if (text[i] == fs.decimal_separator && !seen_separator) {
      ascii.push_back('.');
      seen_separator = true;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < e && (text[i] == u'e' || text[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < e && (text[i] == u'-' || text[i] == u'+')) {
      if (text[i] == u'-') ascii.push_back('-');
      ++i;
    }
    const size_t first = i;
    for (; i < e && IsDigit(text[i]); ++i) ascii.push_back(static_cast<char>(text[i]));
    if (i == first) return std::nullopt;
  }
  if (i != e) return std::nullopt;
  double value = 0;
  const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (res.ec == std::errc::result_out_of_range) {
    // Too small (a negative exponent) underflows to zero; too large is no valid number.
    if (ascii.find("e-") == std::string::npos) return std::nullopt;
    return 0.0;
  }
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

std::optional<bool> ParseBool(StringView text, const FormatSettings& fs) {
  if (SameTextAscii(text, u"True")) return true;
  if (SameTextAscii(text, u"False")) return false;
  if (const std::optional<double> number = ParseFloat(text, fs)) return *number != 0;
  return std::nullopt;
}

void ThrowNotValid(StringView text, const char16_t* what) {
  String message = u"'";
  message.append(text);
  message.append(u"' is not a valid ");
  message.append(what);
  throw Error(std::move(message));
}

int32_t StrToInt(StringView text) {
  if (const std::optional<int32_t> v = ParseInt32(text)) return *v;
  ThrowNotValid(text, u"integer value");
}

int64_t StrToInt64(StringView text) {
  if (const std::optional<int64_t> v = ParseInt64(text)) return *v;
  ThrowNotValid(text, u"integer value");
}

double StrToFloat(StringView text, const FormatSettings& fs) {
  if (const std::optional<double> v = ParseFloat(text, fs)) return *v;
  ThrowNotValid(text, u"floating point value");
}

bool StrToBool(StringView text, const FormatSettings& fs) {
  if (const std::optional<bool> v = ParseBool(text, fs)) return *v;
  ThrowNotValid(text, u"boolean value");
}

}  // namespace zavrik
