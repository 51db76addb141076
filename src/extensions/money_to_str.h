// Money amounts in Russian words: roubles in words, kopecks as digits or in words.
#pragma once

#include <cstdint>

#include "core/ustring.h"

namespace zavrik::extensions {

// The word forms of a currency: one, two to four, five and more (and zero).
struct TCurrencyNames {
  String Curr = u"рубль ", Curr2 = u"рубля ", Curr5 = u"рублей ";
  String Small = u"копейка ", Small2 = u"копейки ", Small5 = u"копеек ";
  String CodeSimb = u"руб.";
};

// The amount is fixed point with four decimals (roubles × 10000). "Одна тысяча двести тридцать
// четыре рубля  56 копеек " for 12345600 with kopecks as digits. Negative amounts are written as
// "Минус " and the words of their magnitude.
String MoneyToStr(int64_t amount, bool kopecks_as_digits,
                  const TCurrencyNames& names = TCurrencyNames());

// The script function's conversion: round(S × 10000) with halves to even; raises "Range check
// error" when the amount does not fit.
int64_t MoneyAmount(double value);

}  // namespace zavrik::extensions
