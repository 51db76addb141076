#include "extensions/money_to_str.h"

#include <gtest/gtest.h>

#include "support/test_helpers.h"

namespace zavrik::extensions {
namespace {

String Money(double roubles) { return MoneyToStr(MoneyAmount(roubles), true); }

TEST(MoneyToStr, KopecksAsDigits) {
  EXPECT_EQ(Money(1234.56), u"Одна тысяча двести тридцать четыре рубля  56 копеек ");
  EXPECT_EQ(Money(0), u"Ноль рублей  00 копеек ");
  EXPECT_EQ(Money(0.5), u"Ноль рублей  50 копеек ");
  EXPECT_EQ(Money(1), u"Один рубль  00 копеек ");
  EXPECT_EQ(Money(21.01), u"Двадцать один рубль  01 копейка ");
  EXPECT_EQ(Money(1000), u"Одна тысяча рублей  00 копеек ");
  EXPECT_EQ(Money(2000000), u"Два миллиона рублей  00 копеек ");
  EXPECT_EQ(Money(12.345), u"Двенадцать рублей  34 копейки ");  // the third decimal is dropped
  EXPECT_EQ(Money(111), u"Сто одиннадцать рублей  00 копеек ");
  EXPECT_EQ(Money(3.12), u"Три рубля  12 копеек ");
  EXPECT_EQ(Money(10.22), u"Десять рублей  22 копейки ");
}

TEST(MoneyToStr, ScalesAndGenders) {
  EXPECT_EQ(Money(2002), u"Две тысячи два рубля  00 копеек ");
  EXPECT_EQ(Money(5011), u"Пять тысяч одиннадцать рублей  00 копеек ");
  EXPECT_EQ(Money(1001001), u"Один миллион одна тысяча один рубль  00 копеек ");
  EXPECT_EQ(Money(345000000000.0), u"Триста сорок пять миллиардов рублей  00 копеек ");
  EXPECT_EQ(Money(1e12), u"Один триллион рублей  00 копеек ");
}

TEST(MoneyToStr, KopecksInWords) {
  EXPECT_EQ(MoneyToStr(MoneyAmount(2.21), false), u"Два рубля двадцать одна копейка ");
  EXPECT_EQ(MoneyToStr(MoneyAmount(2), false), u"Два рубля  00 копеек ");
}

TEST(MoneyToStr, NegativeAmountsAndLimits) {
  EXPECT_EQ(Money(-21.01), u"Минус двадцать один рубль  01 копейка ");
  EXPECT_EQ(Money(-0.5), u"Минус ноль рублей  50 копеек ");
  EXPECT_NO_THROW(MoneyToStr(INT64_MAX, true));
  EXPECT_NO_THROW(MoneyToStr(INT64_MIN, true));
  EXPECT_EQ(test::ErrorMessage([] { MoneyAmount(1e300); }), u"Range check error");
  EXPECT_EQ(MoneyAmount(1234.56), 12345600);
}

TEST(MoneyToStr, BlankWordFormsGiveTheNumberAndSymbol) {
  TCurrencyNames names;
  names.Small2 = u" ";
  EXPECT_EQ(MoneyToStr(12345000, true, names), u"1234.5 руб.");
}

}  // namespace
}  // namespace zavrik::extensions
