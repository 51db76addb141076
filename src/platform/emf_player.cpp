#include "platform/emf_player.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>
#include <vector>

#include "core/error.h"
#include "core/numeric.h"
#include "platform/byte_reader.h"
#include "platform/emf_format.h"
#include "platform/font_face.h"

namespace zavrik {
namespace {

int Round(double value) {
  const double r = RoundHalfEven(value);
  return static_cast<int>(std::clamp(r, -1e8, 1e8));
}

struct LogFont {
  DeviceFont font;
};
using EmfObject = std::variant<std::monostate, Pen, Brush, LogFont>;

struct DcState {
  uint32_t map_mode = 1;
  Point window_org, viewport_org;
  Point window_ext{1, 1}, viewport_ext{1, 1};
  uint32_t text_align = 0;
  Color text_color = clBlack;
  uint32_t stretch_mode = 1;
  DeviceFont font;
};

PenStyle PenStyleOf(uint32_t style) {
  switch (style & 0xF) {
    case 1: return PenStyle::kDash;
    case 2: return PenStyle::kDot;
    case 3: return PenStyle::kDashDot;
    case 4: return PenStyle::kDashDotDot;
    case 5: return PenStyle::kClear;
    case 6: return PenStyle::kInsideFrame;
    default: return PenStyle::kSolid;
  }
}

Brush BrushOf(uint32_t style, Color color, uint32_t hatch) {
  if (style == 1) return {color, BrushStyle::kClear};
  if (style == 2 && hatch <= 5) {
    return {color, static_cast<BrushStyle>(static_cast<uint32_t>(BrushStyle::kHorizontal) + hatch)};
  }
  return {color, BrushStyle::kSolid};
}

// Saved canvas states (each holds a copy of the clip) for the outermost levels only: the levels
// nested deeper keep their mapping and font, and their clips stay until the stream returns to the
// last saved level.
constexpr size_t kMaxCanvasSaves = 256;

class Player {
 public:
  Player(std::span<const uint8_t> stream, Canvas& canvas, const Rect& target) : canvas_(canvas), target_(target) {
    const EmfHeader header = ReadEmfHeader(stream);
    const Rect frame = EmfFrameInPixels(stream);
    origin_x_ = frame.left;
    origin_y_ = frame.top;
    scale_x_ = frame.Width() > 0 ? static_cast<double>(target.Width()) / frame.Width() : 1;
    scale_y_ = frame.Height() > 0 ? static_cast<double>(target.Height()) / frame.Height() : 1;
    objects_.resize(std::max<size_t>(1, header.handles));
  }

  void Play(const EmfRecord& record) {
    ByteReader in(record.bytes);
    in.Skip(8);
    switch (record.type) {
      case EMR_SETMAPMODE: dc_.map_mode = in.U32(); break;
      case EMR_SETWINDOWORGEX: dc_.window_org = ReadPoint(in); break;
      case EMR_SETWINDOWEXTEX: dc_.window_ext = ReadPoint(in); break;
      case EMR_SETVIEWPORTORGEX: dc_.viewport_org = ReadPoint(in); break;
      case EMR_SETVIEWPORTEXTEX: dc_.viewport_ext = ReadPoint(in); break;
      case EMR_SETTEXTALIGN: dc_.text_align = in.U32(); break;
      case EMR_SETTEXTCOLOR: dc_.text_color = in.U32() & 0xFFFFFF; break;
      case EMR_SETSTRETCHBLTMODE: dc_.stretch_mode = in.U32(); break;
      case EMR_MOVETOEX: canvas_.MoveTo(Map(ReadPoint(in))); break;
      case EMR_LINETO: canvas_.LineTo(Map(ReadPoint(in))); break;
      case EMR_BEGINPATH: canvas_.BeginPath(); break;
      case EMR_ENDPATH: canvas_.EndPath(); break;
      case EMR_FILLPATH: canvas_.FillPath(); break;
      case EMR_STROKEPATH: canvas_.StrokePath(); break;
      case EMR_STROKEANDFILLPATH: canvas_.StrokeAndFillPath(); break;
      case EMR_SELECTCLIPPATH: canvas_.ClipToPath(); break;
      case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYGON16: case EMR_POLYLINE16: PlayPoly(record.type, in); break;
      case EMR_POLYPOLYGON: case EMR_POLYPOLYGON16: PlayPolyPolygon(record.type == EMR_POLYPOLYGON16, in); break;
      case EMR_RECTANGLE: canvas_.Rectangle(MapRect(ReadRect(in))); break;
      case EMR_ELLIPSE: canvas_.Ellipse(MapRect(ReadRect(in))); break;
      case EMR_ROUNDRECT: {
        const Rect box = MapRect(ReadRect(in));
        const Point corner = ReadPoint(in);
        canvas_.RoundRect(box, Round(corner.x * scale_x_), Round(corner.y * scale_y_));
        break;
      }
      case EMR_INTERSECTCLIPRECT: canvas_.IntersectClip(MapRect(ReadRect(in))); break;
      case EMR_EXTSELECTCLIPRGN: PlayClipRegion(in); break;
      case EMR_SAVEDC:
        saved_.push_back(dc_);
        if (saved_.size() <= kMaxCanvasSaves) canvas_.Save();
        break;
      case EMR_RESTOREDC: {
        // A negative level pops that many states (any 32-bit value, so counted in 64 bits).
        const int64_t pops = -static_cast<int64_t>(in.I32());
        for (int64_t i = 0; i < pops && !saved_.empty(); ++i) {
          if (saved_.size() <= kMaxCanvasSaves) canvas_.Restore();
          dc_ = saved_.back();
          saved_.pop_back();
        }
        break;
      }
      case EMR_CREATEPEN: {
        const uint32_t handle = in.U32(), style = in.U32();
        const int32_t width = in.I32();
        in.I32();
        Store(handle, Pen{in.U32() & 0xFFFFFF, Length(width), PenStyleOf(style)});
        break;
      }
      case EMR_EXTCREATEPEN: PlayExtCreatePen(in); break;
      case EMR_CREATEBRUSHINDIRECT: {
        const uint32_t handle = in.U32(), style = in.U32(), color = in.U32() & 0xFFFFFF;
        Store(handle, BrushOf(style, color, in.U32()));
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: PlayCreateFont(in); break;
      case EMR_SELECTOBJECT: Select(in.U32()); break;
      case EMR_DELETEOBJECT: {
        const uint32_t handle = in.U32();
        if (handle < objects_.size()) objects_[handle] = std::monostate{};
        break;
      }
      case EMR_EXTTEXTOUTW: PlayText(in); break;
      case EMR_STRETCHDIBITS: PlayStretchDib(in); break;
      default: break;
    }
  }

 private:
  static Point ReadPoint(ByteReader& in) {
    const int32_t x = in.I32();
    return {x, in.I32()};
  }
  static Rect ReadRect(ByteReader& in) {
    const Point a = ReadPoint(in), b = ReadPoint(in);
    return {a.x, a.y, b.x, b.y};
  }

  // Logical units to device units (window and viewport), then device units to the target.
  double DeviceX(double x) const {
    if (dc_.map_mode == 7 || dc_.map_mode == 8) {
      if (dc_.window_ext.x == 0) return dc_.viewport_org.x;
      return (x - dc_.window_org.x) * dc_.viewport_ext.x / dc_.window_ext.x + dc_.viewport_org.x;
    }
    return x - dc_.window_org.x + dc_.viewport_org.x;
  }
  double DeviceY(double y) const {
    if (dc_.map_mode == 7 || dc_.map_mode == 8) {
      if (dc_.window_ext.y == 0) return dc_.viewport_org.y;
      return (y - dc_.window_org.y) * dc_.viewport_ext.y / dc_.window_ext.y + dc_.viewport_org.y;
    }
    return y - dc_.window_org.y + dc_.viewport_org.y;
  }
  Point MapDevice(double x, double y) const {
    return {Round(target_.left + (x - origin_x_) * scale_x_), Round(target_.top + (y - origin_y_) * scale_y_)};
  }
  Point Map(Point p) const { return MapDevice(DeviceX(p.x), DeviceY(p.y)); }
  Rect MapRect(const Rect& r) const {
    const Point a = Map({r.left, r.top}), b = Map({r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }
  double LogicalScale() const {
    if ((dc_.map_mode == 7 || dc_.map_mode == 8) && dc_.window_ext.y != 0) {
      return std::abs(static_cast<double>(dc_.viewport_ext.y) / dc_.window_ext.y);
    }
    return 1;
  }
  int Length(int logical) const { return Round(logical * LogicalScale() * (scale_x_ + scale_y_) / 2); }

  void Store(uint32_t handle, EmfObject object) {
    if (handle < objects_.size()) objects_[handle] = std::move(object);
  }

  void Select(uint32_t handle) {
    if (handle & kStockObject) {
      const uint32_t n = handle & ~kStockObject;
      static constexpr Color kStockBrushes[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
      if (n < 5) canvas_.SetBrush({kStockBrushes[n], BrushStyle::kSolid});
      else if (n == 5) canvas_.SetBrush({clWhite, BrushStyle::kClear});
      else if (n == 18) canvas_.SetBrush({clWhite, BrushStyle::kSolid});
      else if (n == 6 || n == 7 || n == 19) canvas_.SetPen({n == 6 ? clWhite : clBlack, 1, PenStyle::kSolid});
      else if (n == 8) canvas_.SetPen({clBlack, 1, PenStyle::kClear});
      return;
    }
    if (handle >= objects_.size()) return;
    if (const auto* pen = std::get_if<Pen>(&objects_[handle])) canvas_.SetPen(*pen);
    if (const auto* brush = std::get_if<Brush>(&objects_[handle])) canvas_.SetBrush(*brush);
    if (const auto* font = std::get_if<LogFont>(&objects_[handle])) dc_.font = font->font;
  }

  void PlayExtCreatePen(ByteReader& in) {
    const uint32_t handle = in.U32();
    in.Skip(16);
    const uint32_t style = in.U32(), width = in.U32();
    in.U32();
    Pen pen{in.U32() & 0xFFFFFF, Length(static_cast<int>(std::min<uint32_t>(width, 1u << 20))), PenStyleOf(style)};
    const uint32_t cap = style & 0xF00, join = style & 0xF000;
    pen.cap = cap == 0x100 ? LineCap::kSquare : cap == 0x200 ? LineCap::kFlat : LineCap::kRound;
    pen.join = join == 0x1000 ? LineJoin::kBevel : join == 0x2000 ? LineJoin::kMiter : LineJoin::kRound;
    Store(handle, pen);
  }

  void PlayCreateFont(ByteReader& in) {
    const uint32_t handle = in.U32();
    const int32_t height = in.I32();
    in.I32();
    const int32_t escapement = in.I32();
    in.I32();
    const int32_t weight = in.I32();
    LogFont font;
    FontRequest& f = font.font.font;
    f.style = (weight > 550 ? kFontBold : 0);
    if (in.U8()) f.style |= kFontItalic;
    if (in.U8()) f.style |= kFontUnderline;
    if (in.U8()) f.style |= kFontStrikeOut;
    f.charset = in.U8();
    in.Skip(4);
    f.name.clear();
    for (int i = 0; i < 32; ++i) {
      const char16_t ch = in.U16();
      if (ch == 0) break;
      f.name.push_back(ch);
    }
    if (f.name.empty()) f.name = u"Arial";
    font.font.pixel_height = std::clamp(std::abs(height), 0, 1 << 16);
    font.font.escapement = escapement % 3600;
    Store(handle, font);
  }

  void PlayPoly(uint32_t type, ByteReader& in) {
    in.Skip(16);
    const uint32_t count = in.U32();
    const bool small = type == EMR_POLYGON16 || type == EMR_POLYLINE16;
    if (count > in.Remaining() / (small ? 4 : 8)) throw Error(std::string_view("Invalid enhanced metafile: bad point count"));
    std::vector<Point> points(count);
    for (Point& p : points) p = small ? Map({in.I16(), in.I16()}) : Map(ReadPoint(in));
    if (type == EMR_POLYGON || type == EMR_POLYGON16) canvas_.Polygon(points);
    else canvas_.Polyline(points);
  }

  void PlayPolyPolygon(bool small, ByteReader& in) {
    in.Skip(16);
    const uint32_t polygons = in.U32(), total = in.U32();
    if (polygons > in.Remaining() / 4 || total > in.Remaining() / (small ? 4 : 8)) {
      throw Error(std::string_view("Invalid enhanced metafile: bad polygon count"));
    }
    std::vector<uint32_t> counts(polygons);
    uint64_t sum = 0;
    for (uint32_t& c : counts) sum += c = in.U32();
    if (sum > total) throw Error(std::string_view("Invalid enhanced metafile: bad polygon count"));
    std::vector<std::vector<Point>> shapes;
    for (uint32_t c : counts) {
      std::vector<Point>& shape = shapes.emplace_back(c);
      for (Point& p : shape) p = small ? Map({in.I16(), in.I16()}) : Map(ReadPoint(in));
    }
    canvas_.PolyPolygon(shapes);
  }

  void PlayClipRegion(ByteReader& in) {
    const uint32_t size = in.U32(), mode = in.U32();
    if (size == 0) {
      canvas_.SelectClipRegion({});
      return;
    }
    in.Skip(8);
    const uint32_t count = in.U32();
    in.Skip(20);
    if (count > in.Remaining() / 16) throw Error(std::string_view("Invalid enhanced metafile: bad region"));
    std::vector<Rect> rects(count);
    for (Rect& r : rects) {
      const Rect device = ReadRect(in);
      const Point a = MapDevice(device.left, device.top), b = MapDevice(device.right, device.bottom);
      r = {a.x, a.y, b.x, b.y};
    }
    if (mode == 1 && rects.size() == 1) canvas_.IntersectClip(rects[0]);
    else canvas_.SelectClipRegion(rects);
  }

  void PlayText(ByteReader& in) {
    in.Skip(16 + 12);
    const Point reference = ReadPoint(in);
    const uint32_t chars = in.U32(), string_offset = in.U32(), options = in.U32();
    const Rect rcl = ReadRect(in);
    const uint32_t dx_offset = in.U32();
    if (chars == 0) return;
    ByteReader text_in = in.Slice(string_offset, static_cast<size_t>(chars) * 2);
    String text(chars, 0);
    for (char16_t& ch : text) ch = text_in.U16();
    std::vector<int> dx;
    if (dx_offset != 0) {
      ByteReader dx_in = in.Slice(dx_offset, static_cast<size_t>(chars) * 4);
      dx.resize(chars);
      for (int& d : dx) d = dx_in.I32();
    }
    DeviceFont font = dc_.font;
    font.font.color = dc_.text_color;
    font.pixel_height = Length(std::max(1, font.pixel_height));
    if (font.pixel_height <= 0 || font.pixel_height > 4096) return;
    // Advances at the target scale, rounded from their running sum so that rounding does not drift.
    std::vector<int> advances;
    if (!dx.empty()) {
      double sum = 0;
      int placed = 0;
      for (int d : dx) {
        sum += d * scale_x_ * LogicalScale();
        advances.push_back(Round(sum) - placed);
        placed = Round(sum);
      }
    } else {
      advances.resize(chars);
      std::vector<int32_t> own(chars);
      FaceFor(font.font.name, font.font.style)->Advances(font.pixel_height).Measure(text, own.data());
      std::copy(own.begin(), own.end(), advances.begin());
    }
    long length = 0;
    for (int a : advances) length += a;
    const OutlineMetrics metrics = FaceFor(font.font.name, font.font.style)->Metrics(font.pixel_height);
    const double angle = font.escapement * M_PI / 1800;
    const double ux = std::cos(angle), uy = -std::sin(angle), vx = std::sin(angle), vy = std::cos(angle);
    double along = 0, down = 0;
    if ((dc_.text_align & kTextAlignBaseline) == kTextAlignBaseline) down = -metrics.ascent;
    else if (dc_.text_align & kTextAlignBottom) down = -metrics.cell_height;
    if ((dc_.text_align & kTextAlignCenter) == kTextAlignCenter) along = -length / 2.0;
    else if (dc_.text_align & kTextAlignRight) along = -static_cast<double>(length);
    const Point ref = Map(reference);
    const int x = Round(ref.x + along * ux + down * vx), y = Round(ref.y + along * uy + down * vy);
    canvas_.SetFont(font);
    const Rect clip = MapRect(rcl);
    canvas_.TextOut(x, y, text, advances, (options & kTextClipped) ? &clip : nullptr);
  }

  void PlayStretchDib(ByteReader& in) {
    in.Skip(16);
    const int32_t x = in.I32(), y = in.I32();
    in.Skip(16);  // source rectangle: the whole bitmap is drawn
    const uint32_t bmi_offset = in.U32(), bmi_size = in.U32(), bits_offset = in.U32(), bits_size = in.U32();
    in.Skip(8);
    const int32_t cx = in.I32(), cy = in.I32();
    if (bmi_size < 40) return;
    ByteReader info = in.Slice(bmi_offset, 40);
    info.U32();
    const int32_t width = info.I32(), height = info.I32();
    info.U16();
    const uint16_t bits = info.U16();
    const uint32_t compression = info.U32();
    if ((bits != 24 && bits != 32) || compression != 0 || width <= 0 || height == 0) return;
    const uint64_t rows = static_cast<uint64_t>(std::abs(static_cast<int64_t>(height)));
    if (static_cast<uint64_t>(width) * rows > (1u << 26)) return;
    const uint64_t stride = bits == 32 ? width * 4ull : (width * 3ull + 3) & ~3ull;
    if (stride * rows > bits_size) return;
    ByteReader data = in.Slice(bits_offset, static_cast<size_t>(stride * rows));
    Image image{width, static_cast<int>(rows), std::vector<uint32_t>(static_cast<size_t>(width) * rows)};
    for (uint64_t row = 0; row < rows; ++row) {
      const int target_row = height > 0 ? static_cast<int>(rows - 1 - row) : static_cast<int>(row);
      data.Seek(static_cast<size_t>(row * stride));
      for (int col = 0; col < width; ++col) {
        const uint32_t b = data.U8(), g = data.U8(), r = data.U8(), a = bits == 32 ? data.U8() : 255;
        image.pixels[static_cast<size_t>(target_row) * width + col] = (a << 24) | (r << 16) | (g << 8) | b;
      }
    }
    const Rect dest = MapRect({x, y, x + cx, y + cy});
    canvas_.StretchDraw(dest, image, std::nullopt, dc_.stretch_mode == kStretchHalftone);
  }

  Canvas& canvas_;
  Rect target_;
  double origin_x_ = 0, origin_y_ = 0, scale_x_ = 1, scale_y_ = 1;
  DcState dc_;
  std::vector<DcState> saved_;
  std::vector<EmfObject> objects_;
};

}  // namespace

void PlayEmf(std::span<const uint8_t> stream, Canvas& canvas, const Rect& target) {
  const std::vector<EmfRecord> records = ReadEmfRecords(stream);
  Player player(stream, canvas, target);
  canvas.Save();
  canvas.IntersectClip(target);
  for (const EmfRecord& record : records) {
    if (record.type == EMR_EOF) break;
    player.Play(record);
  }
  canvas.Restore();
}

}  // namespace zavrik
