// TrueType font programs for embedding: reading a font (or one font of a collection), verifying
// its table checksums, and packing a subset that keeps only the outlines of the used glyphs
// (glyph indices unchanged, so CID = glyph index).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace zavrik::pdf {

struct TrueTypeTable {
  std::string tag;
  uint32_t checksum = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
};

class TrueTypeFont {
 public:
  // The font whose table directory starts at `offset` of `program` (which must outlive it).
  TrueTypeFont(std::span<const uint8_t> program, uint32_t offset);

  const std::vector<TrueTypeTable>& Tables() const { return tables_; }
  // The tables whose stored checksum differs from their bytes: "Table ID "…" checksum error."
  // followed by the computed and the stored sums.
  std::vector<std::string> ChecksumErrors() const;
  // A font file with the outlines of `glyphs` and of the components of composite glyphs only.
  std::vector<uint8_t> Pack(std::set<uint16_t> glyphs) const;

 private:
  const TrueTypeTable* Find(const char* tag) const;
  std::span<const uint8_t> Data(const TrueTypeTable& table) const;

  std::span<const uint8_t> program_;
  std::vector<TrueTypeTable> tables_;
};

// The font `index` of a program: a single font, a collection ("ttcf"), or compact outlines
// ("OTTO", for which no font results). Anything else raises "TrueType font format error".
std::unique_ptr<TrueTypeFont> ReadTrueType(std::span<const uint8_t> program, int index);

// A single font with compact (CFF) outlines: "OTTO".
bool IsCompactFontProgram(std::span<const uint8_t> program);

// The sum of the big-endian 32-bit words of the bytes (zero-padded to 4).
uint32_t TableChecksum(std::span<const uint8_t> bytes);

}  // namespace zavrik::pdf
