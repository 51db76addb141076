// Recognising pictures by their first bytes, and the size limits of decoded pictures.
#include <algorithm>
#include <string>

#include "platform/byte_reader.h"
#include "platform/image_decode.h"

namespace zavrik {
namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t U32At(std::span<const uint8_t> b, size_t at) {
  return b[at] | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}

uint32_t U32BigAt(std::span<const uint8_t> b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

}  // namespace

ImageFormat ProbeImageFormat(std::span<const uint8_t> b) {
  const size_t n = b.size();
  if (n >= 14 && b[0] == 'B' && b[1] == 'M') return ImageFormat::kBitmap;
  if (n >= 2 && b[0] == 0xFF && b[1] == 0xD8) return ImageFormat::kJpeg;
  if (n >= 8 && std::equal(b.begin(), b.begin() + 8, kPngSignature)) return ImageFormat::kPng;
  if (n >= 22 && U32At(b, 0) == 0x9AC6CDD7u) return ImageFormat::kWmf;
  if (n >= 100 && U32At(b, 40) == 0x464D4520u) return ImageFormat::kEmf;
  if (n >= 6 && (b[2] | (b[3] << 8)) < 2) return ImageFormat::kIcon;
  if (n >= 8 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                 (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42))) {
    return ImageFormat::kTiff;
  }
  return ImageFormat::kNone;
}

void CheckImageSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) throw ImageDataError(u"damaged image data");
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    throw ImageDataError("image too large (" + std::to_string(width) + " x " +
                         std::to_string(height) + ")");
  }
}

size_t PngLength(std::span<const uint8_t> bytes) {
  size_t at = 8;
  while (true) {
    if (bytes.size() < at + 12) throw ImageDataError(u"damaged image data");
    const uint32_t length = U32BigAt(bytes, at);
    const bool end = std::equal(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                bytes.begin() + static_cast<std::ptrdiff_t>(at + 8), "IEND");
    if (length > bytes.size() - at - 12) throw ImageDataError(u"damaged image data");
    at += 12 + length;
    if (end) return at;
  }
}

}  // namespace zavrik
