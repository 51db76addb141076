#include "report/text/hyphenation.h"

namespace zavrik {
namespace {

constexpr StringView kVowels = u"АЕЁИОУЫЭЮЯ";
constexpr StringView kConsonants = u"БВГДЖЗЙКЛМНПРСТФХЦЧШЩЬЪ";
constexpr StringView kSigns = u"ЬЪ";

bool In(StringView set, char16_t ch) { return set.find(ch) != StringView::npos; }
bool IsVowel(char16_t ch) { return In(kVowels, ch); }
bool IsConsonant(char16_t ch) { return In(kConsonants, ch); }

bool HasVowel(StringView part) {
  for (char16_t ch : part) {
    if (IsVowel(ch)) return true;
  }
  return false;
}

}  // namespace

std::vector<int> HyphenPoints(StringView word) {
  std::vector<int> points;
  const size_t n = word.size();
  if (n <= 3) return points;
  for (size_t j = 0; j < n; ++j) {  // a break after word[j]
    const char16_t ch = word[j];
    const char16_t next = j + 1 < n ? word[j + 1] : 0;
    bool allowed = false;
    if (IsConsonant(ch)) {
      allowed = !IsVowel(next) && !In(kSigns, next);
    } else if (IsVowel(ch)) {
      const bool doubled_before_vowel =
          j + 3 < n && word[j + 1] == word[j + 2] && IsConsonant(word[j + 1]) && IsVowel(word[j + 3]);
      allowed = next != u'Й' && !doubled_before_vowel;
    }
    const StringView before = word.substr(0, j + 1), after = word.substr(j + 1);
    if (allowed && before.size() >= 2 && after.size() >= 2 && HasVowel(before) && HasVowel(after)) {
      points.push_back(static_cast<int>(j + 1));
    }
  }
  return points;
}

String UpperRussian(StringView text) {
  String upper(text);
  for (char16_t& ch : upper) {
    if ((ch >= u'a' && ch <= u'z') || (ch >= 0x430 && ch <= 0x44F)) ch -= 0x20;
    else if (ch >= 0x450 && ch <= 0x45F) ch -= 0x50;
  }
  return upper;
}

}  // namespace zavrik
