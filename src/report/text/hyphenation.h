// Russian hyphenation of one word.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik {

// Positions p (1-based) after which the upper-case word may be broken, ascending.
std::vector<int> HyphenPoints(StringView word);

// Upper case for ASCII and Cyrillic letters (the word form HyphenPoints expects).
String UpperRussian(StringView text);

}  // namespace zavrik
