// Plays an enhanced metafile into PDF content operators, as the PDF export does for metafile
// pictures: only Error may escape, and every "q" written is closed by a "Q".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "core/error.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_font_list.h"

namespace {

class Images : public zavrik::pdf::PdfImageSink {
 public:
  int JpegImageIndex(const std::string&, int, int) override { return count_++; }
  int MaskedJpegImageIndex(const std::string&, const std::string&, int, int) override { return count_++; }

 private:
  int count_ = 0;
};

int Lines(const std::string& content, const std::string& line) {
  int n = 0;
  for (size_t at = 0; (at = content.find(line, at)) != std::string::npos; at += line.size())
    if (at == 0 || content[at - 1] == '\n') ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string content;
  zavrik::pdf::PdfFontList fonts;
  Images images;
  try {
    zavrik::pdf::TEMFtoPDFExport player(std::span<const uint8_t>(data, size), content, {10, 200, 210, 50},
                                        fonts, images);
    player.PlayMetaFile();
  } catch (const zavrik::Error&) {
    return 0;
  }
  if (Lines(content, "q\r\n") != Lines(content, "Q\r\n")) std::abort();
  return 0;
}
