#include "platform/plain_glyphs.h"

#include <hb-aat.h>
#include <hb-ot.h>
#include <hb.h>

#include <iterator>
#include <memory>
#include <stdexcept>

#include "platform/shaping.h"

namespace zavrik {
namespace {

constexpr uint32_t kKern = HB_TAG('k', 'e', 'r', 'n');

// Big-endian reads inside one table; a read out of bounds throws and the face stays unknown.
class Table {
 public:
  Table(hb_face_t* face, hb_tag_t tag)
      : blob_(hb_face_reference_table(face, tag), hb_blob_destroy) {
    unsigned length = 0;
    data_ = reinterpret_cast<const uint8_t*>(hb_blob_get_data(blob_.get(), &length));
    size_ = data_ ? length : 0;
  }
  bool Empty() const { return size_ == 0; }
  uint16_t U16(size_t at) const {
    Check(at, 2);
    return static_cast<uint16_t>(data_[at] << 8 | data_[at + 1]);
  }
  uint32_t U32(size_t at) const { return uint32_t{U16(at)} << 16 | U16(at + 2); }

 private:
  void Check(size_t at, size_t count) const {
    if (at > size_ || count > size_ - at) throw std::out_of_range("layout table");
  }
  std::unique_ptr<hb_blob_t, void (*)(hb_blob_t*)> blob_;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

void AddCoverage(const Table& t, size_t at, std::vector<bool>& glyphs) {
  const uint16_t format = t.U16(at);
  const uint16_t count = t.U16(at + 2);
  if (format == 1) {
    for (size_t i = 0; i < count; ++i) glyphs[t.U16(at + 4 + 2 * i)] = true;
  } else if (format == 2) {
    for (size_t i = 0; i < count; ++i) {
      const size_t range = at + 4 + 6 * i;
      for (uint32_t g = t.U16(range); g <= t.U16(range + 2); ++g) glyphs[g] = true;
    }
  } else {
    throw std::out_of_range("coverage format");
  }
}

// The coverage of the glyph a subtable starts at, for a lookup type that is not an extension.
size_t StartCoverage(const Table& t, size_t subtable, unsigned type, bool gsub) {
  const unsigned context = gsub ? 5 : 7;
  const unsigned chained = gsub ? 6 : 8;
  if (type == 0 || type > 8) throw std::out_of_range("lookup type");
  const uint16_t format = t.U16(subtable);
  if (type == context && format == 3) {
    if (t.U16(subtable + 2) == 0) throw std::out_of_range("empty context");
    return subtable + t.U16(subtable + 6);
  }
  if (type == chained && format == 3) {
    const size_t backtrack = t.U16(subtable + 2);
    const size_t input = subtable + 4 + 2 * backtrack;
    if (t.U16(input) == 0) throw std::out_of_range("empty context");
    return subtable + t.U16(input + 2);
  }
  return subtable + t.U16(subtable + 2);
}

// The lookups HarfBuzz applies to plain text: those of the shaping plans for the plain scripts,
// with the automatic fractions off, as their features act only around a fraction slash, which is
// no plain character.
hb_set_t* PlainLookups(hb_face_t* face, hb_tag_t table) {
  std::vector<hb_feature_t> features(std::begin(kShapingFeatures), std::end(kShapingFeatures));
  for (const hb_tag_t tag : {HB_TAG('f', 'r', 'a', 'c'), HB_TAG('n', 'u', 'm', 'r'), HB_TAG('d', 'n', 'o', 'm')})
    features.push_back({tag, 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END});
  hb_set_t* lookups = hb_set_create();
  for (const hb_script_t script : {HB_SCRIPT_LATIN, HB_SCRIPT_CYRILLIC, HB_SCRIPT_GREEK, HB_SCRIPT_COMMON}) {
    hb_segment_properties_t props = HB_SEGMENT_PROPERTIES_DEFAULT;
    props.direction = HB_DIRECTION_LTR;
    props.script = script;
    props.language = hb_language_get_default();
    hb_shape_plan_t* plan = hb_shape_plan_create_cached(face, &props, features.data(),
                                                        static_cast<unsigned>(features.size()), nullptr);
    hb_ot_shape_plan_collect_lookups(plan, table, lookups);
    hb_shape_plan_destroy(plan);
  }
  return lookups;
}

void AddTable(hb_face_t* face, hb_tag_t tag, std::vector<bool>& glyphs) {
  const Table t(face, tag);
  if (t.Empty()) return;
  const bool gsub = tag == HB_OT_TAG_GSUB;
  const unsigned extension = gsub ? 7 : 9;
  if (t.U16(0) != 1) throw std::out_of_range("table version");
  if (t.U16(2) >= 1 && t.U32(10) != 0) throw std::out_of_range("feature variations");
  const size_t lookups = t.U16(8);
  const uint16_t lookup_count = t.U16(lookups);
  const std::unique_ptr<hb_set_t, void (*)(hb_set_t*)> applied(PlainLookups(face, tag), hb_set_destroy);
  for (hb_codepoint_t l = HB_SET_VALUE_INVALID; hb_set_next(applied.get(), &l);) {
    if (l >= lookup_count) throw std::out_of_range("lookup index");
    const size_t lookup = lookups + t.U16(lookups + 2 + 2 * l);
    const unsigned type = t.U16(lookup);
    for (size_t s = 0, n = t.U16(lookup + 4); s < n; ++s) {
      size_t subtable = lookup + t.U16(lookup + 6 + 2 * s);
      unsigned subtype = type;
      if (type == extension) {
        if (t.U16(subtable) != 1) throw std::out_of_range("extension format");
        subtype = t.U16(subtable + 2);
        subtable += t.U32(subtable + 4);
        if (subtype == extension) throw std::out_of_range("nested extension");
      }
      AddCoverage(t, StartCoverage(t, subtable, subtype, gsub), glyphs);
    }
  }
}

bool HasKernFeature(hb_face_t* face) {
  const Table t(face, HB_OT_TAG_GPOS);
  if (t.Empty()) return false;
  const size_t features = t.U16(6);
  for (size_t f = 0, n = t.U16(features); f < n; ++f)
    if (t.U32(features + 2 + 6 * f) == kKern) return true;
  return false;
}

}  // namespace

LayoutTriggers::LayoutTriggers(hb_face_t* face) {
  if (hb_aat_layout_has_substitution(face) || hb_aat_layout_has_positioning(face) ||
      hb_aat_layout_has_tracking(face) || hb_ot_var_has_data(face))
    return;
  try {
    if (!Table(face, kKern).Empty() && !HasKernFeature(face)) return;
    AddTable(face, HB_OT_TAG_GSUB, glyphs_);
    AddTable(face, HB_OT_TAG_GPOS, glyphs_);
  } catch (const std::out_of_range&) {
    return;
  }
  known_ = true;
}

PlainGlyphs::PlainGlyphs(hb_font_t* font) : font_(font), triggers_(hb_font_get_face(font)) {}

void PlainGlyphs::Fill(unsigned page_index, LazyPages<Glyph>::Page& page) const {
  hb_face_t* face = hb_font_get_face(font_);
  for (unsigned low = 0; low < 256; ++low) {
    const char32_t ch = (page_index << 8) | low;
    hb_codepoint_t index = 0;
    if (!IsPlainCharacter(ch) || !hb_font_get_nominal_glyph(font_, ch, &index) || index == 0 ||
        triggers_.Triggers(index) || hb_ot_layout_get_glyph_class(face, index) == HB_OT_LAYOUT_GLYPH_CLASS_MARK)
      continue;
    page[low] = {index, hb_font_get_glyph_h_advance(font_, index)};
  }
}

}  // namespace zavrik
