// Windows metafile records played onto a canvas: the drawing records and the objects that
// pictures in templates use (pens, brushes, fonts, text, bitmaps, clipping, saved states); other
// records are passed over. Every record is checked against its own size and the stream.
#include "platform/wmf_player.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

#include "core/codepage.h"
#include "core/numeric.h"
#include "platform/byte_reader.h"
#include "platform/emf_recorder.h"
#include "platform/image_decode.h"

namespace zavrik {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr size_t kPlaceableSize = 22, kHeaderSize = 18;
constexpr size_t kMaxObjects = 4096;
constexpr int kMaxSavedStates = 256;

enum : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_SETTEXTALIGN = 0x012E, META_SELECTOBJECT = 0x012D,
  META_RESTOREDC = 0x0127, META_DELETEOBJECT = 0x01F0, META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_LINETO = 0x0213, META_MOVETO = 0x0214,
  META_CREATEPENINDIRECT = 0x02FA, META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC,
  META_POLYGON = 0x0324, META_POLYLINE = 0x0325, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418,
  META_RECTANGLE = 0x041B, META_TEXTOUT = 0x0521, META_POLYPOLYGON = 0x0538, META_ROUNDRECT = 0x061C,
  META_EXTTEXTOUT = 0x0A32, META_DIBSTRETCHBLT = 0x0B41, META_STRETCHDIB = 0x0F43,
};

[[noreturn]] void Damaged() { throw ImageDataError(u"damaged image data"); }

struct PlaceableHeader {
  int left = 0, top = 0, right = 0, bottom = 0, inch = 1440;
};

PlaceableHeader ReadPlaceable(ByteReader& r) {
  if (r.U32() != kPlaceableKey) Damaged();
  r.U16();
  PlaceableHeader h;
  h.left = r.I16(), h.top = r.I16(), h.right = r.I16(), h.bottom = r.I16();
  h.inch = r.U16();
  if (h.inch == 0) h.inch = 1440;
  r.Skip(6);
  return h;
}

using Object = std::variant<Pen, Brush, DeviceFont>;

class Player {
 public:
  Player(Canvas& canvas, const PlaceableHeader& h, int width, int height)
      : canvas_(canvas), width_(width), height_(height) {
    org_x_ = h.left, org_y_ = h.top;
    ext_x_ = h.right - h.left, ext_y_ = h.bottom - h.top;
  }

  // Plays the records after the headers; the position after the end record (or the last whole
  // record).
  size_t Play(ByteReader& r) {
    while (r.CanRead(6)) {
      const size_t start = r.Position();
      const uint32_t words = r.U32();
      if (words < 3 || words > r.Size() / 2) Damaged();
      const size_t size = size_t{words} * 2;
      if (size > r.Size() - start) Damaged();
      const uint16_t function = r.U16();
      ByteReader params = r.Slice(start + 6, size - 6);
      r.Seek(start + size);
      if (function == META_EOF) break;
      Record(function, params);
    }
    while (saved_ > 0) canvas_.Restore(), --saved_;
    return r.Position();
  }

 private:
  int X(int x) const { return Map(x - org_x_, ext_x_, width_); }
  int Y(int y) const { return Map(y - org_y_, ext_y_, height_); }
  static int Map(int v, int ext, int size) {
    if (ext == 0) return 0;
    return static_cast<int>(std::clamp(RoundHalfEven(static_cast<double>(v) * size / ext), -1e7, 1e7));
  }
  int Length(int v, int ext, int size) const { return std::abs(Map(v, ext, size)); }
  Point PointYX(ByteReader& p) {
    const int y = p.I16(), x = p.I16();
    return {X(x), Y(y)};
  }
  Rect RectBRTL(ByteReader& p) {
    const int bottom = p.I16(), right = p.I16(), top = p.I16(), left = p.I16();
    return {X(left), Y(top), X(right), Y(bottom)};
  }
  std::vector<Point> Points(ByteReader& p, size_t count) {
    if (count > p.Remaining() / 4) Damaged();
    std::vector<Point> points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
      const int x = p.I16(), y = p.I16();
      points.push_back({X(x), Y(y)});
    }
    return points;
  }

  void AddObject(Object object) {
    for (auto& slot : objects_) {
      if (!slot) {
        slot = std::move(object);
        return;
      }
    }
    if (objects_.size() >= kMaxObjects) Damaged();
    objects_.emplace_back(std::move(object));
  }

  void Text(int x, int y, std::string_view bytes) {
    const DeviceFont& font = canvas_.CurrentFont();
    const int code_page = font.font.charset == 204 ? 1251 : 1252;
    const String text = DecodeCodePage(bytes, code_page);
    if (text.empty()) return;
    int px = X(x), py = Y(y);
    if ((text_align_ & 24) == 24) py -= static_cast<int>(font.pixel_height * 0.8);
    else if (text_align_ & 8) py -= font.pixel_height;
    canvas_.TextOut(px, py, text, {}, nullptr);
  }

  void Bitmap(ByteReader& p, bool with_usage) {
    p.U32();  // raster operation
    if (with_usage) p.U16();
    p.Skip(8);  // source rectangle: the whole bitmap is drawn
    const int dest_h = p.I16(), dest_w = p.I16(), y = p.I16(), x = p.I16();
    if (p.Remaining() < 12) return;  // a pattern fill without bitmap
    const Image image = DecodeBmp(p.Bytes(p.Remaining()));
    const Rect dest{X(x), Y(y), X(x + dest_w), Y(y + dest_h)};
    canvas_.StretchDraw({std::min(dest.left, dest.right), std::min(dest.top, dest.bottom),
                         std::max(dest.left, dest.right), std::max(dest.top, dest.bottom)},
                        image, std::nullopt, true);
  }

  void Record(uint16_t function, ByteReader& p) {
    switch (function) {
      case META_SETWINDOWORG: org_y_ = p.I16(), org_x_ = p.I16(); break;
      case META_SETWINDOWEXT: ext_y_ = p.I16(), ext_x_ = p.I16(); break;
      case META_SETTEXTALIGN: text_align_ = p.U16(); break;
      case META_SETTEXTCOLOR: {
        DeviceFont font = canvas_.CurrentFont();
        text_color_ = p.U32() & 0xFFFFFF;
        font.font.color = text_color_;
        canvas_.SetFont(font);
        break;
      }
      case META_SAVEDC:
        if (saved_ < kMaxSavedStates) canvas_.Save(), ++saved_;
        break;
      case META_RESTOREDC:
        if (saved_ > 0) canvas_.Restore(), --saved_;
        break;
      case META_MOVETO: canvas_.MoveTo(PointYX(p)); break;
      case META_LINETO: canvas_.LineTo(PointYX(p)); break;
      case META_RECTANGLE: canvas_.Rectangle(RectBRTL(p)); break;
      case META_ELLIPSE: canvas_.Ellipse(RectBRTL(p)); break;
      case META_ROUNDRECT: {
        const int h = p.I16(), w = p.I16();
        canvas_.RoundRect(RectBRTL(p), Length(w, ext_x_, width_), Length(h, ext_y_, height_));
        break;
      }
      case META_INTERSECTCLIPRECT: canvas_.IntersectClip(RectBRTL(p)); break;
      case META_POLYGON:
      case META_POLYLINE: {
        const std::vector<Point> points = Points(p, p.U16());
        if (function == META_POLYGON) canvas_.Polygon(points);
        else canvas_.Polyline(points);
        break;
      }
      case META_POLYPOLYGON: {
        const uint16_t count = p.U16();
        std::vector<uint16_t> counts;
        for (int i = 0; i < count; ++i) counts.push_back(p.U16());
        std::vector<std::vector<Point>> polygons;
        for (uint16_t n : counts) polygons.push_back(Points(p, n));
        canvas_.PolyPolygon(polygons);
        break;
      }
      case META_CREATEPENINDIRECT: {
        const uint16_t style = p.U16();
        const int w = p.I16();
        p.I16();
        const uint32_t color = p.U32() & 0xFFFFFF;
        Pen pen{.color = color, .width = std::max(1, Length(w, ext_x_, width_))};
        switch (style & 15) {
          case 1: pen.style = PenStyle::kDash; break;
          case 2: pen.style = PenStyle::kDot; break;
          case 3: pen.style = PenStyle::kDashDot; break;
          case 4: pen.style = PenStyle::kDashDotDot; break;
          case 5: pen.style = PenStyle::kClear; break;
          default: break;
        }
        AddObject(pen);
        break;
      }
      case META_CREATEBRUSHINDIRECT: {
        const uint16_t style = p.U16();
        const uint32_t color = p.U32() & 0xFFFFFF;
        const uint16_t hatch = p.U16();
        Brush brush{color, BrushStyle::kSolid};
        if (style == 1) brush.style = BrushStyle::kClear;
        if (style == 2) brush.style = static_cast<BrushStyle>(2 + std::min<uint16_t>(hatch, 5));
        AddObject(brush);
        break;
      }
      case META_CREATEFONTINDIRECT: {
        const int height = p.I16();
        p.I16();
        const int escapement = p.I16();
        p.I16();
        const int weight = p.I16();
        const uint8_t italic = p.U8(), underline = p.U8(), strike = p.U8(), charset = p.U8();
        p.Skip(4);
        const std::span<const uint8_t> face = p.Bytes(std::min<size_t>(32, p.Remaining()));
        std::string name(face.begin(), face.end());
        name = name.substr(0, name.find('\0'));
        DeviceFont font;
        font.font.name = DecodeCodePage(name, 1252);
        if (font.font.name.empty()) font.font.name = u"Arial";
        font.font.charset = charset;
        font.font.color = text_color_;
        font.font.style = static_cast<FontStyles>((weight >= 600 ? kFontBold : 0) | (italic ? kFontItalic : 0) |
                                                  (underline ? kFontUnderline : 0) | (strike ? kFontStrikeOut : 0));
        font.pixel_height = std::max(1, Length(height, ext_y_, height_));
        font.font.size = font.pixel_height * 72.0 / 96;
        font.escapement = escapement;
        AddObject(font);
        break;
      }
      case META_SELECTOBJECT: {
        const uint16_t index = p.U16();
        if (index >= objects_.size() || !objects_[index]) break;
        if (auto* pen = std::get_if<Pen>(&*objects_[index])) canvas_.SetPen(*pen);
        if (auto* brush = std::get_if<Brush>(&*objects_[index])) canvas_.SetBrush(*brush);
        if (auto* font = std::get_if<DeviceFont>(&*objects_[index])) {
          DeviceFont selected = *font;
          selected.font.color = text_color_;
          canvas_.SetFont(selected);
        }
        break;
      }
      case META_DELETEOBJECT: {
        const uint16_t index = p.U16();
        if (index < objects_.size()) objects_[index].reset();
        break;
      }
      case META_TEXTOUT: {
        const uint16_t count = p.U16();
        const std::span<const uint8_t> bytes = p.Bytes(count + count % 2);
        const int y = p.I16(), x = p.I16();
        Text(x, y, {reinterpret_cast<const char*>(bytes.data()), count});
        break;
      }
      case META_EXTTEXTOUT: {
        const int y = p.I16(), x = p.I16();
        const int16_t count = p.I16();
        const uint16_t options = p.U16();
        if (options & 6) p.Skip(8);
        if (count <= 0) break;
        const std::span<const uint8_t> bytes = p.Bytes(static_cast<size_t>(count));
        Text(x, y, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        break;
      }
      case META_STRETCHDIB: Bitmap(p, true); break;
      case META_DIBSTRETCHBLT: Bitmap(p, false); break;
      default: break;
    }
  }

  Canvas& canvas_;
  int width_, height_;
  int org_x_ = 0, org_y_ = 0, ext_x_ = 1, ext_y_ = 1;
  uint16_t text_align_ = 0;
  Color text_color_ = clBlack;
  int saved_ = 0;
  std::vector<std::optional<Object>> objects_;
};

size_t PlayRecords(std::span<const uint8_t> bytes, Canvas& canvas, int width, int height) {
  ByteReader r(bytes);
  const PlaceableHeader placeable = ReadPlaceable(r);
  const uint16_t type = r.U16(), header_words = r.U16();
  if ((type != 1 && type != 2) || header_words != 9) Damaged();
  r.Seek(kPlaceableSize + kHeaderSize);
  Player player(canvas, placeable, width, height);
  canvas.Save();
  const size_t end = player.Play(r);
  canvas.Restore();
  return end;
}

}  // namespace

void PlayWmf(std::span<const uint8_t> bytes, Canvas& canvas, int width, int height) {
  try {
    PlayRecords(bytes, canvas, width, height);
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

WmfPicture ConvertWmfToEmf(std::span<const uint8_t> bytes) {
  try {
    ByteReader r(bytes);
    const PlaceableHeader h = ReadPlaceable(r);
    const double width = std::abs(h.right - h.left) * 96.0 / h.inch;
    const double height = std::abs(h.bottom - h.top) * 96.0 / h.inch;
    CheckImageSize(static_cast<int64_t>(RoundHalfEven(width)), static_cast<int64_t>(RoundHalfEven(height)));
    WmfPicture picture;
    picture.width = static_cast<int>(RoundHalfEven(width));
    picture.height = static_cast<int>(RoundHalfEven(height));
    EmfRecorder recorder(picture.width, picture.height);
    picture.length = PlayRecords(bytes, recorder, picture.width, picture.height);
    picture.emf = recorder.Finish();
    return picture;
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

}  // namespace zavrik
