#include "report/model/qbx_error_list.h"

#include <algorithm>

namespace zavrik {
namespace {

// Upper case for ASCII and the Russian alphabet.
char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 32;
  if (c >= 0x0430 && c <= 0x044F) return c - 32;
  if (c == 0x0451) return 0x0401;
  return c;
}

int CompareText(StringView a, StringView b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

void TqbxErrorList::Add(const String& message) {
  const auto at = std::lower_bound(FItems.begin(), FItems.end(), message,
                                   [](const String& a, const String& b) { return CompareText(a, b) < 0; });
  if (at != FItems.end() && CompareText(*at, message) == 0) return;
  FItems.insert(at, message);
}

void TqbxErrorList::AddAll(const TqbxErrorList& other) {
  for (const String& message : other.FItems) Add(message);
}

String TqbxErrorList::Text() const {
  String text;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += FItems[i];
  }
  return text;
}

}  // namespace zavrik
