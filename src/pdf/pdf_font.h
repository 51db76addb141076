// TqbxPDFFont: one font of the document's font list. It turns text lines into glyph runs through
// the shaper (measured at 1000 pixels per em, so that advances are thousandths of an em), keeps the
// glyphs used so far, and writes the Type0 font with its CIDFontType2 descendant, font descriptor
// and ToUnicode map at the end of the document.
//
// The glyph numbers written are those of the installed font file. A reader resolves a font that is
// not embedded by its name, so a font drawn with a stand-in file (another family than the one
// named) is always embedded: its numbers would select other glyphs in the named font. Fonts with
// compact (CFF) outlines are embedded whole as OpenType programs under a CIDFontType0 descendant.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <string>
#include <vector>

#include "core/ustring.h"
#include "pdf/pdf_font_list.h"
#include "platform/font_face.h"
#include "platform/font_request.h"
#include "platform/lazy_pages.h"
#include "platform/shaping.h"

namespace zavrik {

// A line converted to glyphs.
struct PdfGlyphRun {
  std::vector<uint16_t> glyphs;
  std::vector<int> widths;  // thousandths of an em; -1 for a glyph without a width of its own
  int width = 0;            // the sum of the widths (-1 ignored)
  int spaces = 0;           // space glyphs in the run
  bool ligatures = false;   // shaping gave fewer glyphs than characters
  bool average_spacing = false;
  std::vector<bool> space_chars;  // per character of the line
};

struct PdfUsedGlyph {
  uint16_t glyph = 0;
  int width = 0;
  String unicode;  // the characters the glyph stands for
};

class TqbxPDFFont : public pdf::PdfDocumentFont {
 public:
  // `font` carries the family and the style set of the entry (simulated styles removed).
  explicit TqbxPDFFont(const FontRequest& font);

  const String& Family() const { return FFont.name; }
  FontStyles Style() const { return FFont.style; }
  // The glyph that separates words (the font's space); justification adjusts after it.
  uint16_t SpaceGlyph() const { return FSpaceGlyph; }

  // Converts a line into glyphs and registers the glyphs that are new to the font. The run stays
  // valid until the next call.
  const PdfGlyphRun& SoftRemapString(StringView text, bool rtl);
  const std::vector<PdfUsedGlyph>& UsedGlyphs() const { return FUsed; }
  // Every line through the shaper's runs and HarfBuzz (tests compare the paths).
  void SetFullConversion(bool full) { FFullConversion = full; }

  // FontName, BaseFont and CMapName: the escaped name with its ",Bold"/",Italic" suffix.
  std::string FontName() const;
  // Drawn with another family's file than the one named: embedded whatever the options say.
  bool IsStandIn() const { return !FFace->Location().exact; }

  void Write(pdf::PdfDocumentWriter& writer, int object,
             const pdf::PdfFontWriteOptions& options) override;

 private:
  struct ShapedLine {
    std::vector<uint16_t> glyphs;
    std::vector<int> widths;
    std::vector<StringView> texts;  // per glyph: the characters of its cluster (empty after the first)
  };
  ShapedLine Shape(StringView text, bool rtl) const;
  PdfGlyphRun Convert(StringView text, bool rtl);
  PdfGlyphRun RemapString(StringView text, bool rtl);
  // RemapString of a left-to-right line of plain characters (see ShapePlainCharacter) into `run`,
  // without the shaper's runs and clusters: one glyph per character. False, with nothing
  // registered, for a line that needs RemapString.
  bool RemapPlainly(StringView text, PdfGlyphRun& run);
  // Whether the character (one code point) is met on its own for the first time.
  bool FirstSingle(StringView point);
  void Register(uint16_t glyph, int width, StringView unicode);
  std::string ToUnicodeMap() const;
  std::string WidthsLine() const;
  struct Program {
    std::vector<uint8_t> bytes;  // empty when the font cannot be embedded
    bool compact = false;        // CFF outlines: the whole OpenType file
  };
  // The font program to embed: a TrueType subset, whose advances become the used glyphs' widths,
  // or a whole OpenType file with CFF outlines.
  Program EmbeddedProgram();
  void WriteDescendant(pdf::PdfDocumentWriter& w, int object, const std::string& name,
                       bool compact, int system_info, int descriptor) const;

  FontRequest FFont;
  bool FArial = false;  // an Arial family: single characters registered first, average spacing
  bool FFullConversion = false;
  std::shared_ptr<const FontFace> FFace;
  OutlineMetrics FMetrics;
  uint16_t FSpaceGlyph = 3;
  std::vector<PdfUsedGlyph> FUsed;
  std::vector<int32_t> FUsedIndex;  // by glyph: its index in FUsed, -1 when not used yet
  // Characters converted on their own already: BMP units by bit, surrogate pairs by text.
  std::vector<bool> FSingleUnits = std::vector<bool>(0x10000);
  std::set<String, std::less<>> FSinglePairs;
  // Lines converted already, by reading direction: the same text gives the same run.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(StringView text) const { return std::hash<StringView>{}(text); }
  };
  // Lines of plain characters are converted again each time, which is cheaper than a look-up.
  std::unordered_map<String, PdfGlyphRun, TextHash, std::equal_to<>> FRuns[2];
  PdfGlyphRun FPlainRun;  // the last plain line's run
  // Each UTF-16 unit shaped on its own by ShapePlainCharacter, filled a page at a time.
  struct PlainUnit {
    uint16_t glyph = 0;
    bool plain = false;  // false: the unit needs RemapString
    int32_t width = 0;
  };
  const PlainUnit& PlainUnitOf(char16_t unit);
  void FillPlainUnits(unsigned page_index, LazyPages<PlainUnit>::Page& page) const;
  LazyPages<PlainUnit> FPlainUnits;
};

namespace pdf {

// The entry index of a report font in the document's font list, created on first use. The key
// is the family with the style set less the styles the family simulates.
int RegisterFont(PdfFontList& fonts, const FontRequest& font);
// The entry at an index that RegisterFont returned.
TqbxPDFFont& FontAt(PdfFontList& fonts, int index);

// A font name escaped for PDF names: the special characters as "#" + hex, bytes above 127 too.
std::string EscapeFontName(const std::string& utf8);

}  // namespace pdf
}  // namespace zavrik
