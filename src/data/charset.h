// Character sets of the connection and the code pages they imply.
#pragma once

#include <string>

#include "core/codepage.h"
#include "core/ustring.h"

namespace zavrik::data {

// The code page of a server character set name ("UTF8" gives UTF-8, "NONE" 1252); an unknown name
// gives the system's default code page (UTF-8 on this platform).
int CodePageOfCharset(StringView charset);

// Text in the system's 8-bit code page (UTF-8 on this platform): client messages, file names.
inline String DecodeSystemText(std::string_view bytes) { return Utf8ToString(bytes); }
inline std::string EncodeSystemText(StringView text) { return StringToUtf8(text); }

}  // namespace zavrik::data
