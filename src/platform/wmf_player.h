// Placeable Windows metafiles: their records are played onto a canvas; played onto the EMF
// recorder they become an enhanced metafile, which then serves both the raster and the vector
// drawing of pictures.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas.h"

namespace zavrik {

struct WmfPicture {
  std::vector<uint8_t> emf;  // the converted drawing
  size_t length = 0;         // bytes of the Windows metafile, placeable header included
  int width = 0, height = 0; // pixels at 96 per inch
};

// Converts the placeable Windows metafile at the start of `bytes`; raises ImageDataError for a
// damaged one.
WmfPicture ConvertWmfToEmf(std::span<const uint8_t> bytes);

// Plays the records of a Windows metafile (after its placeable header) onto a canvas, the
// header's bounding box mapped onto width × height pixels.
void PlayWmf(std::span<const uint8_t> bytes, Canvas& canvas, int width, int height);

}  // namespace zavrik
