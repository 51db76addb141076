// TIFF pictures through libtiff, read from memory: the first directory as RGBA.
#include <tiffio.h>

#include <cstring>

#include "platform/image_decode.h"

namespace zavrik {
namespace {

struct Source {
  std::span<const uint8_t> bytes;
  toff_t position = 0;
};

tmsize_t Read(thandle_t handle, void* buffer, tmsize_t size) {
  auto* s = static_cast<Source*>(handle);
  if (size < 0 || s->position >= s->bytes.size()) return 0;
  const size_t count = std::min<size_t>(static_cast<size_t>(size), s->bytes.size() - s->position);
  std::memcpy(buffer, s->bytes.data() + s->position, count);
  s->position += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return 0; }

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
  auto* s = static_cast<Source*>(handle);
  toff_t base = 0;
  if (whence == SEEK_CUR) base = s->position;
  if (whence == SEEK_END) base = s->bytes.size();
  if (offset > UINT64_MAX - base) return static_cast<toff_t>(-1);
  s->position = base + offset;
  return s->position;
}

int Close(thandle_t) { return 0; }
toff_t Size(thandle_t handle) { return static_cast<Source*>(handle)->bytes.size(); }
int Map(thandle_t, void**, toff_t*) { return 0; }
void Unmap(thandle_t, void*, toff_t) {}
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
  TIFF* tiff;
  TIFFOpenOptions* options;
  ~TiffCloser() {
    if (tiff) TIFFClose(tiff);
    TIFFOpenOptionsFree(options);
  }
};

}  // namespace

Image DecodeTiff(std::span<const uint8_t> bytes) {
  Source source{bytes};
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
  // No single buffer beyond the largest picture.
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxImagePixels * 4));
  TiffCloser closer{TIFFClientOpenExt("picture", "rm", &source, Read, Write, Seek, Close, Size, Map,
                                      Unmap, options),
                    options};
  if (!closer.tiff) throw ImageDataError(u"damaged image data");
  uint32_t width = 0, height = 0;
  TIFFGetField(closer.tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(closer.tiff, TIFFTAG_IMAGELENGTH, &height);
  CheckImageSize(width, height);
  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(closer.tiff, width, height, image.pixels.data(), ORIENTATION_TOPLEFT, 0))
    throw ImageDataError(u"damaged image data");
  // libtiff packs ABGR; pictures here are ARGB.
  for (uint32_t& p : image.pixels) {
    p = (p & 0xFF00FF00u) | ((p & 0xFF) << 16) | ((p >> 16) & 0xFF);
  }
  return image;
}

}  // namespace zavrik
