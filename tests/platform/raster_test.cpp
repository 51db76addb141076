// The raster canvas checked by pixel samples.
#include <gtest/gtest.h>

#include "platform/raster_canvas.h"

namespace zavrik {
namespace {

constexpr Color kBlue = RgbColor(0, 0, 255);

int CountColor(const RasterCanvas& canvas, const Rect& area, Color color) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += canvas.Pixel(x, y) == color;
  }
  return count;
}

TEST(RasterCanvas, ShapesFollowDeviceRules) {
  RasterCanvas canvas(40, 40);
  canvas.SetPen({.color = clBlack, .width = 1});
  canvas.SetBrush({.color = kBlue});
  canvas.Rectangle({5, 5, 15, 15});
  EXPECT_EQ(canvas.Pixel(5, 5), clBlack);
  EXPECT_EQ(canvas.Pixel(14, 14), clBlack);  // the outline's last pixel is right - 1
  EXPECT_EQ(canvas.Pixel(15, 15), clWhite);
  EXPECT_EQ(canvas.Pixel(10, 10), kBlue);
  // Without a pen the rectangle covers one pixel less to the right and bottom.
  canvas.SetPen({.style = PenStyle::kClear});
  canvas.Rectangle({20, 20, 30, 30});
  EXPECT_EQ(canvas.Pixel(20, 20), kBlue);
  EXPECT_EQ(canvas.Pixel(28, 28), kBlue);
  EXPECT_EQ(canvas.Pixel(29, 29), clWhite);
  canvas.FillRect({0, 30, 40, 32}, clRed);
  EXPECT_EQ(CountColor(canvas, {0, 29, 40, 33}, clRed), 80);
  EXPECT_EQ(canvas.Pixel(-1, 0), clNone);
}

TEST(RasterCanvas, HatchLeavesGapsTransparent) {
  RasterCanvas canvas(32, 32, clWhite);
  canvas.FillRect({0, 0, 32, 16}, clRed);
  canvas.SetPen({.style = PenStyle::kClear});
  canvas.SetBrush({.color = kBlue, .style = BrushStyle::kHorizontal});
  canvas.Rectangle({0, 0, 33, 33});
  EXPECT_EQ(canvas.Pixel(3, 0), kBlue);  // a hatch line every 8 rows
  EXPECT_EQ(canvas.Pixel(3, 8), kBlue);
  EXPECT_EQ(canvas.Pixel(3, 4), clRed);  // the gap shows what was below
  EXPECT_EQ(canvas.Pixel(3, 20), clWhite);
  EXPECT_EQ(CountColor(canvas, {0, 0, 32, 32}, kBlue), 4 * 32);

  RasterCanvas cross(16, 16);
  cross.SetPen({.style = PenStyle::kClear});
  cross.SetBrush({.color = clBlack, .style = BrushStyle::kDiagCross});
  cross.Rectangle({0, 0, 17, 17});
  EXPECT_EQ(cross.Pixel(3, 3), clBlack);
  EXPECT_EQ(cross.Pixel(3, 4), clBlack);
  EXPECT_EQ(cross.Pixel(3, 5), clWhite);
}

TEST(RasterCanvas, ClippedText) {
  RasterCanvas canvas(200, 40);
  canvas.SetFont({.font = {.name = u"Arial", .size = 20, .color = clBlack}, .pixel_height = 27});
  const Rect clip{0, 0, 40, 40};
  canvas.TextOut(2, 2, u"WWWWWWWW", {}, &clip);
  EXPECT_GT(CountColor(canvas, {0, 0, 40, 40}, clWhite), 0);
  EXPECT_LT(CountColor(canvas, {0, 0, 40, 40}, clWhite), 40 * 40);       // ink inside the clip
  EXPECT_EQ(CountColor(canvas, {40, 0, 200, 40}, clWhite), 160 * 40);   // none outside
  // Explicit advances place the characters.
  RasterCanvas spaced(200, 40);
  spaced.SetFont(canvas.CurrentFont());
  const int advances[] = {100, 0};
  spaced.TextOut(0, 0, u"ii", advances, nullptr);
  EXPECT_LT(CountColor(spaced, {95, 0, 110, 40}, clWhite), 15 * 40);
  EXPECT_EQ(CountColor(spaced, {20, 0, 95, 40}, clWhite), 75 * 40);
}

TEST(RasterCanvas, StretchedImageWithTransparentColour) {
  Image image{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}};
  RasterCanvas canvas(20, 20, clBlack);
  canvas.StretchDraw({0, 0, 20, 20}, image, clWhite, false);
  EXPECT_EQ(canvas.Pixel(2, 2), RgbColor(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(17, 2), RgbColor(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(2, 17), RgbColor(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(17, 17), clBlack);  // the transparent colour is left out
  canvas.StretchDraw({0, 0, 0, 0}, image, std::nullopt, true);
  canvas.StretchDraw({0, 0, 5, 5}, Image{3, 3, {}}, std::nullopt, true);  // too few pixels: nothing
}

TEST(RasterCanvas, ClipSaveRestoreAndSymbols) {
  RasterCanvas canvas(40, 40);
  canvas.Save();
  canvas.IntersectClip({0, 0, 10, 10});
  canvas.FillRect({0, 0, 40, 40}, clRed);
  canvas.Restore();
  EXPECT_EQ(CountColor(canvas, {0, 0, 40, 40}, clRed), 100);
  const Rect region[] = {{20, 0, 22, 2}, {30, 30, 31, 31}};
  canvas.SelectClipRegion(region);
  canvas.FillRect({0, 0, 40, 40}, kBlue);
  EXPECT_EQ(CountColor(canvas, {0, 0, 40, 40}, kBlue), 5);
  canvas.SelectClipRegion({});
  canvas.FillRect({0, 0, 40, 40}, clWhite);
  canvas.DrawSymbol(kSymbolCheck, 5, 5, 30, clBlack);
  const int ink = 40 * 40 - CountColor(canvas, {0, 0, 40, 40}, clWhite);
  EXPECT_GT(ink, 50);
  EXPECT_EQ(canvas.CurrentBrush().color, clWhite);  // the symbol leaves the brush as it was
  EXPECT_EQ(Canvas::SymbolWidth(kSymbolCross, 20), 15);
}

}  // namespace
}  // namespace zavrik
