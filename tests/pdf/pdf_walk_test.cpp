// The PDF filter driven by the real export walk over prepared pages: page macros resolved by the
// walk reach the text, page headers repeat on every page, and the file passes qpdf.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/preview_fixture.h"
#include "pdf/pdf_export.h"
#include "pdf/pdf_test_support.h"
#include "report/model/views/qbx_picture_view.h"

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

// The fixture picture: 8 × 4 pixels, red, blue and green.
std::vector<uint8_t> RedBluePng() {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/images/red_blue.png", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(PdfWalkTest, PrintedPicturesComeFromThePictureCacheOnce) {
  auto& data = AddBand<TqbxMasterData>(u"Data", 20, 40);
  auto& logo = TqbxComponent::CreateIn<TqbxPictureView>(data);
  logo.SetName(u"Logo");
  logo.SetBounds(10, 0, 80, 40);
  ASSERT_EQ(logo.LoadPictureFromStream(RedBluePng()), 0u);
  pages.AddSourcePage(page);
  // The source copy leaves the picture out.
  ASSERT_NE(logo.OriginalComponent, nullptr);
  EXPECT_EQ(Serialized(*logo.OriginalComponent).find(u"Picture.PropData"), String::npos);
  pages.AddPage(page);
  for (int i = 0; i < 3; ++i) {
    data.SetTop(20 + 40 * i);
    pages.AddObject(data);
  }
  EXPECT_EQ(pages.PictureCache.Count(), 1);
  EXPECT_NE(pages.PageItem(0).Items(0).Items(0).Text().find(u"ImageIndex=\"1\""), String::npos);
  engine.Running = false;
  pages.Finish();
  const std::string pdf = ExportPdf();
  EXPECT_EQ(QpdfCheck(pdf), 0);
  EXPECT_EQ(Occurrences(pdf, "/Subtype /Image"), 1);
  const std::string content = pdf::test::Streams(pdf).at(1);
  EXPECT_EQ(Occurrences(content, "/Im0 Do"), 3);
}

TEST_F(PdfWalkTest, PageBackgroundPictureOnlyWithTheBackgroundOption) {
  page.SetLeftMargin(10);
  page.SetTopMargin(10);
  page.SetRightMargin(10);
  page.SetBottomMargin(10);
  ASSERT_TRUE(page.BackPicture()->LoadFromBytes(RedBluePng()));
  AddBand<TqbxMasterData>(u"Data", 20, 40);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  engine.Running = false;
  pages.Finish();
  EXPECT_EQ(ExportPdf().find("/Subtype /Image"), std::string::npos);
  std::ostringstream out;
  TqbxPDFExport filter;
  filter.ShowDialog = false;
  filter.Compressed = false;
  filter.Background = true;
  filter.Stream = &out;
  ASSERT_TRUE(report.Export(filter));
  const std::string pdf = out.str();
  EXPECT_EQ(Occurrences(pdf, "/Subtype /Image"), 1);
  // Stretched over the page less its margins: 190 × 277 mm.
  EXPECT_NE(pdf.find("q\r\n538.81 0.00 0.00 785.56 28.85 27.85 cm\r\n/Im0 Do"), std::string::npos) << pdf::test::Streams(pdf).at(1);
}

}  // namespace
}  // namespace zavrik::test
