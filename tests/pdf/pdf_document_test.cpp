// The PDF file structure, checked by parsing it back and by qpdf.
#include "pdf/pdf_document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "pdf/pdf_format.h"
#include "pdf/pdf_test_support.h"

namespace zavrik::pdf {
namespace {

using test::QpdfCheck;

const std::string kFixedId = "0123456789abcdef0123456789abcdef";

std::string Document(const std::vector<PdfPage>& pages, const std::string& content = "") {
  std::ostringstream out;
  PdfDocumentWriter w(out);
  w.Start("1.7", kFixedId);
  for (const PdfPage& p : pages) w.PageObject(p, w.NewStreamObject(content, true));
  w.PageTree();
  PdfInfo info;
  info.author = u"Quobrix";
  info.subject = u"Quobrix PDF export";
  info.date = PdfDate(2026, 12, 9, 10, 0, 0);
  const int i = w.Info(info);
  const int c = w.Catalog(info, {});
  w.XrefAndTrailer(c, i);
  return out.str();
}

TEST(PdfDocument, NoPagesStillGivesACompleteFile) {
  const std::string pdf = Document({});
  EXPECT_EQ(pdf.rfind("%PDF-1.7\r\n%\xE2\xE3\xCF\xD3\r\n", 0), 0u);
  EXPECT_NE(pdf.find("/Kids [\r\n]\r\n/Count 0\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/ID [<" + kFixedId + "><" + kFixedId + ">]"), std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

TEST(PdfDocument, CrossReferenceListsEveryObjectOnce) {
  PdfPage a4{794 * 0.75, 1123 * 0.75, {{"F0", 0}}, {}, {}, false};
  const std::string pdf = Document({a4, a4}, "BT ET");
  const size_t xref = pdf.rfind("\r\nxref\r\n") + 2;
  const size_t startxref = pdf.rfind("startxref\r\n") + 11;
  EXPECT_EQ(std::stoul(pdf.substr(startxref)), xref);
  std::smatch m;
  const std::string table = pdf.substr(xref, pdf.find("trailer", xref) - xref);
  ASSERT_TRUE(std::regex_search(table, m, std::regex("xref\r\n0 (\\d+)\r\n")));
  const int count = std::stoi(m[1]);
  EXPECT_EQ(count, 8);  // page tree, 2 × (contents, page), info, catalog, and entry 0
  size_t pos = xref + m.length(0);
  for (int n = 0; n < count; ++n) {
    const std::string line = pdf.substr(pos, 20);
    EXPECT_EQ(line.substr(18), "\r\n");
    if (n > 0) {
      const size_t offset = std::stoul(line.substr(0, 10));
      EXPECT_EQ(pdf.compare(offset, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0)
          << n;
    }
    pos += 20;
  }
}

TEST(PdfDocument, PageObjectsCarryMediaBoxResourcesAndContents) {
  PdfPage a4{794 * 0.75, 1123 * 0.75, {{"F0", 7}, {"F1", 9}}, {{"Im0", 5}}, {}, false};
  const std::string pdf = Document({a4}, "q Q");
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.50 842.25 ]"), std::string::npos);
  EXPECT_NE(pdf.find("/Font << /F0 7 0 R /F1 9 0 R >>\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/XObject << /Im0 5 0 R >>\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/Length 11/Filter/FlateDecode>>\r\nstream\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("\nendstream\r\nendobj\r\n"), std::string::npos);
}

TEST(PdfDocument, InformationAndCatalog) {
  const std::string pdf = Document({});
  EXPECT_NE(pdf.find("/Title ()\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/PDFVersion (\xFE\xFF\x00"
                     "1\x00.\x00"
                     "7)"),
            std::string::npos);
  EXPECT_NE(
      pdf.find("/CreationDate (D:20261209100000-00'00')\r\n/ModDate (D:20261209100000-00'00')"),
      std::string::npos);
  EXPECT_NE(pdf.find("/Type /Catalog\r\n/Version /1.7\r\n/MarkInfo << /Marked true >>\r\n"
                     "/Pages 1 0 R\r\n/PageMode /UseNone\r\n/ViewerPreferences <<\r\n"
                     "/PrintScaling /None\r\n>>\r\n>>"),
            std::string::npos);
}

TEST(PdfDocument, FileIdentifiersDifferPerRun) {
  const std::string a = NewFileId(), b = NewFileId();
  EXPECT_EQ(a.size(), 32u);
  EXPECT_NE(a, b);
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
}

}  // namespace
}  // namespace zavrik::pdf
