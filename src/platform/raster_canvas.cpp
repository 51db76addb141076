#include "platform/raster_canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/cairo_api.h"

namespace zavrik {
namespace {

void AddRectPath(cairo_t* cr, double l, double t, double r, double b) {
  Cairo().rectangle(cr, l, t, std::max(0.0, r - l), std::max(0.0, b - t));
}

cairo_surface_t* HatchTile(BrushStyle style, Color color) {
  cairo_surface_t* tile = Cairo().image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  Cairo().surface_flush(tile);
  auto* data = reinterpret_cast<uint32_t*>(Cairo().image_surface_get_data(tile));
  const int stride = Cairo().image_surface_get_stride(tile) / 4;
  const Color rgb = ColorToRgb(color);
  const uint32_t pixel = 0xFF000000u | (uint32_t{RedOf(rgb)} << 16) | (uint32_t{GreenOf(rgb)} << 8) | BlueOf(rgb);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool horizontal = y == 0, vertical = x == 0;
      const bool fdiagonal = x == y, bdiagonal = x + y == 7;
      bool on = false;
      switch (style) {
        case BrushStyle::kHorizontal: on = horizontal; break;
        case BrushStyle::kVertical: on = vertical; break;
        case BrushStyle::kFDiagonal: on = fdiagonal; break;
        case BrushStyle::kBDiagonal: on = bdiagonal; break;
        case BrushStyle::kCross: on = horizontal || vertical; break;
        case BrushStyle::kDiagCross: on = fdiagonal || bdiagonal; break;
        default: break;
      }
      data[y * stride + x] = on ? pixel : 0;
    }
  }
  Cairo().surface_mark_dirty(tile);
  return tile;
}

void SetDash(cairo_t* cr, PenStyle style, double width) {
  static const double kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                      kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  const double* pattern = nullptr;
  int count = 0;
  switch (style) {
    case PenStyle::kDash: pattern = kDash, count = 2; break;
    case PenStyle::kDot: pattern = kDot, count = 2; break;
    case PenStyle::kDashDot: pattern = kDashDot, count = 4; break;
    case PenStyle::kDashDotDot: pattern = kDashDotDot, count = 6; break;
    default: break;
  }
  double scaled[6];
  for (int i = 0; i < count; ++i) scaled[i] = pattern[i] * std::max(1.0, width);
  Cairo().set_dash(cr, scaled, count, 0);
}

}  // namespace

void LoadRasterLibrary() { Cairo(); }

RasterCanvas::RasterCanvas(int width, int height, Color background)
    : width_(std::max(1, width)), height_(std::max(1, height)) {
  surface_ = Cairo().image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
  cr_ = Cairo().create(surface_);
  Cairo().set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  Cairo().set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
  SetSourceColor(background);
  Cairo().paint(cr_);
}

RasterCanvas::~RasterCanvas() {
  Cairo().destroy(cr_);
  Cairo().surface_destroy(surface_);
}

Color RasterCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  Cairo().surface_flush(surface_);
  const uint8_t* row = Cairo().image_surface_get_data(surface_) + y * Cairo().image_surface_get_stride(surface_);
  const uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
  return RgbColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

std::vector<uint8_t> RasterCanvas::Rgb24() const {
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(width_) * height_ * 3);
  Cairo().surface_flush(surface_);
  const uint8_t* data = Cairo().image_surface_get_data(surface_);
  const int stride = Cairo().image_surface_get_stride(surface_);
  for (int y = 0; y < height_; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width_; ++x)
      out.insert(out.end(), {uint8_t(row[x] >> 16), uint8_t(row[x] >> 8), uint8_t(row[x])});
  }
  return out;
}

bool RasterCanvas::WritePng(const std::string& path) const {
  Cairo().surface_flush(surface_);
  return Cairo().surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void RasterCanvas::SetSourceColor(Color color) {
  const Color rgb = ColorToRgb(color);
  Cairo().set_source_rgb(cr_, RedOf(rgb) / 255.0, GreenOf(rgb) / 255.0, BlueOf(rgb) / 255.0);
}

double RasterCanvas::PenInset() const {
  if (pen_.style == PenStyle::kClear) return 0;
  return std::max(1, pen_.width) / 2.0;
}

void RasterCanvas::StartShape() {
  if (in_path_) Cairo().new_sub_path(cr_);
  else Cairo().new_path(cr_);
}

void RasterCanvas::FillAndStroke(bool closed_fill) {
  if (in_path_) return;
  PaintPath(closed_fill, true);
}

void RasterCanvas::PaintPath(bool fill, bool stroke) {
  in_path_ = false;
  if (fill && brush_.style != BrushStyle::kClear && brush_.color != clNone) {
    if (brush_.style == BrushStyle::kSolid) {
      SetSourceColor(brush_.color);
    } else {
      cairo_surface_t* tile = HatchTile(brush_.style, brush_.color);
      cairo_pattern_t* pattern = Cairo().pattern_create_for_surface(tile);
      Cairo().pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
      Cairo().pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
      Cairo().set_source(cr_, pattern);
      Cairo().pattern_destroy(pattern);
      Cairo().surface_destroy(tile);
    }
    Cairo().fill_preserve(cr_);
  }
  if (stroke && pen_.style != PenStyle::kClear && pen_.color != clNone) {
    const double width = std::max(1, pen_.width);
    SetSourceColor(pen_.color);
    Cairo().set_line_width(cr_, width);
    SetDash(cr_, pen_.style, width);
    Cairo().set_line_cap(cr_, pen_.cap == LineCap::kFlat     ? CAIRO_LINE_CAP_BUTT
                            : pen_.cap == LineCap::kSquare ? CAIRO_LINE_CAP_SQUARE
                                                           : CAIRO_LINE_CAP_ROUND);
    Cairo().set_line_join(cr_, pen_.join == LineJoin::kMiter   ? CAIRO_LINE_JOIN_MITER
                             : pen_.join == LineJoin::kBevel ? CAIRO_LINE_JOIN_BEVEL
                                                             : CAIRO_LINE_JOIN_ROUND);
    Cairo().stroke_preserve(cr_);
  }
  Cairo().new_path(cr_);
}

void RasterCanvas::Rectangle(const Rect& r) {
  StartShape();
  const double inset = PenInset();
  if (inset == 0) AddRectPath(cr_, r.left, r.top, r.right - 1, r.bottom - 1);
  else AddRectPath(cr_, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
  FillAndStroke(true);
}

void RasterCanvas::RoundRect(const Rect& r, int corner_width, int corner_height) {
  const double inset = PenInset() == 0 ? 0.5 : PenInset();
  const double l = r.left + inset, t = r.top + inset, rr = r.right - inset, b = r.bottom - inset;
  const double rx = std::min(corner_width / 2.0, (rr - l) / 2), ry = std::min(corner_height / 2.0, (b - t) / 2);
  if (rx <= 0 || ry <= 0) return Rectangle(r);
  StartShape();
  const double corners[4][3] = {{rr - rx, t + ry, -M_PI / 2}, {rr - rx, b - ry, 0}, {l + rx, b - ry, M_PI / 2},
                                {l + rx, t + ry, M_PI}};
  for (const auto& c : corners) {
    Cairo().save(cr_);
    Cairo().translate(cr_, c[0], c[1]);
    Cairo().scale(cr_, rx, ry);
    Cairo().arc(cr_, 0, 0, 1, c[2], c[2] + M_PI / 2);
    Cairo().restore(cr_);
  }
  Cairo().close_path(cr_);
  FillAndStroke(true);
}

void RasterCanvas::Ellipse(const Rect& r) {
  const double inset = PenInset() == 0 ? 0.5 : PenInset();
  const double rx = (r.Width() - 2 * inset) / 2, ry = (r.Height() - 2 * inset) / 2;
  if (rx <= 0 || ry <= 0) return;
  StartShape();
  Cairo().save(cr_);
  Cairo().translate(cr_, r.left + inset + rx, r.top + inset + ry);
  Cairo().scale(cr_, rx, ry);
  Cairo().arc(cr_, 0, 0, 1, 0, 2 * M_PI);
  Cairo().restore(cr_);
  Cairo().close_path(cr_);
  FillAndStroke(true);
}

void RasterCanvas::Polygon(std::span<const Point> points) {
  const std::vector<Point> one(points.begin(), points.end());
  PolyPolygon(std::span<const std::vector<Point>>(&one, 1));
}

void RasterCanvas::PolyPolygon(std::span<const std::vector<Point>> polygons) {
  StartShape();
  for (const auto& polygon : polygons) {
    if (polygon.size() < 2) continue;
    Cairo().move_to(cr_, polygon[0].x + 0.5, polygon[0].y + 0.5);
    for (size_t i = 1; i < polygon.size(); ++i) Cairo().line_to(cr_, polygon[i].x + 0.5, polygon[i].y + 0.5);
    Cairo().close_path(cr_);
  }
  FillAndStroke(true);
}

void RasterCanvas::Polyline(std::span<const Point> points) {
  if (points.size() < 2) return;
  StartShape();
  const double shift = std::max(1, pen_.width) % 2 ? 0.5 : 0;
  Cairo().move_to(cr_, points[0].x + shift, points[0].y + shift);
  for (size_t i = 1; i < points.size(); ++i) Cairo().line_to(cr_, points[i].x + shift, points[i].y + shift);
  FillAndStroke(false);
}

void RasterCanvas::MoveTo(Point to) {
  position_ = to;
  const double shift = std::max(1, pen_.width) % 2 ? 0.5 : 0;
  if (in_path_) Cairo().move_to(cr_, to.x + shift, to.y + shift);
}

void RasterCanvas::LineTo(Point to) {
  const Point from = position_;
  position_ = to;
  const double shift = std::max(1, pen_.width) % 2 ? 0.5 : 0;
  if (!in_path_) Cairo().new_path(cr_);
  if (!in_path_ || !Cairo().has_current_point(cr_)) Cairo().move_to(cr_, from.x + shift, from.y + shift);
  Cairo().line_to(cr_, to.x + shift, to.y + shift);
  FillAndStroke(false);
}

void RasterCanvas::BeginPath() {
  Cairo().new_path(cr_);
  in_path_ = true;
}

void RasterCanvas::ClipToPath() {
  in_path_ = false;
  Cairo().clip(cr_);
}

void RasterCanvas::FillRect(const Rect& r, Color color) {
  if (color == clNone || r.IsEmpty()) return;
  SetSourceColor(color);
  AddRectPath(cr_, r.left, r.top, r.right, r.bottom);
  Cairo().fill(cr_);
}

void RasterCanvas::IntersectClip(const Rect& r) {
  AddRectPath(cr_, r.left, r.top, r.right, r.bottom);
  Cairo().clip(cr_);
}

void RasterCanvas::SelectClipRegion(std::span<const Rect> region) {
  Cairo().reset_clip(cr_);
  if (region.empty()) return;
  Cairo().set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  for (const Rect& r : region) AddRectPath(cr_, r.left, r.top, r.right, r.bottom);
  Cairo().clip(cr_);
  Cairo().set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
}

void RasterCanvas::Save() {
  saved_.push_back({pen_, brush_, font_});
  Cairo().save(cr_);
}

void RasterCanvas::Restore() {
  if (saved_.empty()) return;
  Cairo().restore(cr_);
  pen_ = saved_.back().pen;
  brush_ = saved_.back().brush;
  font_ = saved_.back().font;
  saved_.pop_back();
}

void RasterCanvas::StretchDraw(const Rect& dest, const Image& image, std::optional<Color> transparent_color,
                               bool smooth) {
  if (dest.IsEmpty() || image.width <= 0 || image.height <= 0 ||
      image.pixels.size() < static_cast<size_t>(image.width) * image.height) {
    return;
  }
  cairo_surface_t* source = Cairo().image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
  Cairo().surface_flush(source);
  auto* data = Cairo().image_surface_get_data(source);
  const int stride = Cairo().image_surface_get_stride(source);
  const uint32_t key = transparent_color
                           ? (uint32_t{RedOf(*transparent_color)} << 16) | (uint32_t{GreenOf(*transparent_color)} << 8) |
                                 BlueOf(*transparent_color)
                           : 0xFFFFFFFFu;
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = image.At(x, y);
      uint32_t alpha = (p & 0xFFFFFF) == key ? 0 : p >> 24;
      auto pre = [alpha](uint32_t c) { return (c * alpha + 127) / 255; };
      row[x] = (alpha << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
    }
  }
  Cairo().surface_mark_dirty(source);
  Cairo().save(cr_);
  AddRectPath(cr_, dest.left, dest.top, dest.right, dest.bottom);
  Cairo().clip(cr_);
  Cairo().translate(cr_, dest.left, dest.top);
  Cairo().scale(cr_, static_cast<double>(dest.Width()) / image.width, static_cast<double>(dest.Height()) / image.height);
  Cairo().set_source_surface(cr_, source, 0, 0);
  Cairo().pattern_set_filter(Cairo().get_source(cr_), smooth ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  Cairo().pattern_set_extend(Cairo().get_source(cr_), CAIRO_EXTEND_PAD);
  Cairo().paint(cr_);
  Cairo().restore(cr_);
  Cairo().surface_destroy(source);
}

}  // namespace zavrik
