// What shaping gives plain characters (see IsPlainCharacter) of a face without HarfBuzz.
//
// LayoutTriggers: the glyphs at which an OpenType layout lookup that shaping applies to plain text
// can take effect. A lookup acts only where the glyph under it is in the coverage
// of one of its subtables (the first input glyph of a contextual rule, the mark of a mark
// attachment, the first glyph of a pair); lookups it calls act only inside such a match. Plain
// text whose glyphs are all outside the set comes out of shaping as the font's nominal glyphs with
// their own advances.
#pragma once

#include <hb.h>

#include <cstdint>
#include <vector>

#include "platform/lazy_pages.h"

namespace zavrik {

// The features shaping asks for: kerning off, so that every glyph keeps its own advance (the
// widths the layout measures and those a PDF font lists are then the same numbers).
inline constexpr hb_feature_t kShapingFeatures[] = {
    {HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END}};

class LayoutTriggers {
 public:
  explicit LayoutTriggers(hb_face_t* face);

  // False when the face's layout could not be summarised (a table it cannot read, AAT layout,
  // feature variations, a legacy kerning table without GPOS kerning): then no glyph is safe.
  bool Known() const { return known_; }
  bool Triggers(uint32_t glyph) const { return !known_ || glyph >= glyphs_.size() || glyphs_[glyph]; }

 private:
  bool known_ = false;
  std::vector<bool> glyphs_ = std::vector<bool>(0x10000);
};

// The nominal glyph and design advance of each plain character of the Basic Multilingual Plane
// whose glyph no lookup acts on, filled 256 characters at a time; index 0 for any other character.
class PlainGlyphs {
 public:
  struct Glyph {
    uint32_t index = 0;
    int32_t advance = 0;  // font units
  };
  explicit PlainGlyphs(hb_font_t* font);

  const LayoutTriggers& Triggers() const { return triggers_; }
  Glyph Of(char32_t ch) const {
    if (ch > 0xFFFF || !triggers_.Known()) return {};
    return pages_.At(ch, [this](unsigned index, LazyPages<Glyph>::Page& page) { Fill(index, page); });
  }

 private:
  void Fill(unsigned page_index, LazyPages<Glyph>::Page& page) const;

  hb_font_t* font_;
  LayoutTriggers triggers_;
  LazyPages<Glyph> pages_;
};

}  // namespace zavrik
