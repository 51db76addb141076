// The PDF filter driven by the real export walk over prepared pages: page macros resolved by the
// walk reach the text, page headers repeat on every page, and the file passes qpdf.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/preview_fixture.h"
#include "pdf/pdf_export.h"
#include "pdf/pdf_test_support.h"

namespace zavrik::test {
namespace {

class PdfWalkTest : public PreviewPagesTest {
 protected:
  std::string ExportPdf() {
    std::ostringstream out;
    TqbxPDFExport filter;
    filter.ShowDialog = false;
    filter.ShowProgress = false;
    filter.Stream = &out;
    EXPECT_TRUE(report.Export(filter));
    return out.str();
  }
};

TEST_F(PdfWalkTest, PreparedPagesBecomeTextPages) {
  page.SetLeftMargin(10);
  auto& header = AddBand<TqbxPageHeader>(u"Head", 0, 20);
  AddMemo(header, u"Title", u"Счёт-фактура").SetBounds(10, 2, 300, 16);
  auto& data = AddBand<TqbxMasterData>(u"Data", 20, 20);
  auto& cell = AddMemo(data, u"Cell", u"");
  cell.SetBounds(10, 2, 300, 16);
  cell.SetURL(u"@1");
  pages.AddSourcePage(page);
  for (int i = 0; i < 2; ++i) {
    pages.AddPage(page);
    pages.AddObject(header);
    cell.SetMemoText(u"Строка " + IntToStr(i + 1) + u" из [TOTALPAGES#]");
    pages.AddObject(data);
  }
  engine.Running = false;
  pages.Finish();
  const std::string pdf = ExportPdf();
  EXPECT_EQ(QpdfCheck(pdf), 0);
  EXPECT_EQ(PdfPageCount(pdf), 2);
  std::string text;
  ASSERT_EQ(RunOnFile(pdf, "pdftotext -enc UTF-8 {} -", &text), 0);
  EXPECT_NE(text.find("Счёт-фактура\nСтрока 1 из 2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Счёт-фактура\nСтрока 2 из 2\n"), std::string::npos) << text;
  // One font for both pages, and each row links to the first page.
  EXPECT_NE(pdf.find("/Font << /F0 "), std::string::npos);
  EXPECT_EQ(pdf.find("/F1 "), std::string::npos);
  size_t links = 0;
  for (size_t at = pdf.find("/Subtype /Link"); at != std::string::npos;
       at = pdf.find("/Subtype /Link", at + 1))
    ++links;
  EXPECT_EQ(links, 2u);
}

TEST_F(PdfWalkTest, AnchorLinksGoToTheAnchorsPageAndTop) {
  auto& data = AddBand<TqbxMasterData>(u"Data", 20, 20);
  auto& cell = AddMemo(data, u"Cell", u"");
  pages.AddSourcePage(page);
  pages.AddPage(page);
  cell.SetMemoText(u"к итогам");
  cell.SetURL(u"#Итоги");
  pages.AddObject(data);
  cell.SetMemoText(u"в никуда");
  cell.SetURL(u"#Нет такого");
  pages.AddObject(data);
  pages.AddPage(page);
  engine.CurY = 400;
  pages.AddAnchor(u"Итоги");
  cell.SetURL(u"");
  cell.SetMemoText(u"Итоги");
  pages.AddObject(data);
  engine.Running = false;
  pages.Finish();
  const std::string pdf = ExportPdf();
  EXPECT_EQ(QpdfCheck(pdf), 0);
  // One link: the unknown anchor records none. Page 2 is object 7 (page 1: link 2, contents 3,
  // font 4, page 5; page 2: contents 6, page 7); y = 842.25 - 0 - 400 × 0.75.
  size_t links = 0;
  for (size_t at = pdf.find("/Subtype /Link"); at != std::string::npos;
       at = pdf.find("/Subtype /Link", at + 1))
    ++links;
  EXPECT_EQ(links, 1u);
  EXPECT_NE(pdf.find("/Dest [7 0 R /XYZ null 542 null]"), std::string::npos) << pdf;
  EXPECT_EQ(report.PreviewPages()->GetAnchorPage(u"Нет такого"), 1);  // scripts still get 1
}

}  // namespace
}  // namespace zavrik::test
