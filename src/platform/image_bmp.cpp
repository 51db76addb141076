// Device-independent bitmaps: BMP files, the bitmaps inside icons, and icon files. Headers of
// 12 (core), 40, 52, 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed,
// bit fields, RLE8 and RLE4.
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "platform/byte_reader.h"
#include "platform/image_decode.h"

namespace zavrik {
namespace {

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

[[noreturn]] void Damaged() { throw ImageDataError(u"damaged image data"); }

struct DibHeader {
  int64_t width = 0, height = 0;
  bool top_down = false;
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t colors_used = 0;
  std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
  bool core = false;
  bool has_alpha_mask = false;
};

// A colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m);
  }
  uint32_t Get(uint32_t value) const {
    if (!mask) return 0;
    const uint32_t v = (value & mask) >> shift;
    const uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<uint32_t>((uint64_t{v} * 255 + max / 2) / max);
  }
};

DibHeader ReadHeader(ByteReader& r) {
  DibHeader h;
  const uint32_t size = r.U32();
  if (size == 12) {
    h.core = true;
    h.width = r.U16();
    h.height = r.U16();
    r.U16();  // planes
    h.bits = r.U16();
    return h;
  }
  if (size < 40 || size > 1024) Damaged();
  h.width = r.I32();
  const int32_t height = r.I32();
  h.top_down = height < 0;
  h.height = height < 0 ? -int64_t{height} : height;
  r.U16();
  h.bits = r.U16();
  h.compression = r.U32();
  r.Skip(12);  // image size, resolution
  h.colors_used = r.U32();
  r.U32();
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    // Masks inside a larger header, else right after the 40-byte one.
    for (int i = 0; i < (h.compression == kAlphaBitFields || size >= 56 ? 4 : 3); ++i) h.masks[i] = r.U32();
    h.has_alpha_mask = h.masks[3] != 0;
    if (size > 40) r.Skip(size - 40 - (h.compression == kAlphaBitFields || size >= 56 ? 16 : 12));
  } else {
    r.Skip(size - 40);
  }
  return h;
}

std::vector<uint32_t> ReadPalette(ByteReader& r, const DibHeader& h) {
  if (h.bits > 8) {
    // A colour table of no use to these depths.
    if (h.colors_used > 65536) Damaged();
    r.Skip(size_t{h.colors_used} * (h.core ? 3 : 4));
    return {};
  }
  const uint32_t count = h.colors_used && h.colors_used < (1u << h.bits) ? h.colors_used : 1u << h.bits;
  std::vector<uint32_t> palette(1u << h.bits, 0xFF000000u);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t b = r.U8(), g = r.U8(), red = r.U8();
    if (!h.core) r.U8();
    palette[i] = 0xFF000000u | (red << 16) | (g << 8) | b;
  }
  return palette;
}

// The uncompressed rows, bottom row first unless top-down.
// `alpha_byte`: 32-bit pixels without bit fields carry alpha in their fourth byte (icons).
void ReadRows(ByteReader& r, const DibHeader& h, const std::vector<uint32_t>& palette, Image& image,
              bool alpha_byte) {
  const size_t stride = ((static_cast<size_t>(image.width) * h.bits + 31) / 32) * 4;
  Channel red(0), green(0), blue(0), alpha(0);
  if (h.bits == 16 || h.bits == 32) {
    const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
    red = Channel(fields ? h.masks[0] : h.bits == 16 ? 0x7C00 : 0xFF0000);
    green = Channel(fields ? h.masks[1] : h.bits == 16 ? 0x03E0 : 0x00FF00);
    blue = Channel(fields ? h.masks[2] : h.bits == 16 ? 0x001F : 0x0000FF);
    alpha = Channel(fields ? h.masks[3] : alpha_byte && h.bits == 32 ? 0xFF000000u : 0);
  }
  for (int row = 0; row < image.height; ++row) {
    const std::span<const uint8_t> src = r.Bytes(stride);
    const int y = h.top_down ? row : image.height - 1 - row;
    uint32_t* out = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const size_t bit = static_cast<size_t>(x) * h.bits;
      switch (h.bits) {
        case 1: out[x] = palette[(src[bit / 8] >> (7 - bit % 8)) & 1]; break;
        case 4: out[x] = palette[(src[bit / 8] >> (x % 2 ? 0 : 4)) & 15]; break;
        case 8: out[x] = palette[src[x]]; break;
        case 24:
          out[x] = 0xFF000000u | (uint32_t{src[x * 3 + 2]} << 16) | (uint32_t{src[x * 3 + 1]} << 8) | src[x * 3];
          break;
        default: {
          const size_t at = bit / 8;
          const uint32_t v = h.bits == 16 ? src[at] | (uint32_t{src[at + 1]} << 8)
                                          : src[at] | (uint32_t{src[at + 1]} << 8) |
                                                (uint32_t{src[at + 2]} << 16) | (uint32_t{src[at + 3]} << 24);
          const uint32_t a = alpha.mask ? alpha.Get(v) : 255;
          out[x] = (a << 24) | (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
        }
      }
    }
  }
}

// RLE8 and RLE4: runs and absolute blocks; pixels never written stay transparent.
void ReadRle(ByteReader& r, const DibHeader& h, const std::vector<uint32_t>& palette, Image& image) {
  std::fill(image.pixels.begin(), image.pixels.end(), 0u);
  const bool four = h.compression == kRle4;
  int64_t x = 0, row = 0;
  auto put = [&](uint32_t index) {
    if (x < image.width && row < image.height) {
      const int64_t y = h.top_down ? row : image.height - 1 - row;
      image.pixels[static_cast<size_t>(y * image.width + x)] = palette[index];
    }
    ++x;
  };
  while (row < image.height && r.CanRead(2)) {
    const uint8_t count = r.U8(), value = r.U8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 15 : value >> 4) : value);
    } else if (value == 0) {
      x = 0, ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += r.U8();
      row += r.U8();
    } else {
      const std::span<const uint8_t> data = r.Bytes(four ? (value + 1) / 2 : value);
      for (int i = 0; i < value; ++i) put(four ? (i % 2 ? data[i / 2] & 15 : data[i / 2] >> 4) : data[i]);
      if (data.size() % 2) r.Skip(1);
    }
  }
}

// The bitmap whose header starts at `at` of `bytes`; `pixels_at` is where its rows start (0:
// right after the palette). An icon's bitmap is twice as high and ends with its mask.
// `alpha_byte` as for ReadRows (icons always).
Image DecodeDib(std::span<const uint8_t> bytes, size_t at, size_t pixels_at, bool icon, bool alpha_byte = false) {
  ByteReader r(bytes);
  r.Seek(at);
  DibHeader h = ReadHeader(r);
  if (icon) h.height /= 2;
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  const bool valid_bits = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
  if (!valid_bits) Damaged();
  if (h.compression == kRle8 && h.bits != 8) Damaged();
  if (h.compression == kRle4 && h.bits != 4) Damaged();
  if ((h.compression == kBitFields || h.compression == kAlphaBitFields) && h.bits != 16 && h.bits != 32) Damaged();
  if (!rle && h.compression != kRgb && h.compression != kBitFields && h.compression != kAlphaBitFields) Damaged();
  if (rle && h.top_down) Damaged();
  CheckImageSize(h.width, h.height);
  // Every row must be present before the picture is allocated.
  const size_t stride = ((static_cast<size_t>(h.width) * h.bits + 31) / 32) * 4;
  const std::vector<uint32_t> palette = ReadPalette(r, h);
  if (pixels_at) r.Seek(pixels_at);
  if (!rle && r.Remaining() / stride < static_cast<size_t>(h.height)) Damaged();
  Image image;
  image.width = static_cast<int>(h.width);
  image.height = static_cast<int>(h.height);
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0xFF000000u);
  if (rle) ReadRle(r, h, palette, image);
  else ReadRows(r, h, palette, image, icon || alpha_byte);
  if (!icon) return image;
  // A 32-bit icon whose colours carry alpha needs no mask; the others take it from the mask that
  // follows: one bit per pixel, 1 for transparent.
  const bool alpha_present = h.bits == 32 && std::any_of(image.pixels.begin(), image.pixels.end(),
                                                         [](uint32_t p) { return (p >> 24) != 0; });
  if (alpha_present) return image;
  const size_t mask_stride = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
  if (r.Remaining() / mask_stride < static_cast<size_t>(image.height)) Damaged();
  for (int row = 0; row < image.height; ++row) {
    const std::span<const uint8_t> src = r.Bytes(mask_stride);
    uint32_t* out = image.pixels.data() + static_cast<size_t>(image.height - 1 - row) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const bool transparent = (src[x / 8] >> (7 - x % 8)) & 1;
      out[x] = transparent ? 0 : out[x] | 0xFF000000u;
    }
  }
  return image;
}

}  // namespace

Image DecodeBmp(std::span<const uint8_t> bytes) {
  try {
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
      ByteReader r(bytes);
      r.Skip(10);
      const uint32_t bits_at = r.U32();
      if (bits_at < 14 || bits_at > bytes.size()) Damaged();
      // An offset inside the headers means "right after the palette".
      return DecodeDib(bytes, 14, bits_at, false);
    }
    return DecodeDib(bytes, 0, 0, false);
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

Image DecodeAlphaDib(std::span<const uint8_t> bytes) {
  try {
    return DecodeDib(bytes, 0, 0, false, true);
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

Image DecodeIconDib(std::span<const uint8_t> bytes) {
  try {
    return DecodeDib(bytes, 0, 0, true);
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

Image DecodeIcon(std::span<const uint8_t> bytes) {
  try {
    ByteReader r(bytes);
    r.U16();
    r.U16();
    const uint16_t count = r.U16();
    if (count == 0) Damaged();
    int best = -1;
    int64_t best_area = -1;
    int best_bits = -1;
    uint32_t best_size = 0, best_offset = 0;
    for (int i = 0; i < count; ++i) {
      const int w = r.U8(), h = r.U8();
      r.Skip(4);
      const int bits = r.U16();
      const uint32_t size = r.U32(), offset = r.U32();
      const int64_t area = int64_t{w ? w : 256} * (h ? h : 256);
      if (area > best_area || (area == best_area && bits > best_bits)) {
        best = i, best_area = area, best_bits = bits, best_size = size, best_offset = offset;
      }
    }
    if (best < 0 || best_offset > bytes.size() || best_size > bytes.size() - best_offset) Damaged();
    const std::span<const uint8_t> entry = bytes.subspan(best_offset, best_size);
    if (ProbeImageFormat(entry) == ImageFormat::kPng) return DecodePng(entry);
    return DecodeIconDib(entry);
  } catch (const ImageDataError&) {
    throw;
  } catch (const Error&) {
    Damaged();
  }
}

}  // namespace zavrik
