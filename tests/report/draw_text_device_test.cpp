// Device drawing of the layout, observed through the EMF recorder's text records and the raster.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/numeric.h"
#include "platform/byte_reader.h"
#include "platform/emf_format.h"
#include "platform/emf_recorder.h"
#include "platform/raster_canvas.h"
#include "report/text/draw_text.h"
#include "report/layout_helpers.h"

namespace zavrik {
namespace {

struct TextRecord {
  Point reference;
  String text;
  std::vector<int> dx;
};

std::vector<TextRecord> TextRecords(const std::vector<uint8_t>& emf) {
  std::vector<TextRecord> texts;
  for (const EmfRecord& record : ReadEmfRecords(emf)) {
    if (record.type != EMR_EXTTEXTOUTW) continue;
    ByteReader in(record.bytes);
    in.Skip(8 + 16 + 12);
    TextRecord t;
    t.reference.x = in.I32();
    t.reference.y = in.I32();
    const uint32_t chars = in.U32(), string_offset = in.U32();
    in.Skip(4 + 16);
    const uint32_t dx_offset = in.U32();
    ByteReader s = in.Slice(string_offset, chars * 2), d = in.Slice(dx_offset, chars * 4);
    for (uint32_t i = 0; i < chars; ++i) t.text.push_back(s.U16()), t.dx.push_back(d.I32());
    texts.push_back(t);
  }
  return texts;
}

int Sum(const std::vector<int>& values) {
  int sum = 0;
  for (int v : values) sum += v;
  return sum;
}

std::vector<TextRecord> Draw(TqbxDrawText& layout, const test::LayoutSetup& setup, StringView text, TqbxHAlign h,
                             TqbxVAlign v = vaTop) {
  test::Prepare(layout, setup, text);
  EmfRecorder recorder(setup.width, setup.height);
  layout.DrawText(recorder, h, v, ulmNone);
  return TextRecords(recorder.Finish());
}

TEST(DrawTextDevice, WysiwygLinesTakeTheirReferenceWidth) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.width = 300;
  setup.height = 100;
  const auto texts = Draw(layout, setup, u"Reference width of a line", haLeft);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(Sum(texts[0].dx), static_cast<int>(RoundHalfEven(test::ReferenceWidth(u"Reference width of a line") / 6.25)));
  const int ascent = FaceFor(u"Arial", 0)->Metrics(13).ascent;
  EXPECT_EQ(texts[0].reference, (Point{0, ascent}));

  const auto right = Draw(layout, setup, u"Right", haRight);
  EXPECT_EQ(right[0].reference.x + Sum(right[0].dx), 300);
  setup.font.style = kFontBold;  // bold and italic lines end one pixel further in
  const auto bold = Draw(layout, setup, u"Right", haRight);
  EXPECT_EQ(bold[0].reference.x + Sum(bold[0].dx), 299);
  setup.font.style = 0;
  const auto centred = Draw(layout, setup, u"Centre", haCenter);
  const int width = Sum(centred[0].dx);
  EXPECT_EQ(centred[0].reference.x, static_cast<int>(RoundHalfEven((300 - width) / 2.0)));
}

TEST(DrawTextDevice, BlockAlignmentSpreadsOverSpaces) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.width = 80;
  setup.height = 200;
  const auto texts = Draw(layout, setup, u"one two three four five six seven eight", haBlock);
  ASSERT_GT(texts.size(), 2u);
  for (size_t i = 0; i + 1 < texts.size(); ++i) EXPECT_EQ(Sum(texts[i].dx), 80) << i;
  EXPECT_LT(Sum(texts.back().dx), 80);  // the last line of a paragraph stays left-aligned
}

TEST(DrawTextDevice, LinesAdvanceByTheLineHeight) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.height = 200;
  const auto texts = Draw(layout, setup, u"a\nb\nc\nd", haLeft);
  ASSERT_EQ(texts.size(), 4u);
  // 4 lines of 15.28 take round(61.12) = 61 pixels: advances of 15 plus one spread step.
  EXPECT_EQ(texts[3].reference.y - texts[0].reference.y, 61 - 15);
  const auto bottom = Draw(layout, setup, u"a", haLeft, vaBottom);
  EXPECT_EQ(bottom[0].reference.y, texts[0].reference.y + 200 - 15);
}

TEST(DrawTextDevice, RotatedBlockStartsAtTheBottomLeft) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.width = 40;
  setup.height = 150;
  setup.rotation = 90;
  const auto texts = Draw(layout, setup, u"upwards", haLeft);
  ASSERT_EQ(texts.size(), 1u);
  const int ascent = FaceFor(u"Arial", 0)->Metrics(13).ascent;
  EXPECT_EQ(texts[0].reference, (Point{ascent, 150}));
}

TEST(DrawTextDevice, QuarterTurnsStartAtTheirCorners) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.width = 40;
  setup.height = 150;
  const int ascent = FaceFor(u"Arial", 0)->Metrics(13).ascent;
  setup.rotation = 180;
  EXPECT_EQ(Draw(layout, setup, u"x", haLeft)[0].reference, (Point{40, 150 - ascent}));
  setup.rotation = 270;
  EXPECT_EQ(Draw(layout, setup, u"x", haLeft)[0].reference, (Point{40 - ascent, 0}));
  // Bottom alignment moves a 90-degree block along its vertical, to the right edge.
  setup.rotation = 90;
  EXPECT_EQ(Draw(layout, setup, u"x", haLeft, vaBottom)[0].reference, (Point{40 - 15 + ascent, 150}));
}

int CountRules(TqbxDrawText& layout, const test::LayoutSetup& setup, StringView text, TqbxVAlign v,
               TqbxUnderlinesTextMode mode) {
  test::Prepare(layout, setup, text);
  EmfRecorder recorder(setup.width, setup.height);
  layout.DrawText(recorder, haLeft, v, mode);
  int rules = 0;
  for (const EmfRecord& record : ReadEmfRecords(recorder.Finish())) rules += record.type == EMR_LINETO;
  return rules;
}

TEST(DrawTextDevice, UnderlineModes) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.height = 100;  // room for six lines of 15 pixels
  EXPECT_EQ(CountRules(layout, setup, u"a\n\nb", vaTop, ulmNone), 0);
  EXPECT_EQ(CountRules(layout, setup, u"a\n\nb", vaTop, ulmUnderlinesText), 2);
  EXPECT_EQ(CountRules(layout, setup, u"a\n\nb", vaTop, ulmUnderlinesTextAndEmptyLines), 3);
  EXPECT_EQ(CountRules(layout, setup, u"a\n\nb", vaTop, ulmUnderlinesAll), 6);
  // At the bottom the block's rules fall at 67, 83 and 98; the pitch of 15 fits four more above.
  EXPECT_EQ(CountRules(layout, setup, u"a\n\nb", vaBottom, ulmUnderlinesAll), 7);
  EXPECT_EQ(CountRules(layout, setup, u"", vaTop, ulmUnderlinesAll), 6);
}

TEST(DrawTextDevice, RasterTextLandsInsideItsRectangle) {
  TqbxDrawText layout;
  test::LayoutSetup setup;
  setup.width = 120;
  setup.height = 40;
  setup.font.color = clRed;
  test::Prepare(layout, setup, u"Right");
  RasterCanvas canvas(120, 40);
  layout.DrawText(canvas, haRight, vaTop, ulmNone);
  int leftmost = 120, rightmost = -1;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (canvas.Pixel(x, y) != clWhite) leftmost = std::min(leftmost, x), rightmost = std::max(rightmost, x);
    }
  }
  EXPECT_GT(leftmost, 80);
  EXPECT_GE(rightmost, 112);
  EXPECT_LT(rightmost, 120);
}

// At an angle other than a quarter turn the text's block is centred in the rectangle: a short
// word at 45 degrees in a wide, low rectangle stays inside it (and is not clipped away).
TEST(DrawTextDevice, TextAtAnAngleStaysInsideItsRectangle) {
  for (const int rotation : {30, 45, 315}) {
    TqbxDrawText layout;
    test::LayoutSetup setup;
    setup.width = 200;
    setup.height = 40;
    setup.rotation = rotation;
    setup.font.color = clRed;
    test::Prepare(layout, setup, u"Diag");
    RasterCanvas canvas(200, 40);
    layout.DrawText(canvas, haLeft, vaTop, ulmNone);
    int inked = 0, left = 200, right = -1;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (canvas.Pixel(x, y) == clWhite) continue;
        ++inked;
        left = std::min(left, x), right = std::max(right, x);
      }
    }
    EXPECT_GT(inked, 20) << rotation;
    EXPECT_GT(left, 60) << rotation;  // around the middle, not at an edge
    EXPECT_LT(right, 140) << rotation;
  }
}

}  // namespace
}  // namespace zavrik
