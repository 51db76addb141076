#include "pdf/pdf_font_tables.h"

#include <array>

namespace zavrik::pdf {
namespace {

struct SizeCorrection {
  const char16_t* family;
  std::array<double, 10> factors;  // sizes 6 to 15
};

constexpr SizeCorrection kCorrections[] = {
    {u"Consolas", {0.986, 1.002, 1.012, 0.997, 1.008, 1.016, 1.002, 0.994, 1.002, 1.007}},
    {u"Courier New", {1.004, 1.005, 1.002, 1.003, 1.004, 1.002, 1.004, 1.004, 1.004, 1.003}},
    {u"Lucida Console", {1, 1, 0.998, 0.998, 0.998, 0.998, 0.999, 0.999, 1, 0.998}},
};

constexpr const char16_t* kBoldAndItalicSimulated[] = {
    u"ＭＳ ゴシック", u"ＭＳ Ｐゴシック", u"ＭＳ 明朝",
    u"ＭＳ Ｐ明朝",   u"MS UI Gothic",    u"Arial Black",
};

constexpr const char16_t* kLigatureFree[] = {
    u"Calibri",      u"Calibri Light", u"CADiagram",    u"Carlito",  u"EmojiOne Color",
    u"Gabriola",     u"OpenSymbol",    u"Segoe Script", u"ZWAdobeF", u"IBM Plex Sans Condensed",
    u"Gotham Light",
};

template <size_t N>
bool Listed(const char16_t* const (&names)[N], StringView family) {
  for (const char16_t* name : names)
    if (family == name) return true;
  return false;
}

}  // namespace

FontStyles SimulatedStyles(StringView family, FontStyles style) {
  if (Listed(kBoldAndItalicSimulated, family)) return style & (kFontBold | kFontItalic);
  if (family == u"Tahoma") return style & kFontItalic;
  return 0;
}

double FontSizeCorrection(StringView family, int size) {
  if (size < 6 || size > 15) return 1;
  for (const SizeCorrection& c : kCorrections)
    if (SameTextAscii(family, c.family)) return c.factors[size - 6];
  return 1;
}

bool IsLigatureFree(StringView family) { return Listed(kLigatureFree, family); }

bool IsArialFamily(StringView family) { return family.starts_with(u"Arial"); }

}  // namespace zavrik::pdf
