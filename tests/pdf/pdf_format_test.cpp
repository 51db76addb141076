#include "pdf/pdf_format.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "core/float_text.h"
#include "core/format_settings.h"

namespace zavrik::pdf {
namespace {

TEST(PdfNumbers, TwoDecimalsAndTrimmedThree) {
  EXPECT_EQ(F2(12), "12.00");
  EXPECT_EQ(F2(-0.75), "-0.75");
  EXPECT_EQ(F2(794 * 0.75), "595.50");
  EXPECT_EQ(F2(1123 * 0.75), "842.25");
  EXPECT_EQ(F2(0.125), "0.13");   // halves away from zero
  EXPECT_EQ(F2(-0.001), "0.00");  // no negative zero
  EXPECT_EQ(F3t(0.5625), "0.563");
  EXPECT_EQ(F3t(12), "12");
  EXPECT_EQ(F3t(1.5), "1.5");
  EXPECT_EQ(F3t(-0.0001), "0");
}

// The numbers of the content round halves on the value's shortest digits, as the program's
// number display does: 1.0005 (binary just below) still gives 1.001.
TEST(PdfNumbers, AgreeWithTheNumberDisplay) {
  FormatSettings dot;
  dot.decimal_separator = u'.';
  const auto display = [&dot](double v, int decimals) {
    std::string text = StringToUtf8(FloatToStrFixed(v, decimals, false, dot));
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
    return text;
  };
  EXPECT_EQ(F3(1.0005), "1.001");
  EXPECT_EQ(F2(2.675), "2.68");
  EXPECT_EQ(F2(-2.675), "-2.68");
  EXPECT_EQ(F3(1e12 + 0.25), display(1e12 + 0.25, 3));
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> wide(-2000, 2000);
  std::uniform_int_distribution<int> thousandths(-2000000, 2000000);
  for (int i = 0; i < 200000; ++i) {
    const double v = i % 2 ? wide(random) : thousandths(random) / 1000.0 + (i % 4 ? 0.0005 : 0.005);
    ASSERT_EQ(F2(v), display(v, 2)) << v;
    ASSERT_EQ(F3(v), display(v, 3)) << v;
  }
}

// The appended forms write what F2 and F3t return, whatever the buffer holds before: trimming
// stops at the number's own first digit.
TEST(PdfNumbers, AppendedFormsEqualTheReturnedOnes) {
  const auto trimmed = [](std::string text) {
    while (text.size() > 1 && text.back() == '0') text.pop_back();
    if (text.size() > 1 && text.back() == '.') text.pop_back();
    return text == "-0" ? std::string("0") : text;
  };
  std::vector<double> values = {0, -0.0, -0.0001, 0.0004, 0.0005, -0.0005, 0.5, 10, 100, -100, 1.5, 2.675,
                                1e9, 1e12 + 0.25, 1e20, -1e20, 1e300, -1e300, 5e-324,
                                std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  std::mt19937_64 random(11);
  std::uniform_int_distribution<int> thousandths(-2000000, 2000000);
  for (int i = 0; i < 20000; ++i) values.push_back(thousandths(random) / (i % 2 ? 1000.0 : 100.0));
  for (const double v : values) {
    for (const std::string prefix : {"", "100", "1.0", "-"}) {
      std::string out = prefix;
      AppendF2(out, v);
      ASSERT_EQ(out, prefix + F2(v)) << v;
      out = prefix;
      AppendF3t(out, v);
      ASSERT_EQ(out, prefix + F3t(v)) << v;
      ASSERT_EQ(F3t(v), trimmed(F3(v))) << v;
    }
  }
  EXPECT_EQ(F3t(100), "100");
  EXPECT_EQ(F3t(-0.0004), "0");
  EXPECT_EQ(F2(-0.0), "0.00");
}

TEST(PdfColours, ThreeForms) {
  EXPECT_EQ(ColorA(0x000000), "0 0 0");
  EXPECT_EQ(ColorA(0xFFFFFF), "1 1 1");
  EXPECT_EQ(ColorA(0x0000FF), "1.00 0.00 0.00");  // red is the lowest byte
  EXPECT_EQ(ColorB(0x00FF80), "0.502 1 0");
  EXPECT_EQ(ColorB(kNoColor), "0 0 0");
  EXPECT_EQ(ColorC(0xFF8000), "0 0.50 1");
  EXPECT_EQ(ColorC(0x010203), "0.01 0.00 0.00");
}

TEST(PdfStrings, Utf16BigEndianWithEscapes) {
  EXPECT_EQ(PdfTextString(u""), "()");
  EXPECT_EQ(PdfTextString(u"A"), std::string("(\xFE\xFF\x00"
                                             "A)",
                                             6));
  // "(" is 00 28: the 28 byte is escaped. U+0A0D gives the bytes 0A 0D.
  EXPECT_EQ(PdfTextString(u"(\u0A0D"), std::string("(\xFE\xFF\x00\\(\\n\\r)", 11));
  EXPECT_EQ(PdfTextString(u"\\"), std::string("(\xFE\xFF\x00\\\\)", 7));
}

TEST(PdfStrings, Dates) { EXPECT_EQ(PdfDate(2026, 12, 9, 5, 7, 0), "(D:20261209050700-00'00')"); }

}  // namespace
}  // namespace zavrik::pdf
