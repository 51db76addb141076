// Reads an enhanced metafile and plays it onto a small raster: only Error may escape.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/error.h"
#include "platform/emf_format.h"
#include "platform/emf_player.h"
#include "platform/raster_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const std::span<const uint8_t> bytes(data, size);
    zavrik::ReadEmfRecords(bytes);
    zavrik::RasterCanvas canvas(64, 48);
    zavrik::PlayEmf(bytes, canvas, {0, 0, 64, 48});
  } catch (const zavrik::Error&) {
  }
  return 0;
}
