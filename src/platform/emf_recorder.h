// A canvas that records its drawing as enhanced-metafile records (logical units = pixels).
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/canvas.h"
#include "platform/emf_format.h"

namespace zavrik {

class EmfRecorder : public Canvas {
 public:
  // A picture of nominal size width x height pixels (each at least 1).
  EmfRecorder(int width, int height);

  // Ends the recording: the whole metafile, header first and end-of-file record last.
  std::vector<uint8_t> Finish();

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
  void BeginPath() override { Record(EMR_BEGINPATH, {}); }
  void EndPath() override { Record(EMR_ENDPATH, {}); }
  void FillPath() override { PaintPath(EMR_FILLPATH); }
  void StrokePath() override { PaintPath(EMR_STROKEPATH); }
  void StrokeAndFillPath() override { PaintPath(EMR_STROKEANDFILLPATH); }
  void ClipToPath() override { Record(EMR_SELECTCLIPPATH, {1}); }
  void TextOut(int x, int y, StringView text, std::span<const int> advances, const Rect* clip) override;
  void StretchDraw(const Rect& dest, const Image& image, std::optional<Color> transparent_color,
                   bool smooth) override;

 private:
  struct Selection {
    uint32_t pen = 0, brush = 0, font = 0;
    std::optional<Color> text_color;
    std::optional<uint32_t> stretch_mode;
  };

  void Begin(uint32_t type);
  void End();
  void Record(uint32_t type, std::initializer_list<int32_t> values);
  void WriteRect(const Rect& r) { for (int v : {r.left, r.top, r.right, r.bottom}) out_.I32(v); }
  void PaintPath(uint32_t type);
  void Touch(const Rect& r);  // adds a drawn area to the bounds
  Rect PointsBounds(std::span<const Point> points) const;

  // Objects are created once per distinct value and selected when the value changes.
  void SelectPen();
  void SelectBrush();
  void SelectFont();
  uint32_t NewHandle() { return next_handle_++; }
  void Select(uint32_t& selected, uint32_t handle);

  int width_, height_;
  ByteWriter out_;
  size_t record_start_ = 0;
  uint32_t records_ = 0;
  uint32_t next_handle_ = 1;
  std::optional<Rect> bounds_;
  struct SavedState {
    Selection selected;
    Pen pen;
    Brush brush;
    DeviceFont font;
  };
  Selection selected_;
  std::vector<SavedState> saved_;
  std::map<std::vector<uint32_t>, uint32_t> objects_;  // object key -> handle
  std::vector<uint8_t> finished_;
  Point position_;
};

}  // namespace zavrik
