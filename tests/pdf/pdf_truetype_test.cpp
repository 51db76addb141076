// The TrueType subsetter on an installed font: the packed font is a valid font that keeps only
// the used outlines, and malformed programs are refused with clear errors.
#include "pdf/pdf_truetype.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "platform/font_face.h"
#include "support/test_helpers.h"

namespace zavrik::pdf {
namespace {

struct Outlines {
  std::vector<uint32_t> loca;  // glyph offsets, long form
  size_t glyf_offset = 0;
};

uint32_t ReadBE(const std::vector<uint8_t>& b, size_t at, size_t size) {
  uint32_t v = 0;
  for (size_t i = 0; i < size; ++i) v = v << 8 | b.at(at + i);
  return v;
}

Outlines OutlinesOf(const std::vector<uint8_t>& font) {
  const TrueTypeFont parsed(font, 0);
  Outlines o;
  const TrueTypeTable *loca = nullptr, *head = nullptr, *glyf = nullptr;
  for (const TrueTypeTable& t : parsed.Tables()) {
    if (t.tag == "loca") loca = &t;
    if (t.tag == "head") head = &t;
    if (t.tag == "glyf") glyf = &t;
  }
  EXPECT_TRUE(loca && head && glyf);
  if (!loca || !head || !glyf) return o;
  const bool long_form = ReadBE(font, head->offset + 50, 2) == 1;
  for (size_t at = 0; at < loca->length; at += long_form ? 4 : 2)
    o.loca.push_back(long_form ? ReadBE(font, loca->offset + at, 4)
                               : ReadBE(font, loca->offset + at, 2) * 2);
  o.glyf_offset = glyf->offset;
  return o;
}

bool HasOutline(const Outlines& o, uint16_t glyph) {
  return o.loca.at(glyph + 1) > o.loca.at(glyph);
}

// Big-endian words summed modulo 2^32, a short last word padded with zero bytes.
TEST(TrueType, TableChecksumPadsTheLastWord) {
  const std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x06, 0x07};
  EXPECT_EQ(TableChecksum({}), 0u);
  EXPECT_EQ(TableChecksum(std::span(bytes).first(1)), 0x01000000u);
  EXPECT_EQ(TableChecksum(std::span(bytes).first(3)), 0x01020300u);
  EXPECT_EQ(TableChecksum(std::span(bytes).first(4)), 0x01020304u);
  EXPECT_EQ(TableChecksum(std::span(bytes).first(8)), 0x01020303u);  // wraps around
  EXPECT_EQ(TableChecksum(std::span(bytes).first(9)), 0x06020303u);
  EXPECT_EQ(TableChecksum(bytes), 0x06080A03u);
}

TEST(TrueType, PackedFontKeepsOnlyTheUsedOutlines) {
  const auto face = FaceFor(u"Arial", 0);
  const std::vector<uint8_t> program = face->FileBytes();
  const auto font = ReadTrueType(program, face->Location().index);
  ASSERT_TRUE(font);
  EXPECT_TRUE(font->ChecksumErrors().empty());
  const uint16_t a = static_cast<uint16_t>(face->GlyphIndex(U'Ж'));
  const uint16_t b = static_cast<uint16_t>(face->GlyphIndex(U'b'));
  const uint16_t c = static_cast<uint16_t>(face->GlyphIndex(U'c'));
  const std::vector<uint8_t> packed = font->Pack({a, b});
  EXPECT_LT(packed.size(), program.size() / 2);
  EXPECT_EQ(TableChecksum(packed), 0xB1B0AFBAu);  // the checksum adjustment balances the file
  const auto reread = ReadTrueType(packed, 0);
  ASSERT_TRUE(reread);
  EXPECT_TRUE(reread->ChecksumErrors().empty());
  for (const TrueTypeTable& t : reread->Tables()) {
    EXPECT_EQ(t.offset % 4, 0u) << t.tag;
    EXPECT_NE(t.tag, "DSIG");
  }
  const Outlines original = OutlinesOf(program), subset = OutlinesOf(packed);
  ASSERT_EQ(subset.loca.size(), original.loca.size());  // glyph indices are kept
  EXPECT_TRUE(HasOutline(subset, a));
  EXPECT_TRUE(HasOutline(subset, b));
  EXPECT_TRUE(HasOutline(original, c));
  EXPECT_FALSE(HasOutline(subset, c));
}

TEST(TrueType, CompositeGlyphsKeepTheirComponents) {
  const auto face = FaceFor(u"Arial", 0);
  const std::vector<uint8_t> program = face->FileBytes();
  const Outlines original = OutlinesOf(program);
  // The first composite glyph among some accented letters of the installed font.
  uint16_t composite = 0, component = 0;
  for (char32_t ch : {U'ё', U'é', U'Ё', U'ü', U'Å'}) {
    const uint16_t g = static_cast<uint16_t>(face->GlyphIndex(ch));
    const size_t at = original.glyf_offset + original.loca.at(g);
    if (g && HasOutline(original, g) && static_cast<int16_t>(ReadBE(program, at, 2)) < 0) {
      composite = g;
      component = static_cast<uint16_t>(ReadBE(program, at + 12, 2));
      break;
    }
  }
  ASSERT_NE(composite, 0) << "no composite glyph found";
  const Outlines subset = OutlinesOf(ReadTrueType(program, 0)->Pack({composite}));
  EXPECT_TRUE(HasOutline(subset, composite));
  EXPECT_EQ(HasOutline(subset, component), HasOutline(original, component));
}

TEST(TrueType, MalformedProgramsAreRefused) {
  auto message = [](std::vector<uint8_t> bytes) {
    return zavrik::test::ErrorMessage([&] { ReadTrueType(bytes, 0); });
  };
  EXPECT_EQ(message({1, 2, 3}), u"TrueType font format error");
  EXPECT_EQ(message(std::vector<uint8_t>(64, 0x41)), u"TrueType font format error");
  EXPECT_EQ(message({'t', 't', 'c', 'f', 0, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0}),
            u"Unknown font collection version");
  // A directory that claims a table beyond the end of the bytes.
  EXPECT_EQ(message({0,   1,   0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 'g', 'l',
                     'y', 'f', 0, 0, 0, 0, 0, 0,  1, 0, 0, 0, 1,   0}),
            u"TrueType font format error");
  EXPECT_EQ(ReadTrueType(std::vector<uint8_t>{'O', 'T', 'T', 'O', 0, 0, 0, 0, 0, 0, 0, 0}, 0),
            nullptr);
  // A font without outlines cannot be packed.
  const std::vector<uint8_t> empty{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const auto font = ReadTrueType(empty, 0);
  ASSERT_TRUE(font);
  EXPECT_EQ(zavrik::test::ErrorMessage([&] { font->Pack({1}); }), u"Glyph table not found");
}

}  // namespace
}  // namespace zavrik::pdf
