// 8-bit code pages: Windows-1251 (Russian ANSI), Windows-1252, ISO-8859-1, and UTF-8 as code page
// 65001. Unmappable characters encode as '?'.
#pragma once

#include <string>

#include "core/ustring.h"

namespace zavrik {

inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePage1251 = 1251;
inline constexpr int kCodePage1252 = 1252;
inline constexpr int kCodePageLatin1 = 28591;

// Whether the code page has a codec here.
bool IsSupportedCodePage(int code_page);

// Code pages without a codec are treated as UTF-8.
String DecodeCodePage(std::string_view bytes, int code_page);
std::string EncodeCodePage(StringView text, int code_page);

}  // namespace zavrik
