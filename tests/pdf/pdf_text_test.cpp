// Text views written as PDF text: operators, fonts and their objects, and the extracted text
// (poppler) of files checked with qpdf.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <regex>
#include <sstream>

#include "pdf/pdf_export.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_link_target.h"
#include "pdf/pdf_memo_text.h"
#include "pdf/pdf_test_support.h"
#include "platform/shaping.h"
#include "report/qbx_band.h"
#include "report/qbx_memo.h"
#include "report/qbx_page.h"

namespace zavrik::pdf {
namespace {

using test::QpdfCheck;

// A page with one band; memos are added to the band.
struct Page {
  Page() {
    band = &TqbxComponent::CreateIn<TqbxMasterData>(page);
    band->SetBounds(0, 100, 700, 200);
  }
  TqbxMemoView& Memo(const String& text, double left, double top, double width, double height) {
    auto& memo = TqbxComponent::CreateIn<TqbxMemoView>(*band);
    memo.SetBounds(left, top, width, height);
    memo.SetMemoText(text);
    return memo;
  }
  TqbxReportPage page;
  TqbxBand* band;
};

// Exports the pages as the export walk does: every view on each band is offered.
std::string Export(TqbxPDFExport& filter, const std::vector<Page*>& pages) {
  std::ostringstream out;
  filter.Stream = &out;
  EXPECT_TRUE(filter.Start());
  for (size_t i = 0; i < pages.size(); ++i) {
    filter.StartPage(pages[i]->page, static_cast<int>(i));
    const TqbxComponent& band = *pages[i]->band;
    for (int v = 0; v < band.Count(); ++v) filter.ExportObject(band.Child(v));
    filter.FinishPage(pages[i]->page, static_cast<int>(i));
  }
  filter.Finish();
  return out.str();
}

std::string ExportUncompressed(const std::vector<Page*>& pages) {
  TqbxPDFExport filter;
  filter.Compressed = false;
  return Export(filter, pages);
}

// pdftotext's text of the file, laid out (-layout keeps the lines).
std::string ExtractedText(const std::string& pdf) {
  std::string text;
  EXPECT_EQ(test::RunOnFile(pdf, "pdftotext -enc UTF-8 -layout {} -", &text), 0);
  return text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The first content stream of an uncompressed file.
std::string FirstContent(const std::string& pdf) { return test::Streams(pdf).at(0); }

// The text between "BT" and "ET" of the n-th text object of a content stream.
std::string TextObject(const std::string& content, int n) {
  size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    at = content.find("BT\r\n", at);
    if (at == std::string::npos) return "<missing>";
    if (i < n) at += 4;
  }
  return content.substr(at, content.find("ET\r\n", at) + 4 - at);
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

TEST(PdfText, SimpleMemoOperators) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"Hello", 10, 10, 200, 20);
  memo.Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
  memo.SetColor(0x00FFFF);  // yellow
  const std::string content = FirstContent(ExportUncompressed({&p}));
  // Band at 100: the memo's top is 110 pixels, 82.5 points below the top of the 842.25-point page.
  const std::string expected =
      "q\r\nQ\r\n"                                                     // the page frame (none)
      "q\r\n1 1 0 rg\r\n7.125 760.125 150.75 -15.75 re\r\nf\r\nQ\r\n"  // fill of the clip rectangle
      "q\r\n7.125 760.125 150.75 -15.75 re\r\nW\r\nn\r\n"
      "BT\r\n/F0 9.965 Tf\r\n[] 0 d\r\n0 0 0 rg\r\n9.00 749.79 Td\r\n<002B0048004F004F0052> Tj\r\n"
      "ET\r\nQ\r\n"
      "q\r\n"
      "[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n7.50 744.75 m\r\n157.50 744.75 l\r\nS\r\n"
      "[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n7.50 744.75 m\r\n7.50 759.75 l\r\nS\r\n"
      "[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n7.50 759.75 m\r\n157.50 759.75 l\r\nS\r\n"
      "[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n157.50 744.75 m\r\n157.50 759.75 l\r\nS\r\n"
      "Q\r\n";
  EXPECT_EQ(content, expected);
}

TEST(PdfText, RussianAndLatinTextExtractsExactly) {
  Page p1, p2;
  p1.Memo(u"Счёт на оплату № 17 от 9 декабря", 10, 0, 500, 20);
  p1.Memo(u"Поставщик: ООО «Ромашка», ИНН 7701234567", 10, 30, 500, 20);
  p2.Memo(u"Итого к оплате: 1 234,56 руб.\r\nTotal: EUR 12.50", 10, 0, 500, 40);
  TqbxMemoView& joined = p2.Memo(u"office affinity", 10, 50, 500, 20);
  joined.Font()->SetName(u"DejaVu Sans");  // "ffi" is one glyph
  TqbxPDFExport filter;
  const std::string pdf = Export(filter, {&p1, &p2});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "Счёт на оплату № 17 от 9 декабря\n")) << text;
  EXPECT_TRUE(Contains(text, "Поставщик: ООО «Ромашка», ИНН 7701234567\n")) << text;
  EXPECT_TRUE(Contains(text, "Итого к оплате: 1 234,56 руб.\n")) << text;
  EXPECT_TRUE(Contains(text, "Total: EUR 12.50\n")) << text;
  EXPECT_TRUE(Contains(text, "office affinity\n")) << text;
}

TEST(PdfText, FontsAreListedFromTheirFirstPageOn) {
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
  EXPECT_FALSE(Contains(pdf, "/FontFile2"));
}

TEST(PdfText, UnderlinedFontIsASecondEntryWithTheSameName) {
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

TEST(PdfText, SimulatedBoldKeepsTheRegularEntry) {
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

TEST(PdfText, WidthsAndToUnicodeListEachGlyphOnceInFirstUseOrder) {
  Page p1, p2;
  p1.Memo(u"аб", 10, 0, 200, 20);
  p2.Memo(u"ба ab", 10, 0, 200, 20);
  const std::string pdf = ExportUncompressed({&p1, &p2});
  const auto streams = test::Streams(pdf);
  const std::string cmap = streams.at(2);
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

TEST(PdfText, HorizontalAlignment) {
  Page p;
  TqbxMemoView& center = p.Memo(u"Итого", 10, 0, 300, 20);
  center.HAlign = haCenter;
  TqbxMemoView& right = p.Memo(u"Итого", 10, 30, 300, 20);
  right.HAlign = haRight;
  const std::string content = FirstContent(ExportUncompressed({&p}));
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  const double length = 10.0 * font.SoftRemapString(u"Итого", false).width / 0.75 / 1000;
  const double available = 300 - 2 * 2;
  const PdfPageGeometry g{595.5, 842.25, 0, 0};
  EXPECT_TRUE(
      Contains(TextObject(content, 0), F2(g.X(10 + 2 + (available - length) / 2)) + " 757.29 Td"));
  EXPECT_TRUE(
      Contains(TextObject(content, 1), F2(g.X(10 + 2 + available - length)) + " 734.79 Td"));
}

TEST(PdfText, JustifiedLinesAdjustTheSpacesButNotTheParagraphEnd) {
  Page p;
  TqbxMemoView& memo =
      p.Memo(u"Поставка товара осуществляется в течение десяти рабочих дней после оплаты счёта", 10,
             0, 200, 80);
  memo.HAlign = haBlock;
  const std::string pdf = ExportUncompressed({&p});
  const std::string content = FirstContent(pdf);
  const int lines = Count(content, "BT\r\n");
  ASSERT_GE(lines, 2);
  for (int i = 0; i + 1 < lines; ++i)
    EXPECT_TRUE(
        std::regex_search(TextObject(content, i), std::regex("\\[<[0-9A-F]+>-?\\d+<.*>\\] TJ")))
        << TextObject(content, i);
  EXPECT_TRUE(Contains(TextObject(content, lines - 1), "> Tj\r\n"));
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "оплаты счёта")) << text;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfText, EmptyLineIsSkippedButCounted) {
  Page p;
  p.Memo(u"A\r\n\r\nB", 10, 0, 200, 60);
  const std::string content = FirstContent(ExportUncompressed({&p}));
  EXPECT_EQ(Count(content, "BT\r\n"), 2);
  // Line height 15.28 pixels: the third line's baseline lies 2 × 11.46 points below the first.
  EXPECT_TRUE(Contains(TextObject(content, 0), "9.00 757.29 Td"));
  EXPECT_TRUE(Contains(TextObject(content, 1), "9.00 734.37 Td"));
}

TEST(PdfText, BadInputNeverBreaksTheFile) {
  Page p;
  p.Memo(u"", 10, 0, 200, 20);
  p.Memo(u"Нулевой размер", 400, 30, 0, 0);
  TqbxMemoView& missing = p.Memo(u"Шрифт не найден", 10, 60, 200, 20);
  missing.Font()->SetName(u"No Such Family Zz");
  TqbxMemoView& odd = p.Memo(u"x", -50, 5000, -10, 1e6);
  odd.GapX = 1e5;
  odd.LineSpacing = -20;
  for (int size : {0, -5, 2000}) {
    TqbxMemoView& sized = p.Memo(u"размер шрифта и выключка по ширине", 300, 100, 60, 60);
    sized.Font()->SetSize(size);
    sized.HAlign = haBlock;
  }
  TqbxMemoView& unnamed = p.Memo(u"без имени", 300, 200, 100, 20);
  unnamed.Font()->SetName(u"");
  TqbxPDFExport filter;
  const std::string pdf = Export(filter, {&p});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "Шрифт не найден")) << text;
  EXPECT_TRUE(Contains(pdf, "/BaseFont /No#20Such#20Family#20Zz"));
}

// Counts the views handed to the vector conversion.
class VectorCountingExport : public TqbxPDFExport {
 public:
  int vector_views = 0;

 protected:
  void DrawVectorView(TqbxView& view) override {
    ++vector_views;
    TqbxPDFExport::DrawVectorView(view);
  }
};

TEST(PdfText, TextsWithMarkupOrRotationGoToTheVectorConversion) {
  Page p;
  TqbxMemoView& rotated = p.Memo(u"Rotated", 10, 0, 200, 20);
  rotated.SetRotation(90);
  rotated.Frame()->SetTyp(ftBottom);
  TqbxMemoView& markup = p.Memo(u"<b>bold</b>", 10, 30, 200, 20);
  markup.AllowHTMLTags = true;
  TqbxMemoView& spaced = p.Memo(u"spaced", 10, 90, 200, 20);
  spaced.CharSpacing = 2;
  TqbxMemoView& plain_markup = p.Memo(u"a < b", 10, 60, 200, 20);
  plain_markup.AllowHTMLTags = true;
  VectorCountingExport filter;
  filter.Compressed = false;
  const std::string pdf = Export(filter, {&p});
  EXPECT_EQ(filter.vector_views, 3);
  std::string content;
  for (const std::string& stream : test::Streams(pdf))
    if (stream.rfind("q\r\n", 0) == 0) content = stream;
  EXPECT_EQ(Count(content, "BT\r\n"), 1);  // only the text without tags
  // Meanwhile they are pictures, the rotated one with its frame.
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 3);
  EXPECT_TRUE(Contains(content,
                       "/Im0 Do\r\nQ\r\nq\r\n[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n"
                       "7.50 752.25 m\r\n157.50 752.25 l\r\n"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfText, LinksOfViews) {
  Page p1, p2;
  TqbxMemoView& url = p1.Memo(u"site", 10, 0, 100, 20);
  url.SetURL(u" https://example.org/счёт ");
  TqbxMemoView& page = p1.Memo(u"page 2", 10, 30, 100, 20);
  page.SetURL(u"@2");
  TqbxMemoView& plain = p1.Memo(u"http://a.b/(x)", 10, 60, 100, 20);
  plain.SetURL(u"http://a.b/(x)");
  TqbxMemoView& beyond = p2.Memo(u"page 9", 10, 0, 100, 20);
  beyond.Hyperlink()->SetKind(hkPageNumber);
  beyond.Hyperlink()->SetValue(u"9");
  const std::string pdf = ExportUncompressed({&p1, &p2});
  EXPECT_TRUE(
      Contains(pdf, "/Rect [7.50 752.25 82.50 767.25]\r\n/BS << /W 0 >>\r\n/A <<\r\n/URI <"));
  EXPECT_TRUE(Contains(pdf, "/URI (http://a.b/(x))\r\n"));
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/Rect \\[7.50 729.75 82.50 744.75\\]\r\n"
                                                "/Border \\[16 16 0\\]\r\n/Dest \\[\\d+ 0 R /XYZ "
                                                "null 842 null\\]")));
  EXPECT_TRUE(Contains(pdf, "/Rect [7.50 752.25 82.50 767.25]\r\n>>"));  // page 9 not exported
  EXPECT_EQ(Count(pdf, "/Subtype /Link"), 4);
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfText, EmbeddedFontsWriteTheFontProgram) {
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

TEST(PdfPicture, ViewsWithoutVectorExportAreSharedJpegImages) {
  Page p1, p2;
  for (Page* p : {&p1, &p2}) {
    TqbxMemoView& memo = p->Memo(u"Повёрнутый текст", 10, 0, 200, 20);
    memo.SetRotation(180);
    memo.SetAllowVectorExport(false);
    memo.Frame()->SetTyp(ftBottom);
    memo.Frame()->SetWidth(2);
  }
  TqbxMemoView& again = p1.Memo(u"Повёрнутый текст", 10, 40, 200, 20);
  again.SetRotation(180);
  again.SetAllowVectorExport(false);
  const std::string pdf = ExportUncompressed({&p1, &p2});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  // One image object for the three drawings (the frame is not part of the raster).
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 1);
  EXPECT_TRUE(Contains(pdf, "/Filter /DCTDecode\r\n/Width 600\r\n/Height 60\r\n"));
  const auto streams = test::Streams(pdf);
  const std::string content = streams.at(1);
  EXPECT_EQ(Count(content, "/Im0 Do\r\n"), 2);
  EXPECT_TRUE(Contains(content, "q\r\n150.00 0.00 0.00 15.00 7.50 752.25 cm\r\n/Im0 Do\r\nQ\r\n"));
  // The frame keeps its width: drawn after the picture at 2 × 0.75.
  EXPECT_TRUE(Contains(content, "/Im0 Do\r\nQ\r\nq\r\n[] 0 d\r\n1.50 w\r\n"));
  EXPECT_EQ(static_cast<TqbxView&>(static_cast<TqbxComponent&>(*p1.band).Child(0)).Frame()->Width(),
            2);
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/XObject << /Im0 \\d+ 0 R >>")));
  EXPECT_EQ(Count(pdf, "/XObject << /Im0"), 2);  // listed on both pages
  std::string list;
  ASSERT_EQ(test::RunOnFile(pdf, "pdfimages -list {}", &list), 0);
  EXPECT_TRUE(Contains(list, "jpeg")) << list;
}

TEST(PdfText, VerticalAlignment) {
  Page p;
  TqbxMemoView& bottom = p.Memo(u"низ", 10, 0, 200, 60);
  bottom.VAlign = vaBottom;
  TqbxMemoView& center = p.Memo(u"центр", 10, 100, 200, 60);
  center.VAlign = vaCenter;
  const std::string content = FirstContent(ExportUncompressed({&p}));
  const PdfPageGeometry g{595.5, 842.25, 0, 0};
  const double lh = 83 / 6.25 + 2;
  // Bottom: t + H - LineSpacing with t = top + GapY - 1 and H = 60 - 2.
  EXPECT_TRUE(Contains(TextObject(content, 0), F2(g.Y(100 + 1 - 1 + 58 - 2)) + " Td"));
  EXPECT_TRUE(
      Contains(TextObject(content, 1), F2(g.Y(200 + 1 - 1 + (58 - lh) / 2 + lh - 2)) + " Td"));
}

TEST(PdfText, UnderlinesOptionRulesEveryLine) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"строка", 10, 0, 200, 50);
  memo.SetUnderlines(true);
  memo.Frame()->SetColor(0x0000FF);
  const std::string content = FirstContent(ExportUncompressed({&p}));
  // trunc(50 / 15.28) = 3 rules at 100 + 1 + 1 + k × 15.28 - 2 pixels.
  EXPECT_EQ(Count(content, "1.00 0.00 0.00 RG\r\n0.75 w\r\n"), 3);
  EXPECT_TRUE(Contains(content,
                       "1.00 0.00 0.00 RG\r\n0.75 w\r\n7.50 755.79 m\r\n"
                       "157.50 755.79 l\r\nS\r\n"));
}

TEST(PdfText, SimulatedItalicSkewsTheText) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"Tahoma", 10, 0, 200, 20);
  memo.Font()->SetName(u"Tahoma");
  memo.Font()->SetStyle(fsItalic);
  const std::string pdf = ExportUncompressed({&p});
  EXPECT_TRUE(
      Contains(TextObject(FirstContent(pdf), 0), "9.00 757.29 Td\r\n1 0 0.25 1 9 757.29 Tm\r\n<"));
  EXPECT_TRUE(Contains(pdf, "/BaseFont /Tahoma\r\n"));  // no Italic suffix
}

TEST(PdfText, JustifiedAdjustmentsFillTheWidth) {
  const String text = u"один два три четыре пять шесть семь восемь девять десять";
  Page p;
  TqbxMemoView& memo = p.Memo(text, 10, 0, 150, 80);
  memo.HAlign = haBlock;
  const std::string first = TextObject(FirstContent(ExportUncompressed({&p})), 0);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(first, m, std::regex("\\[(.*)\\] TJ"))) << first;
  TqbxPDFFont font({u"Arial", 10, 0, clBlack, 1});
  font.SoftRemapString(text, false);
  std::map<int, int> widths;
  for (const PdfUsedGlyph& used : font.UsedGlyphs()) widths[used.glyph] = used.width;
  // The glyph widths less the adjustments give the available width in thousandths of the size.
  long measured = 0, adjustments = 0;
  const std::string groups = m[1];
  const std::regex group("<([0-9A-F]*)>(-?\\d+)?");
  for (auto it = std::sregex_iterator(groups.begin(), groups.end(), group);
       it != std::sregex_iterator(); ++it) {
    const std::string hex = (*it)[1];
    for (size_t k = 0; k + 4 <= hex.size(); k += 4)
      measured += widths[std::stoi(hex.substr(k, 4), nullptr, 16)];
    if ((*it)[2].matched) adjustments += std::stol((*it)[2]);
  }
  EXPECT_LT(adjustments, 0);  // the line is widened
  EXPECT_NEAR(measured - adjustments, (150 - 4) * 0.75 * 1000 / 10, 1.0);
}

TEST(PdfLinks, AddressesAsPdfStrings) {
  EXPECT_EQ(PdfAddress(u"https://example.org/a(b)"), "(https://example.org/a(b))");
  EXPECT_EQ(PdfAddress(u"file:\\\\server\\share"), "(file:\\\\\\\\server\\\\share)");
  EXPECT_EQ(PdfAddress(u"a)b("), "<0061002900620028>");
  EXPECT_EQ(PdfAddress(u"счёт"), "<0441044704510442>");
}

TEST(PdfText, RightToLeftTextExtracts) {
  Page p;
  TqbxMemoView& memo = p.Memo(u"שלום עולם", 10, 0, 300, 20);
  memo.RTLReading = true;
  memo.HAlign = haRight;
  TqbxPDFExport filter;
  const std::string pdf = Export(filter, {&p});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  const std::string text = ExtractedText(pdf);
  EXPECT_TRUE(Contains(text, "שלום עולם")) << text;
}

TEST(PdfText, ManyPagesOfMemosStayQuick) {
  std::vector<std::unique_ptr<Page>> pages;
  std::vector<Page*> list;
  for (int i = 0; i < 30; ++i) {
    pages.push_back(std::make_unique<Page>());
    for (int k = 0; k < 40; ++k)
      pages.back()->Memo(u"Товар № " + Utf8ToString(std::to_string(i * 40 + k)) +
                             u": болт М8×40 оцинкованный, 100 шт., 1 234,56 руб.",
                         10, k * 20, 500, 20);
    list.push_back(pages.back().get());
  }
  const auto start = std::chrono::steady_clock::now();
  TqbxPDFExport filter;
  const std::string pdf = Export(filter, list);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 20);  // sanitizer build
  EXPECT_EQ(QpdfCheck(pdf), 0);
  EXPECT_TRUE(Contains(ExtractedText(pdf), "Товар № 1199: болт М8×40 оцинкованный"));
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
