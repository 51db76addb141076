// The program's string type (UTF-16) and the conversions at its UTF-8 boundaries.
#pragma once

#include <string>
#include <string_view>

namespace zavrik {

using String = std::u16string;
using StringView = std::u16string_view;

// Decodes UTF-8; every malformed sequence becomes U+FFFD.
String Utf8ToString(std::string_view utf8);
// Encodes UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string StringToUtf8(StringView text);

// ASCII-only case mapping, used for keywords and names.
String AsciiLower(StringView text);
String AsciiUpper(StringView text);
std::string AsciiLower(std::string_view text);
bool SameTextAscii(StringView a, StringView b);

// Removes leading and trailing characters <= U+0020.
String Trim(StringView text);
std::string Trim(std::string_view text);

}  // namespace zavrik
