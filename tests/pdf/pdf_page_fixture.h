// Pages for the PDF view tests: a report page with one band whose memos are offered to the filter
// as the export walk offers them, and readers of the resulting file.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pdf/pdf_export.h"
#include "pdf/pdf_test_support.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"

namespace zavrik::pdf::test {

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
inline std::string Export(TqbxPDFExport& filter, const std::vector<Page*>& pages) {
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

inline std::string ExportUncompressed(const std::vector<Page*>& pages) {
  TqbxPDFExport filter;
  filter.Compressed = false;
  return Export(filter, pages);
}

// pdftotext's text of the file, laid out (-layout keeps the lines).
inline std::string ExtractedText(const std::string& pdf) {
  std::string text;
  EXPECT_EQ(RunOnFile(pdf, "pdftotext -enc UTF-8 -layout {} -", &text), 0);
  return text;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The first content stream of an uncompressed file.
inline std::string FirstContent(const std::string& pdf) { return Streams(pdf).at(0); }

// The text between "BT" and "ET" of the n-th text object of a content stream.
inline std::string TextObject(const std::string& content, int n) {
  size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    at = content.find("BT\r\n", at);
    if (at == std::string::npos) return "<missing>";
    if (i < n) at += 4;
  }
  return content.substr(at, content.find("ET\r\n", at) + 4 - at);
}

inline int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

}  // namespace zavrik::pdf::test
