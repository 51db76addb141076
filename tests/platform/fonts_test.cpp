#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/font_catalog.h"
#include "platform/font_face.h"
#include "platform/message_window.h"
#include "platform/shaping.h"

namespace zavrik {
namespace {

using ::testing::HasSubstr;

std::string FileName(const FontLocation& location) { return std::filesystem::path(location.path).filename(); }

TEST(FontCatalog, ReportFamiliesResolveToMetricCompatibleFonts) {
  EXPECT_EQ(FileName(LocateFont(u"Arial", 0)), "LiberationSans-Regular.ttf");
  EXPECT_EQ(FileName(LocateFont(u"arial", kFontBold | kFontItalic)), "LiberationSans-BoldItalic.ttf");
  EXPECT_EQ(FileName(LocateFont(u"Times New Roman", kFontItalic)), "LiberationSerif-Italic.ttf");
  EXPECT_EQ(FileName(LocateFont(u"Courier New", 0)), "LiberationMono-Regular.ttf");
  EXPECT_EQ(FileName(LocateFont(u"Tahoma", 0)), "tahoma.ttf");
  EXPECT_EQ(FileName(LocateFont(u"Tahoma", kFontBold)), "tahomabd.ttf");
  EXPECT_EQ(FileName(LocateFont(u"Calibri", 0)), "Carlito-Regular.ttf");
  // Tahoma has no italic file: the upright face is slanted by simulation.
  const FontLocation tahoma_italic = LocateFont(u"Tahoma", kFontItalic);
  EXPECT_TRUE(tahoma_italic.simulate_italic);
  EXPECT_FALSE(LocateFont(u"Arial", kFontItalic).simulate_italic);
  // Unknown families still find a font.
  EXPECT_FALSE(LocateFont(u"No Such Family", 0).path.empty());
}

// Wine's fonts join the list when one of their families is first asked for, in any case.
TEST(FontCatalog, WineFamiliesFoundOnFirstRequest) {
  EXPECT_EQ(FileName(LocateFont(u"WINGDINGS", 0)), "wingding.ttf");
  EXPECT_EQ(FileName(LocateFont(u"symbol", kFontBold)), "symbol.ttf");
  EXPECT_TRUE(LocateFont(u"symbol", kFontBold).simulate_bold);  // no bold file
  EXPECT_FALSE(LocateFont(u"Wingdings", 0).exact);               // stand-ins for Windows' own
}

TEST(FontFace, MetricsAtAPixelSize) {
  const auto arial = FaceFor(u"Arial", 0);
  EXPECT_EQ(arial->UnitsPerEm(), 2048);
  const OutlineMetrics m = arial->Metrics(1000);
  EXPECT_EQ(m.em_height, 1000);
  EXPECT_EQ(m.ascent, 905);   // 1854 / 2048
  EXPECT_EQ(m.descent, 212);  // 434 / 2048
  EXPECT_EQ(m.cell_height, 1117);
  EXPECT_EQ(m.internal_leading, 117);
  EXPECT_EQ(m.cap_height, 688);  // 1409 / 2048
  EXPECT_EQ(m.weight, 400);
  EXPECT_GT(m.avg_char_width, 400);
  EXPECT_GT(m.max_char_width, m.avg_char_width);
  EXPECT_LT(m.bbox_bottom, 0);
  EXPECT_EQ(FaceFor(u"Arial", kFontItalic)->Metrics(1000).italic_angle, -12);
  EXPECT_EQ(arial->CellHeight(83), 93);
  EXPECT_EQ(FaceFor(u"Tahoma", kFontBold)->Metrics(100).weight, 700);
}

TEST(FontFace, AdvancesAreCachedPerSize) {
  const auto arial = FaceFor(u"Arial", 0);
  const AdvanceTable& table = arial->Advances(83);
  EXPECT_EQ(&table, &arial->Advances(83));
  EXPECT_EQ(table.Advance(u' '), 23);  // 569 / 2048 x 83 = 23.06
  EXPECT_EQ(table.Advance(u'W'), 78);  // 1933 / 2048 x 83 = 78.3
  int32_t advances[4];
  table.Measure(u"W\U0001F600", advances);  // a surrogate pair gives its advance to the high half
  EXPECT_EQ(advances[0], 78);
  EXPECT_EQ(advances[2], 0);
  // Bold and regular Liberation Sans differ; the font file is the same for every size.
  EXPECT_NE(FaceFor(u"Arial", kFontBold)->Advances(83).Advance(u'b'), table.Advance(u'b'));
  EXPECT_EQ(arial->FileBytes().size(), std::filesystem::file_size(arial->Location().path));

  EXPECT_EQ(EmHeightAt(10, 600), 83);
  EXPECT_EQ(EmHeightAt(10, 96), 13);
  int32_t run[2];
  MeasureRun({.font = {.name = u"Arial", .style = kFontBold | kFontUnderline}, .pixel_height = 83}, u"bW", run);
  EXPECT_EQ(run[0], FaceFor(u"Arial", kFontBold)->Advances(83).Advance(u'b'));
}

TEST(FontFace, GlyphLookupsBothWays) {
  const auto arial = FaceFor(u"Arial", 0);
  const uint32_t a = arial->GlyphIndex(U'a');
  EXPECT_NE(a, 0u);
  EXPECT_EQ(arial->CharacterOfGlyph(a), U'a');
  EXPECT_EQ(arial->GlyphIndex(U'\U0010FFFD'), 0u);
  EXPECT_EQ(arial->GlyphIndex(U' '), 3u);
}

TEST(Shaping, GlyphsAdvancesAndDisplayOrder) {
  const auto arial = FaceFor(u"Arial", 0);
  const auto runs = ShapeText(*arial, u"AV Ж");
  ASSERT_EQ(runs.size(), 2u);  // Latin and Cyrillic
  EXPECT_EQ(runs[0].glyphs.size(), 3u);
  EXPECT_EQ(runs[0].glyphs[0].index, arial->GlyphIndex(U'A'));
  EXPECT_EQ(runs[0].glyphs[2].advance, 278);  // the space: 569 / 2048 thousandths
  EXPECT_EQ(runs[1].start, 3u);

  // Right-to-left runs come in display order with their glyphs reversed.
  const auto dejavu = FaceFor(u"DejaVu Sans", 0);
  const auto mixed = ShapeText(*dejavu, u"ab \u05D0\u05D1 cd");
  ASSERT_EQ(mixed.size(), 3u);
  EXPECT_TRUE(mixed[1].rtl);
  EXPECT_EQ(mixed[1].glyphs.front().cluster, 4u);
  const auto rtl = ShapeText(*dejavu, u"\u05D0\u05D1 ab", {.rtl_reading = true});
  ASSERT_EQ(rtl.size(), 2u);
  EXPECT_FALSE(rtl[0].rtl);  // "ab" is displayed first (leftmost)

  // A combining mark is a diacritic.
  const auto marked = ShapeText(*dejavu, u"x\u0301");
  ASSERT_FALSE(marked.empty());
  EXPECT_TRUE(marked[0].glyphs.back().diacritic);
  // Shaping the same text twice gives the cached result.
  EXPECT_EQ(ShapeText(*arial, u"AV Ж")[0].glyphs[1].index, runs[0].glyphs[1].index);
}

TEST(Shaping, AdvancesAgreeWithTheMeasuredWidths) {
  // Kerning pairs (AV, Ta, Yo) keep the glyphs' own advances, as the layout measures them.
  for (const char16_t* family : {u"Arial", u"Times New Roman", u"Tahoma"}) {
    const auto face = FaceFor(family, 0);
    const String text = u"AVATAR Tayo Yo, Привет";
    const auto runs = ShapeText(*face, text);
    std::vector<int32_t> measured(text.size());
    face->Advances(1000).Measure(text, measured.data());
    size_t glyphs = 0;
    for (const ShapedRun& run : runs) {
      for (const ShapedGlyph& glyph : run.glyphs) {
        EXPECT_EQ(glyph.advance, measured[glyph.cluster]) << StringToUtf8(family) << " " << glyph.cluster;
        ++glyphs;
      }
    }
    EXPECT_EQ(glyphs, text.size());
  }
}

TEST(MessageWindow, WritesTitleAndTextWithoutBlocking) {
  std::FILE* out = std::tmpfile();
  ShowMessage(u"Ошибка", u"Текст", out);
  std::rewind(out);
  char buffer[64] = {};
  std::fread(buffer, 1, sizeof buffer - 1, out);
  std::fclose(out);
  EXPECT_THAT(std::string(buffer), HasSubstr("Ошибка: Текст\n"));
}

}  // namespace
}  // namespace zavrik
