// The PDF export filter driven as the export walk drives it, checked byte by byte, with qpdf and
// with poppler.
#include "pdf/pdf_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "core/error.h"
#include "pdf/pdf_test_support.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "support/test_helpers.h"

namespace zavrik::pdf {
namespace {

using test::QpdfCheck;
using namespace std::string_literals;

const char kA4Content[] = "q\r\nQ\r\n";  // an A4 page with no background and no frame lines

std::string Export(TqbxPDFExport& filter, const std::vector<TqbxReportPage*>& pages) {
  std::ostringstream out;
  filter.Stream = &out;
  EXPECT_TRUE(filter.Start());
  for (size_t i = 0; i < pages.size(); ++i) {
    filter.StartPage(*pages[i], static_cast<int>(i));
    filter.FinishPage(*pages[i], static_cast<int>(i));
  }
  filter.Finish();
  return out.str();
}

std::string ExportPages(int count) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  return Export(filter, std::vector<TqbxReportPage*>(count, &page));
}

// The file with its identifier and dates replaced by fixed texts.
std::string Normalised(const std::string& pdf) {
  std::string text = std::regex_replace(pdf, std::regex("/ID \\[<[0-9a-f]{32}><[0-9a-f]{32}>\\]"),
                                        "/ID [<id><id>]");
  return std::regex_replace(text, std::regex("\\(D:[0-9]{14}-00'00'\\)"), "(D:date)");
}

// The value of one "Name:   value" line of pdfinfo's output.
std::string InfoField(const std::string& info, const std::string& name) {
  const size_t line = info.find(name + ":");
  if (line == std::string::npos) return "<missing>";
  const size_t value = info.find_first_not_of(' ', line + name.size() + 1);
  return info.substr(value, info.find('\n', line) - value);
}

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(PdfExport, ReportWithoutPagesIsACompleteFile) {
  const std::string pdf = ExportPages(0);
  EXPECT_EQ(pdf.rfind("%PDF-1.7\r\n%\xE2\xE3\xCF\xD3\r\n", 0), 0u);
  EXPECT_TRUE(Contains(pdf, "1 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [\r\n]\r\n/Count 0\r\n>>"));
  EXPECT_TRUE(Contains(pdf, "/Author (\xFE\xFF\0Q\0u\0o\0b\0r\0i\0x)\r\n"s));
  EXPECT_TRUE(Contains(pdf, "/Title ()\r\n/Author"));
  EXPECT_TRUE(Contains(pdf,
                       "/Creator ()\r\n/Producer ()\r\n"
                       "/PDFVersion (\xFE\xFF\0"
                       "1\0.\0"
                       "7)"s));
  EXPECT_TRUE(std::regex_search(pdf, std::regex("/CreationDate \\(D:\\d{14}-00'00'\\)\r\n"
                                                "/ModDate \\(D:\\d{14}-00'00'\\)\r\n")));
  EXPECT_TRUE(Contains(pdf,
                       "/PageMode /UseNone\r\n/ViewerPreferences <<\r\n"
                       "/PrintScaling /None\r\n"));
  EXPECT_TRUE(Contains(pdf, "xref\r\n0 4\r\n0000000000 65535 f\r\n"));
  EXPECT_TRUE(std::regex_search(pdf, std::regex("trailer\r\n<<\r\n/Size 4\r\n/Root 3 0 R\r\n"
                                                "/Info 2 0 R\r\n/ID \\[<[0-9a-f]{32}><")));
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, A4PageObjectAndItsContents) {
  const std::string pdf = ExportPages(1);
  EXPECT_TRUE(std::regex_search(pdf, std::regex("2 0 obj\r\n<</Length \\d+/Filter/FlateDecode>>\r\n"
                                                "stream\r\n")));
  EXPECT_TRUE(Contains(pdf,
                       "3 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 1 0 R\r\n"
                       "/MediaBox [0 0 595.50 842.25 ]\r\n/Resources <<\r\n/Font << >>\r\n"
                       "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 2 0 R\r\n>>\r\n"
                       "endobj\r\n"));
  EXPECT_TRUE(Contains(pdf, "/Kids [3 0 R \r\n]\r\n/Count 1\r\n"));
  EXPECT_EQ(test::Streams(pdf), std::vector<std::string>{kA4Content});
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, CrossReferenceLinesAndStartxref) {
  const std::string pdf = ExportPages(3);
  const size_t xref = pdf.rfind("\r\nxref\r\n") + 2;
  const size_t startxref = pdf.rfind("startxref\r\n") + 11;
  EXPECT_EQ(std::stoul(pdf.substr(startxref)), xref);
  const size_t table = pdf.find("0000000000 65535 f\r\n", xref);
  const size_t trailer = pdf.find("trailer\r\n", xref);
  ASSERT_EQ((trailer - table) % 20, 0u);
  const size_t entries = (trailer - table) / 20;
  EXPECT_EQ(entries, 10u);  // free entry, page tree, 3 × (contents, page), info, catalog
  EXPECT_TRUE(Contains(pdf, "xref\r\n0 10\r\n"));
  for (size_t n = 1; n < entries; ++n) {
    const std::string line = pdf.substr(table + n * 20, 20);
    EXPECT_EQ(line.substr(10), " 00000 n\r\n");
    const std::string header = std::to_string(n) + " 0 obj\r\n";
    EXPECT_EQ(pdf.compare(std::stoul(line.substr(0, 10)), header.size(), header), 0) << n;
  }
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, TwoExportsDifferOnlyInIdentifierAndDates) {
  const std::string a = ExportPages(2), b = ExportPages(2);
  EXPECT_NE(a.substr(a.find("/ID [")), b.substr(b.find("/ID [")));
  EXPECT_EQ(Normalised(a), Normalised(b));
}

TEST(PdfExport, UncompressedPageMatchesTheGoldenFile) {
  TqbxPDFExport filter;
  filter.Compressed = false;
  filter.Background = true;
  filter.Title = u"Счёт";
  TqbxReportPage page;
  page.SetLeftMargin(10);
  page.SetRightMargin(10);
  page.SetTopMargin(10);
  page.SetBottomMargin(10);
  page.SetColor(0xF0F0F0);
  page.Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
  page.Frame()->SetWidth(2);
  const std::string pdf = Export(filter, {&page});
  std::ifstream golden(std::string(ZAVRIK_PDF_GOLDEN) + "/framed_page.pdf", std::ios::binary);
  ASSERT_TRUE(golden.good());
  std::stringstream expected;
  expected << golden.rdbuf();
  EXPECT_EQ(Normalised(pdf), expected.str());
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, BackgroundColourAndFrameOperators) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  page.SetLeftMargin(10);
  page.SetRightMargin(10);
  page.SetTopMargin(10);
  page.SetBottomMargin(10);
  page.SetColor(0x0000FF);
  page.Frame()->SetTyp(ftBottom);
  const std::string background = "q\r\n1 0 0 rg\r\n28.85 28.35 538.81 785.56 re\r\nf\r\nQ\r\n";
  const std::string frame =
      "q\r\n[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n28.85 28.35 m\r\n567.65 28.35 l\r\nS\r\nQ\r\n";
  // Background off (the default): the frame only.
  EXPECT_EQ(test::Streams(Export(filter, {&page})), std::vector<std::string>{frame});
  filter.Background = true;
  EXPECT_EQ(test::Streams(Export(filter, {&page})), std::vector<std::string>{background + frame});
  page.SetColor(0x1FFFFFFF);
  EXPECT_EQ(test::Streams(Export(filter, {&page})), std::vector<std::string>{frame});
}

TEST(PdfExport, MirroredMarginsMoveTheFrameOnOddPages) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  page.SetLeftMargin(20);
  page.ClassType().FindProp(u"MirrorMargins")->set(page, Variant(true));
  page.Frame()->SetTyp(ftLeft);
  const auto streams = test::Streams(Export(filter, {&page, &page}));
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_TRUE(Contains(streams[0], "57.19 0.00 m\r\n57.19 842.25 l\r\n"));
  EXPECT_TRUE(Contains(streams[1], "0.50 0.00 m\r\n0.50 842.25 l\r\n"));
}

TEST(PdfExport, InformationStringsInUtf16WithEscapes) {
  TqbxPDFExport filter;
  filter.Title = u"Я(\\)";
  filter.Subject = u"ШЊЍ";  // U+0428, U+040A, U+040D: low bytes "(", LF and CR
  filter.Producer = u"zavrik";
  TqbxReportPage page;
  const std::string pdf = Export(filter, {&page});
  EXPECT_TRUE(Contains(pdf, "/Title (\xFE\xFF\x04\x2F\0\\(\0\\\\\0\\))\r\n"s));
  EXPECT_TRUE(Contains(pdf, "/Subject (\xFE\xFF\x04\\(\x04\\n\x04\\r)\r\n"s));
  EXPECT_TRUE(Contains(pdf, "/ViewerPreferences <<\r\n/DisplayDocTitle true\r\n"));
  std::string info;
  ASSERT_EQ(test::RunOnFile(pdf, "pdfinfo -enc UTF-8 {}", &info), 0);
  EXPECT_EQ(InfoField(info, "Title"), "Я(\\)");
  EXPECT_EQ(InfoField(info, "Subject"), "ШЊЍ");
  EXPECT_EQ(InfoField(info, "Producer"), "zavrik");
  EXPECT_EQ(InfoField(info, "Author"), "Quobrix");
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, StartNeedsAStreamOrAFileName) {
  TqbxPDFExport filter;
  EXPECT_FALSE(filter.Start());
  filter.Finish();  // nothing started: nothing to finish
  zavrik::test::TempDir dir;
  filter.FileName = Utf8ToString(dir.File("отчёт.pdf"));
  TqbxReportPage page;
  ASSERT_TRUE(filter.Start());
  filter.StartPage(page, 0);
  filter.FinishPage(page, 0);
  filter.Finish();
  std::ifstream file(dir.File("отчёт.pdf"), std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  EXPECT_TRUE(Contains(bytes.str(), "/Count 1\r\n"));
  EXPECT_EQ(QpdfCheck(bytes.str()), 0);
  filter.FileName = Utf8ToString(dir.File("missing/x.pdf"));
  EXPECT_EQ(zavrik::test::ErrorMessage([&] { filter.Start(); }),
            u"Cannot create the file " + filter.FileName);
}

TEST(PdfExport, WriteFailureIsAnErrorAndTheFilterStaysUsable) {
  TqbxPDFExport filter;
  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  filter.Stream = &broken;
  EXPECT_EQ(zavrik::test::ErrorMessage([&] { filter.Start(); }), u"Cannot write the PDF document");
  TqbxReportPage page;
  EXPECT_EQ(zavrik::test::ErrorMessage([&] { filter.StartPage(page, 0); }),
            u"The PDF export has not been started");
  std::ostringstream failing;
  filter.Stream = &failing;
  ASSERT_TRUE(filter.Start());
  filter.StartPage(page, 0);
  failing.setstate(std::ios::badbit);  // e.g. the disk filled up during the page
  // The bytes are written on their own thread: the error comes with the page or at the latest
  // with the end of the document.
  const String at_page = zavrik::test::ErrorMessage([&] { filter.FinishPage(page, 0); });
  const String at_end = zavrik::test::ErrorMessage([&] { filter.Finish(); });
  EXPECT_EQ(at_page == u"<no error>" ? at_end : at_page, u"Cannot write the PDF document");
  EXPECT_EQ(QpdfCheck(Export(filter, {&page})), 0);
}

TEST(PdfExport, FilterIsReusedWithClearedState) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  const std::string first = Export(filter, {&page, &page});
  const std::string second = Export(filter, {&page});
  EXPECT_TRUE(Contains(second, "/Count 1\r\n"));
  EXPECT_TRUE(Contains(second, "xref\r\n0 6\r\n"));
  EXPECT_EQ(Normalised(second), Normalised(ExportPages(1)));
  EXPECT_EQ(QpdfCheck(second), 0);
}

TEST(PdfExport, OptionsReachPagesCatalogAndHeader) {
  TqbxPDFExport filter;
  filter.PDFVersion = pv14;
  filter.Transparency = true;
  filter.Outline = true;
  filter.HideToolbar = true;
  filter.FitWindow = true;
  filter.PrintScaling = true;
  TqbxReportPage page;
  const std::string pdf = Export(filter, {&page});
  EXPECT_EQ(pdf.rfind("%PDF-1.4\r\n", 0), 0u);
  EXPECT_TRUE(Contains(pdf,
                       "/MediaBox [0 0 595.50 842.25 ]\r\n"
                       "/Group << /Type /Group /S /Transparency /CS /DeviceRGB >>\r\n"
                       "/Resources <<"));
  EXPECT_TRUE(Contains(pdf,
                       "/PDFVersion (\xFE\xFF\0"
                       "1\0.\0"
                       "4)"s));
  EXPECT_TRUE(Contains(pdf, "/Version /1.4\r\n"));
  EXPECT_TRUE(Contains(pdf,
                       "/PageMode /UseOutlines\r\n/ViewerPreferences <<\r\n"
                       "/HideToolbar true\r\n/FitWindow true\r\n>>\r\n>>\r\n"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, PasswordsAreRefusedRatherThanIgnored) {
  TqbxPDFExport filter;
  std::ostringstream out;
  filter.Stream = &out;
  filter.OwnerPassword = u"secret";
  EXPECT_EQ(zavrik::test::ErrorMessage([&] { filter.Start(); }),
            u"Encrypted PDF output is not supported");
  EXPECT_EQ(out.str(), "");
}

TEST(PdfExport, ImagesAreListedOnThePagesThatUseThem) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  std::ostringstream out;
  filter.Stream = &out;
  ASSERT_TRUE(filter.Start());
  filter.StartPage(page, 0);
  PdfDocumentWriter& w = filter.Writer();
  const int object = w.ReserveObject();
  w.BeginObject(object);
  w.Raw("<<");
  w.StreamObject(object, "\xFF\xD8\xFF\xD9", false, true);
  const int image = filter.AddImage("hash-a", object);
  EXPECT_EQ(filter.AddImage("hash-a", 99), image);  // the same bytes reuse the written object
  EXPECT_EQ(filter.FindImage("hash-b"), -1);
  filter.UseImage(image);
  filter.UseImage(image);
  filter.FinishPage(page, 0);
  filter.StartPage(page, 1);
  filter.FinishPage(page, 1);
  filter.Finish();
  const std::string pdf = out.str();
  EXPECT_TRUE(Contains(pdf, "/Font << >>\r\n/XObject << /Im0 2 0 R >>\r\n/ProcSet"));
  EXPECT_EQ(Count(pdf, "/XObject"), 1);
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, FinishPageWithoutAStartedPageWritesNothing) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  std::ostringstream out;
  filter.Stream = &out;
  ASSERT_TRUE(filter.Start());
  filter.FinishPage(page, 0);
  filter.Finish();
  EXPECT_TRUE(Contains(out.str(), "/Count 0\r\n"));
  EXPECT_EQ(QpdfCheck(out.str()), 0);
}

// A stand-in for a font entry: a standard Type1 font object.
class StandardFont : public PdfDocumentFont {
 public:
  void Write(PdfDocumentWriter& w, int object, const PdfFontWriteOptions&) override {
    w.BeginObject(object);
    w.Line("<<");
    w.Line("/Type /Font /Subtype /Type1 /BaseFont /Helvetica");
    w.Line(">>");
    w.EndObject();
    ++*writes;
  }
  explicit StandardFont(int* counter) : writes(counter) {}
  int* writes;
};

TEST(PdfExport, FontsFirstUsedOnAPageAreListedFromThatPageOn) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  std::ostringstream out;
  filter.Stream = &out;
  ASSERT_TRUE(filter.Start());
  int writes = 0;
  auto font = std::make_unique<StandardFont>(&writes);
  for (int i = 0; i < 3; ++i) {
    filter.StartPage(page, i);
    if (i == 1) filter.Fonts().Add(std::move(font));
    filter.FinishPage(page, i);
  }
  filter.Finish();
  const std::string pdf = out.str();
  // Page 1: contents 2, page 3; page 2: contents 4, font 5, page 6; page 3: contents 7, page 8.
  EXPECT_TRUE(Contains(pdf, "3 0 obj\r\n<<\r\n/Type /Page"));
  EXPECT_TRUE(Contains(pdf,
                       "/Font << >>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
                       "/Contents 2 0 R"));
  EXPECT_TRUE(Contains(pdf,
                       "/Font << /F0 5 0 R >>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
                       "/Contents 4 0 R"));
  EXPECT_TRUE(Contains(pdf,
                       "/Font << /F0 5 0 R >>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
                       "/Contents 7 0 R"));
  EXPECT_TRUE(Contains(pdf, "/Kids [3 0 R 6 0 R 8 0 R \r\n]"));
  EXPECT_EQ(writes, 1);
  EXPECT_LT(pdf.find("5 0 obj\r\n"), pdf.find("1 0 obj\r\n"));  // fonts before the page tree
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfExport, LinkAnnotations) {
  TqbxPDFExport filter;
  TqbxReportPage page;
  std::ostringstream out;
  filter.Stream = &out;
  ASSERT_TRUE(filter.Start());
  filter.StartPage(page, 0);
  filter.AddLink({0, "10.00", "20.00", "30.00", "40.00", "(https://example.org)", 0, 0}, -1);
  filter.AddLink({0, "1.00", "2.00", "3.00", "4.00", "", 0, 700.4}, 1);
  filter.AddLink({0, "1.00", "2.00", "3.00", "4.00", "", 0, 0}, 5);
  filter.FinishPage(page, 0);
  filter.StartPage(page, 1);
  filter.FinishPage(page, 1);
  filter.Finish();
  const std::string pdf = out.str();
  // Annotations 2, 3, 4 are reserved while page 1 is drawn; its contents 5, page 6; page 2: 7, 8.
  EXPECT_TRUE(Contains(pdf, "/Annots [\r\n2 0 R\r\n3 0 R\r\n4 0 R\r\n]\r\n/Resources"));
  EXPECT_TRUE(Contains(pdf,
                       "2 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /Link\r\n"
                       "/Rect [10.00 20.00 30.00 40.00]\r\n/BS << /W 0 >>\r\n/A <<\r\n"
                       "/URI (https://example.org)\r\n/Type /Action\r\n/S /URI\r\n"
                       ">>\r\n>>\r\n"));
  EXPECT_TRUE(Contains(pdf,
                       "3 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /Link\r\n"
                       "/Rect [1.00 2.00 3.00 4.00]\r\n/Border [16 16 0]\r\n"
                       "/Dest [8 0 R /XYZ null 700 null]\r\n>>\r\n"));
  EXPECT_TRUE(Contains(pdf,
                       "4 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /Link\r\n"
                       "/Rect [1.00 2.00 3.00 4.00]\r\n>>\r\nendobj"));
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

// Records the views it is asked to draw.
class RecordingExport : public TqbxPDFExport {
 public:
  std::vector<TqbxView*> drawn;

 protected:
  void DrawView(TqbxView& view) override { drawn.push_back(&view); }
};

TEST(PdfExport, OnlyExportableViewsAreDrawn) {
  RecordingExport filter;
  TqbxMemoView shown, hidden, not_printable;
  hidden.SetVisibility(vsPreview | vsPrint);
  not_printable.SetVisibility(vsPreview);
  TqbxReportPage page;
  filter.ExportObject(shown);
  filter.ExportObject(hidden);
  filter.ExportObject(not_printable);
  filter.ExportObject(page);
  EXPECT_EQ(filter.drawn, std::vector<TqbxView*>{&shown});
  filter.ExportNotPrintable = true;
  filter.ExportObject(hidden);
  filter.ExportObject(not_printable);
  EXPECT_EQ(filter.drawn, (std::vector<TqbxView*>{&shown, &not_printable}));
}

}  // namespace
}  // namespace zavrik::pdf
