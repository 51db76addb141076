// The report object: clearing, variables, the data-source list, loading with kept and restored
// options, the data page, passwords, the error handler and the preparation steps of the model.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/error.h"
#include "core/float_text.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {
namespace {

std::string Doc(const std::string& attributes, const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport" + attributes + ">" + body + "</TqbxReport>";
}

void Load(TqbxReport& report, const std::string& xml) {
  RegisterReportClasses();
  std::istringstream in(xml);
  report.LoadFromStream(in);
}

std::string Save(const TqbxReport& report) {
  std::ostringstream out;
  report.SaveToStream(out);
  return out.str();
}

TEST(Report, ClearedDefaults) {
  TqbxReport report;
  EXPECT_EQ(report.Version(), u"6.7");
  report.SetVersion(u"5.0");
  EXPECT_EQ(report.Version(), u"6.7");
  EXPECT_EQ(report.ScriptLanguage(), u"PascalScript");
  EXPECT_EQ(report.ScriptText()->Lines(), (std::vector<String>{u"begin", u"", u"end."}));
  EXPECT_EQ(report.SystemVariables().size(), 11u);
  EXPECT_TRUE(report.ShowProgress);
  EXPECT_TRUE(report.EngineOptions()->ConvertNulls);
  EXPECT_EQ(report.PrintOptions()->Printer, u"По умолчанию");
}

TEST(Report, Variables) {
  TqbxVariables vars;
  vars.Set(u" Params", Variant());
  vars.Set(u"A", Variant(int32_t{1}));
  vars.Set(u" Other", Variant());
  vars.AddVariable(u"Params", u"B", Variant(int32_t{2}));
  vars.AddVariable(u"Missing", u"C", Variant(int32_t{3}));
  vars.Set(u"id", Variant(String(u"7")));
  std::vector<String> names;
  vars.GetVariablesList(u"Params", names);
  EXPECT_EQ(names, (std::vector<String>{u"A", u"B"}));
  EXPECT_EQ(vars.IndexOf(u"C"), -1);
  EXPECT_EQ(vars.IndexOf(u"ID"), vars.Count() - 1);  // appended at the end, outside the categories
  EXPECT_TRUE(vars.Get(u"nothing").IsNull());
  vars.AddVariable(u"Other", u"a", Variant(int32_t{5}));  // exists elsewhere: replaced in place
  EXPECT_EQ(vars.Get(u"A").SignedValue(), 5);
  vars.GetCategoriesList(names);
  EXPECT_EQ(names, (std::vector<String>{u"Params", u"Other"}));
  vars.DeleteCategory(u"Params");
  EXPECT_EQ(vars.Count(), 2);
  vars.GetVariablesList(u"", names);
  EXPECT_TRUE(names.empty());
}

TEST(Report, LoadKeepsTheTemplatesEngineValuesOnlyWhereMeant) {
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  report.EngineOptions()->MaxMemSize = 99;
  Load(report, Doc(" EngineOptions.NewSilentMode=\"simReThrow\" EngineOptions.DoublePass=\"True\" "
                   "EngineOptions.MaxMemSize=\"3\" PreviewOptions.OutlineWidth=\"200\" PreviewOptions.Zoom=\"2\"",
                   ""));
  EXPECT_EQ(report.EngineOptions()->NewSilentMode, simSilent);
  EXPECT_EQ(report.EngineOptions()->MaxMemSize, 99);
  EXPECT_TRUE(report.EngineOptions()->DoublePass);
  EXPECT_EQ(report.PreviewOptions()->OutlineWidth, 200);
  EXPECT_EQ(report.PreviewOptions()->Zoom, 1);
}

TEST(Report, DataPageComesFirstAndNamesAreKept) {
  TqbxReport report;
  Load(report, Doc("", "<TqbxReportPage Name=\"Page1\"/>"));
  ASSERT_EQ(report.Count(), 2);
  EXPECT_EQ(report.Child(0).Name(), u"Data");
  EXPECT_TRUE(dynamic_cast<TqbxDataPage*>(&report.Child(0)));
  Load(report, Doc("", "<TqbxReportPage Name=\"Data\"/>"));
  EXPECT_NE(report.Child(0).Name(), u"Data");
  EXPECT_TRUE(dynamic_cast<TqbxDataPage*>(&report.Child(0)));
  Load(report, Doc("", "<TqbxReportPage Name=\"P\"/><TqbxDataPage Name=\"D\"/>"));
  EXPECT_EQ(report.Count(), 2);
}

TEST(Report, NestedCollectionsRoundTrip) {
  TqbxReport report;
  Load(report, Doc(" ScriptLanguage=\"C++Script\"",
                   "<Datasets><item DataSet=\"P\" DataSetName=\"P\"/></Datasets>"
                   "<Variables><item Name=\" Params\" Value=\"\"/><item Name=\"ID\" Value=\"&#39;5&#39;\"/></Variables>"
                   "<Styles><item Name=\"Bold\" Font.Style=\"1\" FillType=\"ftGlass\"/></Styles>"
                   "<TqbxDataPage Name=\"Data\"><TqbxReportPage Name=\"P\"/></TqbxDataPage>"));
  EXPECT_TRUE(report.Errors.Empty());
  EXPECT_EQ(report.ScriptLanguage(), u"C++Script");
  ASSERT_EQ(report.DataSets().Count(), 1);
  EXPECT_EQ(report.Variables().Get(u"id").StringValue(), u"'5'");
  ASSERT_EQ(report.Styles().size(), 1u);
  EXPECT_EQ(report.Styles()[0]->FillType(), ftGlass);
  const std::string text = Save(report);
  TqbxReport again;
  Load(again, text);
  EXPECT_EQ(Save(again), text);
}

TEST(Report, PasswordIsDecodedAndEncodedAgain) {
  TqbxReport report;
  Load(report, Doc(" ReportOptions.Password=\"&#39;\"", ""));  // '1' - 10
  EXPECT_EQ(report.ReportOptions()->Password, u"1");
  EXPECT_NE(Save(report).find("ReportOptions.Password=\"'\""), std::string::npos);
}

TEST(Report, ErrorHandlerModes) {
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simReThrow;
  try {
    Load(report, Doc("", "<TqbxNoSuchView Name=\"X\"/>"));
    FAIL() << "not raised";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Были обнаружены следующие ошибки:\r\nНе удалось найти класс TqbxNoSuchView");
  }
  report.EngineOptions()->NewSilentMode = simSilent;
  Load(report, "not xml at all <");
  EXPECT_EQ(report.Errors.Items(), (std::vector<String>{u"Invalid file format"}));
}

TEST(Report, PreparationChecksDataSetsAndRestoresTheDefinition) {
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  Load(report, Doc("", "<Datasets><item DataSet=\"Query9\" DataSetName=\"Query9\"/></Datasets>"));
  bool ran = false;
  report.Run = [&](TqbxReport&) { return ran = true; };
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_FALSE(ran);
  EXPECT_EQ(report.Errors.Items(), (std::vector<String>{u"Набор данных \"Query9\" не найден"}));

  Load(report, Doc("", "<TqbxReportPage Name=\"P\" LeftMargin=\"5\"/>"));
  report.Run = [](TqbxReport& r) {
    static_cast<TqbxReportPage*>(r.FindObject(u"P"))->SetLeftMargin(50);
    throw Error(u"script failed");
    return true;
  };
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(static_cast<TqbxReportPage*>(report.FindObject(u"P"))->LeftMargin(), 5);
  EXPECT_EQ(report.Errors.Items(), (std::vector<String>{u"script failed"}));
}

}  // namespace
}  // namespace zavrik::test

namespace zavrik::test {
namespace {

class TemplateFixture : public ::testing::TestWithParam<const char*> {};

// Hand-written templates of the usual kinds load without messages and write back stably.
TEST_P(TemplateFixture, LoadsCleanAndRoundTrips) {
  std::ifstream in(std::string(FIXTURE_TEMPLATES) + "/" + GetParam(), std::ios::binary);
  ASSERT_TRUE(in.is_open());
  std::stringstream text;
  text << in.rdbuf();
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simReThrow;
  Load(report, text.str());
  EXPECT_TRUE(report.Errors.Empty());
  const std::string saved = Save(report);
  TqbxReport again;
  again.EngineOptions()->NewSilentMode = simReThrow;
  Load(again, saved);
  EXPECT_EQ(Save(again), saved);
}

INSTANTIATE_TEST_SUITE_P(Templates, TemplateFixture, ::testing::Values("invoice.xml", "grouped_list.xml", "labels.xml"));

}  // namespace
}  // namespace zavrik::test

namespace zavrik::test {
namespace {

class RecordingScript : public TqbxScriptCaller {
 public:
  Variant CallFunction(StringView name, const std::vector<Variant>& params) override {
    Calls.push_back(String(name) + u"/" + IntToStr(static_cast<int64_t>(params.size())));
    return Variant();
  }
  std::vector<String> Calls;
};

TEST(Report, EventsRunWhileTheEngineRunsOrWhenForced) {
  TqbxReport report;
  RecordingScript script;
  report.Script = &script;
  TqbxReportPage page;
  report.DoNotifyEvent(&page, u"OnPage");
  report.DoNotifyEvent(&page, u"", true);
  report.DoParamEvent(u"Forced", {Variant(int32_t{1}), Variant(int32_t{2})}, true);
  report.EngineRunning = true;
  report.DoNotifyEvent(&page, u"OnPage");
  EXPECT_EQ(script.Calls, (std::vector<String>{u"Forced/2", u"OnPage/1"}));
}

}  // namespace
}  // namespace zavrik::test

namespace zavrik::test {
namespace {

// With UseFileCache the definition waits in a temporary file of TempDir, gone afterwards.
TEST(Report, PreparationKeepsTheDefinitionInATemporaryFile) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zavrik_prep_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  Load(report, Doc("", "<TqbxReportPage Name=\"P\" LeftMargin=\"5\"/><TqbxCustomMemoView Name=\"M\" Text=\"x\"/>"));
  EXPECT_TRUE(report.Errors.Empty());
  report.EngineOptions()->UseFileCache = true;
  report.EngineOptions()->TempDir = Utf8ToString(dir.string());
  int files_during_run = -1;
  report.Run = [&](TqbxReport& r) {
    files_during_run = static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
    static_cast<TqbxReportPage*>(r.FindObject(u"P"))->SetLeftMargin(50);
    return true;
  };
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(files_during_run, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  EXPECT_EQ(static_cast<TqbxReportPage*>(report.FindObject(u"P"))->LeftMargin(), 5);
  EXPECT_NE(report.FindObject(u"M"), nullptr);

  // A temporary folder that cannot be used falls back to the system's.
  report.EngineOptions()->TempDir = u"/nonexistent/folder";
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(static_cast<TqbxReportPage*>(report.FindObject(u"P"))->LeftMargin(), 5);
  std::filesystem::remove_all(dir);
}

// A chain of memos, each inside the one before.
std::string NestedMemos(int depth) {
  std::string body = "<TqbxReportPage Name=\"P\">";
  for (int i = 0; i < depth; ++i) body += "<TqbxMemoView Name=\"m" + std::to_string(i) + "\">";
  for (int i = 0; i < depth; ++i) body += "</TqbxMemoView>";
  return body + "</TqbxReportPage>";
}

TEST(Report, TheCompactFormHasNoIndentationAndReadsBackTheSame) {
  TqbxReport report;
  Load(report, Doc("", NestedMemos(50)));
  std::ostringstream compact;
  report.SaveToStream(compact, true, false, false);
  EXPECT_EQ(compact.str().find("\r\n", compact.str().find("?>") + 4), std::string::npos);
  EXPECT_EQ(compact.str().find("  <"), std::string::npos);
  TqbxReport again;
  Load(again, compact.str());
  EXPECT_TRUE(again.Errors.Empty());
  EXPECT_EQ(Save(again), Save(report));
  EXPECT_NE(Save(report).find("\r\n  <"), std::string::npos);  // the default form is indented
}

TEST(Report, TheKeptDefinitionOfADeepTreeGrowsWithItsDepthOnly) {
  constexpr int kDepth = 3000;
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("zavrik_deep_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  Load(report, Doc("", NestedMemos(kDepth)));
  report.EngineOptions()->UseFileCache = true;
  report.EngineOptions()->TempDir = Utf8ToString(dir.string());
  uintmax_t kept_size = 0;
  report.Run = [&](TqbxReport&) {
    for (const auto& file : std::filesystem::directory_iterator(dir)) kept_size += file.file_size();
    return true;
  };
  EXPECT_TRUE(report.PrepareReport());
  // Indented, the end tags alone would take two spaces a level on each of kDepth lines.
  EXPECT_GT(kept_size, 0u);
  EXPECT_LT(kept_size, uintmax_t{kDepth} * 2000);
  EXPECT_NE(report.FindObject(u"m" + IntToStr(kDepth - 1)), nullptr);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zavrik::test
