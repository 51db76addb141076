#include <gtest/gtest.h>

#include <cmath>

#include "core/datetime.h"
#include "core/numeric.h"
#include "core/variant_convert.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::ErrorOf;
using testing::PlainSettings;
using testing::Utf8;

Variant Str(const char16_t* s) { return Variant(s); }

TEST(VariantConvert, ToIntegerRoundsHalvesToEvenAndChecksTheRange) {
  EXPECT_EQ(VarToInteger(2.5), 2);
  EXPECT_EQ(VarToInteger(3.5), 4);
  EXPECT_EQ(VarToInteger(-2.5), -2);
  EXPECT_EQ(VarToInteger(2.4999), 2);
  EXPECT_EQ(VarToInteger(Variant(CurrencyFromDouble(2.5))), 2);
  EXPECT_EQ(VarToInteger(Variant(CurrencyFromDouble(-3.5))), -4);
  EXPECT_EQ(VarToInteger(Variant(DateTime{1.5})), 2);
  EXPECT_EQ(VarToInteger(true), -1);
  EXPECT_EQ(VarToInteger(Variant()), 0);
  EXPECT_EQ(VarToInteger(uint32_t{7}), 7);
  EXPECT_EQ(ErrorOf([] { VarToInteger(2147483647.5); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInteger(int64_t{1} << 31); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInteger(uint32_t{4000000000}); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInteger(1e300); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInteger(std::nan("")); }), "Range check error");
  EXPECT_EQ(VarToInt64(int64_t{1} << 40), int64_t{1} << 40);
  EXPECT_EQ(ErrorOf([] { VarToInt64(UINT64_MAX); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInt64(1e19); }), "Range check error");
}

TEST(VariantConvert, StringToIntegerIsANumberOrABooleanWord) {
  EXPECT_EQ(VarToInteger(Str(u"12")), 12);
  EXPECT_EQ(VarToInteger(Str(u" -12")), -12);
  EXPECT_EQ(VarToInteger(Str(u"$FF")), 255);
  EXPECT_EQ(VarToInteger(Str(u"$FFFFFFFF")), -1);
  EXPECT_EQ(VarToInteger(Str(u"True")), 1);  // while the Boolean True gives -1
  EXPECT_EQ(VarToInteger(Str(u"false")), 0);
  EXPECT_EQ(ErrorOf([] { VarToInteger(Str(u"2147483648")); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInteger(Str(u"1,5")); }),
            "Could not convert variant of type (UnicodeString) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { VarToInteger(Str(u"")); }),
            "Could not convert variant of type (UnicodeString) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { VarToInteger(Str(u"-")); }),
            "Could not convert variant of type (UnicodeString) into type (Integer)");
  EXPECT_EQ(VarToInt64(Str(u"9223372036854775807")), INT64_MAX);
  EXPECT_EQ(ErrorOf([] { VarToInt64(Str(u"9223372036854775808")); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { VarToInt64(Str(u"x")); }),
            "Could not convert variant of type (UnicodeString) into type (Int64)");
}

TEST(VariantConvert, NullConvertsToNothingButVarToStr) {
  const Variant null = Variant::Null();
  EXPECT_EQ(ErrorOf([&] { VarToInteger(null); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(ErrorOf([&] { VarToDouble(null); }),
            "Could not convert variant of type (Null) into type (Double)");
  EXPECT_EQ(ErrorOf([&] { VarToBoolean(null); }),
            "Could not convert variant of type (Null) into type (Boolean)");
  EXPECT_EQ(ErrorOf([&] { VarToString(null); }),
            "Could not convert variant of type (Null) into type (UnicodeString)");
  EXPECT_EQ(ErrorOf([&] { VarToCurrency(null); }),
            "Could not convert variant of type (Null) into type (Currency)");
  EXPECT_EQ(ErrorOf([&] { VarToDate(null); }),
            "Could not convert variant of type (Null) into type (Date)");
  EXPECT_EQ(VarToStr(null), u"");
  EXPECT_EQ(ErrorOf([] { VarToString(Variant::CreateArray({{0, 0}})); }),
            "Could not convert variant of type (Array) into type (UnicodeString)");
}

TEST(VariantConvert, ToDoubleAndBoolean) {
  EXPECT_EQ(VarToDouble(Str(u" 2,5E3 ")), 2500);
  EXPECT_EQ(VarToDouble(Str(u"1.5"), PlainSettings()), 1.5);
  EXPECT_EQ(ErrorOf([] { VarToDouble(Str(u"1.5")); }),
            "Could not convert variant of type (UnicodeString) into type (Double)");
  EXPECT_EQ(VarToDouble(true), -1);
  EXPECT_EQ(VarToDouble(Variant()), 0);
  EXPECT_EQ(VarToDouble(Variant(CurrencyFromDouble(1.25))), 1.25);
  EXPECT_TRUE(VarToBoolean(Str(u"TRUE")));
  EXPECT_FALSE(VarToBoolean(Str(u"0")));
  EXPECT_TRUE(VarToBoolean(Str(u"2,5")));
  EXPECT_FALSE(VarToBoolean(0.0));
  EXPECT_TRUE(VarToBoolean(-3));
  EXPECT_FALSE(VarToBoolean(Variant()));
  EXPECT_EQ(ErrorOf([] { VarToBoolean(Str(u"yes")); }),
            "Could not convert variant of type (UnicodeString) into type (Boolean)");
}

TEST(VariantConvert, ToCurrencyAndDate) {
  EXPECT_EQ(VarToCurrency(1.23456).scaled, 12346);
  EXPECT_EQ(VarToCurrency(0.00005).scaled, 0);   // halves to even
  EXPECT_EQ(VarToCurrency(Str(u"1,5")).scaled, 15000);
  EXPECT_EQ(VarToCurrency(7).scaled, 70000);
  EXPECT_EQ(ErrorOf([] { VarToCurrency(1e300); }), "Invalid floating point operation");
  EXPECT_EQ(ErrorOf([] { VarToCurrency(Str(u"x")); }),
            "Could not convert variant of type (UnicodeString) into type (Currency)");
  EXPECT_EQ(VarToDate(Str(u"31.12.2024")), EncodeDate(2024, 12, 31));
  EXPECT_EQ(VarToDate(Str(u"2,5")), 2.5);
  EXPECT_EQ(ErrorOf([] { VarToDate(Str(u"x")); }),
            "Could not convert variant of type (UnicodeString) into type (Date)");
}

TEST(VariantConvert, ToStringUsesTheLocaleForFloatsCurrencyAndDates) {
  EXPECT_EQ(VarToString(2147483648.0), u"2147483648");
  EXPECT_EQ(VarToString(1.5), u"1,5");
  EXPECT_EQ(VarToString(1.5, PlainSettings()), u"1.5");
  EXPECT_EQ(VarToString(0.1f), u"0,1");
  EXPECT_EQ(VarToString(Variant(CurrencyFromDouble(1234.5))), u"1234,5");
  EXPECT_EQ(VarToString(Variant(Currency{-1})), u"-0,0001");
  EXPECT_EQ(VarToString(Variant(DateTime{EncodeDate(2024, 1, 7)})), u"07.01.2024");
  const double moment = EncodeDate(2024, 1, 7) + EncodeTime(13, 5, 9, 0);
  EXPECT_EQ(VarToString(Variant(DateTime{moment})), u"07.01.2024 13:05:09");
  EXPECT_EQ(VarToString(true), u"True");
  EXPECT_EQ(VarToString(false), u"False");
  EXPECT_EQ(VarToString(Variant()), u"");
  EXPECT_EQ(VarToString(UINT64_MAX), u"18446744073709551615");
  EXPECT_EQ(VarToString(int8_t{-5}), u"-5");
  EXPECT_EQ(VarToString(static_cast<Object*>(nullptr)), u"0");
}

TEST(VariantStorage, KindsTypeCodesAndArrays) {
  EXPECT_EQ(VarTypeCode(Variant()), 0);
  EXPECT_EQ(VarTypeCode(Variant::Null()), 1);
  EXPECT_EQ(VarTypeCode(int16_t{1}), 2);
  EXPECT_EQ(VarTypeCode(1), 3);
  EXPECT_EQ(VarTypeCode(static_cast<Object*>(nullptr)), 3);
  EXPECT_EQ(VarTypeCode(1.0), 5);
  EXPECT_EQ(VarTypeCode(true), 11);
  EXPECT_EQ(VarTypeCode(int64_t{1}), 20);
  EXPECT_EQ(VarTypeCode(Str(u"a")), 256);
  Variant a = Variant::CreateArray({{1, 2}, {0, 2}}, VarKind::Integer);
  EXPECT_EQ(VarTypeCode(a), 8192 | 3);
  EXPECT_EQ(VarTypeCode(Variant::CreateArray({{0, 1}})), 8192 | 12);
  auto array = a.ArrayValue();
  ASSERT_EQ(array->items.size(), 6u);
  EXPECT_EQ(array->items[0].Kind(), VarKind::Integer);
  const int at[] = {2, 1}, outside[] = {3, 0}, too_few[] = {1};
  EXPECT_EQ(array->Offset(at), 4u);
  EXPECT_FALSE(array->Offset(outside));
  EXPECT_FALSE(array->Offset(too_few));
  Variant copy = a;  // copies share the payload
  array->items[4] = Variant(9);
  EXPECT_EQ(copy.ArrayValue()->items[4].SignedValue(), 9);
  EXPECT_EQ(Variant::CreateArray({{5, 4}}).ArrayValue()->items.size(), 0u);
  EXPECT_EQ(ErrorOf([] { Variant::CreateArray({{0, -5}}); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { Variant::CreateArray({{0, 100000}, {0, 100000}}); }),
            "Range check error");
  EXPECT_EQ(Variant(Str(u"abc")).StringValue(), u"abc");
  EXPECT_EQ(Variant(5).StringValue(), u"");
  EXPECT_EQ(Variant(5).ArrayValue(), nullptr);
}

}  // namespace
}  // namespace zavrik
