// Pictures in their file formats: recognising them by their first bytes, and decoding the raster
// ones into 32-bit images. Every decoder checks its input: damaged data and images beyond
// kMaxImagePixels raise ImageDataError, never read past the bytes and never allocate more than
// the image needs.
#pragma once

#include <cstdint>
#include <span>

#include "core/error.h"
#include "platform/canvas.h"

namespace zavrik {

enum class ImageFormat : uint8_t { kNone, kBitmap, kJpeg, kPng, kWmf, kEmf, kIcon, kTiff };

// The largest decoded picture (width × height) and side.
inline constexpr int64_t kMaxImagePixels = 40'000'000;
inline constexpr int kMaxImageSide = 65535;

// A picture that its format's decoder refuses; the message names the cause.
class ImageDataError : public Error {
 public:
  using Error::Error;
};

// Probes the first bytes in this order, each test only when enough bytes remain: "BM" in 14
// bytes (bitmap), $FF $D8 (JPEG), the PNG signature, the placeable metafile key $9AC6CDD7 in 22
// bytes, " EMF" at offset 40 of 100 bytes (enhanced metafile), a 16-bit value below 2 at offset 2
// of 6 bytes (icon), then the TIFF byte-order marks "II*\0" and "MM\0*".
ImageFormat ProbeImageFormat(std::span<const uint8_t> bytes);

// Raises ImageDataError("image too large (W x H)") beyond the limits, "damaged image data" for
// sizes of 0 or below.
void CheckImageSize(int64_t width, int64_t height);

// Raster decoders: the image at the start of `bytes`.
Image DecodePng(std::span<const uint8_t> bytes);
Image DecodeJpeg(std::span<const uint8_t> bytes);
// A BMP file ("BM" header), or a bare device-independent bitmap (an info header first).
Image DecodeBmp(std::span<const uint8_t> bytes);
// A bare device-independent bitmap whose 32-bit pixels without bit fields carry alpha in their
// fourth byte, as alpha-blended bitmaps of metafiles hold them.
Image DecodeAlphaDib(std::span<const uint8_t> bytes);
// A bitmap without file header as icons hold them: the height counts the colour rows and the
// transparency mask rows below them.
Image DecodeIconDib(std::span<const uint8_t> bytes);
// The largest image of an icon file (bitmap or PNG entries).
Image DecodeIcon(std::span<const uint8_t> bytes);
Image DecodeTiff(std::span<const uint8_t> bytes);

// The length of the PNG file at the start of `bytes`, up to and including its IEND chunk;
// raises ImageDataError when the chunks run past the bytes.
size_t PngLength(std::span<const uint8_t> bytes);

}  // namespace zavrik
