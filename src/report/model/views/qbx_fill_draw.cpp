// Fills painted on a device canvas.
#include <algorithm>

#include "core/numeric.h"
#include "platform/canvas.h"
#include "report/model/views/qbx_fill.h"

namespace zavrik {
namespace {

Color DeviceColor(int32_t color) { return ColorToRgb(static_cast<Color>(color)); }

int RoundedQuotient(double value) { return static_cast<int>(RoundHalfEven(value)); }

// The hatch of a brush style in `color` over the rectangle, gaps transparent, no outline (the
// right and bottom edges one pixel further, as a rectangle without pen covers one pixel less).
void PaintHatch(Canvas& canvas, const Rect& r, BrushStyle style, int32_t color) {
  canvas.Save();
  canvas.SetPen(Pen{.color = DeviceColor(color), .style = PenStyle::kClear});
  canvas.SetBrush(Brush{.color = DeviceColor(color), .style = style});
  canvas.Rectangle({r.left, r.top, r.right + 1, r.bottom + 1});
  canvas.Restore();
}

void FillEllipse(Canvas& canvas, const Rect& r, int32_t color) {
  canvas.SetPen(Pen{.color = DeviceColor(color), .style = PenStyle::kClear});
  canvas.SetBrush(Brush{.color = DeviceColor(color)});
  canvas.Ellipse(r);
}

}  // namespace

void TqbxBrushFill::Draw(Canvas& canvas, int x, int y, int x1, int y1, double, double) const {
  const Rect r{x, y, x1, y1};
  if (FBackColor != 0x1FFFFFFF) canvas.FillRect(r, DeviceColor(FBackColor));
  if (FStyle >= bsHorizontal && FStyle <= bsDiagCross) PaintHatch(canvas, r, static_cast<BrushStyle>(FStyle), FForeColor);
}

void TqbxGradientFill::Draw(Canvas& canvas, int x, int y, int x1, int y1, double, double) const {
  const double width = x1 - x, height = y1 - y;
  switch (FGradientStyle) {
    case gsHorizontal:
      for (int i = 0; i < 256; ++i) {
        canvas.FillRect({x + RoundedQuotient(width * i / 256), y, x + RoundedQuotient(width * (i + 1) / 256), y1},
                        DeviceColor(StepColor(i, 255)));
      }
      return;
    case gsVertical:
      for (int i = 0; i < 256; ++i) {
        canvas.FillRect({x, y + RoundedQuotient(height * i / 256), x1, y + RoundedQuotient(height * (i + 1) / 256)},
                        DeviceColor(StepColor(i, 255)));
      }
      return;
    case gsElliptic: {
      // From an ellipse a quarter larger on every side down to the centre.
      canvas.Save();
      canvas.IntersectClip({x, y, x1, y1});
      const double cx = x + width / 2, cy = y + height / 2;
      const double rx0 = width * 0.75, ry0 = height * 0.75;
      for (int i = 0; i < 156; ++i) {
        const double k = 1.0 - static_cast<double>(i) / 156;
        FillEllipse(canvas,
                    {RoundedQuotient(cx - rx0 * k), RoundedQuotient(cy - ry0 * k), RoundedQuotient(cx + rx0 * k),
                     RoundedQuotient(cy + ry0 * k)},
                    StepColor(i, 155));
      }
      canvas.Restore();
      return;
    }
    case gsRectangle:
    case gsVertCenter:
    case gsHorizCenter: {
      // Nested bands shrinking towards the centre: both directions, or one of them.
      const bool shrink_x = FGradientStyle != gsVertCenter, shrink_y = FGradientStyle != gsHorizCenter;
      const double cx = x + width / 2, cy = y + height / 2;
      for (int i = 0; i < 256; ++i) {
        const double k = 1.0 - static_cast<double>(i) / 256;
        const Rect r{shrink_x ? RoundedQuotient(cx - width / 2 * k) : x, shrink_y ? RoundedQuotient(cy - height / 2 * k) : y,
                     shrink_x ? RoundedQuotient(cx + width / 2 * k) : x1, shrink_y ? RoundedQuotient(cy + height / 2 * k) : y1};
        canvas.FillRect(r, DeviceColor(StepColor(i, 255)));
      }
      return;
    }
  }
}

void TqbxGlassFill::Draw(Canvas& canvas, int x, int y, int x1, int y1, double, double) const {
  if (FColor == 0x1FFFFFFF) return;
  const Rect r{x, y, x1, y1};
  canvas.FillRect(r, DeviceColor(FColor));
  const int half_w = (x1 - x) / 2, half_h = (y1 - y) / 2;
  Rect half = r;
  switch (FOrientation) {
    case foVertical: half.right = x + half_w; break;
    case foHorizontal: half.bottom = y + half_h; break;
    case foVerticalMirror: half.left = x1 - half_w; break;
    case foHorizontalMirror: half.top = y1 - half_h; break;
  }
  canvas.FillRect(half, DeviceColor(BlendColor()));
  if (FHatch) PaintHatch(canvas, r, BrushStyle::kBDiagonal, HatchColor());
}

}  // namespace zavrik
