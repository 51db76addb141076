// PDF fonts: the document's font entries and resources, the font objects (names, widths,
// ToUnicode map, embedded subset) and the conversion of lines into glyphs.
#include <gtest/gtest.h>

#include <regex>

#include "pdf/pdf_font.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_memo_text.h"
#include "pdf/pdf_text_style.h"
#include "pdf/pdf_page_fixture.h"
#include "platform/shaping.h"
#include "report/model/views/qbx_font.h"

namespace zavrik::pdf {
namespace {

using namespace test;

TEST(PdfFonts, FontsAreListedFromTheirFirstPageOn) {
  Page p1, p2;
  p1.Memo(u"Arial", 10, 0, 200, 20);
  TqbxMemoView& serif = p2.Memo(u"Times", 10, 0, 200, 20);
  serif.Font()->SetName(u"Times New Roman");
  serif.Font()->SetStyle(fsBold | fsItalic);
  p2.Memo(u"Arial again", 10, 30, 200, 20);
  const std::string pdf = ExportUncompressed({&p1, &p2});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  // Page 1: contents 2, font 3, page 4; page 2: contents 5, font 6, page 7.
  EXPECT_TRUE(Contains(pdf,
                       "/Font << /F0 3 0 R >>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
                       "/Contents 2 0 R"));
  EXPECT_TRUE(Contains(pdf,
                       "/Font << /F0 3 0 R /F1 6 0 R >>\r\n/ProcSet [/PDF /Text /ImageC ]"
                       "\r\n>>\r\n/Contents 5 0 R"));
  const auto streams = test::Streams(pdf);
  EXPECT_TRUE(Contains(streams.at(1), "/F1 9.965 Tf\r\n"));
  EXPECT_TRUE(Contains(streams.at(1), "/F0 9.965 Tf\r\n"));
  EXPECT_TRUE(Contains(pdf,
                       "/Type /Font\r\n/Subtype /Type0\r\n"
                       "/BaseFont /Times#20New#20Roman,BoldItalic\r\n/Encoding /Identity-H\r\n"));
  EXPECT_TRUE(Contains(pdf, "/FontName /Times#20New#20Roman,BoldItalic\r\n"));
  EXPECT_TRUE(Contains(pdf, "/CMapName /Times#20New#20Roman+BoldItalic def\r\n"));
  EXPECT_EQ(Count(pdf, "/Subtype /Type0"), 2);
  EXPECT_EQ(Count(pdf, "/Subtype /CIDFontType2"), 2);
  // Both are drawn with stand-ins here (Liberation Sans, Liberation Serif): embedded.
  EXPECT_EQ(Count(pdf, "/FontFile2 "), 2);
}

TEST(PdfFonts, InstalledFamiliesStayOutAndStandInsAreEmbedded) {
  Page p;
  p.Memo(u"DejaVu", 10, 0, 200, 20).Font()->SetName(u"DejaVu Sans");
  p.Memo(u"Verdana", 10, 30, 200, 20).Font()->SetName(u"Verdana");  // not installed
  p.Memo(u"Wine", 10, 60, 200, 20).Font()->SetName(u"Tahoma");      // Wine's stand-in
  const std::string pdf = ExportUncompressed({&p});
  EXPECT_FALSE(TqbxPDFFont({u"DejaVu Sans", 10, 0, clBlack, 1}).IsStandIn());
  EXPECT_TRUE(TqbxPDFFont({u"Verdana", 10, 0, clBlack, 1}).IsStandIn());
  EXPECT_TRUE(TqbxPDFFont({u"Tahoma", 10, 0, clBlack, 1}).IsStandIn());
  EXPECT_TRUE(TqbxPDFFont({u"Arial", 10, kFontBold, clBlack, 1}).IsStandIn());
  EXPECT_EQ(Count(pdf, "/FontFile2 "), 2);
  std::string fonts;
  ASSERT_EQ(test::RunOnFile(pdf, "pdffonts {}", &fonts), 0);
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nDejaVu Sans +CID TrueType +Identity-H +no")))
      << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nVerdana +CID TrueType +Identity-H +yes")))
      << fonts;
  EXPECT_TRUE(std::regex_search(fonts, std::regex("\nTahoma +CID TrueType +Identity-H +yes")))
      << fonts;
  EXPECT_EQ(QpdfCheck(pdf), 0);
  const std::string text = ExtractedText(pdf);
  for (const char* word : {"DejaVu", "Verdana", "Wine"}) EXPECT_TRUE(Contains(text, word)) << text;
}

TEST(PdfFonts, CompactOutlinesAreEmbeddedWholeAsOpenType) {
  Page p;
  p.Memo(u"Lobster fonts", 10, 0, 300, 20).Font()->SetName(u"Lobster Two");
  TqbxPDFExport filter;
  filter.Compressed = false;
  filter.EmbeddedFonts = true;
  const std::string pdf = Export(filter, {&p});
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/FontFile3 \\d+ 0 R\r\n")));
  EXPECT_TRUE(Contains(pdf, "<</Subtype /OpenType/Length "));
  EXPECT_TRUE(Contains(pdf, "/Subtype /CIDFontType0\r\n"));
  EXPECT_FALSE(Contains(pdf, "/CIDToGIDMap"));
  EXPECT_FALSE(Contains(pdf, "/FontFile2"));
  EXPECT_TRUE(Contains(pdf, "OTTO"));  // the whole file
  EXPECT_EQ(QpdfCheck(pdf), 0);
  std::string fonts;
  ASSERT_EQ(test::RunOnFile(pdf, "pdffonts {}", &fonts), 0);
  EXPECT_TRUE(std::regex_search(fonts, std::regex("Lobster Two +CID Type 0C \\(OT\\) +Identity-H +yes")))
      << fonts;
  EXPECT_TRUE(Contains(ExtractedText(pdf), "Lobster fonts"));
}

TEST(PdfFonts, UnderlinedFontIsASecondEntryWithTheSameName) {
  Page p;
  p.Memo(u"plain", 10, 0, 200, 20);
  TqbxMemoView& underlined = p.Memo(u"under", 10, 30, 200, 20);
  underlined.Font()->SetStyle(fsUnderline | fsStrikeOut);
  const std::string pdf = ExportUncompressed({&p});
  EXPECT_TRUE(Contains(pdf, "/Font << /F0 3 0 R /F1 4 0 R >>"));
  EXPECT_EQ(Count(pdf, "/BaseFont /Arial\r\n"), 4);  // two Type0 fonts, two descendants
  const std::string under = FirstContent(pdf);
  // The line under the text and the line through it, 0.08 of the size wide.
  const std::string text = TextObject(under, 1);
  EXPECT_TRUE(Contains(text, "/F1 9.965 Tf\r\n")) << text;
  const size_t after = under.find("ET\r\n", under.find(text)) + 4;
  EXPECT_TRUE(std::regex_search(
      under.substr(after), std::regex("^\\[\\] 0 d\r\n0 0 0 RG\r\n0\\.80 w\r\n9\\.00 733\\.59 m"
                                      "\r\n[0-9.]+ 733\\.59 l\r\nS\r\n0 0 0 RG\r\n0\\.80 w\r\n"
                                      "9\\.00 737\\.59 m\r\n[0-9.]+ 737\\.59 l\r\nS\r\n")))
      << under.substr(after);
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfFonts, SimulatedBoldKeepsTheRegularEntry) {
  Page p;
  TqbxMemoView& black = p.Memo(u"Black", 10, 0, 200, 20);
  black.Font()->SetName(u"Arial Black");
  black.Font()->SetStyle(fsBold);
  TqbxMemoView& regular = p.Memo(u"Regular", 10, 30, 200, 20);
  regular.Font()->SetName(u"Arial Black");
  const std::string pdf = ExportUncompressed({&p});
  EXPECT_TRUE(Contains(pdf, "/Font << /F0 3 0 R >>"));  // one entry for both
  EXPECT_TRUE(Contains(pdf, "/BaseFont /Arial#20Black\r\n"));
  EXPECT_FALSE(Contains(pdf, "Black,Bold"));
  const std::string content = FirstContent(pdf);
  EXPECT_TRUE(Contains(TextObject(content, 0), "2 Tr 0.29 w 0 0 0 RG\r\n<"));
  EXPECT_TRUE(Contains(content, "ET\r\n0 Tr\r\n"));
  EXPECT_FALSE(Contains(TextObject(content, 1), "Tr"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfFonts, WidthsAndToUnicodeListEachGlyphOnceInFirstUseOrder) {
  Page p1, p2;
  p1.Memo(u"аб", 10, 0, 200, 20);
  p2.Memo(u"ба ab", 10, 0, 200, 20);
  const std::string pdf = ExportUncompressed({&p1, &p2});
  // Contents, contents, the embedded program of the stand-in, the map.
  const auto streams = test::Streams(pdf);
  const std::string cmap = streams.at(3);
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  font.SoftRemapString(u"аб ab", false);
  std::string bfchar = std::to_string(font.UsedGlyphs().size()) + " beginbfchar\r\n";
  std::string widths = "/W [ ";
  for (const PdfUsedGlyph& g : font.UsedGlyphs()) {
    char line[32];
    std::snprintf(line, sizeof line, "<%04X> <%04X>\r\n", g.glyph, g.unicode.at(0));
    bfchar += line;
    widths += std::to_string(g.glyph) + " [" + std::to_string(g.width) + "] ";
  }
  EXPECT_EQ(font.UsedGlyphs().size(), 5u);
  EXPECT_TRUE(Contains(cmap, bfchar + "endbfchar\r\n")) << cmap;
  EXPECT_TRUE(Contains(pdf, widths + "]\r\n")) << widths;
  EXPECT_EQ(Count(cmap, "<0003> <0020>"), 1);
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfFonts, EmbeddedFontsWriteTheFontProgram) {
  Page p;
  p.Memo(u"Встроенный шрифт", 10, 0, 300, 20);
  TqbxPDFExport filter;
  filter.EmbeddedFonts = true;
  const std::string pdf = Export(filter, {&p});
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/FontFile2 \\d+ 0 R\r\n")));
  EXPECT_EQ(QpdfCheck(pdf), 0);
  EXPECT_TRUE(Contains(ExtractedText(pdf), "Встроенный шрифт"));
  std::string fonts;
  ASSERT_EQ(test::RunOnFile(pdf, "pdffonts {}", &fonts), 0);
  EXPECT_TRUE(std::regex_search(fonts, std::regex("Arial +CID TrueType +Identity-H +yes")))
      << fonts;
  // The subset is far smaller than the installed file.
  EXPECT_LT(pdf.size(), FaceFor(u"Arial", 0)->FileBytes().size() / 4);
}

TEST(PdfFonts, TextSizeAndNames) {
  EXPECT_EQ(TextSize(u"Arial", 10), "9.965");
  EXPECT_EQ(TextSize(u"courier new", 10), "10.005");
  EXPECT_EQ(TextSize(u"Courier New", 70), "69.753");
  EXPECT_EQ(EscapeFontName("A (b)%<>[]{}/#"), "A#20#28b#29#25#3C#3E#5B#5D#7B#7D#2F#23");
  EXPECT_EQ(EscapeFontName("Шрифт"), "#D0#A8#D1#80#D0#B8#D1#84#D1#82");
  EXPECT_EQ(TqbxPDFFont({u"Arial", 10, kFontBold, clBlack, 1}).FontName(), "Arial,Bold");
  EXPECT_EQ(TqbxPDFFont({u"Arial", 10, kFontItalic, clBlack, 1}).FontName(), "Arial,Italic");
}

TEST(PdfFonts, RegisterKeysByFamilyAndStyle) {
  PdfFontList fonts;
  const FontRequest arial{u"Arial", 10, 0, clBlack, 1};
  FontRequest big = arial;
  big.size = 20;
  big.color = clRed;
  FontRequest bold = arial;
  bold.style = kFontBold;
  EXPECT_EQ(RegisterFont(fonts, arial), 0);
  EXPECT_EQ(RegisterFont(fonts, big), 0);  // size and colour are not part of the key
  EXPECT_EQ(RegisterFont(fonts, bold), 1);
  FontRequest tahoma{u"Tahoma", 10, kFontBold | kFontItalic, clBlack, 1};
  EXPECT_EQ(RegisterFont(fonts, tahoma), 2);
  tahoma.style = kFontBold;
  EXPECT_EQ(RegisterFont(fonts, tahoma), 2);  // Tahoma's italic is simulated
  EXPECT_EQ(FontAt(fonts, 2).FontName(), "Tahoma,Bold");
}

std::string Describe(const PdfTextStyle& s) {
  return s.resource + " " + s.size + " " + std::to_string(s.size_value) + " " + std::to_string(s.points) + " " +
         std::to_string(s.color) + " " + std::to_string(s.bold_simulated) + std::to_string(s.italic_simulated) +
         std::to_string(s.underline) + std::to_string(s.strike_out) + " " + (s.font ? s.font->FontName() : "none");
}

// The styles of the export are TextStyleOf's, worked out once per distinct font: any change of
// name, size, style or colour gives the style of the changed font, and the fonts are registered
// in the same order.
TEST(PdfFonts, TextStylesAreThoseOfTheFontsFirstRegisteredInOrder) {
  PdfFontList cached_fonts, direct_fonts;
  PdfTextStyles styles(cached_fonts);
  TqbxFont font;
  const auto expect_same = [&](const char* what) {
    const PdfTextStyle cached = styles.Of(font);
    EXPECT_EQ(Describe(cached), Describe(TextStyleOf(direct_fonts, font))) << what;
    EXPECT_EQ(cached.font, &FontAt(cached_fonts, std::stoi(cached.resource.substr(2)))) << what;
  };
  expect_same("Arial 10");
  font.SetSize(12);
  expect_same("size");
  font.SetColor(clRed);
  expect_same("colour");
  font.SetColor(static_cast<int32_t>(kNoColor));
  expect_same("no colour");
  font.SetStyle(fsBold | fsUnderline);
  expect_same("bold underlined");
  font.SetName(u"Tahoma");
  font.SetStyle(fsItalic | fsStrikeOut);
  expect_same("simulated italic");
  font.SetName(u"Courier New");
  expect_same("size correction");
  font.SetName(u"Arial");
  font.SetStyle(0);
  font.SetSize(10);
  font.SetColor(clBlack);
  expect_same("Arial 10 again");
  font.SetName(u"arial");
  expect_same("another spelling");
  EXPECT_EQ(cached_fonts.Count(), direct_fonts.Count());
  font.SetName(u"Arial");
  EXPECT_EQ(styles.Of(font).resource, "/F0");
  // Cleared with the font list, the styles register their fonts again.
  styles.Clear();
  cached_fonts.Clear();
  font.SetName(u"Times New Roman");
  const PdfTextStyle again = styles.Of(font);
  EXPECT_EQ(again.resource, "/F0");
  EXPECT_EQ(again.font, &FontAt(cached_fonts, 0));
  EXPECT_EQ(cached_fonts.Count(), 1);
}

TEST(PdfFonts, EmptyTextGivesAnEmptyRun) {
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  const PdfGlyphRun run = font.SoftRemapString(u"", false);
  EXPECT_TRUE(run.glyphs.empty());
  EXPECT_EQ(run.width, 0);
  EXPECT_TRUE(font.UsedGlyphs().empty());
}

TEST(PdfFonts, LigatureGlyphsMapToTheirCharacters) {
  // DejaVu Sans joins "ffi"; the joined glyph stands for all three characters.
  TqbxPDFFont font({u"DejaVu Sans", 10, 0, clBlack, 1});
  const PdfGlyphRun run = font.SoftRemapString(u"office", false);
  EXPECT_TRUE(run.ligatures);
  EXPECT_EQ(run.glyphs.size(), 4u);
  String mapped;
  for (uint16_t glyph : run.glyphs)
    for (const PdfUsedGlyph& used : font.UsedGlyphs())
      if (used.glyph == glyph) mapped += used.unicode;
  EXPECT_EQ(mapped, u"office");
}

TEST(PdfFonts, LigatureFreeFamiliesConvertCharacterByCharacter) {
  const auto face = FaceFor(u"Calibri", 0);
  const std::vector<ShapedRun> shaped = ShapeText(*face, u"fi");
  ASSERT_EQ(shaped.size(), 1u);
  ASSERT_EQ(shaped[0].glyphs.size(), 1u);  // the installed font joins "fi"
  TqbxPDFFont calibri({u"Calibri", 10, 0, clBlack, 1});
  const PdfGlyphRun run = calibri.SoftRemapString(u"fi", false);
  EXPECT_TRUE(run.ligatures);
  EXPECT_EQ(run.glyphs, (std::vector<uint16_t>{static_cast<uint16_t>(face->GlyphIndex(U'f')),
                                               static_cast<uint16_t>(face->GlyphIndex(U'i'))}));
  EXPECT_EQ(run.width, run.widths.at(0) + run.widths.at(1));
}

TEST(PdfFonts, ArialKeepsGlyph667WhenItIsARealCharacter) {
  // Glyph 667 is a shaping-only glyph in Windows' Arial; in the installed font it is U+02D9.
  const auto face = FaceFor(u"Arial", 0);
  ASSERT_EQ(face->GlyphIndex(U'\u02D9'), 667u);
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  const PdfGlyphRun run = font.SoftRemapString(u"a\u02D9b", false);
  EXPECT_EQ(run.glyphs.size(), 3u);
  EXPECT_EQ(run.glyphs.at(1), 667);
}

}  // namespace
}  // namespace zavrik::pdf
