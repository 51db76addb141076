// PDF checks through the installed tools (qpdf, poppler) on bytes saved to a temporary file.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/test_db.h"

namespace zavrik::test {

// Runs a command on the bytes saved to a temporary file ("{}" stands for its path); returns the
// exit code and the command's standard output.
inline int RunOnFile(const std::string& pdf, const std::string& command, std::string* output) {
  zavrik::test::TempDir dir;
  const std::string path = dir.File("check.pdf");
  zavrik::test::WriteFile(path, pdf);
  std::string line = command;
  line.replace(line.find("{}"), 2, path);
  FILE* pipe = popen((line + " 2>/dev/null").c_str(), "r");
  if (!pipe) return -1;
  std::array<char, 4096> buffer;
  std::string text;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) text.append(buffer.data(), n);
  const int status = pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// qpdf --check's exit code (0: no errors or warnings).
inline int QpdfCheck(const std::string& pdf) { return RunOnFile(pdf, "qpdf --check {}", nullptr); }

// The page count qpdf reads from the page tree (also 0, which poppler refuses), or -1.
inline int PdfPageCount(const std::string& pdf) {
  std::string count;
  if (RunOnFile(pdf, "qpdf --show-npages {}", &count) != 0 || count.empty()) return -1;
  return std::stoi(count);
}

// The text of one page (from 1) in content order, as `pdftotext -raw` extracts it.
inline std::string PdfPageText(const std::string& pdf, int page) {
  std::string text;
  const std::string n = std::to_string(page);
  RunOnFile(pdf, "pdftotext -raw -f " + n + " -l " + n + " {} -", &text);
  return text;
}

// The content stream of one page (from 1), decompressed (qpdf's QDF form).
inline std::string PdfPageContent(const std::string& pdf, int page) {
  std::string qdf;
  RunOnFile(pdf, "qpdf --qdf --object-streams=disable {} /dev/stdout", &qdf);
  const std::string mark = "%% Contents for page " + std::to_string(page) + "\n";
  const size_t at = qdf.find(mark);
  if (at == std::string::npos) return {};
  const size_t start = qdf.find("stream\n", at);
  const size_t end = qdf.find("endstream", start);
  if (start == std::string::npos || end == std::string::npos) return {};
  return qdf.substr(start + 7, end - start - 7);
}

}  // namespace zavrik::test
