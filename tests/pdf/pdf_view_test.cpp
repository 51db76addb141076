// Views beside text: link annotations of hyperlinks and views written as raster pictures.
#include <gtest/gtest.h>

#include <regex>

#include "pdf/pdf_link_target.h"
#include "pdf/pdf_page_fixture.h"

namespace zavrik::pdf {
namespace {

using namespace test;

TEST(PdfLinks, AnnotationsOfViewHyperlinks) {
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

TEST(PdfLinks, AddressesAsPdfStrings) {
  EXPECT_EQ(PdfAddress(u"https://example.org/a(b)"), "(https://example.org/a(b))");
  EXPECT_EQ(PdfAddress(u"file:\\\\server\\share"), "(file:\\\\\\\\server\\\\share)");
  EXPECT_EQ(PdfAddress(u"a)b("), "<0061002900620028>");
  EXPECT_EQ(PdfAddress(u"счёт"), "<0441044704510442>");
}

}  // namespace
}  // namespace zavrik::pdf
