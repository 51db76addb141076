// PNG pictures through libpng's simplified reading interface.
#include <png.h>

#include <cstring>

#include "platform/image_decode.h"

namespace zavrik {

Image DecodePng(std::span<const uint8_t> bytes) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    png_image_free(&png);
    throw ImageDataError(u"damaged image data");
  }
  try {
    CheckImageSize(png.width, png.height);
  } catch (...) {
    png_image_free(&png);
    throw;
  }
  png.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
  Image image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    throw ImageDataError(u"damaged image data");
  }
  png_image_free(&png);
  return image;
}

}  // namespace zavrik
