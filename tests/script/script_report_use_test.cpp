// The engine used the way the report uses it: an expression cache compiling one wrapper function
// per expression below the report's script, bracketed names through Get, macro functions that
// evaluate their argument texts, events fired by the host, and the syntax tree kept for later.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "core/error.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "script/qs_ievents.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"

namespace zavrik {
namespace {

class ReportLike : public testing::Test {
 protected:
  ReportLike() : report_(&qsGlobalUnit()), cache_(&report_) {
    report_.AddMethod(u"function Get(Name: String): Variant",
                      [this](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                        const String name = VarToString(p[0]);
                        return name == u"ID" ? Variant(String(u"42")) : Variant::Null();
                      });
    report_.AddMethod(u"macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
                      [this](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                        const bool condition = VarEqual(Calc(VarToString(p[0])), Variant(true));
                        return Calc(VarToString(condition ? p[1] : p[2]));
                      });
  }

  // One wrapper function per expression, compiled into the cache script and called.
  Variant Calc(const String& expression) {
    const String name = u"qb3f" + Utf8ToString(std::to_string(count_++));
    cache_.SetText(u"function " + name + u": Variant; begin Result := " + expression + u" end; begin end.");
    if (!cache_.Compile()) throw Error(u"Ошибка в выражении '" + expression + u"': " + cache_.ErrorMsg);
    return cache_.CallFunction2(dynamic_cast<TqsProcVariable*>(cache_.FindLocal(name)), Variant());
  }

  TqsScript report_;
  TqsScript cache_;
  int count_ = 0;
};

TEST_F(ReportLike, BracketedNamesCallGet) {
  EXPECT_EQ(VarToInteger(Calc(u"<ID> + 1")), 43);
  EXPECT_EQ(VarToString(Calc(u"<ID>")), u"42");
}

TEST_F(ReportLike, MacroFunctionsEvaluateOnlyTheChosenBranch) {
  EXPECT_EQ(VarToString(Calc(u"IIF(1 > 0, 'yes', 1 div 0)")), u"yes");
  EXPECT_EQ(VarToString(Calc(u"IIF(<ID> = '7', 1 div 0, 'no')")), u"no");
}

TEST_F(ReportLike, CompileErrorsLeaveEarlierFunctionsUsable) {
  EXPECT_EQ(VarToInteger(Calc(u"2 * 21")), 42);
  EXPECT_THROW(Calc(u"2 *"), Error);
  EXPECT_EQ(VarToInteger(cache_.CallFunction(u"qb3f0", Variant())), 42);
}

TEST_F(ReportLike, EventsPassArgumentsAndTakeBackVarParameters) {
  report_.SetText(u"var Log: String; procedure OnData(Sender: Variant; var Accept: Boolean);"
                  u" begin Log := Log + 'x'; Accept := False; end; begin end.");
  ASSERT_TRUE(report_.Compile());
  auto* handler = dynamic_cast<TqsProcVariable*>(report_.FindLocal(u"OnData"));
  ASSERT_NE(handler, nullptr);
  TqsCustomEvent event(handler, nullptr);
  std::vector<Variant> args{Variant(int32_t{0}), Variant(true)};
  event.Fire(args);
  event.Fire(args);
  EXPECT_FALSE(VarToBoolean(args[1]));
  EXPECT_EQ(VarToString(report_.Find(u"Log")->Value()), u"xx");
}

TEST_F(ReportLike, HostCallsIntoARunningRoutineKeepItsLocals) {
  // The routine asks the host, and the host calls the same routine again.
  int depth = 0;
  report_.AddMethod(u"function Nested(n: Integer): Integer",
                    [&](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                      ++depth;
                      Variant args = Variant::CreateArray({ArrayBound{0, 0}});
                      args.ArrayValue()->items[0] = Variant(VarToInteger(p[0]) - 1);
                      return report_.CallFunction(u"Twice", args);
                    });
  report_.SetText(u"function Twice(n: Integer): Integer; var keep: Integer; begin keep := n;"
                  u" if n > 0 then Nested(n); Result := keep * 2; end; begin end.");
  ASSERT_TRUE(report_.Compile());
  Variant args = Variant::CreateArray({ArrayBound{0, 0}});
  args.ArrayValue()->items[0] = Variant(int32_t{3});
  EXPECT_EQ(VarToInteger(report_.CallFunction(u"Twice", args)), 6);
  EXPECT_EQ(depth, 3);
}

TEST_F(ReportLike, TheSyntaxTreeCompilesLaterAndLinesAreKnown) {
  report_.SetText(u"var x: Integer;\r\nbegin\r\n\r\n  x := 5;\r\nend.");
  std::stringstream tree;
  report_.GetILCode(tree);
  TqsScript again(&qsGlobalUnit());
  ASSERT_TRUE(again.SetILCode(tree)) << StringToUtf8(again.ErrorMsg);
  again.Execute();
  EXPECT_EQ(VarToInteger(again.Find(u"x")->Value()), 5);
  EXPECT_TRUE(again.IsExecutableLine(4, u""));
  EXPECT_FALSE(again.IsExecutableLine(3, u""));
}

}  // namespace
}  // namespace zavrik
