#include <gtest/gtest.h>

#include <vector>

#include "core/format_float.h"
#include "core/format_printf.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::ErrorOf;
using testing::PlainSettings;
using testing::Utf8;

std::string Picture(const char16_t* format, double v) {
  return Utf8(FormatFloat(format, v, PlainSettings()));
}

std::string Printf(const char16_t* format, std::vector<Variant> args,
                   const FormatSettings& fs = PlainSettings()) {
  return Utf8(Format(format, args, fs));
}

TEST(FormatFloat, DigitPlacesAndGrouping) {
  EXPECT_EQ(Picture(u"#,##0.00", 1234.5), "1,234.50");
  EXPECT_EQ(Utf8(FormatFloat(u"#,##0.00", 1234.5)), "1\u00A0234,50");  // Russian settings
  EXPECT_EQ(Picture(u"#,##0.00", 5), "5.00");
  EXPECT_EQ(Picture(u"#,##0", 1234567), "1,234,567");
  EXPECT_EQ(Picture(u"#,##0", -1234567), "-1,234,567");
  EXPECT_EQ(Picture(u"0", 1234.5), "1235");
  EXPECT_EQ(Picture(u"0", 2.5), "3");
  EXPECT_EQ(Picture(u"000", 7), "007");
  EXPECT_EQ(Picture(u"#", 0), "");
  EXPECT_EQ(Picture(u"0", 0), "0");
  EXPECT_EQ(Picture(u"#.##", 0.5), ".5");
  EXPECT_EQ(Picture(u"0.##", 1), "1");
  EXPECT_EQ(Picture(u"0.0#", 1.5), "1.5");
  EXPECT_EQ(Picture(u"0.0#", 1.234), "1.23");
  EXPECT_EQ(Picture(u"0.00", 2.675), "2.68");
  EXPECT_EQ(Picture(u".00", 12.5), "12.50");
  EXPECT_EQ(Picture(u"", 1.5), "1.5");
}

TEST(FormatFloat, SectionsLiteralsAndExponents) {
  EXPECT_EQ(Picture(u"0.00;(0.00);\"zero\"", 5), "5.00");
  EXPECT_EQ(Picture(u"0.00;(0.00);\"zero\"", -5), "(5.00)");
  EXPECT_EQ(Picture(u"0.00;(0.00);\"zero\"", 0), "zero");
  EXPECT_EQ(Picture(u"0.00;(0.00);\"zero\"", 0.001), "zero");  // rounds to zero
  EXPECT_EQ(Picture(u"0.00;;", -5), "-5.00");  // an empty section falls back to the first
  EXPECT_EQ(Picture(u"0.0", -0.01), "0.0");
  EXPECT_EQ(Picture(u"'$'#,##0", 1234567), "$1,234,567");
  EXPECT_EQ(Picture(u"\"a;b\"0", 7), "a;b7");
  EXPECT_EQ(Picture(u"\"Итого: \"0 руб.", 7), "Итого: 7 руб");  // an unquoted "." is the decimal point
  EXPECT_EQ(Picture(u"0\" шт.\"", 3), "3 шт.");
  EXPECT_EQ(Picture(u"0.00E+00", 1234.5), "1.23E+03");
  EXPECT_EQ(Picture(u"0.00E-00", 0.00012345), "1.23E-04");
  EXPECT_EQ(Picture(u"0.00E-00", 1234.5), "1.23E03");
  EXPECT_EQ(Picture(u"0.###E+0", 1500), "1.5E+3");
  EXPECT_EQ(Picture(u"00.0E+0", 1234.5), "12.3E+2");
  EXPECT_EQ(Picture(u"0.0E+0", 0), "0.0E+0");
  EXPECT_EQ(Picture(u"0.0E+0", 9.96), "1.0E+1");
  EXPECT_EQ(Picture(u"0.00", 1.0 / 0.0), "INF");
  EXPECT_EQ(Picture(u"'unclosed", 1), "unclosed");
}

TEST(FormatPrintf, DirectivesWidthPrecisionAndIndexes) {
  EXPECT_EQ(Printf(u"%2.2f", {1234.5}), "1234.50");
  EXPECT_EQ(Printf(u"%2.2f", {1234.5}, RussianFormatSettings()), "1234,50");
  EXPECT_EQ(Printf(u"%f", {Variant(DateTime{1.5})}), "1.50");
  EXPECT_EQ(Printf(u"%d", {42}), "42");
  EXPECT_EQ(Printf(u"%5d|%-5d|", {42, 42}), "   42|42   |");
  EXPECT_EQ(Printf(u"%.4d %.4d", {42, -42}), "0042 -0042");
  EXPECT_EQ(Printf(u"%*d", {5, 42}), "   42");
  EXPECT_EQ(Printf(u"%d", {UINT64_MAX}), "18446744073709551615");
  EXPECT_EQ(Printf(u"%u", {-1}), "4294967295");
  EXPECT_EQ(Printf(u"%x %x %.4x", {255, -1, 255}), "FF FFFFFFFF 00FF");
  EXPECT_EQ(Printf(u"%x", {int64_t{-1}}), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Printf(u"%n", {1234567.891}), "1,234,567.89");
  EXPECT_EQ(Printf(u"%.0n", {1234567.5}), "1,234,568");
  EXPECT_EQ(Printf(u"%m", {1234.5}, RussianFormatSettings()), "1\u00A0234,50 ₽");
  EXPECT_EQ(Printf(u"%m", {-1234.5}, RussianFormatSettings()), "-1\u00A0234,50 ₽");
  EXPECT_EQ(Printf(u"%m", {-1234.5}), "-$1,234.50");
  EXPECT_EQ(Printf(u"%e", {1234.5}), "1.23450000000000E+003");
  EXPECT_EQ(Printf(u"%g|%g", {0.5, 1e20}), "0.5|1E20");
  EXPECT_EQ(Printf(u"%3:s %0:s %s", {u"a", u"b", u"c", u"d"}), "d a b");
  EXPECT_EQ(Printf(u"%s|%.2s|%s", {5, u"abcdef", Variant::Null()}), "5|ab|");
  EXPECT_EQ(Printf(u"%p", {static_cast<Object*>(nullptr)}), "0000000000000000");
  EXPECT_EQ(Printf(u"100%% %S", {u"x"}), "100% x");
}

TEST(FormatPrintf, MismatchesAreErrors) {
  EXPECT_EQ(ErrorOf([] { Printf(u"%d", {1.5}); }),
            "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf([] { Printf(u"%f", {1}); }),
            "Format '%f' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf([] { Printf(u"%d %d", {1}); }), "No argument for format '%d'");
  EXPECT_EQ(ErrorOf([] { Printf(u"%5:d", {1}); }), "No argument for format '%5:d'");
  EXPECT_EQ(ErrorOf([] { Printf(u"%z", {1}); }),
            "Format '%z' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf([] { Printf(u"abc %", {1}); }), "Format '%' invalid or incompatible with argument");
  EXPECT_EQ(ErrorOf([] { Printf(u"%d", {Variant::Null()}); }),
            "Could not convert variant of type (Null) into type (Int64)");
  EXPECT_EQ(Printf(u"%99999999d", {1}).size(), 4096u);  // widths are capped
}

}  // namespace
}  // namespace zavrik
