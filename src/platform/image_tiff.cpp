// TIFF pictures through libtiff, read from memory: the first directory as RGBA. libtiff (and the
// codec libraries it pulls in) is opened when the first TIFF picture is read, not at start-up.
#include <tiffio.h>

#include <cstring>
#include <mutex>

#include "core/error.h"
#include "core/shared_library.h"
#include "platform/image_decode.h"

namespace zavrik {
namespace {

struct TiffApi {
  decltype(&::TIFFOpenOptionsAlloc) open_options_alloc;
  decltype(&::TIFFOpenOptionsFree) open_options_free;
  decltype(&::TIFFOpenOptionsSetErrorHandlerExtR) set_error_handler;
  decltype(&::TIFFOpenOptionsSetWarningHandlerExtR) set_warning_handler;
  decltype(&::TIFFOpenOptionsSetMaxSingleMemAlloc) set_max_single_mem_alloc;
  decltype(&::TIFFClientOpenExt) client_open;
  decltype(&::TIFFGetField) get_field;
  decltype(&::TIFFReadRGBAImageOriented) read_rgba_image;
  decltype(&::TIFFClose) close;
};

TiffApi LoadTiff() {
  void* library = OpenLibraryFor("TIFF pictures need", ZAVRIK_TIFF_LIBRARY);
  TiffApi api{};
#define ZAVRIK_RESOLVE(field, symbol) ResolveSymbol(library, ZAVRIK_TIFF_LIBRARY, symbol, api.field)
  ZAVRIK_RESOLVE(open_options_alloc, "TIFFOpenOptionsAlloc");
  ZAVRIK_RESOLVE(open_options_free, "TIFFOpenOptionsFree");
  ZAVRIK_RESOLVE(set_error_handler, "TIFFOpenOptionsSetErrorHandlerExtR");
  ZAVRIK_RESOLVE(set_warning_handler, "TIFFOpenOptionsSetWarningHandlerExtR");
  ZAVRIK_RESOLVE(set_max_single_mem_alloc, "TIFFOpenOptionsSetMaxSingleMemAlloc");
  ZAVRIK_RESOLVE(client_open, "TIFFClientOpenExt");
  ZAVRIK_RESOLVE(get_field, "TIFFGetField");
  ZAVRIK_RESOLVE(read_rgba_image, "TIFFReadRGBAImageOriented");
  ZAVRIK_RESOLVE(close, "TIFFClose");
#undef ZAVRIK_RESOLVE
  return api;
}

const TiffApi& Tiff() {
  static std::mutex mutex;
  static const TiffApi* api = nullptr;  // lives for the whole process
  std::lock_guard lock(mutex);
  if (!api) api = new TiffApi(LoadTiff());
  return *api;
}

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
  const TiffApi& api;
  TIFF* tiff;
  TIFFOpenOptions* options;
  ~TiffCloser() {
    if (tiff) api.close(tiff);
    api.open_options_free(options);
  }
};

}  // namespace

Image DecodeTiff(std::span<const uint8_t> bytes) {
  const TiffApi& tiff = Tiff();
  Source source{bytes};
  TIFFOpenOptions* options = tiff.open_options_alloc();
  tiff.set_error_handler(options, Quiet, nullptr);
  tiff.set_warning_handler(options, Quiet, nullptr);
  // No single buffer beyond the largest picture.
  tiff.set_max_single_mem_alloc(options, static_cast<tmsize_t>(kMaxImagePixels * 4));
  TiffCloser closer{tiff,
                    tiff.client_open("picture", "rm", &source, Read, Write, Seek, Close, Size, Map,
                                     Unmap, options),
                    options};
  if (!closer.tiff) throw ImageDataError(u"damaged image data");
  uint32_t width = 0, height = 0;
  tiff.get_field(closer.tiff, TIFFTAG_IMAGEWIDTH, &width);
  tiff.get_field(closer.tiff, TIFFTAG_IMAGELENGTH, &height);
  CheckImageSize(width, height);
  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * height);
  if (!tiff.read_rgba_image(closer.tiff, width, height, image.pixels.data(), ORIENTATION_TOPLEFT, 0))
    throw ImageDataError(u"damaged image data");
  // libtiff packs ABGR; pictures here are ARGB.
  for (uint32_t& p : image.pixels) {
    p = (p & 0xFF00FF00u) | ((p & 0xFF) << 16) | ((p >> 16) & 0xFF);
  }
  return image;
}

}  // namespace zavrik
