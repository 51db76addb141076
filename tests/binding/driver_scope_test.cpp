// The driver's scope wiring: the program's extensions and the ID variable seen from report
// expressions, and fields of a template query over the data module's connection.
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/variant_convert.h"
#include "driver/data_module.h"
#include "driver/report_pipeline.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_report_script.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

class DriverScopeTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("labels.fdb");
    CreateDatabase(db_, {"CREATE TABLE LABELS (ID INTEGER NOT NULL PRIMARY KEY, TITLE VARCHAR(20), "
                         "PRICE NUMERIC(12, 2))",
                         "INSERT INTO LABELS VALUES (1, 'Первая', 1234.56)",
                         "INSERT INTO LABELS VALUES (2, NULL, 2)"});
  }
  static void TearDownTestSuite() { delete dir_; }

  DriverScopeTest() {
    dm_.Base.DatabaseName = Utf8ToString(db_);
    dm_.Base.Connect();
    dm_.TR.StartTransaction();
    report_ = driver::CreateReport();
    report_->EngineOptions()->NewSilentMode = simReThrow;
  }

  void Load(const std::string& body, const String& id) {
    driver::LoadReport(
        *report_, "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport>" + body + "</TqbxReport>",
        dm_, id);
  }

  String CalcText(StringView expression) { return VarToString(report_->Calc(expression)); }

  static TempDir* dir_;
  static std::string db_;
  driver::Tdm dm_;
  std::unique_ptr<TqbxReport> report_;
};

TempDir* DriverScopeTest::dir_ = nullptr;
std::string DriverScopeTest::db_;

TEST_F(DriverScopeTest, MoneyToStringAndDmAreVisibleFromReportExpressions) {
  Load("", u"00123");
  ASSERT_TRUE(report_->PrepareScript()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(CalcText(u"MoneyToString(1234.56)"),
            u"Одна тысяча двести тридцать четыре рубля  56 копеек ");
  EXPECT_EQ(VarToInteger(report_->Calc(u"ID")), 123);
  EXPECT_EQ(VarToInteger(report_->Calc(u"<ID> + 1")), 124);
}

TEST_F(DriverScopeTest, AScriptThatDoesNotCompileIsShownAndThePdfStillWritten) {
  Load("<TqbxReportPage Name=\"Page1\"/>", u"1");
  report_->EngineOptions()->NewSilentMode = simMessageBoxes;
  report_->ScriptText()->SetText(u"begin\r\n  x := ;\r\nend.");
  testing::internal::CaptureStderr();
  const std::string pdf = driver::PrepareAndExport(*report_);
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(shown.rfind("Ошибка: Были обнаружены следующие ошибки:\r\nОшибка в скрипте 2:", 0), 0u)
      << shown;
}

TEST_F(DriverScopeTest, PageNumbersBeforeARunAreZero) {
  Load("", u"1");
  EXPECT_EQ(VarToInteger(report_->Calc(u"Page")), 0);
  EXPECT_EQ(VarToInteger(report_->Calc(u"Page#")), 0);
  EXPECT_EQ(VarToInteger(report_->Calc(u"TotalPages")), 0);
}

TEST_F(DriverScopeTest, TheTemplateScriptPassesDmOnButCannotReachItsMembers) {
  Load("", u"1");
  report_->ScriptText()->SetText(
      u"function Same(X: Variant): Boolean; begin Result := X = Dm; end;\r\nbegin end.");
  ASSERT_TRUE(report_->PrepareScript());
  EXPECT_EQ(CalcText(u"Same(Dm)"), u"True");
  report_->ScriptText()->SetText(u"begin Dm.Base; end.");
  EXPECT_FALSE(report_->PrepareScript());
  EXPECT_NE(report_->Errors.Text().find(u"Ошибка в скрипте"), String::npos);
}

TEST_F(DriverScopeTest, QueryFieldsFromTheDatabase) {
  Load(
      "<TqbxDataPage Name=\"Data\"><TqbxIBXQuery Name=\"Query1\" "
      "SQL.Text=\"SELECT TITLE, PRICE FROM LABELS ORDER BY ID\"/></TqbxDataPage>"
      "<Datasets><item DataSet=\"Query1\"/></Datasets>",
      u"1");
  ASSERT_TRUE(report_->PrepareScript()) << StringToUtf8(report_->Errors.Text());
  report_->DataSets().Initialize(report_.get());
  EXPECT_EQ(CalcText(u"Query1.\"TITLE\""), u"Первая");
  EXPECT_EQ(CalcText(u"MoneyToString(<Query1.\"PRICE\">)"),
            u"Одна тысяча двести тридцать четыре рубля  56 копеек ");
  EXPECT_TRUE(report_->Errors.Empty()) << StringToUtf8(report_->Errors.Text());
  report_->DataSets().Finalize();
}

TEST_F(DriverScopeTest, ScriptsWalkTemplateQueries) {
  Load(
      "<TqbxDataPage Name=\"Data\"><TqbxIBXQuery Name=\"Query1\" "
      "SQL.Text=\"SELECT TITLE, PRICE FROM LABELS ORDER BY ID\"/></TqbxDataPage>"
      "<Datasets><item DataSet=\"Query1\"/></Datasets>",
      u"1");
  report_->ScriptText()->SetText(
      u"var Titles: String;\r\nbegin\r\n  Query1.First;\r\n  while not Query1.Eof do\r\n  begin\r\n"
      u"    Titles := Titles + Query1.DisplayText['TITLE'] + '/' + "
      u"IntToStr(Round(Query1.Value['PRICE'] * 100)) + ';';\r\n"
      u"    Query1.Next;\r\n  end;\r\nend.");
  ASSERT_TRUE(report_->PrepareScript()) << StringToUtf8(report_->Errors.Text());
  report_->DataSets().Initialize(report_.get());
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(CalcText(u"Titles"), u"Первая/123456;/200;");
  EXPECT_EQ(CalcText(u"Query1.HasField('PRICE')"), u"True");
  report_->DataSets().Finalize();
}

}  // namespace
}  // namespace zavrik::test
