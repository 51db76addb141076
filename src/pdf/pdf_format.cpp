#include "pdf/pdf_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/float_text.h"
#include "core/format_settings.h"

namespace zavrik::pdf {
namespace {

// Fixed point with "." whatever the report's locale; halves round away from zero on the
// shortest digits of the value, as every number display of the program does.
std::string ShortestDigitsFixed(double value, int decimals) {
  static const FormatSettings kPdfNumbers = [] {
    FormatSettings fs;
    fs.decimal_separator = u'.';
    return fs;
  }();
  std::string text = StringToUtf8(FloatToStrFixed(value, decimals, false, kPdfNumbers));
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

// The same text without the decimal detour when the scaled value is small and not near a
// half: then the shortest digits and the binary value round the same way. Appended to `out`.
void AppendFixed(std::string& out, double value, int decimals) {
  if (!std::isfinite(value)) value = 0;
  static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
  if (decimals < 0 || decimals > 4) return void(out += ShortestDigitsFixed(value, decimals));
  const double scaled = std::fabs(value) * kScale[decimals];
  if (!(scaled < 1e9)) return void(out += ShortestDigitsFixed(value, decimals));
  const double whole = static_cast<double>(static_cast<uint64_t>(scaled));  // scaled >= 0: the floor
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1e-6) return void(out += ShortestDigitsFixed(value, decimals));
  uint64_t units = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  const bool negative = value < 0 && units != 0;
  char buffer[32];
  char* end = buffer + sizeof buffer;
  char* p = end;
  for (int i = 0; i < decimals; ++i, units /= 10) *--p = static_cast<char>('0' + units % 10);
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (negative) *--p = '-';
  out.append(p, end);
}

int Red(uint32_t c) { return c & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return (c >> 16) & 0xFF; }

std::string Components(uint32_t c, std::string (*form)(int)) {
  return form(Red(c)) + " " + form(Green(c)) + " " + form(Blue(c));
}

}  // namespace

std::string F2(double value) {
  std::string text;
  AppendFixed(text, value, 2);
  return text;
}

std::string F3(double value) {
  std::string text;
  AppendFixed(text, value, 3);
  return text;
}

std::string F3t(double value) {
  std::string text;
  AppendF3t(text, value);
  return text;
}

void AppendF2(std::string& out, double value) { AppendFixed(out, value, 2); }

void AppendF3t(std::string& out, double value) {
  const size_t start = out.size();
  AppendFixed(out, value, 3);
  while (out.size() > start + 1 && out.back() == '0') out.pop_back();
  if (out.size() > start + 1 && out.back() == '.') out.pop_back();
  if (out.size() == start + 2 && out[start] == '-' && out[start + 1] == '0') {
    out.resize(start);
    out += '0';
  }
}

std::string ColorA(uint32_t color) {
  if ((color & 0xFFFFFF) == 0) return "0 0 0";
  if ((color & 0xFFFFFF) == 0xFFFFFF) return "1 1 1";
  return Components(color, [](int c) { return F2(c / 255.0); });
}

std::string ColorB(uint32_t color) {
  if (color == kNoColor) return "0 0 0";
  return Components(color, [](int c) { return F3t(c / 255.0); });
}

std::string ColorC(uint32_t color) {
  return Components(color, [](int c) -> std::string {
    if (c == 0) return "0";
    if (c == 255) return "1";
    const int hundredths = c * 100 / 256;
    return std::string("0.") + static_cast<char>('0' + hundredths / 10) +
           static_cast<char>('0' + hundredths % 10);
  });
}

std::string PdfTextString(StringView text) {
  if (text.empty()) return "()";
  std::string out = "(\xFE\xFF";
  auto put = [&out](unsigned char b) {
    switch (b) {
      case 10: out += "\\n"; break;
      case 13: out += "\\r"; break;
      case '(': out += "\\("; break;
      case ')': out += "\\)"; break;
      case '\\': out += "\\\\"; break;
      default: out += static_cast<char>(b);
    }
  };
  for (char16_t unit : text) {
    put(static_cast<unsigned char>(unit >> 8));
    put(static_cast<unsigned char>(unit & 0xFF));
  }
  return out + ")";
}

std::string PdfDate(int year, int month, int day, int hour, int minute, int second) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "(D:%04d%02d%02d%02d%02d%02d-00'00')", year, month, day,
                hour, minute, second);
  return buffer;
}

}  // namespace zavrik::pdf
