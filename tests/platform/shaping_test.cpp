// The plain path of shaping against HarfBuzz itself: same runs, glyphs, advances, offsets and
// clusters for every font the reports use, on text that takes it and on text that must not.
#include <fribidi.h>
#include <gtest/gtest.h>
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <random>

#include "platform/font_face.h"
#include "platform/plain_glyphs.h"
#include "platform/shaping.h"

namespace zavrik {
namespace {

std::string Describe(const ShapedRun& run) {
  std::string out = std::to_string(run.start) + "+" + std::to_string(run.length) + (run.rtl ? " rtl " : " ltr ") +
                    std::to_string(run.script) + ":";
  for (const ShapedGlyph& g : run.glyphs) {
    out += " " + std::to_string(g.index) + "/" + std::to_string(g.advance) + "/" + std::to_string(g.x_offset) + "," +
           std::to_string(g.y_offset) + "@" + std::to_string(g.cluster) + (g.diacritic ? "m" : "");
  }
  return out;
}

std::string Describe(const std::vector<ShapedRun>& runs) {
  std::string out;
  for (const ShapedRun& run : runs) out += "[" + Describe(run) + "]";
  return out;
}

struct Family {
  const char16_t* name;
  FontStyles style;
};

const Family kFamilies[] = {
    {u"Arial", 0},           {u"Arial", kFontBold},       {u"Arial", kFontItalic},  {u"Times New Roman", 0},
    {u"Courier New", 0},     {u"Tahoma", 0},              {u"DejaVu Sans", 0},      {u"DejaVu Serif", kFontBold},
    {u"DejaVu Sans Mono", 0}, {u"Carlito", 0},             {u"Lobster Two", 0},      {u"Liberation Mono", 0},
};

// Whether the whole text can take the plain path in the face.
bool WhollyPlain(const FontFace& face, StringView text) {
  return std::all_of(text.begin(), text.end(), [&face](char16_t ch) { return face.Plain().Of(ch).index != 0; });
}

// Both paths for both paragraph directions and two em sizes.
void ExpectSameAsHarfBuzz(const FontFace& face, StringView text, const std::string& font) {
  for (const bool rtl : {false, true}) {
    for (const int units : {1000, 2048}) {
      ShapeOptions options{.rtl_reading = rtl, .units_per_em = units};
      const std::string plain = Describe(ShapeText(face, text, options));
      options.full_shaping = true;
      const std::string full = Describe(ShapeText(face, text, options));
      ASSERT_EQ(plain, full) << font << " \"" << StringToUtf8(text) << "\" rtl " << rtl;
    }
  }
}

TEST(PlainShaping, GivesWhatHarfBuzzGivesOnFixedTexts) {
  const char16_t* texts[] = {
      u"Hello, world", u"Иванов Иван Иванович", u"12 345,67 руб.", u"2026-12-10", u"№ 15/7 — «кавычки»",
      u"a\u00A0b\u00A0c", u"Ωμέγα ἄλφα αβγ", u"   ", u"x", u"final fi ffi fl office", u"AVATAR Tayo",
      u"e\u0301 combining", u"caf\u00E9", u"\u05D0\u05D1\u05D2 hebrew", u"\u0627\u0644\u0639\u0631\u0628\u064A\u0629 123",
      u"\u0928\u092E\u0938\u094D\u0924\u0947", u"emoji \U0001F600 pair", u"zwj a\u200Db", u"soft\u00ADhyphen",
      u"zw\u200Bsp", u"lrm\u200Eand\u200Frlm", u"\u202Aembed\u202C", u"tab\there", u"vs\uFE0F", u"i\u0307 dot",
      u"1\u20442 fraction", u"\u0483\u0434", u"\uFB01 ligature char", u"ǅ ǈ Ǆ", u"\U0001D400 math",
      u"\u2028line", u"Ꙁ ꙁ", u"\u0300 leading mark", u"\u2011 no-break hyphen", u"\u2009thin"};
  const String lone_high{u'a', char16_t(0xD800), u'b'}, lone_low{char16_t(0xDC00), u' ', u'x'};
  for (const Family& family : kFamilies) {
    const auto face = FaceFor(family.name, family.style);
    const std::string font = StringToUtf8(family.name) + " " + std::to_string(family.style);
    for (const char16_t* text : texts) ExpectSameAsHarfBuzz(*face, text, font);
    ExpectSameAsHarfBuzz(*face, lone_high, font);
    ExpectSameAsHarfBuzz(*face, lone_low, font);
  }
}

TEST(PlainShaping, GivesWhatHarfBuzzGivesOnRandomTexts) {
  // Mostly plain characters with a few that are not, so that both paths and mixed lines occur.
  std::vector<char16_t> pool;
  for (char16_t c = 0x20; c < 0x7F; ++c) pool.push_back(c);
  for (char16_t c = 0x410; c < 0x450; ++c) pool.push_back(c);
  for (char16_t c : u"\u00A0\u00AB\u00BB\u2014\u2013\u2116\u00E9\u00FC\u0391\u03B1\u03AC\u0401\u0451 0123456789fi")
    if (c) pool.push_back(c);
  // Single units of a surrogate pair make lone surrogates too.
  const String rare = u"\u0301\u0308\u05D0\u05E9\u0627\u0644\u0661\u0915\u094D\u200D\u200C\u00AD\u200B\u202E\uFE0F"
                      u"\u0483\u2044\u2028\u0009\U0001F600\u200E\u0663";
  std::mt19937 random(20261210);
  std::vector<String> texts;
  for (int i = 0; i < 400; ++i) {
    String text;
    const size_t length = 1 + random() % 24;
    for (size_t k = 0; k < length; ++k) {
      const bool odd = i % 3 == 0 && random() % 6 == 0;
      text += odd ? rare[random() % rare.size()] : pool[random() % pool.size()];
    }
    texts.push_back(text);
  }
  for (const Family& family : kFamilies) {
    const auto face = FaceFor(family.name, family.style);
    const std::string font = StringToUtf8(family.name) + " " + std::to_string(family.style);
    int plain = 0;
    for (const String& text : texts) {
      ExpectSameAsHarfBuzz(*face, text, font);
      plain += WhollyPlain(*face, text);
    }
    // The comparison covers the plain path: most texts without rare characters take it.
    if (family.name != String(u"Lobster Two")) {
      EXPECT_GT(plain, 100) << font;
    }
  }
}

TEST(PlainShaping, PlainCharactersNeedNoBidiOrNormalisationWork) {
  // A left-to-right paragraph of them is all at level 0, and HarfBuzz keeps each as its own
  // cluster with its nominal glyph.
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  int plain = 0;
  for (char32_t ch = 0; ch < 0x110000; ++ch) {
    if (!IsPlainCharacter(ch)) continue;
    ++plain;
    const FriBidiCharType type = fribidi_get_bidi_type(ch);
    EXPECT_TRUE(type == FRIBIDI_TYPE_LTR || type == FRIBIDI_TYPE_EN || type == FRIBIDI_TYPE_ES ||
                type == FRIBIDI_TYPE_ET || type == FRIBIDI_TYPE_CS || type == FRIBIDI_TYPE_ON ||
                type == FRIBIDI_TYPE_WS)
        << std::hex << static_cast<uint32_t>(ch) << " " << fribidi_get_bidi_type_name(type);
    const hb_unicode_general_category_t category = hb_unicode_general_category(unicode, ch);
    EXPECT_TRUE(category != HB_UNICODE_GENERAL_CATEGORY_CONTROL && category != HB_UNICODE_GENERAL_CATEGORY_FORMAT &&
                category != HB_UNICODE_GENERAL_CATEGORY_UNASSIGNED &&
                category != HB_UNICODE_GENERAL_CATEGORY_PRIVATE_USE &&
                category != HB_UNICODE_GENERAL_CATEGORY_SURROGATE &&
                category != HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK &&
                category != HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK &&
                category != HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK &&
                category != HB_UNICODE_GENERAL_CATEGORY_LINE_SEPARATOR &&
                category != HB_UNICODE_GENERAL_CATEGORY_PARAGRAPH_SEPARATOR)
        << std::hex << static_cast<uint32_t>(ch) << " category " << category;
    EXPECT_EQ(hb_unicode_combining_class(unicode, ch), HB_UNICODE_COMBINING_CLASS_NOT_REORDERED) << std::hex << static_cast<uint32_t>(ch);
    const hb_script_t script = hb_unicode_script(unicode, ch);
    EXPECT_TRUE(script == HB_SCRIPT_LATIN || script == HB_SCRIPT_CYRILLIC || script == HB_SCRIPT_GREEK ||
                script == HB_SCRIPT_COMMON)
        << std::hex << static_cast<uint32_t>(ch);
  }
  EXPECT_GT(plain, 800);
  // Default-ignorable characters of the Basic Multilingual Plane, hidden or dropped by HarfBuzz.
  for (const char32_t ch : {0xAD, 0x34F, 0x61C, 0x115F, 0x1160, 0x17B4, 0x180B, 0x180E, 0x200B, 0x200C, 0x200D,
                            0x200E, 0x200F, 0x202A, 0x202E, 0x2060, 0x2064, 0x2066, 0x206F, 0x3164, 0xFE00, 0xFE0F,
                            0xFEFF, 0xFFA0, 0xFFF0})
    EXPECT_FALSE(IsPlainCharacter(ch)) << std::hex << static_cast<uint32_t>(ch);
}

hb_set_t* LookupStarts(hb_face_t* face, hb_tag_t table) {
  hb_set_t* all = hb_set_create();
  for (unsigned l = 0, n = hb_ot_layout_table_get_lookup_count(face, table); l < n; ++l) {
    hb_set_t* input = hb_set_create();
    hb_ot_layout_lookup_collect_glyphs(face, table, l, nullptr, input, nullptr, nullptr);
    hb_set_union(all, input);
    hb_set_destroy(input);
  }
  return all;
}

TEST(PlainShaping, TriggersAreGlyphsThatLookupsTakeAsInput) {
  for (const Family& family : kFamilies) {
    const auto face = FaceFor(family.name, family.style);
    hb_face_t* hb_face = hb_font_get_face(face->HarfBuzzFont());
    const LayoutTriggers& triggers = face->Plain().Triggers();
    ASSERT_TRUE(triggers.Known()) << StringToUtf8(family.name);
    hb_set_t* gsub = LookupStarts(hb_face, HB_OT_TAG_GSUB);
    hb_set_t* gpos = LookupStarts(hb_face, HB_OT_TAG_GPOS);
    for (uint32_t glyph = 0; glyph < hb_face_get_glyph_count(hb_face); ++glyph) {
      if (triggers.Triggers(glyph)) {
        EXPECT_TRUE(hb_set_has(gsub, glyph) || hb_set_has(gpos, glyph)) << StringToUtf8(family.name) << " " << glyph;
      }
    }
    hb_set_destroy(gsub);
    hb_set_destroy(gpos);
  }
  // Letters and digits of the report fonts are left alone; ligature starts are not.
  const auto arial = FaceFor(u"Arial", 0);
  for (char32_t ch : std::u32string_view(U"aAzZ09 ,.Жж"))
    EXPECT_FALSE(arial->Plain().Triggers().Triggers(arial->GlyphIndex(ch))) << static_cast<uint32_t>(ch);
  const auto lobster = FaceFor(u"Lobster Two", 0);
  EXPECT_TRUE(lobster->Plain().Triggers().Triggers(lobster->GlyphIndex(U'f')));
}

// A face whose layout tables cannot be summarised (cut short, or with feature variations) has no
// plain glyphs: everything goes through HarfBuzz.
TEST(PlainShaping, LayoutThatCannotBeSummarisedLeavesEverythingToHarfBuzz) {
  static const std::vector<uint8_t> kCutShort = {0, 1, 0, 0, 0, 10};
  static const std::vector<uint8_t> kVariations = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 14, 0, 0};
  for (const std::vector<uint8_t>* gsub : {&kCutShort, &kVariations}) {
    hb_face_t* face = hb_face_create_for_tables(
        [](hb_face_t*, hb_tag_t tag, void* data) -> hb_blob_t* {
          const auto& bytes = *static_cast<const std::vector<uint8_t>*>(data);
          if (tag != HB_OT_TAG_GSUB) return hb_blob_get_empty();
          return hb_blob_create(reinterpret_cast<const char*>(bytes.data()), static_cast<unsigned>(bytes.size()),
                                HB_MEMORY_MODE_READONLY, nullptr, nullptr);
        },
        const_cast<std::vector<uint8_t>*>(gsub), nullptr);
    const LayoutTriggers triggers(face);
    EXPECT_FALSE(triggers.Known()) << gsub->size();
    EXPECT_TRUE(triggers.Triggers(1));
    hb_face_destroy(face);
  }
}

}  // namespace
}  // namespace zavrik
