// Report expressions: Calc, the names resolved directly (report variables, system variables,
// data-source fields) and the expression cache.
#include "binding/binding_fixture.h"
#include "core/float_text.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_preview_pages.h"
#include "report/binding/qbx_report_script.h"
#include "script/qs_iinterpreter.h"

namespace zavrik::test {
namespace {

using ExpressionTest = BindingTest;

TEST_F(ExpressionTest, ArithmeticAndStrings) {
  EXPECT_EQ(VarToInteger(report_->Calc(u"2 + 3 * 4")), 14);
  EXPECT_EQ(CalcText(u"'ab' + 'cd'"), u"abcd");
  EXPECT_EQ(CalcText(u"Copy('zavrik', 1, 3)"), u"zav");
  EXPECT_DOUBLE_EQ(VarToDouble(report_->Calc(u"7 / 2")), 3.5);
}

TEST_F(ExpressionTest, CompileErrorsNameTheExpressionAndEnterErrors) {
  try {
    report_->Calc(u"1 +");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message().rfind(u"Ошибка в выражении '1 +': ", 0), 0u) << StringToUtf8(e.Message());
  }
  EXPECT_NE(Errors().find(u"Ошибка в выражении '1 +'"), String::npos);
}

TEST_F(ExpressionTest, TheObjectBeingEvaluatedPrefixesTheMessage) {
  TqbxReportPage page;
  page.SetName(u"Page1");
  report_->SetSelfValue(&page);
  EXPECT_THROW(report_->Calc(u"1 div 0"), Error);
  EXPECT_EQ(Errors().rfind(u"Page1: ", 0), 0u) << StringToUtf8(Errors());
}

TEST_F(ExpressionTest, EngineOptionsIgnoreErrors) {
  report_->EngineOptions()->IgnoreDevByZero = true;
  EXPECT_TRUE(report_->Calc(u"1 / 0").IsEmpty());
  report_->EngineOptions()->IgnoreExprError = true;
  EXPECT_EQ(CalcText(u"1 +"), u"1 +");
  EXPECT_TRUE(report_->Errors.Empty());
}

TEST_F(ExpressionTest, VariablesHoldExpressions) {
  report_->Variables().Set(u"ID", Variant(String(u"00123")));
  report_->Variables().Set(u"Name", Variant(String(u"'abc'")));
  report_->Variables().Set(u"Lines", Variant(String(u"a\r\nb")));
  report_->Variables().Set(u"Count", Variant(int32_t{7}));
  EXPECT_EQ(VarToInteger(report_->Calc(u"ID")), 123);
  EXPECT_EQ(VarToInteger(report_->Calc(u"id")), 123);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<ID> + 1")), 124);
  EXPECT_EQ(CalcText(u"Name"), u"abc");
  EXPECT_EQ(CalcText(u"Lines"), u"a\r\nb");
  EXPECT_EQ(VarToInteger(report_->Calc(u"<Count> * 2")), 14);
}

TEST_F(ExpressionTest, ABareVariableIsResolvedOnlyAsTheWholeExpression) {
  report_->Variables().Set(u"ID", Variant(String(u"42")));
  EXPECT_THROW(report_->Calc(u"ID + 1"), Error);
}

TEST_F(ExpressionTest, AVariableThatIsNoExpressionGivesAnExpressionError) {
  report_->Variables().Set(u"ID", Variant(String(u"A-1")));
  EXPECT_THROW(report_->Calc(u"ID"), Error);
  EXPECT_NE(Errors().find(u"Ошибка в выражении 'A-1'"), String::npos) << StringToUtf8(Errors());
}

TEST_F(ExpressionTest, AVariableReferringToItselfFailsInsteadOfRecursing) {
  report_->Variables().Set(u"A", Variant(String(u"<B>")));
  report_->Variables().Set(u"B", Variant(String(u"<A> + 1")));
  EXPECT_THROW(report_->Calc(u"A"), Error);
  report_->Variables().Set(u"B", Variant(String(u"5")));
  EXPECT_EQ(VarToInteger(report_->Calc(u"A")), 5);
}

TEST_F(ExpressionTest, ALongChainOfVariablesFailsCleanly) {
  for (int i = 0; i < 5000; ++i)
    report_->Variables().Set(u"V" + IntToStr(i), Variant(u"<V" + IntToStr(i + 1) + u">"));
  report_->Variables().Set(u"V5000", Variant(String(u"1")));
  EXPECT_THROW(report_->Calc(u"V0"), Error);
  EXPECT_EQ(VarToInteger(report_->Calc(u"V4990")), 1);
}

TEST_F(ExpressionTest, UnknownBracketedNamesAreReportedAndEvaluateEmpty) {
  EXPECT_EQ(CalcText(u"'[' + <Nowhere> + ']'"), u"[]");
  EXPECT_EQ(Errors(), u"Неизвестная переменная или поле БД: Nowhere");
}

TEST_F(ExpressionTest, GlobalVariablesAreTakenAsTheyAre) {
  qbxGlobalVariables().Set(u"TestGlobal", Variant(String(u"1+1")));
  EXPECT_EQ(CalcText(u"TestGlobal"), u"1+1");
  qbxGlobalVariables().DeleteVariable(u"TestGlobal");
}

// The run state an engine would hold.
class StubEngine : public TqbxCustomEngine {};

TEST_F(ExpressionTest, SystemVariablesReadTheEngineAndThePreparedPages) {
  StubEngine engine;
  engine.StartDate = 46000;
  engine.StartTime = 0.5;
  engine.TotalPages = 9;
  engine.CurLine = 3;
  engine.CurLineThrough = 17;
  engine.CurTableRow = 2;
  engine.CurTableColumn = 5;
  report_->Engine = &engine;
  EXPECT_EQ(report_->Calc(u"Date").Kind(), VarKind::Date);
  EXPECT_DOUBLE_EQ(report_->Calc(u"DATE").DoubleValue(), 46000);
  EXPECT_DOUBLE_EQ(report_->Calc(u"Time").DoubleValue(), 0.5);
  EXPECT_EQ(VarToInteger(report_->Calc(u"TotalPages#")), 9);
  EXPECT_EQ(VarToInteger(report_->Calc(u"Line")), 3);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<Line#> + 1")), 18);
  EXPECT_EQ(VarToInteger(report_->Calc(u"TableRow")), 2);
  EXPECT_EQ(VarToInteger(report_->Calc(u"TableColumn")), 5);
  qbxGlobalVariables().Set(u"CopyName0", Variant(String(u"Copy")));
  EXPECT_EQ(CalcText(u"CopyName#"), u"Copy");
  qbxGlobalVariables().DeleteVariable(u"CopyName0");
  report_->Engine = nullptr;
}

// Records what the aggregate functions ask.
class AggregateEngine : public TqbxCustomEngine {
 public:
  Variant GetAggregateValue(const String& name, const String& expression, TqbxComponent* band,
                            int flags) override {
    Asked.push_back(name + u"|" + expression + u"|" + (band ? band->Name() : String(u"-")) + u"|" +
                    IntToStr(flags));
    return Variant(int32_t{42});
  }
  std::vector<String> Asked;
};

TEST_F(ExpressionTest, AggregatesAskTheEngineWithTheExpressionText) {
  TqbxReportPage band;
  band.SetName(u"Band1");
  AggregateEngine engine;
  report_->Engine = &engine;
  ASSERT_TRUE(Prepare(u"begin end."));
  report_->Variables().Set(u"TheBand", Variant(static_cast<Object*>(&band)));
  EXPECT_EQ(VarToInteger(report_->Calc(u"SUM(<Query1.\"N\"> * 2)")), 42);
  EXPECT_EQ(VarToInteger(report_->Calc(u"MAX(1 + 1, <TheBand>, 3) + 1")), 43);
  EXPECT_EQ(VarToInteger(report_->Calc(u"COUNT")), 42);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<SUM(1)>")), 42);
  report_->Engine = nullptr;
  EXPECT_EQ(engine.Asked, (std::vector<String>{u"SUM|<Query1.\"N\"> * 2|-|0", u"MAX|1 + 1|Band1|3",
                                               u"COUNT||-|0", u"SUM|1|-|0"}));
}

// A data source with one record: NAME (null), TITLE, FLAG (null), SUM (null), PIC (null, a type
// that keeps nulls).
class TestSource : public TqbxReportComponent, public TqbxFieldSource {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"TtstFieldSource", &TqbxReportComponent::StaticClass(), nullptr,
                                {});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  Variant FieldValue(StringView field) override {
    if (field == u"TITLE") return Variant(String(u"Title"));
    return Variant::Null();
  }
  String FieldDisplayText(StringView field) override { return VarToString(FieldValue(field)); }
  bool IsBlobField(StringView) override { return false; }
  String BlobText(StringView) override { return String(); }
  int FieldTypeCode(StringView field) override {
    if (field == u"NAME") return kFieldTypeString;
    if (field == u"FLAG") return kFieldTypeBoolean;
    if (field == u"PIC") return 4;
    return kFieldTypeNumeric;
  }
};

class FieldTest : public BindingTest {
 protected:
  FieldTest() {
    source_.SetName(u"Query1");
    report_->DataSets().Add(&source_);
  }
  TestSource source_;
};

TEST_F(FieldTest, FieldsAreReadByAliasAndQuotedName) {
  EXPECT_EQ(CalcText(u"Query1.\"TITLE\""), u"Title");
  EXPECT_EQ(CalcText(u"<Query1.\"TITLE\"> + '!'"), u"Title!");
  report_->EngineOptions()->ConvertNulls = false;
  EXPECT_TRUE(report_->Calc(u"Query1.\"NAME\"").IsNull());
}

TEST_F(FieldTest, ConvertNullsGivesTheZeroOfTheFieldType) {
  report_->EngineOptions()->ConvertNulls = true;
  EXPECT_EQ(report_->Calc(u"Query1.\"NAME\"").Kind(), VarKind::String);
  EXPECT_EQ(CalcText(u"Query1.\"NAME\""), u"");
  EXPECT_FALSE(VarToBoolean(report_->Calc(u"Query1.\"FLAG\"")));
  EXPECT_EQ(report_->Calc(u"Query1.\"FLAG\"").Kind(), VarKind::Boolean);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<Query1.\"SUM\"> + 1")), 1);
  EXPECT_TRUE(report_->Calc(u"Query1.\"PIC\"").IsNull());
}

TEST_F(FieldTest, UnlistedDataSourcesAreUnknown) {
  EXPECT_EQ(CalcText(u"'-' + <Query2.\"TITLE\">"), u"-");
  EXPECT_NE(Errors().find(u"Query2.\"TITLE\""), String::npos);
}

TEST_F(ExpressionTest, EachTextIsCompiledOnceAndKeyedExactlyAsWritten) {
  ASSERT_TRUE(Prepare(u"var a: Integer; begin a := 1 end."));
  TqbxExpressionCache& cache = ReportScriptOf(*report_).ExpressionCache();
  for (int i = 0; i < 1000; ++i) report_->Calc(u"a + 1");
  EXPECT_EQ(cache.Count(), 1);
  EXPECT_EQ(VarToInteger(report_->Calc(u"A + 1")), 1);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_THROW(report_->Calc(u"a +"), Error);
  EXPECT_EQ(cache.Count(), 2);
  // A failed compilation leaves no function behind: the next one gets the free name.
  EXPECT_EQ(VarToInteger(report_->Calc(u"a + 2")), 2);
  EXPECT_EQ(cache.Count(), 3);
  ASSERT_TRUE(Prepare(u"begin end."));
  EXPECT_EQ(cache.Count(), 0);
}

TEST_F(ExpressionTest, IdentifiersMayUseExtendedCharacters) {
  ASSERT_TRUE(Prepare(u"var Сумма: Integer; begin end.")) << StringToUtf8(Errors());
  EXPECT_EQ(VarToInteger(report_->Calc(u"Сумма + 5")), 5);
}

TEST_F(ExpressionTest, ExpressionsFollowTheScriptLanguage) {
  ASSERT_TRUE(Prepare(u"{}", u"C++Script")) << StringToUtf8(Errors());
  EXPECT_EQ(VarToInteger(report_->Calc(u"7 % 4")), 3);
}

TEST(ExpressionCache, WrapsExpressionsInTheLanguageGiven) {
  TqsScript scope(&qsGlobalUnit());
  TqbxExpressionCache cache;
  String error;
  cache.SetLanguage(u"BasicScript");
  EXPECT_EQ(VarToString(cache.Calc(u"\"a\" & \"b\"", scope, error)), u"ab") << StringToUtf8(error);
  cache.SetLanguage(u"JScript");
  EXPECT_EQ(VarToInteger(cache.Calc(u"(1 + 2) * 3", scope, error)), 9) << StringToUtf8(error);
  cache.SetLanguage(u"Lisp");
  EXPECT_TRUE(cache.Calc(u"(+ 1 2)", scope, error).IsNull());
  EXPECT_EQ(error, u"Ошибка в выражении '(+ 1 2)': Unknown script language 'Lisp'");
}

TEST_F(ExpressionTest, CompilingWithoutRunningKeepsTheFunctionForCalc) {
  ASSERT_TRUE(Prepare(u"var hits: Integer;\r\nfunction Bump: Integer;\r\nbegin\r\n  hits := 5;\r\n  Result := 2\r\nend;\r\n\r\nbegin\r\nend."))
      << StringToUtf8(Errors());
  TqbxReportScript& script = ReportScriptOf(*report_);
  String error;
  EXPECT_TRUE(script.ExpressionCache().Compiles(u"Bump * 10", script.Script(), error)) << StringToUtf8(error);
  EXPECT_TRUE(error.empty());
  Variant hits;
  ASSERT_TRUE(script.FindVariable(u"hits", hits));
  EXPECT_NE(VarToStr(hits), u"5");  // compiled, never run
  EXPECT_EQ(script.ExpressionCache().Count(), 1);
  EXPECT_EQ(VarToInteger(report_->Calc(u"Bump * 10")), 20);
  ASSERT_TRUE(script.FindVariable(u"hits", hits));
  EXPECT_EQ(VarToStr(hits), u"5");
  EXPECT_EQ(script.ExpressionCache().Count(), 1);
  EXPECT_FALSE(script.ExpressionCache().Compiles(u"Bump *", script.Script(), error));
  EXPECT_EQ(error.rfind(u"Ошибка в выражении 'Bump *': ", 0), 0u) << StringToUtf8(error);
  EXPECT_EQ(script.ExpressionCache().Count(), 1);
  EXPECT_TRUE(Errors().empty());  // a check enters nothing into the report's errors
}

}  // namespace
}  // namespace zavrik::test
