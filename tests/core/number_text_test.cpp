#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/float_text.h"
#include "core/number_parse.h"
#include "core/numeric.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::ErrorOf;
using testing::PlainSettings;
using testing::Utf8;

std::string General(double v) { return Utf8(FloatToStr(v, PlainSettings())); }

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.4999999), 2);
  EXPECT_EQ(RoundHalfEven(-2.5000001), -3);
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0);
  EXPECT_EQ(RoundHalfEven(1e15 + 0.5), 1e15);
  EXPECT_EQ(RoundHalfEven(1e15 + 1.5), 1e15 + 2);
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.5)));  // -1 rounds up to a zero without sign
  EXPECT_TRUE(std::signbit(RoundHalfEven(-0.0)));
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.3)));
  EXPECT_EQ(RoundHalfEven(-0.7), -1);
  EXPECT_EQ(RoundHalfEven(4503599627370495.5), 4503599627370496.0);  // the last halves below 2^52
  EXPECT_EQ(RoundHalfEven(-4503599627370494.5), -4503599627370494.0);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);  // the largest double below a half
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
  EXPECT_EQ(RoundHalfEven(-HUGE_VAL), -HUGE_VAL);
  EXPECT_EQ(RoundToInt64(9.3e18), std::nullopt);
  EXPECT_EQ(RoundToInt32(-2147483648.5), INT32_MIN);  // -2147483648 is even and fits
  EXPECT_EQ(ErrorOf([] { RoundToInt32(2147483647.5); }), "Range check error");
}

TEST(FloatToStr, GeneralFormWith15DigitsAndItsThresholds) {
  EXPECT_EQ(General(0), "0");
  EXPECT_EQ(General(-0.0), "0");
  EXPECT_EQ(General(100), "100");
  EXPECT_EQ(General(-1.5), "-1.5");
  EXPECT_EQ(General(0.1 + 0.2), "0.3");
  EXPECT_EQ(General(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(General(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(General(0.00001), "0.00001");       // not below 0.00001: still plain
  EXPECT_EQ(General(0.0000099), "9.9E-6");
  EXPECT_EQ(General(0.000001), "1E-6");
  EXPECT_EQ(General(-0.000001), "-1E-6");
  EXPECT_EQ(General(123456789012345), "123456789012345");   // 15 integer digits
  EXPECT_EQ(General(1234567890123456), "1.23456789012346E15");
  EXPECT_EQ(General(999999999999999.9), "1E15");  // rounds to 16 integer digits
  EXPECT_EQ(General(1e100), "1E100");
  EXPECT_EQ(General(2147483648.0), "2147483648");
  EXPECT_EQ(Utf8(FloatToStr(1.5)), "1,5");  // the process's settings: Russian
  EXPECT_EQ(General(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(General(-std::numeric_limits<double>::infinity()), "-INF");
  EXPECT_EQ(General(std::nan("")), "NAN");
  // Digits come from the shortest text that reads back as the same double.
  EXPECT_EQ(General(std::numeric_limits<double>::denorm_min()), "5E-324");
  EXPECT_EQ(Utf8(FloatToStrGeneral(1234.5, 3, PlainSettings())), "1.23E3");
}

TEST(FloatToStr, FixedExponentAndMoneyForms) {
  const FormatSettings& plain = PlainSettings();
  EXPECT_EQ(Utf8(FloatToStrFixed(2.675, 2, false, plain)), "2.68");  // the digits of 2.675
  EXPECT_EQ(Utf8(FloatToStrFixed(0.125, 2, false, plain)), "0.13");  // displays round away
  EXPECT_EQ(Utf8(FloatToStrFixed(-0.001, 2, false, plain)), "0.00");
  EXPECT_EQ(Utf8(FloatToStrFixed(9.999, 2, false, plain)), "10.00");
  EXPECT_EQ(Utf8(FloatToStrFixed(1234567.891, 2, true, plain)), "1,234,567.89");
  EXPECT_EQ(Utf8(FloatToStrFixed(123456, 0, true, plain)), "123,456");
  EXPECT_EQ(Utf8(FloatToStrFixed(1234567.891, 2, true, RussianFormatSettings())),
            "1\u00A0234\u00A0567,89");
  EXPECT_EQ(Utf8(FloatToStrExponent(1234.5, 15, plain)), "1.23450000000000E+003");
  EXPECT_EQ(Utf8(FloatToStrExponent(0, 15, plain)), "0.00000000000000E+000");
  EXPECT_EQ(Utf8(FloatToStrExponent(-1.5e-10, 3, plain)), "-1.50E-010");
  EXPECT_EQ(Utf8(FloatToStrCurrency(1234.5, 2, RussianFormatSettings())), "1\u00A0234,50 ₽");
  EXPECT_EQ(Utf8(FloatToStrCurrency(-1234.5, 2, RussianFormatSettings())), "-1\u00A0234,50 ₽");
  EXPECT_EQ(Utf8(FloatToStrCurrency(-0.001, 2, RussianFormatSettings())), "0,00 ₽");
  EXPECT_EQ(Utf8(FloatToStrCurrency(-5, 0, plain)), "-$5");
  EXPECT_EQ(Utf8(CurrToStr(Currency{12345678}, plain)), "1234.5678");
  EXPECT_EQ(Utf8(CurrToStr(Currency{INT64_MIN}, plain)), "-922337203685477.5808");
  EXPECT_EQ(Utf8(IntToHex(255, 4)), "00FF");
}

TEST(NumberParse, IntegersDecimalOrDollarHex) {
  EXPECT_EQ(ParseInt64(u"-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseInt64(u"9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseInt64(u"$7FFFFFFFFFFFFFFF"), INT64_MAX);
  EXPECT_EQ(ParseInt64(u"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(ParseInt64(u"$1FFFFFFFFFFFFFFFF"), std::nullopt);
  EXPECT_EQ(ParseInt64(u"  +42"), 42);
  for (const char16_t* bad : {u"", u"-", u"$", u"12a", u"42 ", u"1,5", u"0x10"}) {
    EXPECT_EQ(ParseInt64(bad), std::nullopt) << Utf8(bad);
  }
  EXPECT_EQ(ParseInt32(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInt32(u"2147483648"), std::nullopt);
  EXPECT_EQ(ParseInt32(u"$80000000"), INT32_MIN);
  EXPECT_EQ(ParseInt32(u"$100000000"), std::nullopt);
  EXPECT_EQ(StrToInt(u"$10"), 16);
  EXPECT_EQ(ErrorOf([] { StrToInt(u"abc"); }), "'abc' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt64(u""); }), "'' is not a valid integer value");
}

TEST(NumberParse, FloatsUseTheSettingsDecimalSeparator) {
  EXPECT_EQ(ParseFloat(u"1,5"), 1.5);
  EXPECT_EQ(ParseFloat(u" -1,5e3 "), -1500);
  EXPECT_EQ(ParseFloat(u",5"), 0.5);
  EXPECT_EQ(ParseFloat(u"5,"), 5);
  EXPECT_EQ(ParseFloat(u"1e-400"), 0);
  EXPECT_EQ(ParseFloat(u"1.5", PlainSettings()), 1.5);
  for (const char16_t* bad : {u"", u"1.5", u"e5", u"1e", u"1,5,5", u"1\u00A0000", u"inf", u"nan",
                              u"1e400", u"--1", u","}) {
    EXPECT_EQ(ParseFloat(bad), std::nullopt) << Utf8(bad);
  }
  EXPECT_EQ(ErrorOf([] { StrToFloat(u"1.5"); }), "'1.5' is not a valid floating point value");
  EXPECT_EQ(ParseBool(u"tRuE"), true);
  EXPECT_EQ(ParseBool(u"FALSE"), false);
  EXPECT_EQ(ParseBool(u"0"), false);
  EXPECT_EQ(ParseBool(u"-1"), true);
  EXPECT_EQ(ErrorOf([] { StrToBool(u"yes"); }), "'yes' is not a valid boolean value");
}

}  // namespace
}  // namespace zavrik
