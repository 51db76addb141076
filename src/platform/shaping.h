// Shaping a line of text: script runs ordered for display (FriBidi), each shaped by HarfBuzz.
#pragma once

#include <cstdint>
#include <vector>

#include "core/ustring.h"
#include "platform/font_face.h"

namespace zavrik {

struct ShapedGlyph {
  uint32_t index = 0;      // glyph index in the font
  int32_t advance = 0;     // in units of units_per_em (see ShapeOptions)
  int32_t x_offset = 0;
  int32_t y_offset = 0;
  uint32_t cluster = 0;    // UTF-16 position of the first character the glyph stands for
  bool diacritic = false;  // a mark placed on the previous glyph
};

struct ShapedRun {
  size_t start = 0;    // UTF-16 range of the source text
  size_t length = 0;
  bool rtl = false;
  uint32_t script = 0;  // ISO 15924 tag
  std::vector<ShapedGlyph> glyphs;  // in visual order
};

struct ShapeOptions {
  bool rtl_reading = false;          // paragraph direction right-to-left
  bool digit_substitution = false;   // Arabic-Indic digits inside Arabic runs
  int units_per_em = 1000;           // advances and offsets in thousandths of an em by default
  bool full_shaping = false;         // every item through FriBidi and HarfBuzz (tests compare the paths)
};

// A character that shaping passes through as the font's own glyph when no layout lookup acts on
// that glyph: Latin, Greek, Cyrillic or common punctuation, left-to-right or neutral, not a mark,
// control or default-ignorable character.
bool IsPlainCharacter(char32_t ch);

// The runs of a line in display order.
std::vector<ShapedRun> ShapeText(const FontFace& face, StringView text, const ShapeOptions& options = {});

// The glyph ShapeText gives a plain character of a left-to-right line when the face has its
// plain glyph; false otherwise (`glyph` then holds nothing of use). Each such glyph depends on its
// own character alone: a line of them shapes to their glyphs in text order, clusters aside.
bool ShapePlainCharacter(const FontFace& face, char16_t ch, const ShapeOptions& options,
                         ShapedGlyph& glyph);

}  // namespace zavrik
