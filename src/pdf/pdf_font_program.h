// The font files that documents embed, read and checked once per process. The run's default faces
// are read on the start-up thread while the database attaches; the export then only packs the
// subsets.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/pdf_truetype.h"

namespace zavrik {
class FontFace;
}

namespace zavrik::pdf {

struct FontProgram {
  std::vector<uint8_t> bytes;          // the whole file
  std::unique_ptr<TrueTypeFont> font;  // the face's TrueType tables; null for other outlines
  std::vector<std::string> checksum_errors;
};

// The face's file, read and checked on first use. A file that cannot be read, or whose TrueType
// tables are broken, raises its Error on every call.
const FontProgram& FontProgramOf(const FontFace& face);

// Reads the faces' files ahead; failures are left for the export to meet.
void PreloadFontPrograms(const std::vector<std::shared_ptr<const FontFace>>& faces) noexcept;

}  // namespace zavrik::pdf
