// Colours as the report stores them: $00BBGGRR, with clNone and the system colour indices.
#pragma once

#include <cstdint>

namespace zavrik {

using Color = uint32_t;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clNone = 0x1FFFFFFF;
inline constexpr Color clDefault = 0x20000000;

inline constexpr uint8_t RedOf(Color c) { return c & 0xFF; }
inline constexpr uint8_t GreenOf(Color c) { return (c >> 8) & 0xFF; }
inline constexpr uint8_t BlueOf(Color c) { return (c >> 16) & 0xFF; }
inline constexpr Color RgbColor(uint8_t r, uint8_t g, uint8_t b) {
  return r | (uint32_t{g} << 8) | (uint32_t{b} << 16);
}

// The red-green-blue value of a colour: system colours ($FF0000nn) through a fixed table of the
// classic desktop scheme, clNone and clDefault as black, anything else its low 24 bits.
Color ColorToRgb(Color color);

}  // namespace zavrik
