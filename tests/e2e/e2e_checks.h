// Checks of a zavrik run's outcome shared by the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/process.h"
#include "support/pdf_tools.h"
#include "support/test_helpers.h"

namespace zavrik::test {

// The PDF of a successful run: exit code 0, Base64 lines of 76 characters ending CR LF.
inline std::string PdfOf(const ProcessResult& r) {
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_GE(r.out.size(), 2u);
  for (size_t start = 0, end; (end = r.out.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 76u);
  }
  const std::string pdf = DecodeBase64(r.out);
  EXPECT_EQ(QpdfCheck(pdf), 0);
  return pdf;
}

// The text pdftotext extracts.
inline std::string PdfText(const std::string& pdf) {
  std::string text;
  RunOnFile(pdf, "pdftotext -enc UTF-8 {} -", &text);
  return text;
}

// A handled outcome: exit 0 with a valid PDF, or exit 1 with exactly one diagnostic line; never
// a signal.
inline void ExpectHandledOutcome(const ProcessResult& r) {
  EXPECT_EQ(r.signal, 0) << r.err.substr(0, 2000);
  if (r.exit_code == 0) {
    PdfOf(r);
  } else {
    EXPECT_EQ(r.exit_code, 1) << r.err.substr(0, 2000);
    ASSERT_GE(r.out.size(), 2u) << r.err.substr(0, 2000);
    EXPECT_EQ(r.out.find("\r\n"), r.out.size() - 2) << r.out.substr(0, 2000);
    EXPECT_EQ(r.out.rfind("Error", 0), 0u) << r.out.substr(0, 2000);
  }
}

}  // namespace zavrik::test
