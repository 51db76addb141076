// Fills of a rectangle: brush (solid colour and hatch), gradient and glass.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/numeric.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "platform/color.h"

namespace zavrik::pdf {
namespace {

constexpr double kHatchStep = 8;  // pixels
// Bounds the operator count of absurdly large areas.
constexpr int kMaxLines = 10000;

bool IsNone(int32_t color) { return static_cast<uint32_t>(color) == kNoColor; }
uint32_t Rgb(int32_t color) { return ColorToRgb(static_cast<uint32_t>(color)); }

std::string PointF3t(double x, double y) { return F3t(x) + " " + F3t(y); }

void Segment(std::string& out, double x0, double y0, double x1, double y1) {
  Op(out, PointF3t(x0, y0) + " m");
  Op(out, PointF3t(x1, y1) + " l");
}

// Half of the part of `size` pixels that the step leaves over, in points.
double HatchStart(double size_points) {
  const double size = size_points / kPointsPerPixel;
  return (size - kHatchStep * std::trunc(size / kHatchStep)) / 2 * kPointsPerPixel;
}

void HatchLines(std::string& out, TqbxBrushStyle style, const PdfRect& r) {
  const double step = kHatchStep * kPointsPerPixel;
  const double width = r.right - r.left, height = r.top - r.bottom;
  if (!(width > 0 && height > 0)) return;
  const bool horizontal = style == bsHorizontal || style == bsCross;
  const bool vertical = style == bsVertical || style == bsCross;
  const bool forward = style == bsFDiagonal || style == bsDiagCross;
  const bool backward = style == bsBDiagonal || style == bsDiagCross;
  int n = 0;
  if (horizontal)
    for (double y = r.top - HatchStart(height); y >= r.bottom && n < kMaxLines; y -= step, ++n)
      Segment(out, r.left, y, r.right, y);
  if (vertical)
    for (double x = r.left + HatchStart(width); x <= r.right && n < kMaxLines; x += step, ++n)
      Segment(out, x, r.top, x, r.bottom);
  // Diagonals start left of the rectangle so that they cover it whole; the clip trims them.
  const double first = r.left - height + HatchStart(width + height);
  if (forward)
    for (double x = first; x <= r.right && n < kMaxLines; x += step, ++n)
      Segment(out, x, r.top, x + height, r.bottom);
  if (backward)
    for (double x = first; x <= r.right && n < kMaxLines; x += step, ++n)
      Segment(out, x, r.bottom, x + height, r.top);
}

void Clip(std::string& out, const std::string& path) {
  Op(out, path);
  Op(out, "W");
  Op(out, "n");
}

void Hatch(std::string& out, TqbxBrushStyle style, uint32_t color, const PdfRect& r, const std::string& path) {
  Op(out, "[] 0 d");
  Op(out, ColorB(color) + " RG");
  Op(out, F3t(kPointsPerPixel * kPointsPerPixel) + " w");
  Op(out, "0 J");
  Clip(out, path);
  HatchLines(out, style, r);
  Op(out, "S");
}

void BrushFill(std::string& out, const TqbxBrushFill& fill, const PdfRect& r, const std::string& path) {
  const bool hatched = fill.Style() != bsSolid && fill.Style() != bsClear;
  if (IsNone(fill.BackColor()) && !hatched) return;
  Op(out, "q");
  if (!IsNone(fill.BackColor())) {
    Op(out, ColorB(Rgb(fill.BackColor())) + " rg");
    Op(out, path);
    Op(out, "f");
  }
  if (hatched) Hatch(out, fill.Style(), Rgb(fill.ForeColor()), r, path);
  Op(out, "Q");
}

int Component(uint32_t color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

void GradientFill(std::string& out, const TqbxGradientFill& fill, const PdfRect& r, const std::string& path) {
  if (IsNone(fill.StartColor()) && IsNone(fill.EndColor())) return;
  const uint32_t start = IsNone(fill.StartColor()) ? clWhite : Rgb(fill.StartColor());
  const uint32_t end = IsNone(fill.EndColor()) ? clWhite : Rgb(fill.EndColor());
  int steps = 1;
  for (int shift : {0, 8, 16})
    steps = std::max(steps, std::abs(Component(end, shift) - Component(start, shift)));
  const double width = r.right - r.left, height = r.top - r.bottom;
  double extent = 0;
  switch (fill.GradientStyle()) {
    case gsHorizontal: extent = width; break;
    case gsVertical: extent = height; break;
    case gsHorizCenter: extent = width / 2; break;
    case gsVertCenter: extent = height / 2; break;
    default: extent = std::min(width, height) / 2; break;
  }
  const double spacing = extent / steps;
  Op(out, "q");
  Clip(out, path);
  Op(out, "[] 0 d");
  Op(out, "0 J");
  Op(out, F3t(spacing * 1.8) + " w");
  for (int k = 0; k <= steps; ++k) {
    uint32_t color = 0;
    for (int shift : {0, 8, 16}) {
      const double c = Component(start, shift) +
                       k * static_cast<double>(Component(end, shift) - Component(start, shift)) /
                           steps;
      color |= static_cast<uint32_t>(RoundHalfEven(c)) << shift;
    }
    Op(out, ColorB(color) + " RG");
    const double d = k * spacing;
    switch (fill.GradientStyle()) {
      case gsHorizontal: Segment(out, r.left + d, r.top, r.left + d, r.bottom); break;
      case gsVertical: Segment(out, r.left, r.top - d, r.right, r.top - d); break;
      case gsHorizCenter:
        Segment(out, r.left + d, r.top, r.left + d, r.bottom);
        Segment(out, r.right - d, r.top, r.right - d, r.bottom);
        break;
      case gsVertCenter:
        Segment(out, r.left, r.top - d, r.right, r.top - d);
        Segment(out, r.left, r.bottom + d, r.right, r.bottom + d);
        break;
      default:  // concentric outlines towards the centre
        Op(out, RectPath({r.left + d, r.top - d, r.right - d, r.bottom + d}));
        break;
    }
    Op(out, "S");
  }
  Op(out, "Q");
}

void GlassFill(std::string& out, const TqbxGlassFill& fill, const PdfRect& r, const std::string& path) {
  if (IsNone(fill.Color())) return;
  const uint32_t hatch = static_cast<uint32_t>(fill.HatchColor()) & 0xFFFFFF;
  Op(out, "q");
  Op(out, ColorB(Rgb(fill.Color())) + " rg");
  Op(out, path);
  Op(out, "f");
  Clip(out, path);
  Op(out, ColorB(hatch) + " rg");
  const double width = r.right - r.left, height = r.top - r.bottom;
  double x = r.left, y = r.bottom, w = width, h = height;
  switch (fill.Orientation()) {
    case foVertical: w = width / 2; break;
    case foVerticalMirror: w = width / 2, x = r.left + w; break;
    case foHorizontal: h = height / 2, y = r.bottom + h; break;
    case foHorizontalMirror: h = height / 2; break;
  }
  Op(out, F3t(x) + " " + F3t(y) + " " + F3t(w) + " " + F3t(h) + " re");
  Op(out, "f");
  if (fill.Hatch()) Hatch(out, bsFDiagonal, hatch, r, path);
  Op(out, "Q");
}

}  // namespace

void WriteFill(std::string& out, const TqbxCustomFill& fill, const PdfRect& rect) {
  WriteFill(out, fill, rect, RectPath(rect));
}

void WriteFill(std::string& out, const TqbxCustomFill& fill, const PdfRect& rect, const std::string& path) {
  switch (fill.Kind()) {
    case ftBrush: BrushFill(out, static_cast<const TqbxBrushFill&>(fill), rect, path); break;
    case ftGradient: GradientFill(out, static_cast<const TqbxGradientFill&>(fill), rect, path); break;
    case ftGlass: GlassFill(out, static_cast<const TqbxGlassFill&>(fill), rect, path); break;
  }
}

}  // namespace zavrik::pdf
