#include <gtest/gtest.h>

#include <cmath>

#include "core/numeric.h"
#include "core/variant_compare.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::ErrorOf;

Variant Str(const char16_t* s) { return Variant(s); }

TEST(VariantCompare, StringsCompareAsTextButNumbersWinOverStrings) {
  EXPECT_TRUE(VarLess(Str(u"10"), Str(u"9")));    // text order
  EXPECT_FALSE(VarLess(Str(u"10"), 9));           // numeric order
  EXPECT_TRUE(VarGreater(Str(u"10"), 9));
  EXPECT_TRUE(VarEqual(Str(u"1,5"), 1.5));
  EXPECT_TRUE(VarLess(Str(u"ab"), Str(u"abc")));  // a proper prefix is smaller
  EXPECT_TRUE(VarLess(Str(u"B"), Str(u"a")));     // case-sensitive, by code unit
  EXPECT_FALSE(VarEqual(Str(u"a"), Str(u"A")));
  EXPECT_TRUE(VarLess(Str(u"я"), Str(u"\U0001F600")));
  EXPECT_EQ(ErrorOf([] { VarLess(Str(u"x"), 1); }),
            "Could not convert variant of type (UnicodeString) into type (Double)");
}

TEST(VariantCompare, NullEqualsOnlyNullAndIsSmallest) {
  const Variant null = Variant::Null();
  EXPECT_TRUE(VarEqual(null, null));
  EXPECT_FALSE(VarEqual(null, 0));
  EXPECT_TRUE(VarNotEqual(null, 0));
  EXPECT_TRUE(VarLess(null, 1));
  EXPECT_TRUE(VarLess(null, -1));
  EXPECT_FALSE(VarGreater(null, 1));
  EXPECT_TRUE(VarGreater(1, null));
  EXPECT_TRUE(VarLess(null, Variant()));
  EXPECT_TRUE(VarLessEqual(null, null));
  EXPECT_FALSE(VarEqual(null, Str(u"")));
}

TEST(VariantCompare, EmptyStandsForZeroEmptyTextOrFalse) {
  EXPECT_TRUE(VarEqual(Variant(), Variant()));
  EXPECT_TRUE(VarEqual(Variant(), 0));
  EXPECT_TRUE(VarEqual(Variant(), Str(u"")));
  EXPECT_TRUE(VarEqual(Variant(), false));
  EXPECT_TRUE(VarLess(Variant(), 1));
  EXPECT_TRUE(VarGreater(Variant(), -0.5));
}

TEST(VariantCompare, IntegerClassesBooleansFloatsCurrencyAndDates) {
  EXPECT_TRUE(VarLess(true, 0));  // True counts -1 against integers
  EXPECT_TRUE(VarEqual(true, -1));
  EXPECT_TRUE(VarGreater(true, false));
  EXPECT_TRUE(VarEqual(Str(u"TRUE"), true));
  EXPECT_TRUE(VarGreater(UINT64_MAX, int64_t{-1}));
  EXPECT_TRUE(VarLess(INT64_MIN, uint8_t{0}));
  EXPECT_TRUE(VarEqual(uint16_t{7}, int8_t{7}));
  EXPECT_TRUE(VarEqual(1.0, 1));
  EXPECT_TRUE(VarLess(0.5f, 0.75));
  EXPECT_TRUE(VarEqual(Variant(CurrencyFromDouble(1.5)), 1.5));
  EXPECT_TRUE(VarLess(Variant(CurrencyFromDouble(0.0001)), Variant(CurrencyFromDouble(0.0002))));
  EXPECT_TRUE(VarLess(Variant(DateTime{1}), Variant(DateTime{1.5})));
  EXPECT_TRUE(VarEqual(Variant(DateTime{2}), 2));
  EXPECT_TRUE(VarGreaterEqual(3, 3));
  EXPECT_TRUE(VarLessEqual(2, 3));
}

TEST(VariantCompare, NaNIsUnorderedAndArraysAreNoOperands) {
  const double nan = std::nan("");
  EXPECT_FALSE(VarEqual(nan, nan));
  EXPECT_TRUE(VarNotEqual(nan, nan));
  EXPECT_FALSE(VarLess(nan, 1.0));
  EXPECT_FALSE(VarGreaterEqual(nan, 1.0));
  EXPECT_EQ(ErrorOf([] { VarEqual(Variant::CreateArray({{1, 2}}), 1); }),
            "Invalid variant operation");
}

}  // namespace
}  // namespace zavrik
