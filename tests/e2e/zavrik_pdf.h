// The PDF of a zavrik run, checked the way every caller sees it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "e2e/process.h"
#include "support/pdf_tools.h"
#include "support/test_helpers.h"

namespace zavrik::test {

// The PDF of a successful run: exit code 0, Base64 lines of at most 76 characters ending CR LF,
// a file qpdf accepts.
inline std::string PdfOf(const ProcessResult& r) {
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_GE(r.out.size(), 2u);
  for (size_t start = 0, end; (end = r.out.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    EXPECT_LE(end - start, 76u);
  }
  const std::string pdf = DecodeBase64(r.out);
  EXPECT_EQ(QpdfCheck(pdf), 0);
  return pdf;
}

}  // namespace zavrik::test
