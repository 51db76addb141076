// zavrik-tool layout [options] FILE: how the text layout wraps the UTF-8 text of FILE.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "commands.h"
#include "core/error.h"
#include "core/numeric.h"
#include "report/text/draw_text.h"

namespace zavrik::tool {
namespace {

constexpr const char* kUsage =
    "Usage: zavrik-tool layout [--font NAME] [--size PT] [--bold] [--italic] [--width PX] [--height PX]\n"
    "                          [--linespacing PX] [--wordbreak] [--html] [--nowrap] FILE\n";

// Up to four decimals, "." as separator, no trailing zeros.
std::string Decimal(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", RoundHalfEven(value * 10000) / 10000);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

bool ReadNumber(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == 0 && std::isfinite(value);
}

}  // namespace

int LayoutCommand(int argc, char** argv) {
  FontRequest font;
  double width = 200, height = 10000, line_spacing = 2;
  bool word_break = false, html = false, word_wrap = true;
  std::string file;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    double* number = arg == "--size" ? &font.size : arg == "--width" ? &width : arg == "--height" ? &height
                     : arg == "--linespacing" ? &line_spacing : nullptr;
    if (number) {
      if (!has_value || !ReadNumber(argv[++i], *number)) {
        std::fprintf(stderr, "layout: %s needs a number\n", arg.c_str());
        return 1;
      }
    } else if (arg == "--font" && has_value) {
      font.name = Utf8ToString(argv[++i]);
    } else if (arg == "--bold") {
      font.style |= kFontBold;
    } else if (arg == "--italic") {
      font.style |= kFontItalic;
    } else if (arg == "--wordbreak") {
      word_break = true;
    } else if (arg == "--html") {
      html = true;
    } else if (arg == "--nowrap") {
      word_wrap = false;
    } else if (arg.rfind("--", 0) == 0 || !file.empty()) {
      std::fputs(kUsage, stderr);
      return 1;
    } else {
      file = arg;
    }
  }
  if (file.empty()) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "Cannot open file \"%s\"\n", file.c_str());
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  TqbxDrawText& layout = TqbxDrawText::Global();
  layout.Lock();
  const Rect rect{0, 0, static_cast<int>(RoundHalfEven(width)), static_cast<int>(RoundHalfEven(height))};
  layout.SetFont(font);
  layout.SetOptions(word_wrap, html, false, word_break, true, true, 0);
  layout.SetGaps(0, 0, line_spacing);
  layout.SetDimensions(1, 1, 1, rect, rect);
  layout.SetText(Utf8ToString(bytes));
  std::string out;
  for (const TqbxWrappedLine& line : layout.Text()) {
    out += std::to_string(line.Flags) + "\t" + StringToUtf8(line.Text) + "\n";
  }
  out += "LineHeight=" + Decimal(layout.LineHeight()) + "\n";
  out += "CalcHeight=" + Decimal(layout.CalcHeight()) + "\n";
  out += "CalcWidth=" + Decimal(layout.CalcWidth()) + "\n";
  out += "UnusedSpace=" + Decimal(layout.UnusedSpace()) + "\n";
  layout.Unlock();
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace zavrik::tool
