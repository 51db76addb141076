// Text views written as PDF text: operators, fonts and their objects, and the extracted text
// (poppler) of files checked with qpdf.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "pdf/pdf_export.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_memo_text.h"
#include "pdf/pdf_test_support.h"
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

TEST(PdfText, Explore) {
  Page p;
  p.Memo(u"Hello Мир", 10, 10, 200, 20);
  const std::string pdf = ExportUncompressed({&p});
  std::cout << pdf << "\n";
  std::cout << ExtractedText(pdf) << "\n";
  EXPECT_EQ(QpdfCheck(pdf), 0);
}

}  // namespace
}  // namespace zavrik::pdf
