// Aggregate calls found in expression texts, and the bookkeeping of one accumulator.
#include "engine/run/qbx_aggregate.h"

#include <gtest/gtest.h>

#include <map>

#include "core/float_text.h"
#include "core/variant_convert.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {
namespace {

std::vector<std::string> Calls(const String& text, std::map<String, String> variables = {}) {
  std::vector<std::string> result;
  const auto variable_text = [&](StringView name, String& value) {
    for (const auto& [key, text] : variables)
      if (SameTextAscii(key, name)) {
        value = text;
        return true;
      }
    return false;
  };
  // Alias."Field" with a plain alias.
  const auto is_field = [](StringView text) {
    const size_t at = text.find(u".\"");
    return at != StringView::npos && text.substr(0, at).find_first_of(u"(<[ ") == StringView::npos;
  };
  for (const TqbxAggregateCall& call : FindAggregateCalls(text, variable_text, is_field)) {
    std::string line = StringToUtf8(call.Text);
    for (const String& argument : call.Arguments) line += " |" + StringToUtf8(argument);
    result.push_back(line);
  }
  return result;
}

using Lines = std::vector<std::string>;

TEST(AggregateCalls, ArgumentsAreSplitAtTheOuterCommasOutsideStrings) {
  EXPECT_EQ(Calls(u"SUM(<Q.\"AMOUNT\">)"), (Lines{"SUM(<Q.\"AMOUNT\">) |<Q.\"AMOUNT\">"}));
  EXPECT_EQ(Calls(u"sum( IIF(a, 1, 2) , MasterData1 , 2 )"),
            (Lines{"sum( IIF(a, 1, 2) , MasterData1 , 2 ) |IIF(a, 1, 2) |MasterData1 |2"}));
  EXPECT_EQ(Calls(u"COUNT()"), (Lines{"COUNT()"}));
  EXPECT_EQ(Calls(u"Max(Pos(',', s), B, 1, extra)"), (Lines{"Max(Pos(',', s), B, 1, extra) |Pos(',', s) |B |1"}));
}

TEST(AggregateCalls, CallsInsideOtherExpressionsAndBracketsAreFound) {
  EXPECT_EQ(Calls(u"MoneyToString(SUM(<Lines.\"AMOUNT\">))"),
            (Lines{"SUM(<Lines.\"AMOUNT\">) |<Lines.\"AMOUNT\">"}));
  EXPECT_EQ(Calls(u"SUM(x) / COUNT(Master) * 100"),
            (Lines{"SUM(x) |x", "COUNT(Master) |Master"}));
  EXPECT_EQ(Calls(u"<SUM(a)>"), (Lines{"SUM(a) |a"}));
}

TEST(AggregateCalls, WordsThatAreNotCallsAreNot) {
  // Quoted, part of a longer word, or not followed directly by "(".
  EXPECT_EQ(Calls(u"'SUM(x)' + \"COUNT(y)\""), Lines{});
  EXPECT_EQ(Calls(u"SUMMARY(x) + MySum(y) + SUM (z) + A.SUM"), Lines{});
  EXPECT_EQ(Calls(u"Q.\"SUM\""), Lines{});
  // Unbalanced parentheses end at the end of the text.
  EXPECT_EQ(Calls(u"SUM(a, (b"), (Lines{"SUM(a, (b |a |(b"}));
}

TEST(AggregateCalls, VariablesAreSearchedByTheirText) {
  EXPECT_EQ(Calls(u"Total", {{u"Total", u"SUM(<Q.\"X\">)"}}), (Lines{"SUM(<Q.\"X\">) |<Q.\"X\">"}));
  EXPECT_EQ(Calls(u"1 + total", {{u"TOTAL", u"COUNT()"}}), (Lines{"COUNT()"}));
  // A variable naming itself is not followed for ever, nor variables naming each other twice
  // (each text is searched once).
  EXPECT_EQ(Calls(u"Loop", {{u"Loop", u"Loop"}}), Lines{});
  std::map<String, String> doubling;
  for (int i = 0; i < 60; ++i)
    doubling[u"V" + IntToStr(i)] = u"V" + IntToStr(i + 1) + u" + (V" + IntToStr(i + 1) + u")";
  doubling[u"V60"] = u"COUNT()";
  EXPECT_EQ(Calls(u"V0", doubling), (Lines{"COUNT()"}));
}

TEST(AggregateCalls, ExpressionsBetweenDelimitersNest) {
  const std::vector<String> found =
      ExpressionsOf(u"Total: [SUM(x)] of [IIF([a] > 0, 1, 2)] <b>", u"[,]");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], u"SUM(x)");
  EXPECT_EQ(found[1], u"IIF([a] > 0, 1, 2)");
  EXPECT_EQ(ExpressionsOf(u"<%SUM(x)%>", u"<%,%>"), std::vector<String>{u"SUM(x)"});
  EXPECT_TRUE(ExpressionsOf(u"no delimiters", u"[").empty());
}

class AggregateItemTest : public ::testing::Test {
 protected:
  AggregateItemTest() {
    RegisterReportClasses();
    report_.OnCalc = [this](StringView) { return next_; };
    item_.Report = &report_;
    item_.Band = &band_;
  }

  void Add(const Variant& value) {
    next_ = value;
    item_.Calc();
  }

  TqbxReport report_;
  TqbxMasterData band_;
  TqbxAggregateItem item_;
  Variant next_;
};

TEST_F(AggregateItemTest, SumCountsTrueAsOneAndNothingAsZero) {
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
  Add(Variant(true));
  Add(Variant(false));
  Add(Variant(int32_t{5}));
  EXPECT_EQ(VarToInteger(item_.Value()), 6);
  EXPECT_EQ(item_.ItemsCount, 3);
}

TEST_F(AggregateItemTest, AverageDividesByTheValuesThatAreNotNull) {
  item_.AggregateFunction = agAvg;
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
  Add(Variant(int32_t{4}));
  Add(Variant::Null());
  Add(Variant(int32_t{8}));
  EXPECT_DOUBLE_EQ(VarToDouble(item_.Value()), 6.0);
}

TEST_F(AggregateItemTest, MinMaxAndCount) {
  item_.AggregateFunction = agMin;
  for (int v : {7, 3, 9}) Add(Variant(int32_t{v}));
  EXPECT_EQ(VarToInteger(item_.Value()), 3);
  item_.Clear();
  item_.AggregateFunction = agMax;
  for (int v : {7, 3, 9}) Add(Variant(int32_t{v}));
  EXPECT_EQ(VarToInteger(item_.Value()), 9);
  item_.Clear();
  item_.AggregateFunction = agCount;
  for (int i = 0; i < 4; ++i) Add(Variant(int32_t{1}));
  EXPECT_EQ(VarToInteger(item_.Value()), 4);
}

TEST_F(AggregateItemTest, InvisibleBandsCountOnlyWithTheFlag) {
  band_.SetVisible(false);
  Add(Variant(int32_t{5}));
  EXPECT_EQ(item_.ItemsCount, 0);
  item_.CountInvisibleBands = true;
  Add(Variant(int32_t{5}));
  EXPECT_EQ(item_.ItemsCount, 1);
}

TEST_F(AggregateItemTest, TheLastValueCanBeTakenBack) {
  Add(Variant(int32_t{2}));
  Add(Variant(int32_t{3}));
  item_.DeleteValue();
  EXPECT_EQ(VarToInteger(item_.Value()), 2);
  EXPECT_EQ(item_.ItemsCount, 1);
}

TEST_F(AggregateItemTest, RunningTotalsSurviveResetButNotClearing) {
  item_.DontReset = true;
  Add(Variant(int32_t{2}));
  item_.Reset();
  Add(Variant(int32_t{3}));
  EXPECT_EQ(VarToInteger(item_.Value()), 5);
  item_.DontReset = false;
  item_.Reset();
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
}

TEST_F(AggregateItemTest, PageFooterTotalsSetKeptRecordsAside) {
  item_.IsPageFooter = true;
  Add(Variant(int32_t{1}));
  item_.StartKeep();
  Add(Variant(int32_t{10}));
  // The page ends while the records are kept: its footer shows what came before the keep.
  EXPECT_EQ(VarToInteger(item_.Value()), 1);
  item_.Reset();
  item_.EndKeep();
  EXPECT_EQ(VarToInteger(item_.Value()), 10);
  EXPECT_EQ(item_.ItemsCount, 1);
}

TEST_F(AggregateItemTest, VerticalColumnsAccumulateApart) {
  item_.VColumn = 2;
  Add(Variant(int32_t{4}));
  item_.VColumn = 3;
  Add(Variant(int32_t{6}));
  item_.VColumn = 2;
  EXPECT_EQ(VarToInteger(item_.Value()), 4);
  item_.VColumn = 0;
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
}

TEST_F(AggregateItemTest, ColumnsBeyondAThousandKeepTheirOwnValues) {
  item_.VColumn = 1500;
  Add(Variant(int32_t{7}));
  item_.VColumn = 1;
  Add(Variant(int32_t{2}));
  item_.VColumn = 1500;
  EXPECT_EQ(VarToInteger(item_.Value()), 7);
  // A column never accumulated reads nothing, not another column's or the whole total.
  item_.VColumn = 2000;
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
  item_.VColumn = 0;
  EXPECT_EQ(VarToInteger(item_.Value()), 0);
}

TEST(AggregateFunctionNames, AnyOtherWordCounts) {
  EXPECT_EQ(AggregateFunctionOf(u"sum"), agSum);
  EXPECT_EQ(AggregateFunctionOf(u" AVG "), agAvg);
  EXPECT_EQ(AggregateFunctionOf(u"Min"), agMin);
  EXPECT_EQ(AggregateFunctionOf(u"MAX"), agMax);
  EXPECT_EQ(AggregateFunctionOf(u"whatever"), agCount);
}

}  // namespace
}  // namespace zavrik::test
