// Case-insensitive names in every alphabet: upper-case mapping of the letters of the Basic
// Multilingual Plane that have one (Latin, Greek, Cyrillic and their extensions).
#pragma once

#include "core/ustring.h"

namespace zavrik {

char16_t UpperChar(char16_t c);
String UpperCase(StringView text);
// Equal without regard to case.
bool SameText(StringView a, StringView b);

}  // namespace zavrik
