#include "platform/shaping.h"

#include <fribidi.h>
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <memory>

#include "core/numeric.h"
#include "platform/plain_glyphs.h"

namespace zavrik {
namespace {

struct CodePoints {
  std::vector<char32_t> chars;
  std::vector<uint32_t> positions;  // UTF-16 position of each code point
};

CodePoints Decode(StringView text) {
  CodePoints cps;
  cps.chars.reserve(text.size());
  cps.positions.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    const size_t at = i;
    if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    cps.chars.push_back(ch);
    cps.positions.push_back(static_cast<uint32_t>(at));
  }
  return cps;
}

struct Item {
  size_t begin, end;  // code point range
  int level;
  hb_script_t script;
};

bool IsNeutralScript(hb_script_t s) {
  return s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
}

// Plain characters are left-to-right or neutral, so a left-to-right paragraph of them is all at
// level 0.
std::vector<Item> Itemize(const CodePoints& cps, bool rtl, bool plain) {
  const size_t n = cps.chars.size();
  std::vector<FriBidiLevel> levels(n);
  if (rtl || !plain) {
    std::vector<FriBidiCharType> types(n);
    std::vector<FriBidiBracketType> brackets(n);
    const auto* chars = reinterpret_cast<const FriBidiChar*>(cps.chars.data());
    fribidi_get_bidi_types(chars, n, types.data());
    fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
    FriBidiParType direction = rtl ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()) == 0) {
      std::fill(levels.begin(), levels.end(), rtl ? 1 : 0);
    }
  }
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::vector<hb_script_t> scripts(n);
  for (size_t i = 0; i < n; ++i) scripts[i] = hb_unicode_script(unicode, cps.chars[i]);
  // Neutral characters join the script before them at the same level, else the one after them.
  for (size_t i = 1; i < n; ++i) {
    if (IsNeutralScript(scripts[i]) && levels[i] == levels[i - 1]) scripts[i] = scripts[i - 1];
  }
  hb_script_t next = HB_SCRIPT_COMMON;
  for (size_t i = n; i-- > 0;) {
    if (IsNeutralScript(scripts[i])) scripts[i] = next; else next = scripts[i];
  }
  for (size_t i = 1; i < n; ++i) {
    if (IsNeutralScript(scripts[i])) scripts[i] = scripts[i - 1];
  }
  std::vector<Item> items;
  for (size_t i = 0; i < n; ++i) {
    if (items.empty() || items.back().level != levels[i] || items.back().script != scripts[i]) {
      items.push_back({i, i + 1, levels[i], scripts[i]});
    } else {
      items.back().end = i + 1;
    }
  }
  return items;
}

// Display order: from the highest level down to the lowest odd one, reverse every sequence of
// items at that level or above.
void OrderForDisplay(std::vector<Item>& items) {
  if (items.empty()) return;
  int highest = 0, lowest_odd = 127;
  for (const Item& item : items) {
    highest = std::max(highest, item.level);
    if (item.level % 2) lowest_odd = std::min(lowest_odd, item.level);
  }
  for (int level = highest; level >= lowest_odd; --level) {
    for (size_t i = 0; i < items.size();) {
      if (items[i].level < level) { ++i; continue; }
      size_t j = i;
      while (j < items.size() && items[j].level >= level) ++j;
      std::reverse(items.begin() + i, items.begin() + j);
      i = j;
    }
  }
}

char32_t SubstituteDigit(char32_t ch, const Item& item, bool substitute) {
  if (substitute && item.script == HB_SCRIPT_ARABIC && ch >= '0' && ch <= '9') return 0x0660 + (ch - '0');
  return ch;
}

int32_t Scaled(int32_t value, const FontFace& face, const ShapeOptions& options) {
  return static_cast<int32_t>(RoundHalfEven(value * (static_cast<double>(options.units_per_em) / face.UnitsPerEm())));
}

ShapedRun EmptyRun(const CodePoints& cps, const Item& item, size_t text_size) {
  ShapedRun run;
  run.start = cps.positions[item.begin];
  run.length = (item.end < cps.positions.size() ? cps.positions[item.end] : text_size) - run.start;
  run.rtl = item.level % 2;
  run.script = hb_script_to_iso15924_tag(item.script);
  return run;
}

// What HarfBuzz gives for a left-to-right item of plain characters whose nominal glyphs no layout
// lookup acts on: those glyphs with their own advances, one per character, none a mark. Without
// such a lookup nothing substitutes, moves or merges glyphs; a plain character needs no
// normalisation when the font has its glyph, and is no mark, default-ignorable or control.
// The nominal glyph of a plain character with its own advance; false when the face lacks it.
bool PlainGlyph(const FontFace& face, const PlainGlyphs& plain, char32_t ch, const ShapeOptions& options,
                ShapedGlyph& glyph) {
  const PlainGlyphs::Glyph own = plain.Of(ch);
  if (own.index == 0) return false;
  glyph = ShapedGlyph{};
  glyph.index = own.index;
  glyph.advance = Scaled(own.advance, face, options);
  return true;
}

bool ShapePlainly(const FontFace& face, const CodePoints& cps, const Item& item, const ShapeOptions& options,
                  ShapedRun& run) {
  if (item.level % 2 || (item.script != HB_SCRIPT_LATIN && item.script != HB_SCRIPT_CYRILLIC &&
                         item.script != HB_SCRIPT_GREEK && item.script != HB_SCRIPT_COMMON))
    return false;
  const PlainGlyphs& plain = face.Plain();
  run.glyphs.reserve(item.end - item.begin);
  for (size_t i = item.begin; i < item.end; ++i) {
    ShapedGlyph& glyph = run.glyphs.emplace_back();
    if (!PlainGlyph(face, plain, cps.chars[i], options, glyph)) return false;
    glyph.cluster = cps.positions[i];
  }
  return true;
}

ShapedRun ShapeItem(const FontFace& face, const CodePoints& cps, const Item& item, const ShapeOptions& options,
                    size_t text_size) {
  if (!options.full_shaping) {
    ShapedRun run = EmptyRun(cps, item, text_size);
    if (ShapePlainly(face, cps, item, options, run)) return run;
  }
  // One buffer per thread, emptied for each item.
  thread_local const std::unique_ptr<hb_buffer_t, void (*)(hb_buffer_t*)> owned(hb_buffer_create(), hb_buffer_destroy);
  hb_buffer_t* buffer = owned.get();
  hb_buffer_reset(buffer);
  for (size_t i = item.begin; i < item.end; ++i) {
    hb_buffer_add(buffer, SubstituteDigit(cps.chars[i], item, options.digit_substitution), cps.positions[i]);
  }
  hb_buffer_set_content_type(buffer, HB_BUFFER_CONTENT_TYPE_UNICODE);
  hb_buffer_set_direction(buffer, item.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_set_script(buffer, item.script);
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(face.HarfBuzzFont(), buffer, kShapingFeatures, std::size(kShapingFeatures));

  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
  hb_face_t* hb_face = hb_font_get_face(face.HarfBuzzFont());
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  auto scaled = [&](int32_t v) { return Scaled(v, face, options); };

  ShapedRun run = EmptyRun(cps, item, text_size);
  run.glyphs.reserve(count);
  for (unsigned g = 0; g < count; ++g) {
    ShapedGlyph glyph;
    glyph.index = infos[g].codepoint;
    glyph.cluster = infos[g].cluster;
    glyph.advance = scaled(positions[g].x_advance);
    glyph.x_offset = scaled(positions[g].x_offset);
    glyph.y_offset = scaled(positions[g].y_offset);
    const auto it = std::lower_bound(cps.positions.begin(), cps.positions.end(), glyph.cluster);
    const char32_t source = it != cps.positions.end() ? cps.chars[it - cps.positions.begin()] : 0;
    glyph.diacritic = hb_ot_layout_get_glyph_class(hb_face, glyph.index) == HB_OT_LAYOUT_GLYPH_CLASS_MARK ||
                      hb_unicode_general_category(unicode, source) == HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK;
    run.glyphs.push_back(glyph);
  }
  return run;
}

}  // namespace

bool IsPlainCharacter(char32_t ch) {
  if (ch < 0x20) return false;
  if (ch < 0x7F) return true;
  if (ch < 0xA0) return false;
  if (ch < 0x250) return ch != 0xAD;
  if (ch >= 0x386 && ch <= 0x3CE) return ch != 0x387 && ch != 0x38B && ch != 0x38D && ch != 0x3A2;
  if (ch >= 0x400 && ch <= 0x52F) return ch < 0x483 || ch > 0x489;
  if (ch >= 0x2010 && ch <= 0x205E) return ch < 0x2028 || (ch >= 0x2030 && ch != 0x2044);
  if (ch >= 0x20A0 && ch <= 0x20BF) return true;
  return ch == 0x2116 || ch == 0x2122;
}

// A plain character is Latin, Greek, Cyrillic or common, so its item takes the plain path of
// ShapeItem.
bool ShapePlainCharacter(const FontFace& face, char16_t ch, const ShapeOptions& options,
                         ShapedGlyph& glyph) {
  if (options.rtl_reading || options.full_shaping || !IsPlainCharacter(ch)) return false;
  return PlainGlyph(face, face.Plain(), ch, options, glyph);
}

std::vector<ShapedRun> ShapeText(const FontFace& face, StringView text, const ShapeOptions& options) {
  const CodePoints cps = Decode(text);
  const bool plain = !options.full_shaping && std::all_of(cps.chars.begin(), cps.chars.end(), IsPlainCharacter);
  std::vector<Item> items = Itemize(cps, options.rtl_reading, plain);
  OrderForDisplay(items);
  std::vector<ShapedRun> runs;
  runs.reserve(items.size());
  for (const Item& item : items) runs.push_back(ShapeItem(face, cps, item, options, text.size()));
  return runs;
}

}  // namespace zavrik
