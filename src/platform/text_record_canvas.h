// A canvas that keeps only its text output: one record per text run, with the run's position,
// text, clipping and advance sum. Exports turn the records into their own text objects.
#pragma once

#include <vector>

#include "platform/canvas.h"

namespace zavrik {

struct VectorTextRecord {
  int x = 0, y = 0;      // top-left corner of the first character cell, device pixels
  String text;
  bool clipped = false;  // drawn with a clip rectangle
  bool rtl = false;      // right-to-left text
  int length = 0;        // the sum of the character advances, device pixels
  DeviceFont font;
};

class TextRecordCanvas : public Canvas {
 public:
  const std::vector<VectorTextRecord>& Records() const { return records_; }
  std::vector<VectorTextRecord> TakeRecords() { return std::move(records_); }

  void TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) override;

  // Everything else draws nothing.
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const DeviceFont& font) override { font_ = font; }
  void Rectangle(const Rect&) override {}
  void RoundRect(const Rect&, int, int) override {}
  void Ellipse(const Rect&) override {}
  void Polygon(std::span<const Point>) override {}
  void PolyPolygon(std::span<const std::vector<Point>>) override {}
  void Polyline(std::span<const Point>) override {}
  void MoveTo(Point) override {}
  void LineTo(Point) override {}
  void FillRect(const Rect&, Color) override {}
  void IntersectClip(const Rect&) override {}
  void SelectClipRegion(std::span<const Rect>) override {}
  void Save() override {}
  void Restore() override {}
  void BeginPath() override {}
  void EndPath() override {}
  void FillPath() override {}
  void StrokePath() override {}
  void StrokeAndFillPath() override {}
  void ClipToPath() override {}
  void StretchDraw(const Rect&, const Image&, std::optional<Color>, bool) override {}

 private:
  std::vector<VectorTextRecord> records_;
};

}  // namespace zavrik
