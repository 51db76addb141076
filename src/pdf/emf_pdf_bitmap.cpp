// The metafile player's bitmap records: the bitmap as a JPEG image object placed in the mapped
// destination rectangle, pattern fills as filled rectangles.
#include <cstdlib>

#include "core/error.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_jpeg.h"
#include "platform/image_decode.h"

namespace zavrik::pdf {
namespace {

constexpr uint32_t kStretchDIBits = 81;
// Bitmaps of a metafile larger than this (width × height) are not decoded.
constexpr int64_t kMaxBitmapPixels = 16'000'000;

struct BitmapFields {
  double x = 0, y = 0, cx = 0, cy = 0;
  uint32_t rop = 0;
  uint32_t bmi_offset = 0, bmi_size = 0, bits_offset = 0, bits_size = 0;
};

BitmapFields ReadFields(const TEnhMetaObj& record) {
  ByteReader in(record.bytes);
  BitmapFields f;
  in.Seek(24);
  f.x = in.I32();
  f.y = in.I32();
  if (record.iType == kStretchDIBits) {
    in.Seek(48);
    f.bmi_offset = in.U32();
    f.bmi_size = in.U32();
    f.bits_offset = in.U32();
    f.bits_size = in.U32();
    in.U32();  // colour usage
    f.rop = in.U32();
    f.cx = in.I32();
    f.cy = in.I32();
  } else {
    f.cx = in.I32();
    f.cy = in.I32();
    f.rop = in.U32();
    in.Seek(84);
    f.bmi_offset = in.U32();
    f.bmi_size = in.U32();
    f.bits_offset = in.U32();
    f.bits_size = in.U32();
  }
  return f;
}

bool Inside(uint32_t offset, uint32_t size, size_t record) { return offset <= record && size <= record - offset; }

}  // namespace

void TEMFtoPDFExport::DoBitmap(const TEnhMetaObj& record) {
  const BitmapFields f = ReadFields(record);
  const PdfRect rect = MapRect({f.x, f.y}, {f.x + f.cx, f.y + f.cy});
  switch (f.rop) {
    case 0x00CC0020: case 0x008800C6: case 0x00660046: case 0x00EE0086: case 0x01FF0000:
      WriteImage(record, f.bmi_offset, f.bmi_size, f.bits_offset, f.bits_size, rect);
      return;
    case 0x00F00021:
      BeginDrawing();
      FPathExists = true;
      WriteLine(RectText(rect) + " re");
      EndDrawing(4);
      return;
    case 0x00AA0029: return;
    default: WriteLine("%-- Unsupported dwRop: " + std::to_string(f.rop)); return;
  }
}

void TEMFtoPDFExport::WriteImage(const TEnhMetaObj& record, uint32_t bmi_offset, uint32_t bmi_size,
                                 uint32_t bits_offset, uint32_t bits_size, const PdfRect& rect) {
  const size_t size = record.nSize();
  if (bmi_size < 16 || !Inside(bmi_offset, bmi_size, size) || !Inside(bits_offset, bits_size, size)) return;
  ByteReader header(record.bytes.subspan(bmi_offset, bmi_size));
  header.U32();
  const int64_t width = header.I32(), height = header.I32();
  if (width <= 0 || height == 0 || width * std::llabs(height) > kMaxBitmapPixels) {
    WriteLine("%-- Bitmap not drawn: " + std::to_string(width) + " x " + std::to_string(height));
    return;
  }
  std::vector<uint8_t> dib(record.bytes.begin() + bmi_offset, record.bytes.begin() + bmi_offset + bmi_size);
  dib.insert(dib.end(), record.bytes.begin() + bits_offset, record.bytes.begin() + bits_offset + bits_size);
  Image image;
  try {
    image = DecodeBmp(dib);
  } catch (const ImageDataError& e) {
    WriteLine("%-- Bitmap not drawn: " + std::string(e.what()));
    return;
  }
  // The alpha of 32-bit bitmaps is dropped: the image is written opaque, as a JPEG.
  std::vector<uint8_t> rgb;
  rgb.reserve(image.pixels.size() * 3);
  for (uint32_t p : image.pixels) {
    rgb.push_back(static_cast<uint8_t>(p >> 16));
    rgb.push_back(static_cast<uint8_t>(p >> 8));
    rgb.push_back(static_cast<uint8_t>(p));
  }
  const int index = FImages.JpegImageIndex(EncodeJpeg(rgb, image.width, image.height, JPGQuality),
                                           image.width, image.height);
  Push();
  WriteLine(F3t(rect.right - rect.left) + " 0 0 " + F3t(rect.top - rect.bottom) + " " + F3t(rect.left) + " " +
            F3t(rect.bottom) + " cm");
  WriteLine("/Im" + std::to_string(index) + " Do");
  Pop();
}

}  // namespace zavrik::pdf
