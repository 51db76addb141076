// The report's script: preparation, published objects and helpers, the main block, event
// procedures and compile errors.
#include <sstream>

#include "binding/binding_fixture.h"
#include "core/float_text.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/binding/qbx_report_script.h"
#include "script/qs_iinterpreter.h"

namespace zavrik::test {
namespace {

using ScriptBindingTest = BindingTest;

void LoadTemplate(TqbxReport& report, const std::string& body) {
  std::istringstream in("<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport>" + body +
                        "</TqbxReport>");
  report.LoadFromStream(in);
}

TEST_F(ScriptBindingTest, TheScriptIsAChildOfTheGlobalUnit) {
  ASSERT_TRUE(Prepare(u"begin end."));
  EXPECT_EQ(ReportScriptOf(*report_).Script().Parent(), &qsGlobalUnit());
  EXPECT_EQ(CalcText(u"FloatToStr(qb1in)"), u"96");
}

TEST_F(ScriptBindingTest, ObjectsAndReportArePublished) {
  LoadTemplate(
      *report_,
      "<TqbxReportPage Name=\"Page1\"><TqbxMemoView Name=\"Memo1\" Left=\"12\"/></TqbxReportPage>");
  ASSERT_TRUE(Prepare(u"begin end.")) << StringToUtf8(Errors());
  EXPECT_EQ(VarToInteger(report_->Calc(u"Memo1.Left")), 12);
  EXPECT_EQ(CalcText(u"Report.Calc('1 + 1')"), u"2");
  EXPECT_EQ(CalcText(u"Page1.Name"), u"Page1");
}

TEST_F(ScriptBindingTest, EveryObjectOfALargeTreeIsPublishedUnderItsName) {
  // Tree order (m0, m1, …, m9999) is not name order (m0, m1, m10, m100, …).
  std::string memos;
  for (int i = 0; i < 10000; ++i)
    memos += "<TqbxMemoView Name=\"m" + std::to_string(i) + "\" Left=\"" + std::to_string(i) + "\"/>";
  LoadTemplate(*report_, "<TqbxReportPage Name=\"Page1\">" + memos + "</TqbxReportPage>");
  ASSERT_TRUE(Prepare(u"begin end.")) << StringToUtf8(Errors());
  for (int i = 0; i < 10000; i += 7)
    ASSERT_EQ(VarToInteger(report_->Calc(u"M" + IntToStr(i) + u".Left")), i) << i;
  EXPECT_EQ(CalcText(u"m9999.Name"), u"m9999");
  EXPECT_EQ(CalcText(u"Page1.Name"), u"Page1");
}

TEST_F(ScriptBindingTest, ScriptsChangeObjectsThroughTheirMembersAndConstants) {
  LoadTemplate(*report_,
               "<TqbxReportPage Name=\"Page1\"><TqbxMasterData Name=\"Band1\">"
               "<TqbxMemoView Name=\"Memo1\" Left=\"12\"/></TqbxMasterData></TqbxReportPage>");
  ASSERT_TRUE(Prepare(
      u"var Found: String;\r\nbegin\r\n  Memo1.Text := 'Hello';\r\n  Memo1.HAlign := haCenter;\r\n"
      u"  Memo1.SetBounds(1, 2, 30, 40);\r\n  Found := "
      u"Page1.FindObject('Memo1').Parent.Name;\r\nend."))
      << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  auto* memo = dynamic_cast<TqbxCustomMemoView*>(report_->FindObject(u"Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->MemoText(), u"Hello\r\n");
  EXPECT_EQ(memo->HAlign, haCenter);
  EXPECT_DOUBLE_EQ(memo->Width(), 30);
  EXPECT_EQ(CalcText(u"Found"), u"Band1");
  EXPECT_EQ(CalcText(u"Memo1.Page.Name"), u"Page1");
  ASSERT_TRUE(Prepare(u"begin Memo1.TagStr := 'tag'; Memo1.Value := 5; Band1.AlignChildren; end."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(memo->TagStr(), u"tag");
  EXPECT_EQ(VarToInteger(report_->Calc(u"Memo1.Value + 1")), 6);
  EXPECT_GT(VarToDouble(report_->Calc(u"Memo1.CalcHeight")), 0);
}

TEST_F(ScriptBindingTest, DatePartFunctions) {
  ASSERT_TRUE(Prepare(u"begin end."));
  EXPECT_EQ(CalcText(u"IntToStr(DayOf(EncodeDate(2024, 5, 17))) + '.' + "
                     u"IntToStr(MonthOf(EncodeDate(2024, 5, 17)))"
                     u" + '.' + IntToStr(YearOf(EncodeDate(2024, 5, 17)))"),
            u"17.5.2024");
}

TEST_F(ScriptBindingTest, ScriptCalcFailuresAreRaisedWithoutEnteringErrors) {
  ASSERT_TRUE(
      Prepare(u"var Msg: String;\r\nbegin\r\n  try Report.Calc('1 +'); except Msg := "
              u"ExceptionMessage; end;\r\nend."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"Msg").rfind(u"Error in Calc expression:Ошибка в выражении '1 +'", 0), 0u)
      << StringToUtf8(CalcText(u"Msg"));
  EXPECT_TRUE(report_->Errors.Empty());
}

TEST_F(ScriptBindingTest, SetWritesReportVariables) {
  ASSERT_TRUE(Prepare(u"begin Set('Total', '40 + 2'); end."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(VarToInteger(report_->Calc(u"Total")), 42);
}

TEST_F(ScriptBindingTest, NamesIgnoreCaseInEveryAlphabet) {
  report_->Variables().Set(u"Имя", Variant(String(u"'Мир'")));
  report_->Variables().Set(u"Ёлка", Variant(int32_t{3}));
  ASSERT_TRUE(Prepare(u"var Число: Integer;\r\nbegin чИСЛО := 5; end.")) << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"имя"), u"Мир");
  EXPECT_EQ(CalcText(u"ИМЯ"), u"Мир");
  EXPECT_EQ(CalcText(u"ёЛКА"), u"3");
  EXPECT_EQ(CalcText(u"<ёлка> + ЧИСЛО"), u"8");
}

TEST_F(ScriptBindingTest, CyrillicVariablesSurviveSavingAndLoading) {
  std::istringstream template_text(
      "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><TqbxReport><Variables>"
      "<item Name=\"Имя\" Value=\"&#39;Мир&#39;\"/></Variables></TqbxReport>");
  report_->LoadFromStream(template_text);
  ASSERT_EQ(report_->Variables().Count(), 1);
  EXPECT_EQ(report_->Variables().Item(0).Name(), u"Имя");
  std::ostringstream out;
  report_->SaveToStream(out);
  std::istringstream in(out.str());
  report_->LoadFromStream(in);
  ASSERT_EQ(report_->Variables().Count(), 1) << out.str();
  EXPECT_EQ(report_->Variables().Item(0).Name(), u"Имя") << out.str();
  EXPECT_EQ(CalcText(u"имя"), u"Мир");
}

TEST_F(ScriptBindingTest, ReportVariablesAreIndexedByName) {
  report_->Variables().Set(u"ID", Variant(String(u"7")));
  ASSERT_TRUE(
      Prepare(u"var Was: String;\r\nbegin Was := Report.Variables['id'];"
              u" Report.Variables['Next'] := '40 + 2'; end."))
      << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"Was"), u"7");
  EXPECT_EQ(VarToInteger(report_->Calc(u"Next")), 42);
}

TEST_F(ScriptBindingTest, GlobalVariablesAreTheObjectQbxGlobalVariables) {
  ASSERT_TRUE(Prepare(u"begin qbxGlobalVariables['CopyName0'] := 'Original'; end."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"CopyName#"), u"Original");
  qbxGlobalVariables().DeleteVariable(u"CopyName0");
}

TEST_F(ScriptBindingTest, IIFEvaluatesOnlyTheChosenBranch) {
  ASSERT_TRUE(Prepare(u"begin end."));
  EXPECT_EQ(CalcText(u"IIF(1 > 0, 'yes', 1 div 0)"), u"yes");
  EXPECT_EQ(CalcText(u"IIF(1 < 0, 1 div 0, 'no')"), u"no");
  EXPECT_TRUE(report_->Errors.Empty());
}

TEST_F(ScriptBindingTest, SelfAndValueAreScriptVariables) {
  TqbxReportPage page;
  page.SetName(u"Shown");
  ASSERT_TRUE(Prepare(u"begin end."));
  report_->SetSelfValue(&page);
  report_->SetLocalValue(Variant(int32_t{5}));
  EXPECT_EQ(VarToInteger(report_->Calc(u"Value * 2")), 10);
  EXPECT_EQ(CalcText(u"Self.Name"), u"Shown");
  report_->SetSelfValue(nullptr);
}

TEST_F(ScriptBindingTest, ScriptVariablesResolveByName) {
  ASSERT_TRUE(
      Prepare(u"var Counter: Integer;\r\nprocedure Bump; begin Counter := Counter + 1; end;\r\n"
              u"begin Counter := 10; end."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(VarToInteger(report_->Calc(u"Counter")), 10);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<Counter>")), 10);
}

TEST_F(ScriptBindingTest, EventsCallScriptProcedures) {
  LoadTemplate(*report_, "<TqbxReportPage Name=\"Page1\"/>");
  auto* page = report_->FindObject(u"Page1");
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(
      Prepare(u"var Log: String;\r\nprocedure PageEvent(Sender: TqbxComponent);\r\n"
              u"begin Log := Log + Sender.Name + ';'; end;\r\nbegin end."));
  report_->DoNotifyEvent(page, u"PageEvent");  // the engine is not running
  report_->DoNotifyEvent(page, u"PageEvent", true);
  report_->EngineRunning = true;
  report_->DoNotifyEvent(page, u"PageEvent");
  report_->DoParamEvent(u"PageEvent", {Variant(static_cast<Object*>(page))});
  report_->DoNotifyEvent(page, u"NoSuchProcedure");
  report_->EngineRunning = false;
  EXPECT_EQ(CalcText(u"Log"), u"Page1;Page1;Page1;");
}

TEST_F(ScriptBindingTest, PreparingAgainReplacesTheProgram) {
  ASSERT_TRUE(Prepare(u"var A: Integer; begin A := 1; end."));
  ASSERT_TRUE(Prepare(u"var A: String; begin A := 'x'; end."));
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"A"), u"x");
}

TEST_F(ScriptBindingTest, TheMainBlockRunsBeforeTheEngine) {
  report_->ScriptText()->SetText(u"var Started: Boolean;\r\nbegin\r\n  Started := True;\r\nend.");
  bool seen = false;
  report_->Run = [&](TqbxReport& r) { return seen = VarToBoolean(r.Calc(u"Started")); };
  EXPECT_TRUE(report_->PrepareReport());
  EXPECT_TRUE(seen);
}

TEST_F(ScriptBindingTest, ObjectsDestroyedByReloadingAreNoLongerPublished) {
  LoadTemplate(
      *report_,
      "<TqbxReportPage Name=\"Page1\"><TqbxMemoView Name=\"Memo1\" Left=\"12\"/></TqbxReportPage>");
  report_->ScriptText()->SetText(u"begin Memo1.Left := 50; end.");
  report_->Run = [](TqbxReport& r) { return VarToInteger(r.Calc(u"Memo1.Left")) == 50; };
  EXPECT_TRUE(report_->PrepareReport());
  // The definition was read again: the old Memo1 is gone, the new one has its template value.
  report_->EngineOptions()->NewSilentMode = simSilent;
  EXPECT_THROW(report_->Calc(u"Memo1.Left"), Error);
  EXPECT_TRUE(Prepare(u"begin end."));
  EXPECT_EQ(VarToInteger(report_->Calc(u"Memo1.Left")), 12);
}

TEST_F(ScriptBindingTest, ATerminatedMainBlockSkipsTheEngine) {
  report_->ScriptText()->SetText(u"begin Report.Terminated := True; end.");
  bool ran = false;
  report_->Run = [&](TqbxReport&) { return ran = true; };
  report_->PrepareReport();
  EXPECT_FALSE(ran);
}

TEST_F(ScriptBindingTest, CompileErrorsReachTheErrorHandler) {
  report_->ScriptText()->SetText(u"begin\r\n  x := ;\r\nend.");
  bool ran = false;
  report_->Run = [&](TqbxReport&) { return ran = true; };
  try {
    report_->PrepareReport();
    FAIL() << "no error reported";
  } catch (const Error& e) {
    const String& text = e.Message();
    EXPECT_EQ(text.rfind(u"Были обнаружены следующие ошибки:\r\nОшибка в скрипте 2:", 0), 0u)
        << StringToUtf8(text);
  }
  EXPECT_FALSE(ran);
}

TEST_F(ScriptBindingTest, RunTimeErrorsOfTheMainBlockCarryTheirPosition) {
  report_->EngineOptions()->NewSilentMode = simSilent;
  report_->ScriptText()->SetText(
      u"var i: Integer;\r\nbegin\r\n  i := 0;\r\n  i := 1 div i;\r\nend.");
  EXPECT_FALSE(report_->PrepareReport());
  EXPECT_NE(Errors().find(u" 4:"), String::npos) << StringToUtf8(Errors());
}

}  // namespace
}  // namespace zavrik::test
