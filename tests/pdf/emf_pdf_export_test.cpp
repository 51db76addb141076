// The metafile player of the PDF export, record by record: mapping, painting, paths, arcs,
// clipping, saving and restoring, texts, bitmaps, and streams that lie about themselves.
#include <gtest/gtest.h>

#include <climits>
#include <regex>
#include <cstring>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/error.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/emf_builder.h"
#include "pdf/pdf_font.h"
#include "platform/byte_reader.h"
#include "platform/image_decode.h"

namespace zavrik::pdf {
namespace {

using test::Emf;
using test::EmfBitmap;

class CountingImages : public PdfImageSink {
 public:
  int JpegImageIndex(const std::string& jpeg, int, int) override {
    for (size_t i = 0; i < seen.size(); ++i)
      if (seen[i] == jpeg) return static_cast<int>(i);
    seen.push_back(jpeg);
    return static_cast<int>(seen.size()) - 1;
  }
  int MaskedJpegImageIndex(const std::string& jpeg, const std::string& alpha, int, int) override {
    masks.push_back(alpha);
    seen.push_back(jpeg);
    return static_cast<int>(seen.size()) - 1;
  }
  std::vector<std::string> seen, masks;
};

struct Played {
  std::string content;
  int balance = 0;
};

// Plays into a target of 150 × 75 points with its top-left corner at (0, 75).
Played Play(Emf& emf, bool clipped = false, PdfFontList* fonts = nullptr, CountingImages* images = nullptr) {
  Played out;
  PdfFontList own_fonts;
  CountingImages own_images;
  TEMFtoPDFExport player(emf.Bytes(), out.content, {0, 75, 150, 0}, fonts ? *fonts : own_fonts,
                         images ? *images : own_images);
  player.Clipped = clipped;
  player.PlayMetaFile();
  out.balance = player.FqQBalance();
  return out;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The player's output between its own opening "q" and closing "Q".
std::string Body(const std::string& content) {
  EXPECT_EQ(content.substr(0, 3), "q\r\n");
  EXPECT_EQ(content.substr(content.size() - 3), "Q\r\n");
  return content.substr(3, content.size() - 6);
}

constexpr uint32_t kPolygon = 3, kPolyline = 4, kPolyPolygon = 8, kMoveTo = 27, kLineTo = 54,
                   kIntersectClip = 30, kSaveDC = 33, kRestoreDC = 34, kSelectObject = 37,
                   kCreatePen = 38, kCreateBrush = 39, kAngleArc = 41, kRectangle = 43,
                   kSetBkMode = 18, kSetBkColor = 25, kSetTextAlign = 22, kSetWorldTransform = 35,
                   kExtSelectClipRgn = 75, kFillRgn = 71, kCreateMonoBrush = 93, kStretchDIBits = 81,
                   kBitBlt = 76, kStretchBlt = 77, kSetDIBitsToDevice = 80, kAlphaBlend = 114,
                   kTransparentBlt = 116, kArc = 45, kChord = 46, kArcTo = 55, kPolylineTo = 6,
                   kExtCreateFont = 82, kExtTextOutA = 83, kExtTextOutW = 84;

int32_t Float(float f) {
  int32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

TEST(EmfPdfMapping, FrameScaledIntoTheTarget) {
  Emf emf;
  emf.Record(kCreatePen, {1, 0, 2, 0, 0x0000FF}).Record(kSelectObject, {1});
  emf.Record(kPolyline, {0, 0, 0, 0, 2, 0, 0, 200, 100}).Eof();
  const Played p = Play(emf);
  // (0, 0) lands on the target's top-left corner; (200, 100) on its bottom-right one.
  EXPECT_TRUE(Has(p.content, "0 75 m\r\n150 0 l\r\nS\r\n")) << p.content;
  // A pen of width 2 units is 1.5 points wide, red, dashed by nothing, with round caps and joins.
  EXPECT_TRUE(Has(p.content, "[] 0 d\r\n1 0 0 RG\r\n1.5 w\r\n4 M\r\n1 J\r\n1 j\r\n")) << p.content;
  EXPECT_EQ(p.balance, 0);
}

TEST(EmfPdfMapping, PenOfWidthZeroIsOneUnitWide) {
  Emf emf;
  emf.Record(kCreatePen, {1, 1, 0, 0, 0}).Record(kSelectObject, {1});
  emf.Record(kPolyline, {0, 0, 0, 0, 2, 0, 0, 10, 0}).Eof();
  const std::string c = Play(emf).content;
  EXPECT_TRUE(Has(c, "[4.5] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n")) << c;
}

TEST(EmfPdfMapping, WorldTransformAndWindowExtents) {
  Emf emf;
  emf.Record(17, {8}).Record(9, {100, 50}).Record(11, {200, 100});  // logical units are half units
  emf.Record(kSetWorldTransform, {Float(1), 0, 0, Float(1), Float(20), Float(10)});
  emf.Record(kPolyline, {0, 0, 0, 0, 2, 0, 0, 10, 0}).Eof();
  const std::string c = Play(emf).content;
  EXPECT_TRUE(Has(c, "15 67.5 m\r\n30 67.5 l\r\n")) << c;
}

TEST(EmfPdfGeometry, PolygonOfOnePointWritesNothing) {
  Emf emf;
  emf.Record(kPolygon, {0, 0, 0, 0, 1, 5, 5}).Eof();
  EXPECT_EQ(Body(Play(emf).content), "");
}

TEST(EmfPdfGeometry, PolyPolygonOfTwoSquaresShowsEightEdges) {
  Emf emf;
  emf.Record(kPolyPolygon, {0, 0, 0, 0, 2, 8, 4, 4, 0, 0, 10, 0, 10, 10, 0, 10, 20, 20, 30, 20, 30, 30, 20, 30});
  emf.Eof();
  const std::string c = Play(emf).content;
  EXPECT_EQ(Count(c, " m\r\n"), 2);
  EXPECT_EQ(Count(c, " l\r\n"), 6);
  EXPECT_EQ(Count(c, "h\r\n"), 2);
  // Filled with the default white brush, even-odd, and stroked.
  EXPECT_TRUE(Has(c, "1 1 1 rg\r\n")) << c;
  EXPECT_TRUE(Has(c, "B*\r\nQ\r\n")) << c;
}

TEST(EmfPdfGeometry, LinesContinueFromTheCurrentPosition) {
  Emf emf;
  emf.Record(kMoveTo, {0, 0}).Record(kLineTo, {100, 0}).Record(kLineTo, {100, 100}).Eof();
  const std::string c = Body(Play(emf).content);
  // Each line is its own stroked path that starts where the last one ended.
  EXPECT_TRUE(Has(c, "0 75 m\r\n75 75 l\r\nS\r\nQ\r\n")) << c;
  EXPECT_TRUE(Has(c, "75 75 m\r\n75 0 l\r\nS\r\nQ\r\n")) << c;
  // The position left pending at the end is closed without painting.
  EXPECT_TRUE(c.ends_with("75 0 m\r\nn\r\n")) << c;
}

TEST(EmfPdfGeometry, ArcsAreCutIntoCurvesOfAtMostSixtyDegrees) {
  const auto curves = [](float sweep) {
    Emf emf;
    emf.Record(kAngleArc, {100, 50, 20, Float(0), Float(sweep)}).Eof();
    return Count(Play(emf).content, " c\r\n");
  };
  EXPECT_EQ(curves(90), 2);
  EXPECT_EQ(curves(60), 1);
  EXPECT_EQ(curves(0), 0);
  EXPECT_EQ(curves(1e30f), 60);  // a hostile sweep is cut short
}

TEST(EmfPdfGeometry, NullPenAndBrushPaintNothing) {
  Emf emf;
  emf.Record(kSelectObject, {static_cast<int32_t>(0x80000008)}).Record(kSelectObject, {static_cast<int32_t>(0x80000005)});
  emf.Record(kRectangle, {0, 0, 10, 10}).Eof();
  EXPECT_TRUE(Has(Play(emf).content, " re\r\nn\r\nQ\r\n"));
}

TEST(EmfPdfGeometry, ArcChordAndArcTo) {
  Emf emf;
  emf.Record(kArc, {0, 0, 100, 100, 100, 50, 50, 0});    // a quarter: two curves
  emf.Record(kChord, {0, 0, 100, 100, 100, 50, 50, 0});  // the same, closed and filled
  emf.Record(kMoveTo, {0, 0});
  emf.Record(kArcTo, {0, 0, 100, 100, 100, 50, 50, 0});
  emf.Record(kLineTo, {0, 100}).Eof();
  const Played p = Play(emf);
  const std::string curve1 = "75 37.5 m\r\n";
  EXPECT_EQ(Count(p.content, curve1), 2) << p.content;
  EXPECT_EQ(Count(p.content, " c\r\n"), 6) << p.content;
  EXPECT_TRUE(Has(p.content, " c\r\nh\r\nB*\r\n")) << p.content;  // the chord
  // Arc-to: a line from the current position to the arc's start, and the line after it starts
  // at the arc's end.
  EXPECT_TRUE(Has(p.content, "0 75 m\r\n75 37.5 l\r\n")) << p.content;
  EXPECT_TRUE(Has(p.content, "37.5 75 m\r\n0 0 l\r\n")) << p.content;
  EXPECT_EQ(p.balance, 0);
}

TEST(EmfPdfGeometry, PolylineToOfOnePointIsALine) {
  Emf emf;
  emf.Record(kMoveTo, {0, 0}).Record(kPolylineTo, {0, 0, 0, 0, 1, 200, 100}).Eof();
  const std::string c = Play(emf).content;
  EXPECT_TRUE(Has(c, "0 75 m\r\n150 0 l\r\n")) << c;
  EXPECT_TRUE(Has(c, "S\r\n")) << c;
}

TEST(EmfPdfObjects, BadHandlesAndWrongKindsAreIgnored) {
  Emf emf(200, 100, 4);
  emf.Record(kCreatePen, {1, 0, 1, 0, 0x00FF00});
  emf.Record(kCreateBrush, {2, 0, 0x0000FF, 0});
  emf.Record(kCreatePen, {99, 0, 1, 0, 0xFF0000});  // outside the table: not stored
  emf.Record(kSelectObject, {1}).Record(kSelectObject, {2});
  emf.Record(kSelectObject, {99}).Record(kSelectObject, {3}).Record(kSelectObject, {static_cast<int32_t>(0x80000009)});
  emf.Record(kSelectObject, {static_cast<int32_t>(0x8FFFFFFF)});
  emf.Record(40, {1000}).Record(40, {-1});  // deleting nothing
  emf.Record(kRectangle, {0, 0, 10, 10}).Eof();
  const std::string c = Play(emf).content;
  EXPECT_TRUE(Has(c, "1 0 0 rg\r\n[] 0 d\r\n0 1 0 RG\r\n")) << c;
}

TEST(EmfPdfState, SaveAndRestoreStayBalanced) {
  Emf one;
  one.Record(kSaveDC, {}).Record(kRestoreDC, {-1}).Eof();
  EXPECT_EQ(Body(Play(one).content), "q\r\nQ\r\n");
  Emf two;
  two.Record(kSaveDC, {}).Record(kSaveDC, {}).Record(kRestoreDC, {-2}).Eof();
  EXPECT_EQ(Body(Play(two).content), "q\r\nq\r\nQ\r\nQ\r\n");
  // More restores than saves never write more "Q" than "q".
  Emf hostile;
  hostile.Record(kRestoreDC, {-3}).Record(kSaveDC, {}).Record(kRestoreDC, {INT32_MIN}).Record(kRestoreDC, {-1});
  hostile.Eof();
  EXPECT_EQ(Body(Play(hostile).content), "q\r\nQ\r\n");
  // Saves without restores are closed at the end of the file, and at the end of a stream
  // that has no end-of-file record.
  Emf open;
  open.Record(kSaveDC, {}).Record(kSaveDC, {});
  const Played p = Play(open);
  EXPECT_EQ(Body(p.content), "q\r\nq\r\nQ\r\nQ\r\n");
}

// A metafile may save its context many times under a large clip region: the saved contexts share
// the region (copies of it grew memory by the region's size for every save).
TEST(EmfPdfState, SavedContextsShareTheClipRegion) {
  Emf emf;
  std::vector<int32_t> region{0, 5, 32, 1, 200, 16 * 200, 0, 0, 2000, 10};
  for (int i = 0; i < 200; ++i) region.insert(region.end(), {i * 10, 0, i * 10 + 5, 10});
  region[0] = static_cast<int32_t>(4 * (region.size() - 2));
  emf.Record(kExtSelectClipRgn, region);
  for (int i = 0; i < 1000; ++i) emf.Record(kSaveDC, {});
  PdfFontList fonts;
  CountingImages images;
  std::string content;
  TEMFtoPDFExport player(emf.Bytes(), content, {0, 75, 150, 0}, fonts, images);
  player.PlayMetaFile();
  ASSERT_EQ(player.SavedContexts(), 1000u);
  ASSERT_TRUE(player.DC().ClipRgn);
  EXPECT_EQ(player.DC().ClipRgn->size(), 200u);
  EXPECT_EQ(player.DC().ClipRgn.use_count(), 1001);
}

TEST(EmfPdfClip, EmptyIntersectionWritesNothing) {
  Emf emf;
  emf.Record(kIntersectClip, {10, 10, 10, 50}).Record(kIntersectClip, {0, 0, 100, 100}).Eof();
  EXPECT_EQ(Body(Play(emf).content), "0 0 75 75 re\r\nW*\r\nn\r\n");
}

TEST(EmfPdfClip, TargetClipAndRegions) {
  Emf emf;
  // A region of two rectangles, then a second region intersected with it, then no region.
  emf.Record(kExtSelectClipRgn, {64, 5, 32, 1, 2, 32, 0, 0, 100, 100, 0, 0, 20, 20, 40, 40, 100, 100});
  emf.Record(kExtSelectClipRgn, {48, 1, 32, 1, 1, 16, 0, 0, 100, 100, 0, 0, 60, 60});
  emf.Record(kExtSelectClipRgn, {0, 5}).Eof();
  const std::string c = Play(emf, true).content;
  EXPECT_TRUE(c.starts_with("q\r\n0 0 150 75 re\r\nW*\r\nn\r\nq\r\n")) << c;
  EXPECT_TRUE(Has(c, "q\r\n0 60 15 15 re\r\n30 0 45 45 re\r\nW*\r\nn\r\nQ\r\n")) << c;
  EXPECT_TRUE(Has(c, "q\r\n0 60 15 15 re\r\n30 30 15 15 re\r\nW*\r\nn\r\nQ\r\nq\r\nQ\r\nQ\r\n")) << c;
}

TEST(EmfPdfFill, RegionFilledWithTheAverageColourOfAPatternBrush) {
  Emf emf;
  emf.Record(kSetBkColor, {0xFFFFFF});
  // A monochrome brush whose bits are half set: grey halfway between white and black text.
  emf.Record(kCreateMonoBrush, {1, 0, 32, 40, 72, 8, 40, 8, 8, 1, 1, 0, 0, 0, 0, 0, 0x00FF, 0xFF00});
  emf.Record(kFillRgn, {0, 0, 10, 10, 48, 1, 32, 1, 1, 16, 0, 0, 10, 10, 0, 0, 10, 10}).Eof();
  const std::string c = Body(Play(emf).content);
  EXPECT_EQ(c, "q\r\n0.502 0.502 0.502 rg\r\n0 67.5 7.5 7.5 re\r\nf*\r\nQ\r\n");
}

TEST(EmfPdfInput, RecordsThatLieAboutTheirSizesEndThePlay) {
  for (uint32_t size : {0u, 4u, 7u, 1000000u, 0xFFFFFFF8u}) {
    Emf emf;
    emf.Record(kSaveDC, {}).Raw(kRectangle, size, {0, 0, 10, 10}).Record(kRectangle, {0, 0, 5, 5}).Eof();
    const std::string c = Play(emf).content;
    EXPECT_EQ(Body(c), "q\r\nQ\r\n") << size;  // the save is closed; nothing after the lie is drawn
  }
  // A record shorter than its fields ends the play as well.
  Emf shortened;
  shortened.Record(kSaveDC, {}).Record(kRectangle, {0, 0}).Record(kRectangle, {0, 0, 5, 5}).Eof();
  EXPECT_EQ(Body(Play(shortened).content), "q\r\nQ\r\n");
}

std::vector<std::string> NotDrawnOf(Emf& emf) {
  std::string content;
  PdfFontList fonts;
  CountingImages images;
  TEMFtoPDFExport player(emf.Bytes(), content, {0, 75, 150, 0}, fonts, images);
  player.PlayMetaFile();
  return player.NotDrawnRecords();
}

TEST(EmfPdfInput, DamagedRecordsAreNamed) {
  Emf lying, shortened, whole;
  lying.Raw(kRectangle, 4, {0, 0, 10, 10});
  shortened.Record(kRectangle, {0, 0}).Eof();
  whole.Record(kRectangle, {0, 0, 5, 5});  // ends without an end-of-file record: nothing lost
  EXPECT_EQ(NotDrawnOf(lying), std::vector<std::string>{"damaged record 43"});
  EXPECT_EQ(NotDrawnOf(shortened), std::vector<std::string>{"damaged record 43"});
  EXPECT_TRUE(NotDrawnOf(whole).empty());
}

TEST(EmfPdfInput, EnormousCountsAllocateNothing) {
  Emf emf;
  emf.Record(kPolygon, {0, 0, 0, 0, 0x7FFFFFFF, 1, 2, 3, 4});
  emf.Record(kPolyPolygon, {0, 0, 0, 0, 0x40000000, 0x40000000, 1, 2});
  emf.Record(kExtSelectClipRgn, {48, 1, 32, 1, 0x7FFFFFFF, 16, 0, 0, 1, 1, 0, 0, 1, 1});
  emf.Record(kExtTextOutW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0});
  emf.Eof();
  const Played p = Play(emf);
  EXPECT_EQ(p.balance, 0);
  EXPECT_EQ(Count(p.content, "q\r\n"), Count(p.content, "Q\r\n"));
}

TEST(EmfPdfInput, PaletteWithoutEndOfFileFails) {
  Emf emf(200, 100, 8, 16);
  emf.Record(kRectangle, {0, 0, 10, 10});
  EXPECT_THROW(Play(emf), Error);
  Emf ended(200, 100, 8, 16);
  ended.Record(kRectangle, {0, 0, 10, 10}).Eof();
  EXPECT_NO_THROW(Play(ended));
}

TEST(EmfPdfInput, DegenerateFramesAndTransforms) {
  Emf flat(0, 0);
  flat.Record(kRectangle, {0, 0, 10, 10}).Record(kSetWorldTransform, {0, 0, 0, 0, 0, 0});
  flat.Record(kSetWorldTransform, {Float(1e38f), 0, 0, Float(1e38f), 0, 0}).Record(kRectangle, {0, 0, 10, 10});
  flat.Eof();
  const std::string c = Play(flat).content;
  EXPECT_EQ(Count(c, "q\r\n"), Count(c, "Q\r\n"));
  EXPECT_FALSE(Has(c, "nan"));
  EXPECT_FALSE(Has(c, "inf"));
}

// A text record of the recorder's form: baseline alignment, one advance per character; the
// 8-bit record (83) holds the text in Windows-1251.
void AddText(Emf& emf, std::u16string text, int x, int y, uint32_t options, std::vector<int32_t> rcl,
             uint32_t type = kExtTextOutW) {
  ByteWriter& w = emf.Writer();
  const uint32_t chars = static_cast<uint32_t>(text.size());
  const uint32_t unit = type == kExtTextOutW ? 2 : 1;
  const uint32_t dx_offset = 76 + ((chars * unit + 3) & ~3u);
  w.U32(type);
  w.U32(dx_offset + 4 * chars);
  for (int v : {0, 0, 100, 20}) w.I32(v);
  w.U32(1);
  w.U32(0);
  w.U32(0);
  w.I32(x);
  w.I32(y);
  w.U32(chars);
  w.U32(76);
  w.U32(options);
  for (int32_t v : rcl) w.I32(v);
  w.U32(dx_offset);
  if (unit == 2) {
    for (char16_t c : text) w.U16(c);
  } else {
    for (char c : EncodeCodePage(String(text), 1251)) w.U8(static_cast<uint8_t>(c));
  }
  w.PadTo4();
  for (size_t i = 0; i < text.size(); ++i) w.I32(10);
}

void AddFont(Emf& emf, uint32_t handle, int height, int escapement, int weight, bool italic, bool underline) {
  ByteWriter& w = emf.Writer();
  w.U32(kExtCreateFont);
  w.U32(12 + 92);
  w.U32(handle);
  w.I32(-height);
  w.I32(0);
  w.I32(escapement);
  w.I32(escapement);
  w.I32(weight);
  w.U8(italic);
  w.U8(underline);
  w.U8(0);
  w.U8(1);
  w.U32(0);
  const std::u16string name = u"Arial";
  for (size_t i = 0; i < 32; ++i) w.U16(i < name.size() ? name[i] : 0);
  emf.Record(kSelectObject, {static_cast<int32_t>(handle)});
}

TEST(EmfPdfText, RealTextAtTheReferencePoint) {
  Emf emf;
  AddFont(emf, 1, 20, 0, 700, false, true);
  emf.Record(kSetTextAlign, {24}).Record(24, {0x0000FF});
  AddText(emf, u"Hi", 40, 60, 0, {0, 0, 0, 0});
  emf.Eof();
  PdfFontList fonts;
  const std::string c = Play(emf, false, &fonts).content;
  // A 20-unit font is 15 points; the baseline lies on the reference point; red text.
  EXPECT_TRUE(Has(c, "BT\r\n/F0 15.00 Tf\r\n[] 0 d\r\n1 0 0 rg\r\n30 30 Td\r\n")) << c;
  // Each glyph placed by its advance: 10 units are 7.5 points, 500 thousandths of the size.
  EXPECT_TRUE(std::regex_search(c, std::regex("\\[<[0-9A-F]{4}>\\d+<[0-9A-F]{4}>\\] TJ\r\nET\r\n"))) << c;
  // Underlined over the advances' length (20 units, 15 points).
  EXPECT_TRUE(Has(c, "30 28.125 m\r\n45 28.125 l\r\nS\r\n")) << c;
  ASSERT_EQ(fonts.Count(), 1);
  EXPECT_EQ(FontAt(fonts, 0).Style() & kFontBold, kFontBold);
}

TEST(EmfPdfText, EightBitTextIsRealTextToo) {
  Emf emf;
  AddFont(emf, 1, 20, 0, 400, false, false);
  emf.Record(kSetTextAlign, {24});
  AddText(emf, u"Да", 40, 60, 0, {0, 0, 0, 0}, kExtTextOutA);
  emf.Eof();
  PdfFontList fonts;
  const std::string c = Play(emf, false, &fonts).content;
  EXPECT_TRUE(Has(c, "BT\r\n/F0 15.00 Tf\r\n")) << c;
  ASSERT_EQ(fonts.Count(), 1);
  String text;
  for (const PdfUsedGlyph& g : FontAt(fonts, 0).UsedGlyphs()) text += g.unicode;
  EXPECT_NE(text.find(u'Д'), String::npos);
  EXPECT_NE(text.find(u'а'), String::npos);
}

TEST(EmfPdfText, TopAlignmentAndRotation) {
  Emf emf;
  AddFont(emf, 1, 20, 900, 400, true, false);
  AddText(emf, u"Up", 40, 60, 0, {0, 0, 0, 0});
  emf.Eof();
  const std::string c = Play(emf).content;
  // Top alignment: the baseline 0.92 × 20 units to the right of the reference, rotated 90°.
  EXPECT_TRUE(Has(c, "0.0000 1.0000 -1.0000 0.0000 0 0 cm\r\n")) << c;
  EXPECT_TRUE(Has(c, "30 -43.8 Td\r\n")) << c;
}

TEST(EmfPdfText, OpaqueTextFillsItsRectangleThenItsBounds) {
  Emf emf;
  emf.Record(kSetBkMode, {2}).Record(kSetBkColor, {0x00FFFF}).Record(kCreateBrush, {1, 0, 0xFF0000, 0});
  emf.Record(kSelectObject, {1});
  AddText(emf, u"x", 0, 0, 2, {0, 0, 20, 20});
  emf.Eof();
  const std::string c = Play(emf).content;
  const size_t background = c.find("1 1 0 rg\r\n0 60 15 15 re\r\nf*\r\n");
  const size_t bounds = c.find("0 0 1 rg\r\n");
  EXPECT_NE(background, std::string::npos) << c;
  EXPECT_NE(bounds, std::string::npos) << c;
  EXPECT_LT(background, bounds);
}

// --- bitmaps

// Plays bitmap records, optionally keeping the alpha of alpha-blended bitmaps.
std::string PlayBitmaps(Emf& emf, CountingImages& images, bool transparency = false) {
  std::string content;
  PdfFontList fonts;
  TEMFtoPDFExport player(emf.Bytes(), content, {0, 75, 150, 0}, fonts, images);
  player.Clipped = false;
  player.Transparency = transparency;
  player.PlayMetaFile();
  EXPECT_EQ(player.FqQBalance(), 0);
  EXPECT_EQ(content.substr(content.size() - 3), "Q\r\n");
  return content;
}

// The decoded image of a written JPEG: its size and whether each pixel is near the colour.
struct Decoded {
  int width = 0, height = 0;
  bool AllNear(uint32_t rgb) const {
    for (uint32_t p : image.pixels)
      for (int shift : {16, 8, 0})
        if (std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) > 40)
          return false;
    return !image.pixels.empty();
  }
  Image image;
};

Decoded Decode(const std::string& jpeg) {
  Decoded d;
  d.image = DecodeJpeg(std::span(reinterpret_cast<const uint8_t*>(jpeg.data()), jpeg.size()));
  d.width = d.image.width;
  d.height = d.image.height;
  return d;
}

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kWhite = 0xFFFFFFFF;

TEST(EmfPdfBitmap, BitmapsAreImagesWrittenOnce) {
  Emf emf;
  EmfBitmap dib;
  dib.type = kStretchDIBits;
  emf.Bitmap(dib);
  emf.Bitmap({});  // the same bitmap by a stretch-block transfer
  EmfBitmap nothing;
  nothing.type = kBitBlt;
  nothing.rop = 0x00AA0029;
  emf.Bitmap(nothing);
  nothing.rop = 0x12345678;
  emf.Bitmap(nothing);
  emf.Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  EXPECT_EQ(images.seen.size(), 1u);
  EXPECT_EQ(Count(c, "q\r\n15 0 0 7.5 0 67.5 cm\r\n/Im0 Do\r\nQ\r\n"), 2) << c;
  EXPECT_TRUE(Has(c, "%-- Unsupported dwRop: 305419896\r\n")) << c;
}

// A 2 × 2 bitmap: red over blue.
EmfBitmap RedOverBlue(uint32_t type) {
  EmfBitmap b;
  b.type = type;
  b.width = b.height = 2;
  b.pixels = {kRed, kRed, kBlue, kBlue};
  b.source = {0, 0, 2, 1};
  return b;
}

TEST(EmfPdfBitmap, SourceRectangleIsCut) {
  // The block transfers count the source from the top, the DIB records of a bottom-up bitmap
  // from the bottom; a top-down DIB from the top again.
  Emf emf;
  emf.Bitmap(RedOverBlue(kStretchBlt));
  emf.Bitmap(RedOverBlue(kStretchDIBits));
  EmfBitmap top_down = RedOverBlue(kStretchDIBits);
  top_down.height = -2;
  top_down.pixels = {kGreen, kGreen, kWhite, kWhite};
  emf.Bitmap(top_down);
  EmfBitmap right = RedOverBlue(kBitBlt);  // the source is as large as the destination
  right.width = 4;
  right.pixels = {kRed, kRed, kGreen, kGreen, kBlue, kBlue, kGreen, kGreen};
  right.source = {2, 0, 0, 0};
  right.dest = {0, 0, 2, 2};
  emf.Bitmap(right);
  emf.Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  ASSERT_EQ(images.seen.size(), 4u) << c;
  const Decoded top = Decode(images.seen[0]), bottom = Decode(images.seen[1]);
  const Decoded green = Decode(images.seen[2]), column = Decode(images.seen[3]);
  EXPECT_EQ(top.width * 10 + top.height, 21);
  EXPECT_TRUE(top.AllNear(0xFF0000));
  EXPECT_TRUE(bottom.AllNear(0x0000FF));
  EXPECT_TRUE(green.AllNear(0x00FF00));
  EXPECT_EQ(column.width * 10 + column.height, 22);
  EXPECT_TRUE(column.AllNear(0x00FF00));
  // The cut part fills the whole destination.
  EXPECT_EQ(Count(c, "15 0 0 7.5 0 67.5 cm\r\n"), 3) << c;
  EXPECT_TRUE(Has(c, "1.5 0 0 1.5 0 73.5 cm\r\n")) << c;
}

TEST(EmfPdfBitmap, SourcePartlyOutsideDrawsOnlyWhatIsThere) {
  Emf emf;
  EmfBitmap b;
  b.source = {-2, 0, 4, 1};  // its left half lies before the bitmap
  emf.Bitmap(b).Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  ASSERT_EQ(images.seen.size(), 1u);
  EXPECT_EQ(Decode(images.seen[0]).width, 2);
  EXPECT_TRUE(Has(c, "q\r\n7.5 0 0 7.5 7.5 67.5 cm\r\n/Im0 Do\r\nQ\r\n")) << c;
}

TEST(EmfPdfBitmap, FlippedDestinationsMirrorTheImage) {
  Emf emf;
  EmfBitmap b;
  b.dest = {20, 0, -20, 10};
  emf.Bitmap(b);
  b.dest = {0, 10, 20, -10};
  emf.Bitmap(b);
  b.dest = {0, 0, 20, 10};
  b.source = {2, 0, -2, 1};  // a mirrored source mirrors as well
  emf.Bitmap(b).Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  EXPECT_EQ(images.seen.size(), 1u);
  EXPECT_EQ(Count(c, "-15 0 0 7.5 15 67.5 cm\r\n"), 2) << c;
  EXPECT_TRUE(Has(c, "15 0 0 -7.5 0 75 cm\r\n")) << c;
}

TEST(EmfPdfBitmap, HostileSourceRectanglesDrawNothingAndThePageCompletes) {
  Emf emf;
  for (const std::array<int32_t, 4>& source : std::vector<std::array<int32_t, 4>>{
           {5, 0, 2, 1}, {0, 7, 2, 1}, {0, 0, 0, 1}, {0, 0, 2, 0}, {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
           {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {-10, -10, -5, -5}}) {
    EmfBitmap b;
    b.source = source;
    emf.Bitmap(b);
  }
  EmfBitmap whole;  // a huge source: the whole bitmap lands on its share of the destination
  whole.source = {0, 0, INT_MAX, INT_MAX};
  whole.dest = {0, 0, INT_MAX, INT_MAX};
  emf.Bitmap(whole);
  EmfBitmap wide;  // a bitmap header far larger than its bits
  wide.header_width = 1 << 30;
  emf.Bitmap(wide);
  emf.Record(kRectangle, {0, 0, 10, 10}).Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  EXPECT_EQ(Count(c, "%-- Bitmap not drawn: source rectangle outside the bitmap\r\n"), 7) << c;
  EXPECT_TRUE(Has(c, "%-- Bitmap not drawn: 1073741824 x 1\r\n")) << c;
  EXPECT_LE(images.seen.size(), 1u);
  EXPECT_TRUE(Has(c, "0 67.5 7.5 7.5 re\r\n")) << c;  // the record after them is drawn
}

TEST(EmfPdfBitmap, SetDIBitsToDeviceWithSomeRows) {
  Emf emf;
  EmfBitmap b = RedOverBlue(kSetDIBitsToDevice);
  b.source = {0, 1, 2, 1};  // the upper row of the bottom-up bitmap
  b.start_scan = 1;
  b.scans = 1;  // only that row is stored
  emf.Bitmap(b).Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  ASSERT_EQ(images.seen.size(), 1u) << c;
  EXPECT_TRUE(Decode(images.seen[0]).AllNear(0xFF0000));
  EXPECT_TRUE(Has(c, "q\r\n1.5 0 0 0.75 0 74.25 cm\r\n/Im0 Do\r\nQ\r\n")) << c;
}

// An alpha-blended 2 × 1 bitmap at half opacity: premultiplied red.
EmfBitmap HalfTransparent() {
  EmfBitmap b;
  b.type = kAlphaBlend;
  b.rop = 0x01FF0000;
  b.bits = 32;
  b.pixels = {0x80800000, 0x80800000};
  return b;
}

TEST(EmfPdfBitmap, AlphaBecomesASoftMaskWhenTransparencyIsKept) {
  Emf emf;
  emf.Bitmap(HalfTransparent()).Eof();
  CountingImages kept, dropped;
  const std::string c = PlayBitmaps(emf, kept, true);
  ASSERT_EQ(kept.masks.size(), 1u);
  EXPECT_EQ(kept.masks[0], std::string(2, '\x80'));
  // The colours are written straight: full red under the mask.
  EXPECT_TRUE(Decode(kept.seen[0]).AllNear(0xFF0000));
  EXPECT_TRUE(Has(c, "15 0 0 7.5 0 67.5 cm\r\n/Im0 Do\r\n")) << c;
  PlayBitmaps(emf, dropped, false);
  EXPECT_TRUE(dropped.masks.empty());
  EXPECT_EQ(dropped.seen.size(), 1u);
}

TEST(EmfPdfBitmap, OpaqueAlphaNeedsNoMask) {
  Emf emf;
  EmfBitmap b = HalfTransparent();
  b.pixels = {kRed, kBlue};
  emf.Bitmap(b).Eof();
  CountingImages images;
  PlayBitmaps(emf, images, true);
  EXPECT_TRUE(images.masks.empty());
  EXPECT_EQ(images.seen.size(), 1u);
}

TEST(EmfPdfBitmap, ParallelogramTransferShearsTheImage) {
  Emf emf;
  ByteWriter& w = emf.Writer();
  w.U32(79);
  w.U32(140 + 40 + 8);
  for (int v : {0, 0, 10, 10, 0, 0, 20, 0, 10, 10, 0, 0, 2, 1}) w.I32(v);  // corners, source
  for (float v : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}) w.F32(v);
  for (uint32_t v : {0u, 0u, 140u, 40u, 180u, 8u, 0u, 0u, 0u, 0u, 0u, 0u, 0u}) w.U32(v);
  for (int v : {40, 2, 1}) w.I32(v);
  w.U16(1);
  w.U16(24);
  for (int i = 0; i < 6; ++i) w.U32(0);
  for (uint8_t b : {0, 0, 255, 255, 0, 0, 0, 0}) w.U8(b);
  emf.Eof();
  CountingImages images;
  const std::string c = PlayBitmaps(emf, images);
  EXPECT_EQ(images.seen.size(), 1u);
  EXPECT_TRUE(Has(c, "q\r\n15 0 -7.5 7.5 7.5 67.5 cm\r\n/Im0 Do\r\nQ\r\n")) << c;
  EXPECT_TRUE(NotDrawnOf(emf).empty());
}

TEST(EmfPdfBitmap, TransparentColourBecomesASoftMask) {
  Emf emf;
  EmfBitmap b;
  b.type = kTransparentBlt;
  b.rop = 0xFFFFFF;  // the transparent colour: white
  b.pixels = {kRed, kWhite};
  emf.Bitmap(b).Eof();
  CountingImages kept, opaque;
  const std::string c = PlayBitmaps(emf, kept, true);
  ASSERT_EQ(kept.masks.size(), 1u) << c;
  EXPECT_EQ(kept.masks[0], std::string("\xFF\x00", 2));
  EXPECT_FALSE(Has(c, "Unsupported")) << c;
  // Without transparency the bitmap is drawn opaque.
  PlayBitmaps(emf, opaque, false);
  EXPECT_TRUE(opaque.masks.empty());
  EXPECT_EQ(opaque.seen.size(), 1u);
}

TEST(EmfPdfBitmap, UnsupportedRecordsAndOperationsAreNamed) {
  Emf emf;
  EmfBitmap b;
  b.rop = 0x12345678;
  emf.Bitmap(b);
  emf.Record(118, {0, 0, 10, 10, 0, 0, 0});  // gradient fill
  emf.Record(118, {0, 0, 10, 10, 0, 0, 0});
  emf.Eof();
  EXPECT_EQ(NotDrawnOf(emf), (std::vector<std::string>{"dwRop 305419896", "EMR_GRADIENTFILL"}));
}

}  // namespace
}  // namespace zavrik::pdf
