// Finding the installed font file for a report family name and style (fontconfig).
//
// Family mapping to installed metric-compatible fonts:
//   Arial -> Liberation Sans, Times New Roman -> Liberation Serif, Courier New -> Liberation Mono,
//   Tahoma -> Tahoma (Wine's metric-compatible font), Calibri -> Carlito,
//   Wingdings -> Wingdings (Wine's), any other name -> fontconfig's best match.
// An installed font of the named family itself is taken before its stand-in.
#pragma once

#include <string>

#include "core/ustring.h"
#include "platform/font_request.h"

namespace zavrik {

struct FontLocation {
  std::string path;
  int index = 0;                 // face index inside a collection
  std::string family;            // the family of the installed font (UTF-8)
  bool simulate_bold = false;    // bold asked for, the file is not bold
  bool simulate_italic = false;  // italic asked for, the file is upright
  // The file is the family asked for, not a stand-in (a metric-compatible or best-match font whose
  // glyphs are numbered differently).
  bool exact = false;

  bool operator==(const FontLocation&) const = default;
};

// The installed family that stands for a report family name (see the table above), or the name.
String SubstituteFamily(StringView family);

// The font file for a family and the bold/italic bits of a style. Always finds some font.
FontLocation LocateFont(StringView family, FontStyles style);

}  // namespace zavrik
