// Helpers of the PDF tests: qpdf and poppler over the bytes, and the inflated stream contents.
#pragma once

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/pdf_tools.h"

namespace zavrik::pdf::test {

using zavrik::test::QpdfCheck;
using zavrik::test::RunOnFile;

inline std::string Inflate(const std::string& data) {
  std::string out;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return out;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  std::array<char, 16384> chunk;
  int rc = Z_OK;
  while (rc == Z_OK) {
    z.next_out = reinterpret_cast<Bytef*>(chunk.data());
    z.avail_out = static_cast<uInt>(chunk.size());
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(chunk.data(), chunk.size() - z.avail_out);
  }
  inflateEnd(&z);
  return out;
}

// The data of every stream object in file order, inflated when its dictionary says FlateDecode.
inline std::vector<std::string> Streams(const std::string& pdf) {
  std::vector<std::string> streams;
  size_t pos = 0;
  while ((pos = pdf.find(">>\r\nstream\r\n", pos)) != std::string::npos) {
    const size_t start = pos + 12;
    const size_t end = pdf.find("\nendstream\r\n", start);
    if (end == std::string::npos) break;
    const size_t dict = pdf.rfind("obj\r\n", pos);
    const bool flate = pdf.find("/FlateDecode", dict) < pos;
    const std::string data = pdf.substr(start, end - start);
    streams.push_back(flate ? Inflate(data) : data);
    pos = end;
  }
  return streams;
}

}  // namespace zavrik::pdf::test
