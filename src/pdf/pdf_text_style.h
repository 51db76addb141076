// What every PDF text object of a report font needs: the font's resource and Tf size, its colour
// and simulated styles, and the glyph strings of "Tj" and of justified "TJ".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/pdf_font.h"
#include "core/ustring.h"
#include "pdf/pdf_font_list.h"

namespace zavrik {
class TqbxFont;
}

namespace zavrik::pdf {

struct PdfTextStyle {
  TqbxPDFFont* font = nullptr;
  std::string resource;  // "/F" + index
  std::string size;      // the Tf size (TextSize)
  double size_value = 0;
  int points = 10;
  uint32_t color = 0;    // RGB; black for no colour
  bool bold_simulated = false, italic_simulated = false;
  bool underline = false, strike_out = false;
};

// Registers the font in the document's list and describes it.
PdfTextStyle TextStyleOf(PdfFontList& fonts, const TqbxFont& font);

// TextStyleOf for the document's fonts, worked out once per distinct name, size, style and colour.
class PdfTextStyles {
 public:
  explicit PdfTextStyles(PdfFontList& fonts) : fonts_(fonts) {}
  PdfTextStyle Of(const TqbxFont& font);
  // Forgets the styles; the font list's entries they point to go with its Clear.
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    String name;
    int32_t size = 0, style = 0, color = 0;
    PdfTextStyle text_style;
  };
  PdfFontList& fonts_;
  std::vector<Entry> entries_;  // one per distinct font of the report: few
  size_t last_ = 0;             // the entry found last, looked at first
};

// The Tf size of a font: the point size × 0.9964722… × the family's correction, three decimals.
double TextSizeValue(StringView family, int size);
std::string TextSize(StringView family, int size);

// Glyph indices as four upper-case hex digits each.
std::string GlyphHex(const std::vector<uint16_t>& glyphs, size_t from, size_t to);
void AppendGlyphHex(std::string& out, const std::vector<uint16_t>& glyphs, size_t from, size_t to);
// "[<…>n<…>] TJ": after each space glyph the running adjustment n of justification j.
std::string JustifiedGlyphs(const PdfGlyphRun& run, uint16_t space, double j);

}  // namespace zavrik::pdf
