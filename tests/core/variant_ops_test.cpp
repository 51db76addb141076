#include <gtest/gtest.h>

#include <vector>

#include "core/numeric.h"
#include "core/variant_ops.h"
#include "value_test_support.h"

namespace zavrik {
namespace {

using testing::Describe;
using testing::ErrorOf;

struct OpCase {
  Variant a;
  VarOp op;
  Variant b;
  std::string expected;  // Describe() of the result, or the error message
};

std::string Run(const OpCase& c) {
  std::string result;
  const std::string error = ErrorOf([&] { result = Describe(VarBinaryOp(c.op, c.a, c.b)); });
  return error == "no error" ? result : error;
}

void Check(const std::vector<OpCase>& cases) {
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Run(cases[i]), cases[i].expected) << "row " << i;
  }
}

Variant Cur(double v) { return Variant(CurrencyFromDouble(v)); }
Variant Date(double v) { return Variant(DateTime{v}); }
Variant Str(const char16_t* s) { return Variant(s); }
Variant Arr() { return Variant::CreateArray({{0, 1}}); }

constexpr int32_t kMaxInt = INT32_MAX, kMinInt = INT32_MIN;
constexpr int64_t kMaxInt64 = INT64_MAX, kMinInt64 = INT64_MIN;

TEST(VariantOps, IntClassIs32BitAndOverflowsToFloat) {
  Check({
      {kMaxInt, VarOp::Add, 1, "Double 2147483648"},
      {kMinInt, VarOp::Sub, 1, "Double -2147483649"},
      {65536, VarOp::Mul, 65536, "Double 4294967296"},
      {int8_t{100}, VarOp::Add, int8_t{100}, "Integer 200"},
      {uint8_t{255}, VarOp::Add, uint8_t{1}, "Integer 256"},
      {int16_t{-3}, VarOp::Mul, 4, "Integer -12"},
      {7, VarOp::DivFloat, 2, "Double 3.5"},
      {7, VarOp::DivInt, 2, "Integer 3"},
      {-7, VarOp::DivInt, 2, "Integer -3"},
      {-7, VarOp::Mod, 2, "Integer -1"},
      {7, VarOp::Mod, -2, "Integer 1"},
      {kMinInt, VarOp::DivInt, -1, "Integer -2147483648"},
      {kMinInt, VarOp::Mod, -1, "Integer 0"},
      {1, VarOp::Shl, 33, "Integer 2"},
      {-1, VarOp::Shr, 28, "Integer 15"},
      {6, VarOp::And, 3, "Integer 2"},
      {6, VarOp::Or, 3, "Integer 7"},
      {6, VarOp::Xor, 3, "Integer 5"},
      {true, VarOp::Add, 1, "Integer 0"},  // Boolean with an integer: Int class, True is -1
      {true, VarOp::And, 5, "Integer 5"},
      {7, VarOp::DivInt, 0, "Division by zero"},
      {7, VarOp::Mod, 0, "Division by zero"},
      {7, VarOp::DivFloat, 0, "Floating point division by zero"},
      {0, VarOp::DivFloat, 0, "Invalid floating point operation"},
  });
}

TEST(VariantOps, Int64ClassWrapsOnAddAndSubButNotOnMul) {
  Check({
      {kMaxInt64, VarOp::Add, 1, "Int64 -9223372036854775808"},
      {kMinInt64, VarOp::Sub, 1, "Int64 9223372036854775807"},
      {kMaxInt64, VarOp::Mul, 2, "Double 1.84467440737096E19"},
      {int64_t{3037000500}, VarOp::Mul, int64_t{-3037000500}, "Double -9.22337203700025E18"},
      {uint32_t{4000000000}, VarOp::Add, uint32_t{4000000000}, "Int64 8000000000"},
      {uint16_t{1}, VarOp::Add, 1, "Int64 2"},  // Word belongs to the Int64 class
      {int64_t{1}, VarOp::Shl, 40, "Int64 1099511627776"},
      {int64_t{-1}, VarOp::Shr, 60, "Int64 15"},
      {int64_t{10}, VarOp::DivFloat, 4, "Double 2.5"},
      {kMinInt64, VarOp::DivInt, int64_t{-1}, "Int64 -9223372036854775808"},
      {int64_t{12}, VarOp::And, int64_t{10}, "Int64 8"},
      {int64_t{1}, VarOp::DivInt, int64_t{0}, "Division by zero"},
  });
}

TEST(VariantOps, UInt64Class) {
  Check({
      {UINT64_MAX, VarOp::Add, uint64_t{1}, "UInt64 0"},
      {uint64_t{0}, VarOp::Sub, 1, "UInt64 18446744073709551615"},
      {uint64_t{1} << 63, VarOp::Mul, 2, "Double 1.84467440737096E19"},
      {uint64_t{7}, VarOp::DivInt, int64_t{2}, "UInt64 3"},
      {uint64_t{7}, VarOp::DivFloat, 2, "Double 3.5"},
  });
}

TEST(VariantOps, FloatClassComputesInDoubleAndRoundsForIntegerOperators) {
  Check({
      {1.5, VarOp::Add, 1, "Double 2.5"},
      {0.5f, VarOp::Add, 0.25f, "Double 0.75"},
      {7.5, VarOp::DivInt, 2, "Integer 4"},   // 7.5 rounds to 8
      {6.5, VarOp::Mod, 4, "Integer 2"},      // 6.5 rounds to 6
      {2.5, VarOp::And, 3, "Integer 2"},
      {3e10, VarOp::DivInt, 1, "Range check error"},
      {Str(u"7,5"), VarOp::DivInt, 2.0, "Integer 4"},  // taken as Float, then rounded
      {1.0, VarOp::DivFloat, 0.0, "Floating point division by zero"},
      {0.0, VarOp::DivFloat, 0, "Invalid floating point operation"},
      {1.5, VarOp::Add, Str(u"x"), "Could not convert variant of type (UnicodeString) into type (Double)"},
  });
}

TEST(VariantOps, CurrencyClass) {
  Check({
      {Cur(1.5), VarOp::Add, 1, "Currency 2.5"},
      {Cur(1), VarOp::Add, 0.5, "Currency 1.5"},  // Currency ranks above Float
      {Cur(1.5), VarOp::Mul, Cur(1.5), "Currency 2.25"},
      {Cur(10), VarOp::DivFloat, 4, "Currency 2.5"},
      {10, VarOp::DivFloat, Cur(4), "Double 2.5"},
      {Cur(1), VarOp::DivFloat, Cur(3), "Currency 0.3333"},
      {Cur(2.5), VarOp::DivInt, 1, "Integer 2"},
      {Cur(1), VarOp::DivFloat, Cur(0), "Floating point division by zero"},
      {Variant(Currency{INT64_MAX}), VarOp::Add, 1, "Invalid floating point operation"},
  });
}

TEST(VariantOps, StringClass) {
  Check({
      {Str(u"a"), VarOp::Add, Str(u"b"), "UnicodeString ab"},
      {Str(u"1"), VarOp::Add, 2, "Double 3"},
      {Str(u"1,5"), VarOp::Add, 1, "Double 2.5"},  // the process's decimal separator
      {Str(u"x"), VarOp::Add, 2, "Could not convert variant of type (UnicodeString) into type (Double)"},
      {Str(u"1.5"), VarOp::Add, 1, "Could not convert variant of type (UnicodeString) into type (Double)"},
      {Str(u"5"), VarOp::Sub, Str(u"2"), "Double 3"},
      {Str(u"7"), VarOp::DivFloat, Str(u"2"), "Double 3.5"},
      {Str(u"7"), VarOp::DivInt, Str(u"2"), "Integer 3"},
      {Str(u"6"), VarOp::And, Str(u"3"), "Integer 2"},
      {Str(u"7,5"), VarOp::DivInt, Str(u"2"), "Could not convert variant of type (UnicodeString) into type (Integer)"},
  });
}

TEST(VariantOps, BooleanClass) {
  Check({
      {true, VarOp::Add, true, "Double -2"},
      {true, VarOp::Sub, false, "Double -1"},
      {true, VarOp::And, false, "Boolean False"},
      {true, VarOp::Or, false, "Boolean True"},
      {true, VarOp::Xor, true, "Boolean False"},
      {Str(u"True"), VarOp::And, true, "Boolean True"},
      {Str(u"1"), VarOp::Add, true, "Double 0"},
      {true, VarOp::DivInt, true, "Integer 1"},
      {Str(u"x"), VarOp::And, true, "Could not convert variant of type (UnicodeString) into type (Boolean)"},
  });
}

TEST(VariantOps, DateClass) {
  Check({
      {Date(1.5), VarOp::Add, 1, "Date 2.5"},
      {Date(5), VarOp::Sub, Date(2), "Double 3"},
      {Date(5), VarOp::Sub, 2, "Date 3"},
      {Date(2), VarOp::Mul, 2, "Double 4"},
      {Date(5), VarOp::DivFloat, 2, "Double 2.5"},
      {Date(5.5), VarOp::DivInt, 2, "Integer 3"},
      {Str(u"07.01.2024"), VarOp::Sub, Date(45297), "Date 1"},  // a date text is no Date
      {Date(5), VarOp::And, Str(u"03.01.1900"), "Integer 4"},   // 5 and 4
      {Date(1), VarOp::Add, Cur(1), "Date 2"},
  });
}

TEST(VariantOps, NullClass) {
  Check({
      {Variant::Null(), VarOp::Add, 1, "Null"},
      {1, VarOp::Sub, Variant::Null(), "Null"},
      {Variant::Null(), VarOp::DivFloat, 0, "Null"},
      {Variant::Null(), VarOp::DivInt, 0, "Null"},
      {Variant::Null(), VarOp::Add, Variant(), "Null"},
      {Variant::Null(), VarOp::And, false, "Boolean False"},
      {false, VarOp::And, Variant::Null(), "Boolean False"},
      {Variant::Null(), VarOp::And, true, "Null"},
      {Variant::Null(), VarOp::Or, true, "Boolean True"},
      {Variant::Null(), VarOp::Or, false, "Null"},
      {Variant::Null(), VarOp::Xor, true, "Null"},
  });
}

TEST(VariantOps, EmptyClassAndEmptyWithOthers) {
  Check({
      {Variant(), VarOp::Add, Variant(), "Empty"},
      {Variant(), VarOp::Mul, Variant(), "Empty"},
      {Variant(), VarOp::DivFloat, Variant(), "Floating point division by zero"},
      {Variant(), VarOp::DivInt, Variant(), "Division by zero"},
      {Variant(), VarOp::Mod, Variant(), "Division by zero"},
      {Variant(), VarOp::Shl, Variant(), "Empty"},
      {Variant(), VarOp::And, Variant(), "Empty"},
      {Variant(), VarOp::Add, 5, "Integer 5"},
      {Variant(), VarOp::Add, Str(u"a"), "UnicodeString a"},
      {5, VarOp::DivFloat, Variant(), "Floating point division by zero"},
      {Variant(), VarOp::And, true, "Boolean False"},
      {Variant(), VarOp::Or, true, "Boolean True"},
      {Variant(), VarOp::Sub, Date(1), "Date -1"},
  });
}

TEST(VariantOps, ArraysAreNoOperands) {
  Check({
      {Arr(), VarOp::Add, 1, "Invalid variant operation"},
      {Variant::Null(), VarOp::Add, Arr(), "Invalid variant operation"},
      {Arr(), VarOp::And, Arr(), "Invalid variant operation"},
  });
}

TEST(VariantOps, NamedOperatorsAndConcatenation) {
  EXPECT_EQ(Describe(VarAdd(2, 3)), "Integer 5");
  EXPECT_EQ(Describe(VarAdd(1.25, 2.0)), "Double 3.25");
  EXPECT_EQ(Describe(VarAdd(kMaxInt, 1)), "Double 2147483648");
  EXPECT_EQ(Describe(VarSub(10, 4)), "Integer 6");
  EXPECT_EQ(Describe(VarMul(2, 3)), "Integer 6");
  EXPECT_EQ(Describe(VarDivFloat(7, 2)), "Double 3.5");
  EXPECT_EQ(Describe(VarDivInt(7, 2)), "Integer 3");
  EXPECT_EQ(Describe(VarMod(7, 2)), "Integer 1");
  EXPECT_EQ(Describe(VarAnd(6, 3)), "Integer 2");
  EXPECT_EQ(Describe(VarOr(false, true)), "Boolean True");
  EXPECT_EQ(Describe(VarXor(5, 1)), "Integer 4");
  EXPECT_EQ(Describe(VarShl(1, 4)), "Integer 16");
  EXPECT_EQ(Describe(VarShr(16, 4)), "Integer 1");
  EXPECT_EQ(Describe(VarConcat(Str(u"n="), 5)), "UnicodeString n=5");
  EXPECT_EQ(Describe(VarConcat(Str(u"x="), 1.5)), "UnicodeString x=1,5");
  EXPECT_EQ(Describe(VarConcat(1, 2)), "Integer 3");
}

TEST(VariantOps, UnaryMinus) {
  EXPECT_EQ(Describe(VarNeg(5)), "Integer -5");
  EXPECT_EQ(Describe(VarNeg(kMinInt)), "Double 2147483648");
  EXPECT_EQ(Describe(VarNeg(int8_t{-128})), "Integer 128");
  EXPECT_EQ(Describe(VarNeg(kMinInt64)), "Int64 -9223372036854775808");
  EXPECT_EQ(Describe(VarNeg(uint32_t{5})), "Int64 -5");
  EXPECT_EQ(Describe(VarNeg(Str(u"2"))), "Double -2");
  EXPECT_EQ(Describe(VarNeg(Cur(1.5))), "Currency -1.5");
  EXPECT_EQ(Describe(VarNeg(Date(2))), "Date -2");
  EXPECT_EQ(Describe(VarNeg(1.5)), "Double -1.5");
  EXPECT_EQ(Describe(VarNeg(Variant::Null())), "Null");
  EXPECT_EQ(Describe(VarNeg(Variant())), "Integer 0");
  EXPECT_EQ(ErrorOf([] { VarNeg(Arr()); }), "Invalid variant operation");
}

TEST(VariantOps, NotIsLogicalOrBitwiseInTheOperandsWidth) {
  EXPECT_EQ(Describe(VarNot(true)), "Boolean False");
  EXPECT_EQ(Describe(VarNot(5)), "Integer -6");
  EXPECT_EQ(Describe(VarNot(uint8_t{0})), "Byte 255");
  EXPECT_EQ(Describe(VarNot(uint16_t{0})), "Word 65535");
  EXPECT_EQ(Describe(VarNot(int64_t{0})), "Int64 -1");
  EXPECT_EQ(Describe(VarNot(2.4)), "Integer -3");
  EXPECT_EQ(Describe(VarNot(Cur(2.5))), "Integer -3");
  EXPECT_EQ(Describe(VarNot(Str(u"5"))), "Integer -6");
  EXPECT_EQ(Describe(VarNot(Str(u"true"))), "Boolean False");
  EXPECT_EQ(ErrorOf([] { VarNot(Str(u"x")); }),
            "Could not convert variant of type (UnicodeString) into type (Boolean)");
  EXPECT_EQ(Describe(VarNot(Variant::Null())), "Null");
  EXPECT_EQ(Describe(VarNot(Variant())), "Integer -1");
}

}  // namespace
}  // namespace zavrik
