// Baseline JPEG encoding of 24-bit rasters for PDF image objects (libjpeg).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zavrik::pdf {

// `rgb` holds width × height pixels as packed rows of red, green, blue bytes, top row first.
// Raises an Error when the raster does not match its size or the encoder fails.
std::string EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height, int quality);

}  // namespace zavrik::pdf
