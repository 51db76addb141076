// JPEG pictures through libjpeg: RGB, greyscale and CMYK (the inverted form of Adobe files).
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "platform/image_decode.h"

namespace zavrik {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }
void Silent(j_common_ptr) {}

// The decompressor's state lives outside the function that calls setjmp.
struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  std::vector<uint8_t> row;
  Image image;
};

// False when libjpeg failed; `decoder.image` holds the picture otherwise.
bool Run(Decoder& d, std::span<const uint8_t> bytes, bool& too_large) {
  if (setjmp(d.errors.jump)) return false;
  jpeg_create_decompress(&d.info);
  jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&d.info, TRUE);
  const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
  d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const int64_t w = d.info.image_width, h = d.info.image_height;
  if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide || w * h > kMaxImagePixels) {
    too_large = w > 0 && h > 0;
    return false;
  }
  jpeg_start_decompress(&d.info);
  const int components = d.info.output_components;
  if (components != (cmyk ? 4 : 3)) return false;
  d.image.width = static_cast<int>(d.info.output_width);
  d.image.height = static_cast<int>(d.info.output_height);
  d.image.pixels.assign(static_cast<size_t>(d.image.width) * d.image.height, 0xFF000000u);
  d.row.resize(static_cast<size_t>(d.image.width) * components);
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = d.row.data();
    const size_t y = d.info.output_scanline;
    if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return false;
    uint32_t* out = d.image.pixels.data() + y * static_cast<size_t>(d.image.width);
    for (int x = 0; x < d.image.width; ++x) {
      const uint8_t* p = d.row.data() + static_cast<size_t>(x) * components;
      uint32_t r = p[0], g = p[1], b = p[2];
      if (cmyk) {
        // Adobe writes the components inverted: the value is the ink left out.
        r = p[0] * p[3] / 255, g = p[1] * p[3] / 255, b = p[2] * p[3] / 255;
      }
      out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

Image DecodeJpeg(std::span<const uint8_t> bytes) {
  Decoder d;
  d.info.err = jpeg_std_error(&d.errors.base);
  d.errors.base.error_exit = ErrorExit;
  d.errors.base.output_message = Silent;
  bool too_large = false;
  const bool ok = Run(d, bytes, too_large);
  jpeg_destroy_decompress(&d.info);
  if (too_large) CheckImageSize(d.info.image_width, d.info.image_height);
  if (!ok) throw ImageDataError(u"damaged image data");
  return std::move(d.image);
}

}  // namespace zavrik
