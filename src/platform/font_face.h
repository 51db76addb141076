// An installed font opened with FreeType and HarfBuzz: metrics at a pixel size, glyph lookups,
// design advances and the file's bytes. Faces are shared and live for the whole process.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/ustring.h"
#include "platform/font_catalog.h"
#include "platform/lazy_pages.h"

typedef struct FT_FaceRec_* FT_Face;
typedef struct hb_font_t hb_font_t;

namespace zavrik {

// Outline metrics of a font at an em height of em_height pixels (font units scaled and rounded).
struct OutlineMetrics {
  int em_height = 0;
  int ascent = 0;             // cell ascent above the baseline
  int descent = 0;            // cell descent below the baseline (positive)
  int cell_height = 0;        // ascent + descent
  int internal_leading = 0;   // cell_height - em_height
  int cap_height = 0;
  int x_height = 0;
  double italic_angle = 0;    // degrees, negative for a right-leaning face
  int bbox_left = 0, bbox_bottom = 0, bbox_right = 0, bbox_top = 0;
  int weight = 400;
  int avg_char_width = 0;
  int max_char_width = 0;
  char16_t default_char = 0;
  int underline_position = 0;   // below the baseline (positive)
  int underline_thickness = 1;
  int strikeout_position = 0;   // above the baseline
  int strikeout_thickness = 1;
};

class AdvanceTable;
class PlainGlyphs;

class FontFace {
 public:
  explicit FontFace(const FontLocation& location);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FontLocation& Location() const { return location_; }
  int UnitsPerEm() const { return units_per_em_; }
  bool IsCollection() const { return face_count_ > 1; }

  // The glyph of a character (0 when the font has none) and the reverse (0 when no character).
  uint32_t GlyphIndex(char32_t ch) const;
  char32_t CharacterOfGlyph(uint32_t glyph) const;
  // The advance of a glyph in font units.
  int DesignAdvance(uint32_t glyph) const;

  OutlineMetrics Metrics(int em_height) const;
  int CellHeight(int em_height) const { return Metrics(em_height).cell_height; }

  // The per-character advances at an em height (cached for the life of the face).
  const AdvanceTable& Advances(int em_height) const;

  // The bytes of the installed file; a collection comes whole.
  std::vector<uint8_t> FileBytes() const;
  // The PostScript name from the name table (empty when the font has none).
  std::string PostScriptName() const;

  // Library handles for renderers and the shaper. Calls on the FreeType face hold FaceMutex().
  FT_Face FreeTypeFace() const { return ft_face_; }
  hb_font_t* HarfBuzzFont() const { return hb_font_; }
  // The glyphs shaping gives plain characters without HarfBuzz (summarised on first use).
  const PlainGlyphs& Plain() const;
  std::mutex& FaceMutex() const { return mutex_; }

 private:
  int Scale(long font_units, int em_height) const;

  FontLocation location_;
  FT_Face ft_face_ = nullptr;
  hb_font_t* hb_font_ = nullptr;
  int units_per_em_ = 2048;
  long face_count_ = 1;
  mutable std::mutex mutex_;
  mutable std::map<uint32_t, char32_t> glyph_chars_;  // filled on the first reverse lookup
  mutable std::map<int, std::unique_ptr<AdvanceTable>> advance_tables_;
  mutable std::atomic<const PlainGlyphs*> plain_{nullptr};
};

// Advances in pixels at one em height, looked up per UTF-16 code unit. The table fills itself
// 256 characters at a time, so a character is measured once per font and size.
class AdvanceTable {
 public:
  AdvanceTable(const FontFace& face, int em_height);
  int EmHeight() const { return em_height_; }
  int Advance(char16_t ch) const;
  // Advances of a run; a surrogate pair gives its advance to the high half and 0 to the low half.
  void Measure(StringView text, int32_t* advances) const;

 private:
  void Fill(unsigned page_index, LazyPages<int32_t>::Page& page) const;

  const FontFace& face_;
  int em_height_;
  LazyPages<int32_t> pages_;
};

// The shared face for a report family and style (bold and italic bits count).
std::shared_ptr<const FontFace> FaceFor(StringView family, FontStyles style);

// Loads fontconfig's configuration and the faces most reports use first (the default family,
// upright and bold), so that another thread can do it while the program waits for its database.
// Failures are left for the first real request to report. The result holds the faces loaded.
std::vector<std::shared_ptr<const FontFace>> PreloadDefaultFaces() noexcept;

// The em height in pixels of a font of size points on a surface of dpi dots per inch.
int EmHeightAt(double size, int dpi);

// The advance of each character of a run in a device font (see AdvanceTable::Measure).
void MeasureRun(const DeviceFont& font, StringView text, int32_t* advances);

}  // namespace zavrik
