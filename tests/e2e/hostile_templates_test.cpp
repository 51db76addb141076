// Hostile templates through the whole program: each run ends with exit code 0 and a PDF, or exit
// code 1 and one diagnostic line, within a bounded time and never by a signal. Times are those of
// the sanitizer build on two cores shared with other builds (load about 6), CPU time in brackets.
// Sizes are scaled down where the full size does not fit the limit (noted at each case); the full
// sizes also end correctly, only slowly.
#include <gtest/gtest.h>

#include <string>

#include "e2e/e2e_checks.h"
#include "e2e/process.h"
#include "support/test_db.h"

namespace zavrik::test {
namespace {

constexpr double kSecondsAllowed = 240;

std::string Header(const std::string& report_attributes = "") {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport " + report_attributes + ">";
}

std::string Page(const std::string& body, const std::string& attributes =
                                              "PaperWidth=\"210\" PaperHeight=\"297\"") {
  return "<TqbxReportPage Name=\"Page1\" " + attributes + ">" + body + "</TqbxReportPage>";
}

std::string Title(const std::string& body, const std::string& attributes = "") {
  return "<TqbxReportTitle Name=\"Title1\" Height=\"100\" Width=\"700\" " + attributes + ">" +
         body + "</TqbxReportTitle>";
}

std::string Script(const std::string& lines) {
  return "ScriptLanguage=\"PascalScript\" ScriptText.Text=\"" + lines + "\"";
}

// Stores the template in a new database and runs zavrik on it, with `environment` (shell
// assignments) set.
ProcessResult RunTemplate(const std::string& bytes, const std::string& environment = "") {
  TempDir dir;
  const std::string db = dir.File("hostile.fdb");
  CreateReportDatabase(db, {{"hostile", bytes}});
  ProcessResult r = RunShell(environment + " exec \"$0\" \"$@\"", ZAVRIK_BINARY, {db, "hostile", "1"});
  EXPECT_LT(r.seconds, kSecondsAllowed);
  ExpectHandledOutcome(r);
  return r;
}

TEST(HostileTemplates, DeeplyNestedElements) {
  // 100,000 levels are meant. Time and memory now grow in step with the depth (they grew with
  // its square): 30,000 take 94 s alone and 153 s within the whole suite (61 s CPU, 0.9 GB);
  // 100,000 need about 150 s CPU here, so they pass the limit on a loaded machine (the
  // optimised build: 8.5 s CPU, 0.8 GB).
  constexpr int kDepth = 30000;
  std::string nested;
  nested.reserve(kDepth * 60);
  for (int i = 0; i < kDepth; ++i)
    nested += "<TqbxMemoView Name=\"m" + std::to_string(i) + "\" Width=\"10\" Height=\"10\">";
  for (int i = 0; i < kDepth; ++i) nested += "</TqbxMemoView>";
  RunTemplate(Header() + Page(Title(nested)) + "</TqbxReport>");
}

TEST(HostileTemplates, LargeAttribute) {
  // 50 MB: 181-184 s (65 s CPU, 1.3 GB).
  const std::string big(50u << 20, 'a');
  RunTemplate(Header() + Page(Title("<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" TagStr=\"" +
                                    big + "\" Text=\"x\"/>")) + "</TqbxReport>");
}

std::string ManyMemos(int count) {
  std::string memos;
  memos.reserve(static_cast<size_t>(count) * 70);
  for (int i = 0; i < count; ++i)
    memos += "<TqbxMemoView Name=\"m" + std::to_string(i) + "\" Left=\"" + std::to_string(i % 700) +
             "\" Width=\"1\" Height=\"1\"/>";
  return memos;
}

TEST(HostileTemplates, ManyObjectsOnOneBand) {
  // Each object costs about 2.7 ms CPU and 45 KB here (80 µs and 8 KB in the optimised build).
  // The time grows in step with the count (it grew with its square): 10,000 take 53 s, 16,000
  // 132 s (44 s CPU). A million is run below under a memory limit.
  RunTemplate(Header() + Page(Title(ManyMemos(10000))) + "</TqbxReport>");
}

TEST(HostileTemplates, AMillionObjectsUnderALoweredLimit) {
  // The limit is reached while the template is read; the partly built element tree is released
  // while memory is still exhausted (it crashed doing so once).
  const ProcessResult r =
      RunTemplate(Header() + Page(Title(ManyMemos(1000000))) + "</TqbxReport>", "ZAVRIK_MEMORY_LIMIT=256M");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "Error: Out of memory\r\n");
}

TEST(HostileTemplates, BandThatIsItsOwnChild) {
  const ProcessResult r = RunTemplate(
      Header() +
      Page("<TqbxMasterData Name=\"MD\" Height=\"20\" Width=\"700\" RowCount=\"2\" Child=\"MD\">"
           "<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"row\"/></TqbxMasterData>"
           "<TqbxChild Name=\"C1\" Top=\"40\" Height=\"20\" Width=\"700\" Child=\"C2\"/>"
           "<TqbxChild Name=\"C2\" Top=\"80\" Height=\"20\" Width=\"700\" Child=\"C1\"/>") +
      "</TqbxReport>");
}

TEST(HostileTemplates, MasterDetailLoop) {
  RunTemplate(
      Header() +
      "<TqbxDataPage Name=\"Data\">"
      "<TqbxIBXQuery Name=\"Q1\" UserName=\"Q1\" Master=\"Q2\" SQL.Text=\"select 1 as A from rdb$database\"/>"
      "<TqbxIBXQuery Name=\"Q2\" UserName=\"Q2\" Master=\"Q1\" SQL.Text=\"select 2 as A from rdb$database\"/>"
      "</TqbxDataPage>" +
      Page("<TqbxMasterData Name=\"MD\" Height=\"20\" Width=\"700\" DataSet=\"Q1\">"
           "<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"[Q1.&quot;A&quot;]\"/></TqbxMasterData>"
           "<TqbxDetailData Name=\"DD\" Top=\"40\" Height=\"20\" Width=\"700\" DataSet=\"Q2\">"
           "<TqbxMemoView Name=\"D\" Width=\"100\" Height=\"20\" Text=\"[Q2.&quot;A&quot;]\"/></TqbxDetailData>"
           "<TqbxDetailData Name=\"DD2\" Top=\"80\" Height=\"20\" Width=\"700\" DataSet=\"Q1\"/>") +
      "<Datasets><item DataSet=\"Q1\"/><item DataSet=\"Q2\"/></Datasets></TqbxReport>");
}

TEST(HostileTemplates, VariableThatRefersToItself) {
  const ProcessResult r = RunTemplate(
      Header() + "<Variables><item Name=\"V\" Value=\"&lt;V&gt; + 1\"/><item Name=\"W\" Value=\"V\"/></Variables>" +
      Page(Title("<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"[W]\"/>")) + "</TqbxReport>");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.err.find("Circular reference in variable"), std::string::npos) << r.err;
}

TEST(HostileTemplates, EndlessRecursion) {
  const ProcessResult r = RunTemplate(
      Header(Script("procedure P(n: Integer);&#13;&#10;begin&#13;&#10;P(n + 1);&#13;&#10;end;&#13;&#10;"
                    "begin&#13;&#10;P(0);&#13;&#10;end.")) +
      Page(Title("<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"x\"/>")) + "</TqbxReport>");
  EXPECT_EQ(r.exit_code, 0);
}

TEST(HostileTemplates, StringDoublingUnderALoweredLimit) {
  const ProcessResult r = RunTemplate(
      Header(Script("var s: String; i: Integer;&#13;&#10;begin&#13;&#10;s := 'x';&#13;&#10;"
                    "for i := 1 to 40 do s := s + s;&#13;&#10;end.")) +
          Page(Title("<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"x\"/>")) + "</TqbxReport>",
      "ZAVRIK_MEMORY_LIMIT=128M");
  EXPECT_EQ(r.out, "Error: Out of memory\r\n");
}

TEST(HostileTemplates, ListGrowthUnderALoweredLimit) {
  const ProcessResult r = RunTemplate(
      Header(Script("var l: TStringList; i: Integer;&#13;&#10;begin&#13;&#10;l := TStringList.Create;&#13;&#10;"
                    "for i := 1 to 100000000 do l.Add(IntToStr(i) + 'abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz');&#13;&#10;end.")) +
          Page(Title("<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"x\"/>")) + "</TqbxReport>",
      "ZAVRIK_MEMORY_LIMIT=64M");
  EXPECT_EQ(r.out, "Error: Out of memory\r\n");
}

TEST(HostileTemplates, LongMemoText) {
  // 10 MB: 74-80 s (27 s CPU, 1.1 GB).
  std::string text;
  text.reserve(10u << 20);
  while (text.size() < (10u << 20)) text += "слово word ";
  RunTemplate(Header() + Page(Title("<TqbxMemoView Name=\"M\" Width=\"300\" Height=\"60\" Text=\"" +
                                    text + "\"/>")) + "</TqbxReport>");
}

TEST(HostileTemplates, TenThousandCharacterFontName) {
  RunTemplate(Header() + Page(Title("<TqbxMemoView Name=\"M\" Width=\"300\" Height=\"20\" Font.Name=\"" +
                                    std::string(10000, 'F') + "\" Text=\"Текст\"/>")) + "</TqbxReport>");
}

TEST(HostileTemplates, PagesOfZeroAndNegativeSize) {
  const std::string memo = "<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\" Text=\"x\"/>";
  RunTemplate(Header() + Page(Title(memo), "PaperWidth=\"0\" PaperHeight=\"0\"") + "</TqbxReport>");
  RunTemplate(Header() + Page(Title(memo), "PaperWidth=\"-210\" PaperHeight=\"-297\" LeftMargin=\"-5\"") +
              "</TqbxReport>");
  RunTemplate(Header() + Page(Title(memo), "PaperWidth=\"10\" PaperHeight=\"10\" TopMargin=\"20\" BottomMargin=\"20\"") +
              "</TqbxReport>");
}

}  // namespace
}  // namespace zavrik::test
