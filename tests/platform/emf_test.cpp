// The EMF recorder's output parsed back record by record, and played onto the raster canvas.
#include <gmock/gmock.h>
#include <algorithm>
#include <gtest/gtest.h>

#include "core/error.h"
#include "platform/byte_reader.h"
#include "platform/emf_format.h"
#include "platform/emf_player.h"
#include "platform/emf_recorder.h"
#include "platform/raster_canvas.h"

namespace zavrik {
namespace {

using ::testing::ElementsAre;

// The drawing of the tests, on any canvas.
void DrawScene(Canvas& canvas) {
  canvas.FillRect({0, 0, 50, 20}, RgbColor(255, 255, 0));
  canvas.SetPen({.color = clBlack, .width = 1});
  canvas.SetBrush({.color = RgbColor(0, 0, 255), .style = BrushStyle::kBDiagonal});
  canvas.Rectangle({10, 30, 40, 60});
  canvas.Save();
  canvas.IntersectClip({60, 0, 100, 40});
  canvas.SetFont({.font = {.name = u"Arial", .size = 10, .color = clRed}, .pixel_height = 13});
  const int dx[] = {8, 8, 8};
  canvas.TextOut(62, 4, u"Abc", dx, nullptr);
  canvas.Restore();
  canvas.SetPen({.color = RgbColor(0, 128, 0), .width = 3, .cap = LineCap::kFlat});
  canvas.Line({0, 70}, {100, 70});
  Image image{2, 1, {0xFF000000, 0xFFFFFFFF}};
  canvas.StretchDraw({60, 50, 80, 60}, image, std::nullopt, false);
}

std::vector<uint32_t> Types(const std::vector<uint8_t>& emf) {
  std::vector<uint32_t> types;
  for (const EmfRecord& r : ReadEmfRecords(emf)) types.push_back(r.type);
  return types;
}

TEST(EmfRecorder, HeaderIsConsistent) {
  EmfRecorder recorder(100, 80);
  DrawScene(recorder);
  const std::vector<uint8_t> emf = recorder.Finish();
  const EmfHeader header = ReadEmfHeader(emf);
  EXPECT_EQ(header.bytes, emf.size());
  EXPECT_EQ(header.records, ReadEmfRecords(emf).size());
  EXPECT_EQ(header.frame, (Rect{0, 0, 2500, 2000}));  // hundredths of a millimetre at 4 pixels/mm
  EXPECT_EQ(EmfFrameInPixels(emf), (Rect{0, 0, 100, 80}));
  EXPECT_EQ(header.device_width * 100.0 / header.millimetres_width / 100, 4.0);
  EXPECT_EQ(header.bounds.left, -1);  // the 3-pixel line reaches one pixel beyond its ends
  EXPECT_EQ(header.bounds.top, 0);
  EXPECT_GE(header.bounds.right, 99);
  EXPECT_LE(header.bounds.right, 101);
  EXPECT_GE(header.bounds.bottom, 71);
  // Handles: pen, hatch brush, solid fill brush, null pen, font, wide pen, and the reserved 0.
  EXPECT_EQ(header.handles, 7);
  EXPECT_EQ(recorder.Finish(), emf);  // finishing twice gives the same bytes
}

TEST(EmfRecorder, RecordsInOrder) {
  EmfRecorder recorder(100, 80);
  DrawScene(recorder);
  const std::vector<uint32_t> types = Types(recorder.Finish());
  const std::vector<uint32_t> prologue(types.begin(), types.begin() + 10);
  EXPECT_THAT(prologue, ElementsAre(EMR_HEADER, EMR_SETMAPMODE, EMR_SETWINDOWORGEX, EMR_SETWINDOWEXTEX,
                                    EMR_SETVIEWPORTORGEX, EMR_SETVIEWPORTEXTEX, EMR_SETBKMODE, EMR_SETBKCOLOR,
                                    EMR_SETTEXTALIGN, EMR_SETPOLYFILLMODE));
  const std::vector<uint32_t> drawing(types.begin() + 10, types.end());
  EXPECT_THAT(drawing,
              ElementsAre(EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_POLYGON,
                          EMR_CREATEPEN, EMR_SELECTOBJECT, EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_RECTANGLE,
                          EMR_SAVEDC, EMR_INTERSECTCLIPRECT, EMR_EXTCREATEFONTINDIRECTW, EMR_SELECTOBJECT,
                          EMR_SETTEXTCOLOR, EMR_EXTTEXTOUTW, EMR_RESTOREDC, EMR_MOVETOEX, EMR_EXTCREATEPEN,
                          EMR_SELECTOBJECT, EMR_LINETO, EMR_SETSTRETCHBLTMODE, EMR_STRETCHDIBITS, EMR_SELECTOBJECT, EMR_SELECTOBJECT,
                          EMR_SELECTOBJECT, EMR_DELETEOBJECT, EMR_DELETEOBJECT, EMR_DELETEOBJECT, EMR_DELETEOBJECT,
                          EMR_DELETEOBJECT, EMR_DELETEOBJECT, EMR_EOF));
}

TEST(EmfRecorder, RecordFields) {
  EmfRecorder recorder(100, 80);
  DrawScene(recorder);
  const std::vector<uint8_t> emf = recorder.Finish();
  for (const EmfRecord& record : ReadEmfRecords(emf)) {
    ByteReader in(record.bytes);
    in.Skip(8);
    if (record.type == EMR_CREATEBRUSHINDIRECT && record.bytes.size() == 24) {
      in.U32();
      const uint32_t style = in.U32(), color = in.U32(), hatch = in.U32();
      if (style == 2) {
        EXPECT_EQ(color, RgbColor(0, 0, 255));
        EXPECT_EQ(hatch, 3u);  // backward diagonal
      }
    } else if (record.type == EMR_EXTCREATEFONTINDIRECTW) {
      EXPECT_EQ(record.bytes.size(), 104u);
      in.U32();
      EXPECT_EQ(in.I32(), -13);  // the em height
      in.Skip(12);
      EXPECT_EQ(in.I32(), 400);
      in.Skip(8);
      EXPECT_EQ(in.U16(), u'A');
      EXPECT_EQ(in.U16(), u'r');
    } else if (record.type == EMR_EXTTEXTOUTW) {
      in.Skip(16 + 12);
      const int32_t x = in.I32(), y = in.I32();
      EXPECT_EQ(x, 62);
      EXPECT_EQ(y, 4 + 12);  // top plus the ascent of Arial at 13 pixels
      EXPECT_EQ(in.U32(), 3u);
      const uint32_t text_offset = in.U32();
      in.Skip(4 + 16);
      const uint32_t dx_offset = in.U32();
      ByteReader text = in.Slice(text_offset, 6), dx = in.Slice(dx_offset, 12);
      EXPECT_EQ(text.U16(), u'A');
      EXPECT_EQ(dx.I32() + dx.I32() + dx.I32(), 24);
    } else if (record.type == EMR_STRETCHDIBITS) {
      in.Skip(16);
      EXPECT_EQ(in.I32(), 60);
      EXPECT_EQ(in.I32(), 50);
      in.Skip(36);
      EXPECT_EQ(in.U32(), kSrcCopy);
      EXPECT_EQ(in.I32(), 20);
      EXPECT_EQ(in.I32(), 10);
      EXPECT_EQ(in.U32(), 40u);  // bitmap header size
    } else if (record.type == EMR_EOF) {
      EXPECT_EQ(record.bytes.size(), 20u);
    }
  }
}

TEST(EmfPlayback, MatchesDirectDrawing) {
  EmfRecorder recorder(100, 80);
  DrawScene(recorder);
  const std::vector<uint8_t> emf = recorder.Finish();
  RasterCanvas direct(100, 80), played(100, 80);
  DrawScene(direct);
  PlayEmf(emf, played, {0, 0, 100, 80});
  int differing = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (direct.Pixel(x, y) != played.Pixel(x, y) && differing++ < 5) ADD_FAILURE() << x << "," << y << " " << direct.Pixel(x, y) << " " << played.Pixel(x, y);
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(played.Pixel(5, 5), RgbColor(255, 255, 0));
  EXPECT_EQ(played.Pixel(65, 55), clBlack);

  RasterCanvas doubled(200, 160);
  PlayEmf(emf, doubled, {0, 0, 200, 160});
  EXPECT_EQ(doubled.Pixel(90, 10), RgbColor(255, 255, 0));
  EXPECT_EQ(doubled.Pixel(130, 110), clBlack);  // the image's black pixel, stretched twice
  EXPECT_EQ(doubled.Pixel(10, 141), RgbColor(0, 128, 0));
}

// A shape's outline as clip: the fill reaches the ellipse, not the corners of its box.
void DrawClippedToEllipse(Canvas& canvas) {
  canvas.Save();
  canvas.BeginPath();
  canvas.Ellipse({10, 10, 50, 50});
  canvas.EndPath();
  canvas.ClipToPath();
  canvas.FillRect({0, 0, 60, 60}, clRed);
  canvas.Restore();
  canvas.SetPen({.color = clBlack, .width = 1});
  canvas.SetBrush({.color = RgbColor(0, 0, 255)});
  canvas.BeginPath();
  canvas.MoveTo({0, 55});
  canvas.LineTo({20, 59});
  canvas.LineTo({40, 55});
  canvas.EndPath();
  canvas.StrokePath();
}

TEST(EmfPlayback, PathsClipAndStroke) {
  EmfRecorder recorder(60, 60);
  DrawClippedToEllipse(recorder);
  const std::vector<uint8_t> emf = recorder.Finish();
  const std::vector<uint32_t> types = Types(emf);
  EXPECT_NE(std::find(types.begin(), types.end(), EMR_SELECTCLIPPATH), types.end());
  EXPECT_NE(std::find(types.begin(), types.end(), EMR_STROKEPATH), types.end());
  RasterCanvas direct(60, 60), played(60, 60);
  DrawClippedToEllipse(direct);
  PlayEmf(emf, played, {0, 0, 60, 60});
  for (const RasterCanvas* canvas : {&direct, &played}) {
    EXPECT_EQ(canvas->Pixel(30, 30), clRed);
    EXPECT_EQ(canvas->Pixel(12, 12), clWhite);  // inside the box, outside the ellipse
    EXPECT_EQ(canvas->Pixel(0, 0), clWhite);
    EXPECT_EQ(canvas->Pixel(0, 55), clBlack);   // the stroked path
    EXPECT_EQ(canvas->Pixel(10, 50), clWhite);  // the open path is not filled
  }
}

TEST(EmfReading, MalformedStreamsRaiseErrors) {
  EmfRecorder recorder(10, 10);
  recorder.FillRect({0, 0, 5, 5}, clRed);
  std::vector<uint8_t> emf = recorder.Finish();
  EXPECT_THROW(ReadEmfRecords(std::span(emf).first(20)), Error);
  std::vector<uint8_t> bad = emf;
  bad[108 + 4] = 3;  // a record size that is not a multiple of 4
  EXPECT_THROW(ReadEmfRecords(bad), Error);
  std::vector<uint8_t> no_signature = emf;
  no_signature[40] = 0;
  EXPECT_THROW(ReadEmfHeader(no_signature), Error);
  // A stream cut inside its records plays what it has.
  RasterCanvas canvas(10, 10);
  EXPECT_NO_THROW(PlayEmf(std::span(emf).first(emf.size() - 30), canvas, {0, 0, 10, 10}));
  // A polygon claiming more points than its record holds.
  for (const EmfRecord& record : ReadEmfRecords(emf)) {
    if (record.type != EMR_POLYGON) continue;
    std::vector<uint8_t> lying = emf;
    const size_t at = record.bytes.data() - emf.data() + 24;
    lying[at + 3] = 0x40;
    EXPECT_THROW(PlayEmf(lying, canvas, {0, 0, 10, 10}), Error);
  }
}

// Deeply nested saves: the canvas keeps the states of the outer levels only, so a clip set deep
// down still clips there and the outer clip comes back when the levels are left.
TEST(EmfPlayer, DeepSavesKeepTheOuterClip) {
  EmfRecorder recorder(40, 40);
  recorder.IntersectClip({0, 0, 20, 40});
  for (int i = 0; i < 300; ++i) recorder.Save();
  recorder.IntersectClip({0, 0, 10, 10});
  recorder.FillRect({0, 0, 40, 40}, RgbColor(255, 0, 0));
  for (int i = 0; i < 300; ++i) recorder.Restore();
  recorder.FillRect({10, 10, 40, 40}, RgbColor(0, 0, 255));
  RasterCanvas canvas(40, 40, clWhite);
  PlayEmf(recorder.Finish(), canvas, {0, 0, 40, 40});
  EXPECT_EQ(canvas.Pixel(5, 5), RgbColor(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(15, 5), clWhite);
  EXPECT_EQ(canvas.Pixel(15, 15), RgbColor(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(30, 30), clWhite);
}

}  // namespace
}  // namespace zavrik

namespace zavrik {
namespace {

TEST(ByteReader, ReadsLittleEndianAndStopsAtTheEnd) {
  const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07};
  ByteReader in(bytes);
  EXPECT_EQ(in.U8(), 0x01);
  EXPECT_EQ(in.U8(), 0x02);  // every read advances
  EXPECT_EQ(in.U16(), 0x0403);
  EXPECT_EQ(in.Remaining(), 3u);
  EXPECT_THROW(in.U32(), Error);
  EXPECT_EQ(in.Position(), 4u);  // a failed read leaves the position
  EXPECT_THROW(in.Slice(5, 3), Error);
  EXPECT_EQ(in.Slice(5, 2).U16(), 0x0706);
  ByteWriter out;
  out.U16(0xBEEF);
  out.PadTo4();
  out.PatchU32(0, 7);
  EXPECT_EQ(out.Bytes(), (std::vector<uint8_t>{7, 0, 0, 0}));
}

}  // namespace
}  // namespace zavrik
