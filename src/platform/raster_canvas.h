// A 24-bit raster canvas on cairo; its pixels can be read back.
#pragma once

#include <vector>

#include "platform/canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace zavrik {

// Loads the library the canvas draws with, ahead of the first canvas (which loads it otherwise).
// Raises Error when it cannot be loaded.
void LoadRasterLibrary();

class RasterCanvas : public Canvas {
 public:
  RasterCanvas(int width, int height, Color background = clWhite);
  ~RasterCanvas() override;
  RasterCanvas(const RasterCanvas&) = delete;
  RasterCanvas& operator=(const RasterCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour of a pixel ($00BBGGRR); outside the canvas clNone.
  Color Pixel(int x, int y) const;
  // The pixels as packed rows of red, green, blue bytes, top row first.
  std::vector<uint8_t> Rgb24() const;
  // Writes the canvas as a PNG file; false on failure.
  bool WritePng(const std::string& path) const;

  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const DeviceFont& font) override { font_ = font; }
  void Rectangle(const Rect& r) override;
  void RoundRect(const Rect& r, int corner_width, int corner_height) override;
  void Ellipse(const Rect& r) override;
  void Polygon(std::span<const Point> points) override;
  void PolyPolygon(std::span<const std::vector<Point>> polygons) override;
  void Polyline(std::span<const Point> points) override;
  void MoveTo(Point to) override;
  void LineTo(Point to) override;
  void FillRect(const Rect& r, Color color) override;
  void IntersectClip(const Rect& r) override;
  void SelectClipRegion(std::span<const Rect> region) override;
  void Save() override;
  void Restore() override;
  void BeginPath() override;
  void EndPath() override { in_path_ = false; }
  void FillPath() override { PaintPath(true, false); }
  void StrokePath() override { PaintPath(false, true); }
  void StrokeAndFillPath() override { PaintPath(true, true); }
  void ClipToPath() override;
  void TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) override;
  void StretchDraw(const Rect& dest, const Image& image, std::optional<Color> transparent_color,
                   bool smooth) override;

 private:
  struct State {
    Pen pen;
    Brush brush;
    DeviceFont font;
  };
  // Shapes are built inside the pen: the box shrinks by half the pen width (by a pixel without pen).
  double PenInset() const;
  // Starts a shape's outline; inside a path bracket it joins the path instead.
  void StartShape();
  // Fills and strokes the outline with brush and pen, unless a path bracket collects it.
  void FillAndStroke(bool closed_fill);
  void PaintPath(bool fill, bool stroke);
  void SetSourceColor(Color color);

  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  std::vector<State> saved_;
  Point position_;
  bool in_path_ = false;
};

}  // namespace zavrik
