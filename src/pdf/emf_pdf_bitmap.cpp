// The metafile player's bitmap records: the source rectangle of the bitmap as a JPEG image object
// (with its alpha as a soft mask when transparency is kept) placed on the mapped destination,
// mirrored when the destination is; pattern fills as filled rectangles.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/error.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_jpeg.h"
#include "platform/image_decode.h"

namespace zavrik::pdf {

struct EmfBitmapFields {
  // The destination's upper-left, upper-right and lower-left corners in logical units: a
  // rectangle, or the parallelogram of the parallelogram transfer.
  TEmfPoint corner, right, below;
  // Source rectangle in pixels; negative sizes mirror. For the DIB records the origin of a
  // bottom-up bitmap is its lower-left corner, for the others always the upper-left one.
  int64_t sx = 0, sy = 0, scx = 0, scy = 0;
  bool dib_origin = false;
  uint32_t rop = 0;
  uint32_t bmi_offset = 0, bmi_size = 0, bits_offset = 0, bits_size = 0;
  // SetDIBitsToDevice: the bits hold only `scans` rows from row `start_scan` (from the origin) on.
  int64_t start_scan = 0, scans = -1;
  uint32_t mask_size = 0;  // the parallelogram transfer's mask bitmap, not applied
};

namespace {

enum : uint32_t {
  kBitBlt = 76, kMaskBlt = 78, kPlgBlt = 79, kSetDIBitsToDevice = 80, kStretchDIBits = 81,
  kTransparentBlt = 116,
};
constexpr uint32_t kSrcCopy = 0x00CC0020;
// The blend function of constant alpha 255 with per-pixel alpha.
constexpr uint32_t kPerPixelAlpha = 0x01FF0000;
// Bitmaps of a metafile larger than this (width × height) are not decoded.
constexpr int64_t kMaxBitmapPixels = 16'000'000;

void ReadBitmapInfo(ByteReader& in, EmfBitmapFields& f) {
  f.bmi_offset = in.U32();
  f.bmi_size = in.U32();
  f.bits_offset = in.U32();
  f.bits_size = in.U32();
}

void SetRectangle(EmfBitmapFields& f, double cx, double cy) {
  f.right = {f.corner.x + cx, f.corner.y};
  f.below = {f.corner.x, f.corner.y + cy};
}

EmfBitmapFields ReadFields(const TEnhMetaObj& record) {
  ByteReader in(record.bytes);
  EmfBitmapFields f;
  in.Seek(24);
  f.corner = ReadPoint(in);
  if (record.iType == kPlgBlt) {
    f.right = ReadPoint(in);
    f.below = ReadPoint(in);
    f.rop = kSrcCopy;
    f.sx = in.I32();
    f.sy = in.I32();
    f.scx = in.I32();
    f.scy = in.I32();
    in.Seek(96);  // past the source transform, background colour and colour usage
    ReadBitmapInfo(in, f);
    in.Skip(16);  // the mask's position, colour usage and header offset
    f.mask_size = in.U32();
    return f;
  }
  if (record.iType == kStretchDIBits || record.iType == kSetDIBitsToDevice) {
    f.dib_origin = true;
    f.sx = in.I32();
    f.sy = in.I32();
    f.scx = in.I32();
    f.scy = in.I32();
    ReadBitmapInfo(in, f);
    in.U32();  // colour usage
    if (record.iType == kStretchDIBits) {
      f.rop = in.U32();
      const double cx = in.I32();
      SetRectangle(f, cx, in.I32());
    } else {
      f.rop = kSrcCopy;
      f.start_scan = in.U32();
      f.scans = in.U32();
      SetRectangle(f, static_cast<double>(f.scx), static_cast<double>(f.scy));
    }
    return f;
  }
  const int32_t cx = in.I32(), cy = in.I32();
  SetRectangle(f, cx, cy);
  f.rop = in.U32();
  f.sx = in.I32();
  f.sy = in.I32();
  in.Seek(84);  // past the source transform, background colour and colour usage
  ReadBitmapInfo(in, f);
  if (record.iType == kBitBlt || record.iType == kMaskBlt) {
    f.scx = cx;
    f.scy = cy;
  } else {
    f.scx = in.I32();
    f.scy = in.I32();
  }
  return f;
}

bool Inside(uint32_t offset, uint32_t size, size_t record) { return offset <= record && size <= record - offset; }

// The part of a bitmap of width × height pixels that a source rectangle covers, in pixels from the
// upper-left corner; empty when they do not meet.
struct SourceCrop {
  int64_t left = 0, top = 0, right = 0, bottom = 0;  // the covered pixels
  double x0 = 0, y0 = 0;                             // the source rectangle's origin, from the top
  bool Empty() const { return left >= right || top >= bottom; }
};

SourceCrop CropSource(const EmfBitmapFields& f, int64_t width, int64_t height, bool bottom_up) {
  SourceCrop c;
  c.x0 = static_cast<double>(f.sx);
  c.y0 = static_cast<double>(f.dib_origin && bottom_up ? height - f.sy - f.scy : f.sy);
  const double y1 = c.y0 + static_cast<double>(f.scy), x1 = c.x0 + static_cast<double>(f.scx);
  c.left = static_cast<int64_t>(std::clamp<double>(std::min(c.x0, x1), 0, static_cast<double>(width)));
  c.right = static_cast<int64_t>(std::clamp<double>(std::max(c.x0, x1), 0, static_cast<double>(width)));
  c.top = static_cast<int64_t>(std::clamp<double>(std::min(c.y0, y1), 0, static_cast<double>(height)));
  c.bottom = static_cast<int64_t>(std::clamp<double>(std::max(c.y0, y1), 0, static_cast<double>(height)));
  return c;
}

Image CropImage(Image image, const SourceCrop& c) {
  if (c.left == 0 && c.top == 0 && c.right == image.width && c.bottom == image.height) return image;
  Image out;
  out.width = static_cast<int>(c.right - c.left);
  out.height = static_cast<int>(c.bottom - c.top);
  out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
  for (int64_t y = c.top; y < c.bottom; ++y) {
    const auto row = image.pixels.begin() + y * image.width;
    out.pixels.insert(out.pixels.end(), row + c.left, row + c.right);
  }
  return out;
}

}  // namespace

void TEMFtoPDFExport::DoBitmap(const TEnhMetaObj& record) {
  const EmfBitmapFields f = ReadFields(record);
  // The transparent-block transfer holds its transparent colour where the others hold the
  // raster operation.
  if (record.iType == kTransparentBlt) return WriteBitmap(record, f);
  switch (f.rop) {
    case 0x00CC0020: case 0x008800C6: case 0x00660046: case 0x00EE0086: case kPerPixelAlpha:
      WriteBitmap(record, f);
      return;
    case 0x00F00021:
      BeginDrawing();
      FPathExists = true;
      WriteLine(RectText(MapRect(f.corner, {f.right.x, f.below.y})) + " re");
      EndDrawing(4);
      return;
    case 0x00AA0029: return;
    default:
      WriteLine("%-- Unsupported dwRop: " + std::to_string(f.rop));
      NotDrawn("dwRop " + std::to_string(f.rop));
      return;
  }
}

void TEMFtoPDFExport::WriteBitmap(const TEnhMetaObj& record, const EmfBitmapFields& f) {
  const size_t size = record.nSize();
  if (f.bmi_size < 16 || !Inside(f.bmi_offset, f.bmi_size, size) || !Inside(f.bits_offset, f.bits_size, size)) {
    BitmapNotDrawn("its data lies outside the record");
    return;
  }
  std::vector<uint8_t> dib(record.bytes.begin() + f.bmi_offset, record.bytes.begin() + f.bmi_offset + f.bmi_size);
  ByteReader header(dib);
  header.U32();
  const int64_t width = header.I32();
  int64_t height = header.I32();
  if (width <= 0 || height == 0 || width * std::llabs(height) > kMaxBitmapPixels) {
    BitmapNotDrawn(std::to_string(width) + " x " + std::to_string(height));
    return;
  }
  const bool bottom_up = height > 0;
  EmfBitmapFields fields = f;
  if (f.scans >= 0 && f.scans < std::llabs(height)) {
    // Only some rows are present: the bitmap is those rows, the source counted from the first.
    height = bottom_up ? f.scans : -f.scans;
    for (int i = 0; i < 4; ++i) dib[8 + i] = static_cast<uint8_t>(static_cast<uint32_t>(height) >> (8 * i));
    fields.sy -= f.start_scan;
  }
  const SourceCrop crop = CropSource(fields, width, std::llabs(height), bottom_up);
  if (crop.Empty()) {
    WriteLine("%-- Bitmap not drawn: source rectangle outside the bitmap");
    return;
  }
  // Each source pixel's corner in logical units; three corners of the crop give the placement.
  const auto logical = [&](double u, double v) {
    const double fu = (u - crop.x0) / static_cast<double>(fields.scx);
    const double fv = (v - crop.y0) / static_cast<double>(fields.scy);
    const TEmfPoint& o = fields.corner;
    return TEmfPoint{o.x + fu * (fields.right.x - o.x) + fv * (fields.below.x - o.x),
                     o.y + fu * (fields.right.y - o.y) + fv * (fields.below.y - o.y)};
  };
  const TEmfPoint top_left = MapPoint(logical(crop.left, crop.top));
  const TEmfPoint top_right = MapPoint(logical(crop.right, crop.top));
  const TEmfPoint bottom_left = MapPoint(logical(crop.left, crop.bottom));
  const double a = top_right.x - top_left.x, b = top_right.y - top_left.y;
  const double c = top_left.x - bottom_left.x, d = top_left.y - bottom_left.y;
  if (!(std::abs(a * d - b * c) > 1e-9)) {
    WriteLine("%-- Bitmap not drawn: empty destination");
    return;
  }
  dib.insert(dib.end(), record.bytes.begin() + f.bits_offset, record.bytes.begin() + f.bits_offset + f.bits_size);
  const bool keyed = Transparency && record.iType == kTransparentBlt;
  const bool blended = Transparency && record.iType != kTransparentBlt && f.rop == kPerPixelAlpha;
  Image image;
  try {
    image = CropImage(blended ? DecodeAlphaDib(dib) : DecodeBmp(dib), crop);
  } catch (const ImageDataError& e) {
    BitmapNotDrawn(e.what());
    return;
  }
  if (keyed) {
    // Pixels of the transparent colour (a COLORREF: blue in the high byte) become transparent.
    const uint32_t key = ((f.rop & 0xFF) << 16) | (f.rop & 0xFF00) | ((f.rop >> 16) & 0xFF);
    for (uint32_t& p : image.pixels) p = (p & 0xFFFFFF) == key ? p & 0xFFFFFF : p | 0xFF000000u;
  }
  if (f.mask_size != 0) NotDrawn("EMR_PLGBLT mask");
  const int index = ImageIndex(image, keyed || blended, blended);
  Push();
  WriteLine(F3t(a) + " " + F3t(b) + " " + F3t(c) + " " + F3t(d) + " " + PointText(bottom_left) + " cm");
  WriteLine("/Im" + std::to_string(index) + " Do");
  Pop();
}

void TEMFtoPDFExport::BitmapNotDrawn(const std::string& reason) {
  WriteLine("%-- Bitmap not drawn: " + reason);
  NotDrawn("bitmap (" + reason + ")");
}

int TEMFtoPDFExport::ImageIndex(const Image& image, bool alpha, bool premultiplied) {
  std::vector<uint8_t> rgb;
  rgb.reserve(image.pixels.size() * 3);
  std::string mask;
  if (alpha) mask.reserve(image.pixels.size());
  bool translucent = false;
  for (uint32_t p : image.pixels) {
    const uint32_t a = p >> 24;
    for (int shift : {16, 8, 0}) {
      uint32_t channel = (p >> shift) & 0xFF;
      // Alpha-blended colours come premultiplied; the image keeps them straight.
      if (premultiplied && a != 0 && a != 255) channel = std::min<uint32_t>(255, (channel * 255 + a / 2) / a);
      rgb.push_back(static_cast<uint8_t>(channel));
    }
    if (alpha) {
      mask.push_back(static_cast<char>(a));
      translucent |= a != 255;
    }
  }
  const std::string jpeg = EncodeJpeg(rgb, image.width, image.height, JPGQuality);
  if (translucent) return FImages.MaskedJpegImageIndex(jpeg, mask, image.width, image.height);
  return FImages.JpegImageIndex(jpeg, image.width, image.height);
}

}  // namespace zavrik::pdf
