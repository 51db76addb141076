// The minimal description of a font that measuring and drawing take: the report font's name,
// size, style set, colour and character set, plus its device form (pixel height, escapement).
#pragma once

#include <cstdint>

#include "core/ustring.h"
#include "platform/color.h"

namespace zavrik {

using FontStyles = uint8_t;
inline constexpr FontStyles kFontBold = 1;
inline constexpr FontStyles kFontItalic = 2;
inline constexpr FontStyles kFontUnderline = 4;
inline constexpr FontStyles kFontStrikeOut = 8;

inline constexpr uint8_t kDefaultCharset = 1;
inline constexpr uint8_t kSymbolCharset = 2;

struct FontRequest {
  String name = u"Arial";
  double size = 10;  // points
  FontStyles style = 0;
  Color color = clBlack;
  uint8_t charset = kDefaultCharset;

  bool operator==(const FontRequest&) const = default;
};

// A font realised on a device: the em (character) height in device pixels and the escapement
// (counter-clockwise rotation of the baseline) in tenths of a degree.
struct DeviceFont {
  FontRequest font;
  int pixel_height = 13;
  int escapement = 0;

  bool operator==(const DeviceFont&) const = default;
};

}  // namespace zavrik
