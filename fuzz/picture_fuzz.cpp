// Loads pictures from arbitrary bytes every way the picture view does — probing with the storage
// header, the template form, and each decoder forced as a file extension chooses it — and draws
// each result on a small raster. Only ImageDataError may escape the loaders.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/raster_canvas.h"
#include "report/model/views/qbx_picture_view.h"

namespace {

void Try(const std::function<void(zavrik::TqbxPictureView&)>& load) {
  zavrik::TqbxPictureView view;
  view.SetWidth(40);
  view.SetHeight(30);
  try {
    load(view);
  } catch (const zavrik::ImageDataError&) {
  }
  zavrik::RasterCanvas canvas(48, 36);
  view.Draw(canvas, 1, 1, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  const std::span<const uint8_t> bytes(data, size);
  Try([&](TqbxPictureView& view) { view.LoadPictureFromStream(bytes); });
  Try([&](TqbxPictureView& view) { view.Picture()->ReadDataBytes(bytes); });
  for (int format = static_cast<int>(ImageFormat::kBitmap); format <= static_cast<int>(ImageFormat::kTiff); ++format)
    Try([&](TqbxPictureView& view) { view.Picture()->Load(static_cast<ImageFormat>(format), bytes); });
  return 0;
}
