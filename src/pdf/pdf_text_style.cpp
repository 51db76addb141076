#include "pdf/pdf_text_style.h"

#include <cmath>
#include <cstdio>

#include "core/numeric.h"
#include "pdf/pdf_font_tables.h"
#include "pdf/pdf_format.h"
#include "platform/color.h"
#include "report/model/views/qbx_font.h"

namespace zavrik::pdf {
namespace {

constexpr double kTextSizeFactor = 0.9964722222222222222;

}  // namespace

PdfTextStyle TextStyleOf(PdfFontList& fonts, const TqbxFont& font) {
  const FontRequest request = font.ToFontRequest();
  const int index = RegisterFont(fonts, request);
  PdfTextStyle s;
  s.font = &FontAt(fonts, index);
  s.resource = "/F" + std::to_string(index);
  s.points = font.Size();
  s.size_value = TextSizeValue(font.Name(), s.points);
  s.size = F3(s.size_value);
  const uint32_t color = static_cast<uint32_t>(font.Color());
  s.color = color == kNoColor ? static_cast<uint32_t>(clBlack) : ColorToRgb(color);
  const FontStyles simulated = SimulatedStyles(font.Name(), request.style);
  s.bold_simulated = simulated & kFontBold;
  s.italic_simulated = simulated & kFontItalic;
  s.underline = request.style & kFontUnderline;
  s.strike_out = request.style & kFontStrikeOut;
  return s;
}

PdfTextStyle PdfTextStyles::Of(const TqbxFont& font) {
  const int32_t size = font.Size(), style = font.Style(), color = font.Color();
  const auto same = [&](const Entry& e) {
    return e.size == size && e.style == style && e.color == color && e.name == font.Name();
  };
  if (last_ < entries_.size() && same(entries_[last_])) return entries_[last_].text_style;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!same(entries_[i])) continue;
    last_ = i;
    return entries_[i].text_style;
  }
  last_ = entries_.size();
  entries_.push_back({font.Name(), size, style, color, TextStyleOf(fonts_, font)});
  return entries_.back().text_style;
}

double TextSizeValue(StringView family, int size) {
  const double factor = size > 64 ? 1 : FontSizeCorrection(family, size);
  return RoundHalfEven(size * kTextSizeFactor * factor * 1000) / 1000;
}

std::string TextSize(StringView family, int size) { return F3(TextSizeValue(family, size)); }

std::string GlyphHex(const std::vector<uint16_t>& glyphs, size_t from, size_t to) {
  std::string hex;
  AppendGlyphHex(hex, glyphs, from, to);
  return hex;
}

void AppendGlyphHex(std::string& hex, const std::vector<uint16_t>& glyphs, size_t from, size_t to) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const size_t start = hex.size();
  hex.resize(start + 4 * (to - from));
  char* out = hex.data() + start;
  for (size_t i = from; i < to; ++i) {
    const uint16_t glyph = glyphs[i];
    *out++ = kDigits[glyph >> 12];
    *out++ = kDigits[(glyph >> 8) & 0xF];
    *out++ = kDigits[(glyph >> 4) & 0xF];
    *out++ = kDigits[glyph & 0xF];
  }
}

std::string JustifiedGlyphs(const PdfGlyphRun& run, uint16_t space, double j) {
  if (!std::isfinite(j) || std::abs(j) > 1e9) j = 0;
  const double whole = std::trunc(j), fraction = j - whole;
  double carried = 0;
  std::string text = "[<";
  size_t from = 0;
  for (size_t i = 0; i < run.glyphs.size(); ++i) {
    if (run.glyphs[i] != space) continue;
    carried += fraction;
    const long long n = static_cast<long long>(whole + std::trunc(carried));
    carried -= std::trunc(carried);
    if (n == 0) continue;
    AppendGlyphHex(text, run.glyphs, from, i + 1);
    text += '>';
    text += std::to_string(n);
    text += '<';
    from = i + 1;
  }
  AppendGlyphHex(text, run.glyphs, from, run.glyphs.size());
  text += ">] TJ";
  return text;
}

}  // namespace zavrik::pdf
