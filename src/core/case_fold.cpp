#include "core/case_fold.h"

namespace zavrik {

namespace {

// Blocks where upper- and lower-case letters alternate: the lower one is odd (or even).
bool InPairBlock(char16_t c, char16_t first, char16_t last, bool lower_is_odd) {
  return c >= first && c <= last && ((c & 1) != 0) == lower_is_odd;
}

}  // namespace

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (InPairBlock(c, 0x100, 0x137, true) || InPairBlock(c, 0x139, 0x148, false) ||
      InPairBlock(c, 0x14A, 0x177, true) || InPairBlock(c, 0x179, 0x17E, false))
    return static_cast<char16_t>(c - 1);
  // Greek
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3CB) return static_cast<char16_t>(c - 32);
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return static_cast<char16_t>(c - 37);
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return static_cast<char16_t>(c - 63);
  // Cyrillic
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (InPairBlock(c, 0x460, 0x481, true) || InPairBlock(c, 0x48A, 0x4BF, true) ||
      InPairBlock(c, 0x4C1, 0x4CE, false) || InPairBlock(c, 0x4D0, 0x52F, true))
    return static_cast<char16_t>(c - 1);
  if (c == 0x4CF) return 0x4C0;
  return c;
}

String UpperCase(StringView text) {
  String upper(text);
  for (char16_t& c : upper) c = UpperChar(c);
  return upper;
}

bool SameText(StringView a, StringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

}  // namespace zavrik
