#include "extensions/money_to_str.h"

#include <cmath>

#include "core/error.h"
#include "core/float_text.h"
#include "core/numeric.h"

namespace zavrik::extensions {
namespace {

const char16_t* const kUnitsMale[] = {u"один ", u"два ", u"три ", u"четыре ", u"пять ",
                                      u"шесть ", u"семь ", u"восемь ", u"девять "};
const char16_t* const kUnitsFemale[] = {u"одна ", u"две ", u"три ", u"четыре ", u"пять ",
                                        u"шесть ", u"семь ", u"восемь ", u"девять "};
const char16_t* const kTeens[] = {u"одиннадцать ", u"двенадцать ", u"тринадцать ",
                                  u"четырнадцать ", u"пятнадцать ", u"шестнадцать ",
                                  u"семнадцать ", u"восемнадцать ", u"девятнадцать "};
const char16_t* const kTens[] = {u"десять ", u"двадцать ", u"тридцать ", u"сорок ", u"пятьдесят ",
                                 u"шестьдесят ", u"семьдесят ", u"восемьдесят ", u"девяносто "};
const char16_t* const kHundreds[] = {u"сто ", u"двести ", u"триста ", u"четыреста ", u"пятьсот ",
                                     u"шестьсот ", u"семьсот ", u"восемьсот ", u"девятьсот "};

struct Scale {
  String one, few, many;
  bool feminine;
};

const Scale kTrillions{u"триллион ", u"триллиона ", u"триллионов ", false};
const Scale kBillions{u"миллиард ", u"миллиарда ", u"миллиардов ", false};
const Scale kMillions{u"миллион ", u"миллиона ", u"миллионов ", false};
const Scale kThousands{u"тысяча ", u"тысячи ", u"тысяч ", true};

// Form 1 for one, 2 for two to four, 3 for the rest.
const String& Form(const Scale& s, int form) { return form == 1 ? s.one : form == 2 ? s.few : s.many; }
int FormOfUnit(int unit) { return unit == 1 ? 1 : (unit >= 2 && unit <= 4) ? 2 : 3; }

// n from 1 to 999 in words with its scale word.
String Triad(int n, const Scale& scale) {
  String out;
  if (n >= 100) {
    out += kHundreds[n / 100 - 1];
    n %= 100;
  }
  const auto units = scale.feminine ? kUnitsFemale : kUnitsMale;
  int form = 3;
  if (n >= 20) {
    out += kTens[n / 10 - 1];
    n %= 10;
    if (n >= 1) {
      out += units[n - 1];
      form = FormOfUnit(n);
    }
  } else if (n >= 11) {
    out += kTeens[n - 11];
  } else if (n == 10) {
    out += kTens[0];
  } else if (n >= 1) {
    out += units[n - 1];
    form = FormOfUnit(n);
  }
  return out + Form(scale, form);
}

void UpperFirst(String& text) {
  if (text.empty()) return;
  char16_t& c = text[0];
  if (c >= u'а' && c <= u'я') c = static_cast<char16_t>(c - 0x20);
  else if (c == u'ё') c = u'Ё';
  else if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 0x20);
}

bool AnyBlank(const TCurrencyNames& n) {
  for (const String* s : {&n.Curr, &n.Curr2, &n.Curr5, &n.Small, &n.Small2, &n.Small5})
    if (Trim(StringView(*s)).empty()) return true;
  return false;
}

// The words of a non-negative amount, in lower case.
String Words(int64_t amount, bool kopecks_as_digits, const TCurrencyNames& names) {
  const Scale roubles{names.Curr, names.Curr2, names.Curr5, false};
  const Scale kopecks{names.Small, names.Small2, names.Small5, true};
  const int64_t received = amount;
  String out;
  // Trillions extend the scale so that every int64 amount has words.
  const struct {
    int64_t unit;
    const Scale* scale;
  } groups[] = {{10000000000000000LL, &kTrillions},
                {10000000000000LL, &kBillions},
                {10000000000LL, &kMillions},
                {10000000LL, &kThousands}};
  for (const auto& g : groups) {
    const int64_t count = amount / g.unit;
    if (count > 0) {
      out += Triad(static_cast<int>(count), *g.scale);
      amount -= count * g.unit;
    }
  }
  const int64_t r = amount / 10000;
  if (r < 1) {
    out += names.Curr5;
  } else {
    out += Triad(static_cast<int>(r), roubles);
    amount -= r * 10000;
  }
  const int k = static_cast<int>(amount * 100 / 10000);
  if (kopecks_as_digits) {
    const int last = k % 10;
    const bool teen = k >= 11 && k <= 19;
    const String& word = teen ? names.Small5 : Form(kopecks, FormOfUnit(last == 0 ? 5 : last));
    out += u" ";
    out += static_cast<char16_t>(u'0' + k / 10);
    out += static_cast<char16_t>(u'0' + k % 10);
    out += u" " + word;
  } else if (k > 0) {
    out += Triad(k, kopecks);
  } else {
    out += u" 00 " + names.Small5;
  }
  if (received < 10000) out = u"ноль " + out;
  return out;
}

}  // namespace

String MoneyToStr(int64_t amount, bool kopecks_as_digits, const TCurrencyNames& names) {
  if (AnyBlank(names)) {
    FormatSettings fs;
    fs.decimal_separator = u'.';
    return FloatToStr(static_cast<double>(amount) / 10000.0, fs) + u" " + names.CodeSimb;
  }
  // The magnitude of INT64_MIN does not fit; it lies beyond any real amount anyway.
  const int64_t magnitude = amount >= 0 ? amount : amount == INT64_MIN ? INT64_MAX : -amount;
  String text = Words(magnitude, kopecks_as_digits, names);
  if (amount < 0) text = u"минус " + text;
  UpperFirst(text);
  return text;
}

int64_t MoneyAmount(double value) {
  const double scaled = RoundHalfEven(value * 10000.0);
  if (!(std::fabs(scaled) < 9.2e18)) throw Error(u"Range check error");
  return static_cast<int64_t>(scaled);
}

}  // namespace zavrik::extensions
