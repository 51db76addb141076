// Lines converted to glyph runs: the direct conversion of plain left-to-right lines against the
// full one through the shaper's runs and HarfBuzz, for the runs and for the glyphs the font lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "pdf/pdf_font.h"
#include "platform/font_face.h"
#include "platform/shaping.h"

namespace zavrik {
namespace {

std::string Describe(const PdfGlyphRun& run) {
  std::string out = "width " + std::to_string(run.width) + " spaces " + std::to_string(run.spaces) +
                    (run.ligatures ? " ligatures" : "") + (run.average_spacing ? " average" : "") + ":";
  for (size_t i = 0; i < run.glyphs.size(); ++i)
    out += " " + std::to_string(run.glyphs[i]) + "/" + std::to_string(i < run.widths.size() ? run.widths[i] : -2);
  if (run.widths.size() != run.glyphs.size()) out += " widths " + std::to_string(run.widths.size());
  out += " spaces at";
  for (size_t i = 0; i < run.space_chars.size(); ++i)
    if (run.space_chars[i]) out += " " + std::to_string(i);
  return out + " of " + std::to_string(run.space_chars.size());
}

std::string Describe(const std::vector<PdfUsedGlyph>& used) {
  std::string out;
  for (const PdfUsedGlyph& g : used) {
    out += std::to_string(g.glyph) + "/" + std::to_string(g.width) + "=";
    for (char16_t unit : g.unicode) out += std::to_string(unit) + ",";
    out += " ";
  }
  return out;
}

struct Family {
  const char16_t* name;
  FontStyles style;
};

// Arial families register single characters first; Calibri converts ligatures character by
// character; Lobster Two has layout on most of its letters.
const Family kFamilies[] = {
    {u"Arial", 0},        {u"Arial", kFontBold},      {u"Arial Narrow", 0}, {u"Times New Roman", kFontItalic},
    {u"Courier New", 0},  {u"Tahoma", 0},             {u"DejaVu Sans", 0},  {u"Calibri", 0},
    {u"Lobster Two", 0},  {u"Liberation Mono", 0},
};

struct Line {
  String text;
  bool rtl = false;
};

// Converts the lines in order with both paths of fresh fonts of the family; the runs and, after
// every line, the glyphs the fonts list must agree. Returns how many lines took the plain path.
int ExpectBothPathsAgree(const Family& family, const std::vector<Line>& lines) {
  const FontRequest request{family.name, 10, family.style, clBlack, 1};
  TqbxPDFFont plain(request), full(request);
  full.SetFullConversion(true);
  const auto face = FaceFor(family.name, family.style & (kFontBold | kFontItalic));
  const std::string font = StringToUtf8(family.name) + " " + std::to_string(family.style);
  int plain_lines = 0;
  ShapedGlyph glyph;
  for (const Line& line : lines) {
    plain_lines += !line.rtl && !line.text.empty() &&
                   std::all_of(line.text.begin(), line.text.end(),
                               [&](char16_t ch) { return ShapePlainCharacter(*face, ch, {}, glyph); });
    const std::string expected = Describe(full.SoftRemapString(line.text, line.rtl));
    EXPECT_EQ(Describe(plain.SoftRemapString(line.text, line.rtl)), expected)
        << font << " \"" << StringToUtf8(line.text) << "\" rtl " << line.rtl;
    EXPECT_EQ(plain.UsedGlyphs().size(), full.UsedGlyphs().size()) << font << " \"" << StringToUtf8(line.text) << "\"";
  }
  EXPECT_EQ(Describe(plain.UsedGlyphs()), Describe(full.UsedGlyphs())) << font;
  return plain_lines;
}

// The plain characters whose glyph in the face is 667, a glyph Arial hides when it has no
// character of its own.
String CharactersOfGlyph667(const FontFace& face) {
  String found;
  for (char32_t ch = 0x20; ch < 0x2200; ++ch)
    if (IsPlainCharacter(ch) && face.GlyphIndex(ch) == 667) found += static_cast<char16_t>(ch);
  return found;
}

TEST(PdfGlyphRuns, PlainLinesConvertAsTheFullPathOnFixedTexts) {
  const char16_t* texts[] = {
      u"Hello, world", u"Иванов Иван Иванович", u"12 345,67 руб.", u"2026-12-10", u"№ 15/7 — «кавычки»",
      u"a\u00A0b\u00A0c", u"\u00A0", u"Ωμέγα αβγ", u"   ", u" x ", u"x", u"final fi ffi fl office", u"AVATAR Tayo",
      u"e\u0301 combining", u"caf\u00E9", u"\u05D0\u05D1\u05D2 hebrew", u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629 123",
      u"\u0928\u092E\u0938\u094D\u0924\u0947 ab", u"emoji \U0001F600 pair", u"zwj a\u200Db", u"soft\u00ADhyphen",
      u"tab\there", u"a\u02D9b", u"\u02D9", u"\uFB01 ligature char", u"ǅ ǈ Ǆ", u"Hello, world", u"Иванов",
      u"\u2116\u2122 \u20BD\u20AC", u"\u2009thin\u202Fnarrow", u"x\u2060y", u"\u0483\u0434"};
  const String lone{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  for (const Family& family : kFamilies) {
    const auto face = FaceFor(family.name, family.style & (kFontBold | kFontItalic));
    std::vector<Line> lines;
    for (const char16_t* text : texts) lines.push_back({text});
    lines.push_back({lone});
    const String hidden = CharactersOfGlyph667(*face);
    if (!hidden.empty()) lines.push_back({u"a" + hidden + u" b"});
    // The same texts again right to left, then once more left to right.
    for (const char16_t* text : texts) lines.push_back({text, true});
    for (const char16_t* text : texts) lines.push_back({text});
    const int plain = ExpectBothPathsAgree(family, lines);
    if (family.name != String(u"Lobster Two")) {
      EXPECT_GT(plain, 20) << StringToUtf8(family.name);
    }
  }
}

TEST(PdfGlyphRuns, PlainLinesConvertAsTheFullPathOnRandomTexts) {
  // Mostly plain characters with a few that are not, repeated texts among them, some lines right
  // to left: both paths meet glyphs and characters first seen on the other.
  std::vector<char16_t> pool;
  for (char16_t c = 0x20; c < 0x7F; ++c) pool.push_back(c);
  for (char16_t c = 0x410; c < 0x450; ++c) pool.push_back(c);
  for (char16_t c : u"\u00A0\u00AB\u00BB\u2014\u2013\u2116\u00E9\u00FC\u0391\u03B1\u03AC\u0401\u0451\u2030\u20AC fi")
    if (c) pool.push_back(c);
  const String rare = u"\u0301\u0308\u05D0\u0627\u0644\u0661\u0915\u094D\u200D\u00AD\u200B\u202E\uFE0F\u0483"
                      u"\u2044\u0009\U0001F600\u02D9\uFB01";
  std::mt19937 random(20261210);
  std::vector<Line> lines;
  for (int i = 0; i < 600; ++i) {
    if (i > 10 && random() % 5 == 0) {
      lines.push_back(lines[random() % lines.size()]);
      continue;
    }
    Line line;
    const size_t length = 1 + random() % 30;
    for (size_t k = 0; k < length; ++k) {
      const bool odd = i % 4 == 0 && random() % 6 == 0;
      line.text += odd ? rare[random() % rare.size()] : pool[random() % pool.size()];
    }
    line.rtl = random() % 10 == 0;
    lines.push_back(line);
  }
  for (const Family& family : kFamilies) {
    const int plain = ExpectBothPathsAgree(family, lines);
    if (family.name != String(u"Lobster Two")) {
      EXPECT_GT(plain, 150) << StringToUtf8(family.name);
    }
  }
}

TEST(PdfGlyphRuns, PlainRunIsReplacedByTheNextLine) {
  // The run of a plain line is the font's scratch: the next line's run takes its place whole.
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  const PdfGlyphRun first = font.SoftRemapString(u"Длинная строка текста", false);
  const PdfGlyphRun& second = font.SoftRemapString(u"ab", false);
  EXPECT_EQ(second.glyphs.size(), 2u);
  EXPECT_EQ(second.widths.size(), 2u);
  EXPECT_EQ(second.space_chars.size(), 2u);
  EXPECT_EQ(second.spaces, 0);
  EXPECT_EQ(second.width, second.widths[0] + second.widths[1]);
  EXPECT_EQ(first.spaces, 2);
  EXPECT_EQ(first.glyphs.size(), 21u);
}

}  // namespace
}  // namespace zavrik
