// The device canvas that views and the text layout draw on. Coordinates are device pixels with
// the y axis pointing down. Shapes follow the classic device rules: a rectangle (l, t, r, b) covers
// the pixels l..r-1 and t..b-1, outlined with the pen and filled with the brush.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/ustring.h"
#include "platform/color.h"
#include "platform/font_request.h"

namespace zavrik {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect&) const = default;
};

enum class PenStyle : uint8_t { kSolid, kDash, kDot, kDashDot, kDashDotDot, kClear, kInsideFrame };
enum class LineCap : uint8_t { kRound, kSquare, kFlat };
enum class LineJoin : uint8_t { kRound, kBevel, kMiter };

struct Pen {
  Color color = clBlack;
  int width = 1;  // 0 draws one pixel wide
  PenStyle style = PenStyle::kSolid;
  LineCap cap = LineCap::kRound;
  LineJoin join = LineJoin::kRound;
  bool operator==(const Pen&) const = default;
};

// Hatch styles in the order of the device's hatch codes.
enum class BrushStyle : uint8_t {
  kSolid, kClear, kHorizontal, kVertical, kFDiagonal, kBDiagonal, kCross, kDiagCross
};

struct Brush {
  Color color = clWhite;
  BrushStyle style = BrushStyle::kSolid;  // hatch gaps are always transparent
  bool operator==(const Brush&) const = default;
};

// A 32-bit picture: rows top to bottom, each pixel 0xAARRGGBB (alpha 255 for opaque pixels).
struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Check-box marks of the symbol font "Wingdings": $FB a cross, $FC a check mark.
inline constexpr char16_t kSymbolCross = 0xFB;
inline constexpr char16_t kSymbolCheck = 0xFC;

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual void SetFont(const DeviceFont& font) = 0;
  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const DeviceFont& CurrentFont() const { return font_; }

  virtual void Rectangle(const Rect& r) = 0;
  virtual void RoundRect(const Rect& r, int corner_width, int corner_height) = 0;
  virtual void Ellipse(const Rect& r) = 0;
  virtual void Polygon(std::span<const Point> points) = 0;
  virtual void PolyPolygon(std::span<const std::vector<Point>> polygons) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  // The current position and a pen line from it to a point, which becomes the new position.
  virtual void MoveTo(Point to) = 0;
  virtual void LineTo(Point to) = 0;
  void Line(Point from, Point to) {
    MoveTo(from);
    LineTo(to);
  }
  // The rectangle filled with a colour, without outline (the current brush is kept).
  virtual void FillRect(const Rect& r, Color color) = 0;

  // Clipping: intersect with a rectangle, or replace the clip by a region (a union of rectangles;
  // an empty list removes it). Save and restore cover pen, brush, font and clip.
  virtual void IntersectClip(const Rect& r) = 0;
  virtual void SelectClipRegion(std::span<const Rect> region) = 0;
  virtual void Save() = 0;
  virtual void Restore() = 0;

  // A path bracket: between BeginPath and EndPath the shapes and lines only collect an outline,
  // which is then filled with the brush, stroked with the pen, or intersected with the clip.
  virtual void BeginPath() = 0;
  virtual void EndPath() = 0;
  virtual void FillPath() = 0;
  virtual void StrokePath() = 0;
  virtual void StrokeAndFillPath() = 0;
  virtual void ClipToPath() = 0;

  // Text in the current font, the top-left corner of the first character cell at (x, y) (rotated
  // with the font's escapement about that point), each character advancing by its entry of
  // advances (device pixels; missing entries use the font's own advance); transparent background;
  // clipped to clip when given.
  virtual void TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) = 0;

  // The image stretched into dest; pixels of transparent_color (RGB, $00BBGGRR) are left out;
  // smooth selects bilinear resampling.
  virtual void StretchDraw(const Rect& dest, const Image& image, std::optional<Color> transparent_color,
                           bool smooth) = 0;

  // A check-box mark of the symbol font in a cell of the given height: drawn as filled outlines
  // in colour, left edge at x. Returns the width of the mark's cell.
  static int SymbolWidth(char16_t symbol, int height);
  void DrawSymbol(char16_t symbol, int x, int y, int height, Color color);

 protected:
  Pen pen_;
  Brush brush_;
  DeviceFont font_;
};

}  // namespace zavrik
