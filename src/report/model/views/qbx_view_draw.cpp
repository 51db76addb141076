// Views on a device canvas: the device rectangle, background, frame and shadow, vector pictures.
#include <algorithm>
#include <cstdlib>

#include "core/numeric.h"
#include "platform/canvas.h"
#include "platform/emf_recorder.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {
namespace {

// Nearest device coordinate, halves to even; out-of-range values stop at the int limits.
int Round(double value) {
  const double r = RoundHalfEven(value);
  if (!(r == r)) return 0;
  return static_cast<int>(std::clamp(r, -1e9, 1e9));
}

Color DeviceColor(int32_t color) { return ColorToRgb(static_cast<Color>(color)); }

PenStyle DevicePenStyle(TqbxFrameStyle style) {
  switch (style) {
    case fsDash: return PenStyle::kDash;
    case fsDot:
    case fsAltDot:
    case fsSquare: return PenStyle::kDot;
    case fsDashDot: return PenStyle::kDashDot;
    case fsDashDotDot: return PenStyle::kDashDotDot;
    case fsSolid:
    case fsDouble: break;
  }
  return PenStyle::kSolid;
}

}  // namespace

Rect TqbxView::DeviceRect() const { return {FX, FY, FX1, FY1}; }

void TqbxView::Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  CalcDeviceRect(canvas, scale_x, scale_y, offset_x, offset_y);
  PaintBackground();
  PaintFrame();
}

void TqbxView::CalcDeviceRect(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  FCanvas = &canvas;
  FScaleX = scale_x;
  FScaleY = scale_y;
  FOffsetX = offset_x;
  FOffsetY = offset_y;
  const double left = AbsLeft(), top = AbsTop();
  FX = Round(offset_x + scale_x * left);
  FY = Round(offset_y + scale_y * top);
  FX1 = Round(offset_x + scale_x * (left + Width()));
  FY1 = Round(offset_y + scale_y * (top + Height()));
  if (Frame()->DropShadow()) {
    // The shadow lies inside the view's rectangle.
    FX1 -= Round(scale_x * Frame()->ShadowWidth());
    FY1 -= Round(scale_y * Frame()->ShadowWidth());
  }
  FDX = FX1 - FX;
  FDY = FY1 - FY;
  FFrameWidth = Round(scale_x * Frame()->Width());
}

void TqbxView::PaintBackground() {
  if (!FCanvas || (FObjAsMetafile && !FDrawFillOnMetaFile)) return;
  // The fill reaches the middle of each frame line.
  const int typ = Frame()->Typ();
  const double w = Frame()->Width() * FScaleX, h = Frame()->Width() * FScaleY;
  const int x = typ & ftLeft ? FX - Round(w / 2) : FX;
  const int y = typ & ftTop ? FY - Round(h / 2) : FY;
  const int x1 = typ & ftRight ? FX1 + Round(w / 2) + Round(w) % 2 : FX1;
  const int y1 = typ & ftBottom ? FY1 + Round(h / 2) + Round(h) % 2 : FY1;
  Fill()->Draw(*FCanvas, x, y, x1, y1, FScaleX, FScaleY);
}

void TqbxView::PaintFrame() {
  if (!FCanvas || FObjAsMetafile) return;
  Canvas& canvas = *FCanvas;
  const TqbxFrame& frame = *Frame();
  if (frame.DropShadow()) {
    const int s = Round(frame.ShadowWidth() * FScaleX), s2 = Round(frame.ShadowWidth() * FScaleY);
    canvas.FillRect({FX1, FY + s, FX1 + s, FY1}, DeviceColor(frame.ShadowColor()));
    canvas.FillRect({FX + s2, FY1, FX1 + s2, FY1 + s2}, DeviceColor(frame.ShadowColor()));
  }
  if (frame.Typ() == 0 || frame.Color() == 0x1FFFFFFF || frame.Width() == 0) return;
  canvas.Save();
  struct Side {
    TqbxFrameType type;
    int x, y, x1, y1;
    bool vertical;
  };
  const Side sides[] = {{ftLeft, FX, FY, FX, FY1, true},
                        {ftRight, FX1, FY, FX1, FY1, true},
                        {ftTop, FX, FY, FX1, FY, false},
                        {ftBottom, FX, FY1, FX1, FY1, false}};
  for (const Side& side : sides) {
    if (!(frame.Typ() & side.type)) continue;
    const TqbxFrameLine& line = frame.Line(side.type);
    if (line.Color() == 0x1FFFFFFF) continue;
    const int width = std::max(1, Round(line.Width() * FScaleX));
    canvas.SetPen(Pen{.color = DeviceColor(line.Color()), .width = 1, .style = DevicePenStyle(line.Style())});
    if (line.Style() == fsDouble) {
      // Two lines one width to either side of the edge.
      const int dx = side.vertical ? width : 0, dy = side.vertical ? 0 : width;
      StrokeWideLine(side.x - dx, side.y - dy, side.x1 - dx, side.y1 - dy, width);
      StrokeWideLine(side.x + dx, side.y + dy, side.x1 + dx, side.y1 + dy, width);
    } else {
      StrokeWideLine(side.x, side.y, side.x1, side.y1, width);
    }
  }
  canvas.Restore();
}

void TqbxView::StrokeWideLine(int x, int y, int x1, int y1, int w) {
  if (!FCanvas) return;
  if (w == 0) w = 1;
  w = std::min(std::abs(w), 10000);
  const bool horizontal = std::abs(y1 - y) < std::abs(x1 - x);
  for (int k = -(w / 2); k <= w / 2 - (w % 2 == 0 ? 1 : 0); ++k) {
    if (horizontal) FCanvas->Line({x, y + k}, {x1, y1 + k});
    else FCanvas->Line({x + k, y}, {x1 + k, y1});
  }
}

TqbxRect TqbxView::GetExportBounds() const {
  const double left = AbsLeft(), top = AbsTop();
  return {left, top, left + Width(), top + Height()};
}

std::vector<uint8_t> TqbxView::GetVectorGraphic(bool draw_fill) {
  FObjAsMetafile = true;
  FDrawFillOnMetaFile = draw_fill;
  EmfRecorder recorder(std::max(1, Round(Width())), std::max(1, Round(Height())));
  Draw(recorder, 1, 1, -AbsLeft(), -AbsTop());
  FObjAsMetafile = false;
  FDrawFillOnMetaFile = false;
  FCanvas = nullptr;
  return recorder.Finish();
}

std::vector<VectorTextRecord> TqbxView::GetVectorCanvas() {
  FObjAsMetafile = true;
  TextRecordCanvas canvas;
  Draw(canvas, 1, 1, -AbsLeft(), -AbsTop());
  FObjAsMetafile = false;
  FCanvas = nullptr;
  return canvas.TakeRecords();
}

}  // namespace zavrik
