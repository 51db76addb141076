#include "platform/color.h"

#include <array>

namespace zavrik {
namespace {

// Indices 0..30 of the system colour table (scroll bar ... menu bar).
constexpr std::array<Color, 31> kSystemColors = {
    RgbColor(0xC8, 0xC8, 0xC8),  // 0 scroll bar
    RgbColor(0x00, 0x00, 0x00),  // 1 background
    RgbColor(0x99, 0xB4, 0xD1),  // 2 active caption
    RgbColor(0xBF, 0xCD, 0xDB),  // 3 inactive caption
    RgbColor(0xF0, 0xF0, 0xF0),  // 4 menu
    RgbColor(0xFF, 0xFF, 0xFF),  // 5 window
    RgbColor(0x64, 0x64, 0x64),  // 6 window frame
    RgbColor(0x00, 0x00, 0x00),  // 7 menu text
    RgbColor(0x00, 0x00, 0x00),  // 8 window text
    RgbColor(0x00, 0x00, 0x00),  // 9 caption text
    RgbColor(0xB4, 0xB4, 0xB4),  // 10 active border
    RgbColor(0xF4, 0xF7, 0xFC),  // 11 inactive border
    RgbColor(0xAB, 0xAB, 0xAB),  // 12 application workspace
    RgbColor(0x33, 0x99, 0xFF),  // 13 highlight
    RgbColor(0xFF, 0xFF, 0xFF),  // 14 highlight text
    RgbColor(0xF0, 0xF0, 0xF0),  // 15 button face
    RgbColor(0xA0, 0xA0, 0xA0),  // 16 button shadow
    RgbColor(0x6D, 0x6D, 0x6D),  // 17 gray text
    RgbColor(0x00, 0x00, 0x00),  // 18 button text
    RgbColor(0x00, 0x00, 0x00),  // 19 inactive caption text
    RgbColor(0xFF, 0xFF, 0xFF),  // 20 button highlight
    RgbColor(0x69, 0x69, 0x69),  // 21 3D dark shadow
    RgbColor(0xE3, 0xE3, 0xE3),  // 22 3D light
    RgbColor(0x00, 0x00, 0x00),  // 23 info text
    RgbColor(0xFF, 0xFF, 0xE1),  // 24 info background
    RgbColor(0x00, 0x00, 0x00),  // 25 (unused)
    RgbColor(0x00, 0x66, 0xCC),  // 26 hot light
    RgbColor(0xB9, 0xD1, 0xEA),  // 27 gradient active caption
    RgbColor(0xD7, 0xE4, 0xF2),  // 28 gradient inactive caption
    RgbColor(0x33, 0x99, 0xFF),  // 29 menu highlight
    RgbColor(0xF0, 0xF0, 0xF0),  // 30 menu bar
};

}  // namespace

Color ColorToRgb(Color color) {
  if ((color & 0xFF000000u) == 0xFF000000u) {
    const uint32_t index = color & 0xFF;
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
  }
  if (color == clNone || color == clDefault) return clBlack;
  return color & 0xFFFFFF;
}

}  // namespace zavrik
