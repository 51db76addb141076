// Text views written as PDF text: operators, alignment, justification, extracted text (poppler)
// and qpdf checks, and the views left to the vector conversion.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <regex>

#include "pdf/pdf_font.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_page_fixture.h"

namespace zavrik::pdf {
namespace {

using namespace test;

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
  // The text without tags is one text object; the others are played from their recordings: the
  // rotated one wrapped into three lines across the view's height, with its frame after it.
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  EXPECT_EQ(Count(content, "BT\r\n"), 6) << content;
  EXPECT_TRUE(Contains(content, "0.0000 1.0000 -1.0000 0.0000 0 0 cm\r\n"));
  EXPECT_TRUE(Contains(content,
                       "Q\r\nQ\r\nq\r\n[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n"
                       "7.50 752.25 m\r\n157.50 752.25 l\r\n"))
      << content;
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfText, NegativeGapsWriteTheVectorCanvasTexts) {
  Page p;
  TqbxMemoView& tight = p.Memo(u"Тесные поля", 10, 0, 200, 20);
  tight.GapX = -2;
  tight.GapY = -1;
  tight.SetColor(0x00FFFF);
  tight.Frame()->SetTyp(ftBottom);
  TqbxMemoView& struck = p.Memo(u"x", 10, 30, 200, 20);
  struck.GapY = -1;
  struck.Font()->SetStyle(fsUnderline | fsStrikeOut);
  VectorCountingExport filter;
  filter.Compressed = false;
  const std::string pdf = Export(filter, {&p});
  EXPECT_EQ(filter.vector_views, 0);
  EXPECT_EQ(Count(pdf, "/Subtype /Image"), 0);
  const std::string content = FirstContent(pdf);
  // The records: the fill, the clipped text 1.2 font sizes below the record, spread to its length
  // (it holds a space), then the frame. The text starts at the gap: (10 - 2) × 0.75 points.
  const std::regex record(
      "q\r\n1 1 0 rg\r\n[-0-9. ]+ re\r\nf\r\nQ\r\n"
      "q\r\n%--Vector Begin\r\nq\r\n[-0-9. ]+ re\r\nW\r\nn\r\n"
      "BT\r\n/F0 9.965 Tf\r\n0 0 0 rg\r\n6 ([0-9.]+) Td\r\n\\[<[0-9A-F<>-]+>\\] TJ\r\nET\r\n"
      "Q\r\n%--Vector End\r\nQ\r\nq\r\n\\[\\] 0 d\r\n");
  std::smatch match;
  ASSERT_TRUE(std::regex_search(content, match, record)) << content;
  // Band at 100, text top at 100 - 1 (the gap) + 12 (1.2 × 10): 842.25 - 111 × 0.75.
  EXPECT_NEAR(std::stod(match[1]), 759, 1.5);
  // Underline and strike-out: "[] 0 d", the colour, then each rule at its width.
  EXPECT_TRUE(std::regex_search(
      content, std::regex("ET\r\n\\[\\] 0 d\r\n0 0 0 RG\r\n1.20 w\r\n[0-9.]+ [0-9.]+ m\r\n"
                          "[0-9.]+ [0-9.]+ l\r\nS\r\n0.60 w\r\n")))
      << content;
  EXPECT_TRUE(Contains(ExtractedText(pdf), "Тесные поля"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
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

}  // namespace
}  // namespace zavrik::pdf
