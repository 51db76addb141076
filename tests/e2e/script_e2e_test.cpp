// Report scripts in each language drive the run end to end: new pages by position, a stopped
// report, the final pass of a double pass, formatting per row, a filtered data source, a variable
// named in Cyrillic and an untyped query parameter. Rows are 20 units high on pages of 60 mm
// (226.77 units) without margins, so a page holds 11 rows unless a script breaks it earlier.
#include <gtest/gtest.h>

#include <regex>

#include "core/ustring.h"
#include "e2e/e2e_checks.h"
#include "e2e/process.h"
#include "report/document/qbx_prop_stream.h"
#include "support/pdf_tools.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

std::string XmlAttribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "&#13;&#10;"; break;
      default: out += c;
    }
  }
  return out;
}

const char* const kRows =
    "<TqbxMasterData Name=\"Rows\" Height=\"20\" Top=\"0\" Width=\"378\" DataSet=\"Q\" "
    "OnAfterPrint=\"RowsAfterPrint\">"
    "<TqbxMemoView Name=\"Row\" Width=\"300\" Height=\"20\" Text=\"Строка [Q.&quot;N&quot;]\"/>"
    "</TqbxMasterData>";

struct Template {
  std::string language = "PascalScript";
  std::string script = "begin\nend.";
  std::string body = kRows;
  std::string report_attributes;
  std::string query_attributes;
  std::string sql = "SELECT N FROM NUMS ORDER BY N";
  std::string nested;  // elements inside the report (variables)

  std::string Xml() const {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\n<TqbxReport ScriptLanguage=\"" + language +
           "\" ScriptText.Text=\"" + XmlAttribute(script) + "\" " + report_attributes + ">" +
           "<Datasets><item DataSet=\"Q\" DataSetName=\"Q\"/></Datasets>" + nested +
           "<TqbxDataPage Name=\"Data\" Height=\"1000\" Width=\"1000\">"
           "<TqbxIBXQuery Name=\"Q\" UserName=\"Q\" SQL.Text=\"" + XmlAttribute(sql) + "\" " +
           query_attributes + "/></TqbxDataPage>"
           "<TqbxReportPage Name=\"Page1\" PaperWidth=\"100\" PaperHeight=\"60\" PaperSize=\"256\" "
           "LeftMargin=\"0\" TopMargin=\"0\" RightMargin=\"0\" BottomMargin=\"0\">" +
           body + "</TqbxReportPage></TqbxReport>";
  }
};

// The stored parameter list of a query: one parameter without a data type.
std::string UntypedParameter(const std::string& name, const std::string& expression) {
  TqbxPropWriter writer;
  writer.WritePropName(u"Parameters");
  writer.WriteValueType(vaList);
  writer.WriteValueType(vaList);
  writer.WriteString(Utf8ToString("Name=\"" + name + "\" Expression=\"" + expression + "\""));
  writer.WriteValueType(vaNull);
  writer.WriteValueType(vaNull);
  return "PropData=\"" + StringToUtf8(BytesToHex(writer.Bytes())) + "\"";
}

std::map<std::string, Template> Templates() {
  std::map<std::string, Template> t;
  t["cury"].script =
      "procedure RowsAfterPrint(Sender: TqbxComponent);\nbegin\n"
      "  if (Engine.CurY > 100) and (<Q.\"N\"> < 12) then Engine.NewPage;\nend;\n\nbegin\nend.";
  t["freespace"].language = "C++Script";
  t["freespace"].script =
      "void RowsAfterPrint(TqbxComponent Sender) {\n"
      "  if ((Engine.FreeSpace < 130) && (<Q.\"N\"> < 12)) Engine.NewPage();\n}\n{}";
  t["stop"].language = "JScript";
  t["stop"].script = "function RowsAfterPrint(Sender) {\n  if (<Q.\"N\"> == 4) Engine.StopReport();\n}\n";
  t["final pass"].language = "BasicScript";
  t["final pass"].report_attributes = "EngineOptions.DoublePass=\"True\"";
  t["final pass"].script =
      "Sub RowsAfterPrint(Sender)\nEnd Sub\n"
      "Sub TotalBefore(Sender)\n"
      "  If Engine.FinalPass Then\n"
      "    Total.Text = \"Страниц: \" & PreviewPages.Count & \" из \" & Engine.TotalPages\n"
      "  Else\n"
      "    Total.Text = \"черновик\"\n"
      "  End If\n"
      "End Sub\n";
  t["final pass"].body = std::string(kRows) +
                         "<TqbxReportSummary Name=\"Summary\" Height=\"20\" Top=\"40\" Width=\"378\">"
                         "<TqbxMemoView Name=\"Total\" Width=\"300\" Height=\"20\" "
                         "OnBeforePrint=\"TotalBefore\"/></TqbxReportSummary>";
  t["format"].script =
      "procedure RowsAfterPrint(Sender: TqbxComponent);\nbegin\nend;\n\n"
      "procedure RowBefore(Sender: TqbxComponent);\nbegin\n"
      "  if <Q.\"N\"> mod 2 = 0 then\n  begin\n"
      "    Row.Font.Color := clRed;\n    Row.Font.Style := [fsBold];\n"
      "    Row.Frame.Typ := [ftLeft, ftRight];\n    Row.Fill.AsBrushFill.BackColor := clYellow;\n"
      "  end\n  else\n    Row.Frame.Typ := [];\nend;\n\n"
      "begin\n  Amount.DisplayFormat.Kind := fkNumeric;\n  Amount.DisplayFormat.FormatStr := '%2.2f';\n"
      "  Amount.DisplayFormat.DecimalSeparator := '.';\nend.";
  t["format"].sql = "SELECT N FROM NUMS WHERE N <= 4 ORDER BY N";
  t["format"].body =
      "<TqbxMasterData Name=\"Rows\" Height=\"20\" Top=\"0\" Width=\"378\" DataSet=\"Q\">"
      "<TqbxMemoView Name=\"Row\" Width=\"200\" Height=\"20\" OnBeforePrint=\"RowBefore\" "
      "Text=\"Строка [Q.&quot;N&quot;]\"/>"
      "<TqbxMemoView Name=\"Amount\" Left=\"200\" Width=\"100\" Height=\"20\" "
      "Text=\"[&lt;Q.&quot;N&quot;&gt; * 1.5]\"/></TqbxMasterData>";
  t["filter"].query_attributes = "Filter=\"&lt;Q.&quot;N&quot;&gt; mod 3 = 0\" Filtered=\"True\"";
  t["filter"].script = "procedure RowsAfterPrint(Sender: TqbxComponent);\nbegin\nend;\n\nbegin\nend.";
  t["filter"].body = std::string(kRows) +
                     "<TqbxReportSummary Name=\"Summary\" Height=\"20\" Top=\"40\" Width=\"378\">"
                     "<TqbxMemoView Name=\"Total\" Width=\"300\" Height=\"20\" "
                     "Text=\"Отобрано [COUNT(Rows)] из [Q.RecordCount]\"/></TqbxReportSummary>";
  t["cyrillic"].nested = "<Variables><item Name=\"Имя\" Value=\"&#39;Мир&#39;\"/></Variables>";
  t["cyrillic"].script = t["filter"].script;
  t["cyrillic"].body =
      "<TqbxReportTitle Name=\"Title\" Height=\"20\" Top=\"0\" Width=\"378\">"
      "<TqbxMemoView Name=\"Hello\" Width=\"300\" Height=\"20\" Text=\"[имя] [ИМЯ] [&lt;Имя&gt;]\"/>"
      "</TqbxReportTitle>";
  t["untyped"].script = t["filter"].script;
  t["untyped"].sql = "SELECT N FROM NUMS WHERE N <= :LIM ORDER BY N";
  t["untyped"].query_attributes = UntypedParameter("LIM", "&#39;5&#39;");
  return t;
}

class ScriptRunTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    db_ = dir_->File("scripts.fdb");
    std::vector<std::pair<std::string, std::string>> stored;
    for (const auto& [name, t] : Templates()) stored.emplace_back(name, t.Xml());
    std::string nums = "INSERT INTO NUMS SELECT N FROM (";
    for (int n = 1; n <= 12; ++n)
      nums += (n > 1 ? " UNION ALL " : "") + ("SELECT " + std::to_string(n) + " AS N FROM RDB$DATABASE");
    CreateReportDatabase(db_, stored, {"CREATE TABLE NUMS (N INTEGER NOT NULL PRIMARY KEY)", nums + ")"});
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::string Run(const std::string& report, int pages) {
    const ProcessResult r = RunProcess(ZAVRIK_BINARY, {db_, report, "1"});
    EXPECT_EQ(r.err, "") << report;
    const std::string pdf = PdfOf(r);
    EXPECT_EQ(PdfPageCount(pdf), pages) << report;
    return pdf;
  }

  // "Строка first" … "Строка last" on the page, and no other row.
  static void ExpectRows(const std::string& pdf, int page, int first, int last) {
    const std::string text = PdfPageText(pdf, page);
    for (int n = 1; n <= 12; ++n) {
      const bool shown = text.find("Строка " + std::to_string(n) + "\n") != std::string::npos;
      EXPECT_EQ(shown, n >= first && n <= last) << "page " << page << ", row " << n << "\n" << text;
    }
  }

  static TempDir* dir_;
  static std::string db_;
};

TempDir* ScriptRunTest::dir_ = nullptr;
std::string ScriptRunTest::db_;

TEST_F(ScriptRunTest, PascalStartsANewPageByThePosition) {
  // After row 6 the position is 120 > 100.
  const std::string pdf = Run("cury", 2);
  ExpectRows(pdf, 1, 1, 6);
  ExpectRows(pdf, 2, 7, 12);
}

TEST_F(ScriptRunTest, CppStartsANewPageByTheFreeSpace) {
  // Free space after row 5 is 226.77 - 100 < 130.
  const std::string pdf = Run("freespace", 3);
  ExpectRows(pdf, 1, 1, 5);
  ExpectRows(pdf, 2, 6, 10);
  ExpectRows(pdf, 3, 11, 12);
}

TEST_F(ScriptRunTest, JScriptStopsTheReportKeepingThePrintedRows) {
  const std::string pdf = Run("stop", 1);
  ExpectRows(pdf, 1, 1, 4);
}

TEST_F(ScriptRunTest, BasicSeesThePageCountInTheFinalPass) {
  // Eleven rows fill page 1; row 12 and the summary go to page 2.
  const std::string pdf = Run("final pass", 2);
  ExpectRows(pdf, 1, 1, 11);
  const std::string text = PdfPageText(pdf, 2);
  EXPECT_NE(text.find("Страниц: 2 из 2"), std::string::npos) << text;
  EXPECT_EQ(text.find("черновик"), std::string::npos) << text;
}

TEST_F(ScriptRunTest, ScriptsFormatEveryOtherRow) {
  const std::string pdf = Run("format", 1);
  const std::string text = PdfPageText(pdf, 1);
  for (const char* amount : {"1.50", "3.00", "4.50", "6.00"})
    EXPECT_NE(text.find(amount), std::string::npos) << text;
  const std::string content = PdfPageContent(pdf, 1);
  EXPECT_TRUE(std::regex_search(content, std::regex(R"(\b1(\.0+)? 0(\.0+)? 0(\.0+)? rg)"))) << "red text";
  EXPECT_TRUE(std::regex_search(content, std::regex(R"(\b1(\.0+)? 1(\.0+)? 0(\.0+)? rg)"))) << "yellow fill";
  std::string fonts;
  RunOnFile(pdf, "pdffonts {}", &fonts);
  EXPECT_NE(fonts.find("Bold"), std::string::npos) << fonts;
}

TEST_F(ScriptRunTest, FilteredDataSourceSkipsRecordsEverywhere) {
  const std::string pdf = Run("filter", 1);
  const std::string text = PdfPageText(pdf, 1);
  for (int n : {3, 6, 9, 12}) EXPECT_NE(text.find("Строка " + std::to_string(n) + "\n"), std::string::npos);
  for (int n : {1, 2, 4, 5, 7, 8, 10, 11})
    EXPECT_EQ(text.find("Строка " + std::to_string(n) + "\n"), std::string::npos) << n;
  EXPECT_NE(text.find("Отобрано 4 из 4"), std::string::npos) << text;
}

TEST_F(ScriptRunTest, CyrillicVariableNamesIgnoreCase) {
  const std::string text = PdfPageText(Run("cyrillic", 1), 1);
  EXPECT_NE(text.find("Мир Мир Мир"), std::string::npos) << text;
}

TEST_F(ScriptRunTest, UntypedParameterIsBoundFromItsValue) {
  ExpectRows(Run("untyped", 1), 1, 1, 5);
}

}  // namespace
}  // namespace zavrik::test
