#include "platform/emf_recorder.h"

#include <algorithm>

#include "core/numeric.h"
#include "platform/emf_format.h"

namespace zavrik {
namespace {

constexpr uint32_t kHeaderSize = 108;
constexpr uint32_t kGeometricPen = 0x10000;

// PenStyle lists the styles in the order of the device's pen style codes.
uint32_t PenStyleCode(const Pen& pen) { return static_cast<uint32_t>(pen.style); }

}  // namespace

EmfRecorder::EmfRecorder(int width, int height) : width_(std::max(1, width)), height_(std::max(1, height)) {
  Record(EMR_SETMAPMODE, {static_cast<int32_t>(kMapModeAnisotropic)});
  Record(EMR_SETWINDOWORGEX, {0, 0});
  Record(EMR_SETWINDOWEXTEX, {width_, height_});
  Record(EMR_SETVIEWPORTORGEX, {0, 0});
  Record(EMR_SETVIEWPORTEXTEX, {width_, height_});
  Record(EMR_SETBKMODE, {static_cast<int32_t>(kTransparentBackground)});
  Record(EMR_SETBKCOLOR, {static_cast<int32_t>(clWhite)});
  Record(EMR_SETTEXTALIGN, {static_cast<int32_t>(kTextAlignBaseline)});
  Record(EMR_SETPOLYFILLMODE, {1});
}

void EmfRecorder::Begin(uint32_t type) {
  record_start_ = out_.Size();
  out_.U32(type);
  out_.U32(0);
}

void EmfRecorder::End() {
  out_.PadTo4();
  out_.PatchU32(record_start_ + 4, static_cast<uint32_t>(out_.Size() - record_start_));
  ++records_;
}

void EmfRecorder::Record(uint32_t type, std::initializer_list<int32_t> values) {
  Begin(type);
  for (int32_t v : values) out_.I32(v);
  End();
}

void EmfRecorder::Touch(const Rect& r) {
  const int extra = pen_.style == PenStyle::kClear ? 0 : std::max(1, pen_.width) / 2;
  const Rect inclusive{r.left - extra, r.top - extra, std::max(r.left, r.right - 1) + extra,
                       std::max(r.top, r.bottom - 1) + extra};
  if (!bounds_) {
    bounds_ = inclusive;
    return;
  }
  bounds_->left = std::min(bounds_->left, inclusive.left);
  bounds_->top = std::min(bounds_->top, inclusive.top);
  bounds_->right = std::max(bounds_->right, inclusive.right);
  bounds_->bottom = std::max(bounds_->bottom, inclusive.bottom);
}

Rect EmfRecorder::PointsBounds(std::span<const Point> points) const {
  Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
  }
  return r;
}

void EmfRecorder::Select(uint32_t& selected, uint32_t handle) {
  if (selected == handle) return;
  Record(EMR_SELECTOBJECT, {static_cast<int32_t>(handle)});
  selected = handle;
}

void EmfRecorder::SelectPen() {
  const Color color = ColorToRgb(pen_.color);
  const bool none = pen_.style == PenStyle::kClear || pen_.color == clNone;
  const bool extended = !none && (pen_.cap != LineCap::kRound || pen_.join != LineJoin::kRound);
  const uint32_t cap = pen_.cap == LineCap::kSquare ? 0x100 : pen_.cap == LineCap::kFlat ? 0x200 : 0;
  const uint32_t join = pen_.join == LineJoin::kBevel ? 0x1000 : pen_.join == LineJoin::kMiter ? 0x2000 : 0;
  const uint32_t style = none ? 5 : PenStyleCode(pen_) | (extended ? kGeometricPen | cap | join : 0);
  const std::vector<uint32_t> key = {EMR_CREATEPEN, style, none ? 0u : static_cast<uint32_t>(pen_.width),
                                     none ? 0u : color};
  auto [it, created] = objects_.emplace(key, 0);
  if (created) {
    it->second = NewHandle();
    Begin(extended ? EMR_EXTCREATEPEN : EMR_CREATEPEN);
    out_.U32(it->second);
    if (extended) {
      for (int i = 0; i < 4; ++i) out_.U32(0);  // no brush bitmap
      out_.U32(style);
      out_.U32(key[2]);
      out_.U32(0);  // solid brush
      out_.U32(key[3]);
      out_.U32(0);  // hatch
      out_.U32(0);  // no style entries
    } else {
      out_.U32(style);
      out_.I32(static_cast<int32_t>(key[2]));
      out_.I32(0);
      out_.U32(key[3]);
    }
    End();
  }
  Select(selected_.pen, it->second);
}

void EmfRecorder::SelectBrush() {
  const bool none = brush_.style == BrushStyle::kClear || brush_.color == clNone;
  const uint32_t style = none ? 1 : brush_.style == BrushStyle::kSolid ? 0 : 2;
  const uint32_t hatch = style == 2 ? static_cast<uint32_t>(brush_.style) - static_cast<uint32_t>(BrushStyle::kHorizontal) : 0;
  const std::vector<uint32_t> key = {EMR_CREATEBRUSHINDIRECT, style, none ? 0u : ColorToRgb(brush_.color), hatch};
  auto [it, created] = objects_.emplace(key, 0);
  if (created) {
    it->second = NewHandle();
    Begin(EMR_CREATEBRUSHINDIRECT);
    out_.U32(it->second);
    out_.U32(key[1]);
    out_.U32(key[2]);
    out_.U32(key[3]);
    End();
  }
  Select(selected_.brush, it->second);
}

void EmfRecorder::SelectFont() {
  const FontRequest& f = font_.font;
  const String name = f.name.substr(0, 31);
  std::vector<uint32_t> key = {EMR_EXTCREATEFONTINDIRECTW, static_cast<uint32_t>(font_.pixel_height),
                               static_cast<uint32_t>(font_.escapement), f.style, f.charset};
  key.insert(key.end(), name.begin(), name.end());
  auto [it, created] = objects_.emplace(key, 0);
  if (created) {
    it->second = NewHandle();
    Begin(EMR_EXTCREATEFONTINDIRECTW);
    out_.U32(it->second);
    out_.I32(-font_.pixel_height);  // negative: the character (em) height
    out_.I32(0);
    out_.I32(font_.escapement);
    out_.I32(font_.escapement);
    out_.I32(f.style & kFontBold ? 700 : 400);
    out_.U8(f.style & kFontItalic ? 1 : 0);
    out_.U8(f.style & kFontUnderline ? 1 : 0);
    out_.U8(f.style & kFontStrikeOut ? 1 : 0);
    out_.U8(f.charset);
    for (int i = 0; i < 4; ++i) out_.U8(0);  // precision, quality, pitch and family
    for (size_t i = 0; i < 32; ++i) out_.U16(i < name.size() ? name[i] : 0);
    End();
  }
  Select(selected_.font, it->second);
  const Color color = ColorToRgb(f.color);
  if (selected_.text_color != color) {
    Record(EMR_SETTEXTCOLOR, {static_cast<int32_t>(color)});
    selected_.text_color = color;
  }
}

void EmfRecorder::Rectangle(const Rect& r) {
  SelectPen();
  SelectBrush();
  Begin(EMR_RECTANGLE);
  WriteRect(r);
  End();
  Touch(r);
}

void EmfRecorder::RoundRect(const Rect& r, int corner_width, int corner_height) {
  SelectPen();
  SelectBrush();
  Begin(EMR_ROUNDRECT);
  WriteRect(r);
  out_.I32(corner_width);
  out_.I32(corner_height);
  End();
  Touch(r);
}

void EmfRecorder::Ellipse(const Rect& r) {
  SelectPen();
  SelectBrush();
  Begin(EMR_ELLIPSE);
  WriteRect(r);
  End();
  Touch(r);
}

void EmfRecorder::Polygon(std::span<const Point> points) {
  if (points.empty()) return;
  SelectPen();
  SelectBrush();
  const Rect box = PointsBounds(points);
  Begin(EMR_POLYGON);
  WriteRect(box);
  out_.U32(static_cast<uint32_t>(points.size()));
  for (const Point& p : points) out_.I32(p.x), out_.I32(p.y);
  End();
  Touch({box.left, box.top, box.right + 1, box.bottom + 1});
}

void EmfRecorder::PolyPolygon(std::span<const std::vector<Point>> polygons) {
  std::vector<Point> all;
  for (const auto& polygon : polygons) all.insert(all.end(), polygon.begin(), polygon.end());
  if (all.empty()) return;
  SelectPen();
  SelectBrush();
  const Rect box = PointsBounds(all);
  Begin(EMR_POLYPOLYGON);
  WriteRect(box);
  out_.U32(static_cast<uint32_t>(polygons.size()));
  out_.U32(static_cast<uint32_t>(all.size()));
  for (const auto& polygon : polygons) out_.U32(static_cast<uint32_t>(polygon.size()));
  for (const Point& p : all) out_.I32(p.x), out_.I32(p.y);
  End();
  Touch({box.left, box.top, box.right + 1, box.bottom + 1});
}

void EmfRecorder::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  SelectPen();
  const Rect box = PointsBounds(points);
  Begin(EMR_POLYLINE);
  WriteRect(box);
  out_.U32(static_cast<uint32_t>(points.size()));
  for (const Point& p : points) out_.I32(p.x), out_.I32(p.y);
  End();
  Touch({box.left, box.top, box.right + 1, box.bottom + 1});
}

void EmfRecorder::MoveTo(Point to) {
  Record(EMR_MOVETOEX, {to.x, to.y});
  position_ = to;
}

void EmfRecorder::LineTo(Point to) {
  SelectPen();
  Record(EMR_LINETO, {to.x, to.y});
  Touch({std::min(position_.x, to.x), std::min(position_.y, to.y), std::max(position_.x, to.x) + 1,
         std::max(position_.y, to.y) + 1});
  position_ = to;
}

// The path records carry bounds that players do not need; the whole picture stands for them.
void EmfRecorder::PaintPath(uint32_t type) {
  SelectPen();
  SelectBrush();
  Begin(type);
  WriteRect({0, 0, width_ - 1, height_ - 1});
  End();
  Touch({0, 0, width_, height_});
}

// A polygon without outline covers exactly the pixels left..right-1, top..bottom-1.
void EmfRecorder::FillRect(const Rect& r, Color color) {
  if (color == clNone || r.IsEmpty()) return;
  const Pen pen = pen_;
  const Brush brush = brush_;
  pen_ = {.style = PenStyle::kClear};
  brush_ = {.color = color, .style = BrushStyle::kSolid};
  const Point corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
  Polygon(corners);
  pen_ = pen;
  brush_ = brush;
}

void EmfRecorder::IntersectClip(const Rect& r) {
  Begin(EMR_INTERSECTCLIPRECT);
  WriteRect(r);
  End();
}

void EmfRecorder::SelectClipRegion(std::span<const Rect> region) {
  Begin(EMR_EXTSELECTCLIPRGN);
  if (region.empty()) {
    out_.U32(0);
    out_.U32(kRegionCopy);
  } else {
    Rect bound = region[0];
    for (const Rect& r : region) {
      bound = {std::min(bound.left, r.left), std::min(bound.top, r.top), std::max(bound.right, r.right),
               std::max(bound.bottom, r.bottom)};
    }
    out_.U32(static_cast<uint32_t>(32 + 16 * region.size()));
    out_.U32(kRegionCopy);
    out_.U32(32);  // region header: size, rectangles, count, data size, bound
    out_.U32(1);
    out_.U32(static_cast<uint32_t>(region.size()));
    out_.U32(static_cast<uint32_t>(16 * region.size()));
    WriteRect(bound);
    for (const Rect& r : region) WriteRect(r);
  }
  End();
}

void EmfRecorder::Save() {
  Record(EMR_SAVEDC, {});
  saved_.push_back({selected_, pen_, brush_, font_});
}

void EmfRecorder::Restore() {
  if (saved_.empty()) return;
  Record(EMR_RESTOREDC, {-1});
  selected_ = saved_.back().selected;
  pen_ = saved_.back().pen;
  brush_ = saved_.back().brush;
  font_ = saved_.back().font;
  saved_.pop_back();
}

std::vector<uint8_t> EmfRecorder::Finish() {
  if (!finished_.empty()) return finished_;
  Select(selected_.pen, kStockBlackPen);
  Select(selected_.brush, kStockWhiteBrush);
  Select(selected_.font, kStockSystemFont);
  for (const auto& [key, handle] : objects_) Record(EMR_DELETEOBJECT, {static_cast<int32_t>(handle)});
  Record(EMR_EOF, {0, 16, 20});

  ByteWriter file;
  file.U32(EMR_HEADER);
  file.U32(kHeaderSize);
  const Rect bounds = bounds_.value_or(Rect{0, 0, -1, -1});
  for (int v : {bounds.left, bounds.top, bounds.right, bounds.bottom}) file.I32(v);
  const int per_pixel = 100 * kEmfMillimetresWidth / kEmfDeviceWidth;  // hundredths of a millimetre
  for (int v : {0, 0, width_ * per_pixel, height_ * per_pixel}) file.I32(v);
  file.U32(kEmfSignature);
  file.U32(0x10000);
  file.U32(static_cast<uint32_t>(kHeaderSize + out_.Size()));
  file.U32(records_ + 1);
  file.U16(static_cast<uint16_t>(next_handle_));
  file.U16(0);
  file.U32(0);  // no description
  file.U32(0);
  file.U32(0);  // no palette
  for (int v : {kEmfDeviceWidth, kEmfDeviceHeight, kEmfMillimetresWidth, kEmfMillimetresHeight}) file.I32(v);
  file.U32(0);  // no pixel format
  file.U32(0);
  file.U32(0);  // no OpenGL
  file.I32(kEmfMillimetresWidth * 1000);
  file.I32(kEmfMillimetresHeight * 1000);
  file.Append(out_.Bytes());
  finished_ = std::move(file.Bytes());
  return finished_;
}

}  // namespace zavrik
