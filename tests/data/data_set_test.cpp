// The data-set base: ranges of data sets without a database, user names and the global list.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/float_text.h"

#include "data/ibx_components.h"
#include "data/qbx_data_set.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"
#include "support/test_helpers.h"

namespace zavrik::data {
namespace {

using test::ErrorMessage;

int CountRecords(TqbxDataSet& data_set) {
  int count = 0;
  data_set.First();
  while (!data_set.Eof() && count < 100) {
    ++count;
    data_set.Next();
  }
  return count;
}

TEST(DataSet, CountRangeYieldsThatManyRecords) {
  TqbxUserDataSet data_set;
  data_set.RangeEnd = reCount;
  data_set.RangeEndCount = 3;
  EXPECT_EQ(CountRecords(data_set), 3);
  EXPECT_EQ(data_set.RecNo, 2);
  EXPECT_EQ(data_set.RecordCount(), 3);
  data_set.RangeBegin = rbCurrent;
  EXPECT_EQ(data_set.RecordCount(), 0);
  data_set.RangeEndCount = 0;
  EXPECT_EQ(CountRecords(data_set), 0);
}

TEST(DataSet, BaseAnswersForFields) {
  TqbxUserDataSet data_set;
  data_set.Fields()->SetText(u"A\r\nB");
  EXPECT_TRUE(data_set.HasField(u"b"));
  EXPECT_FALSE(data_set.HasField(u"C"));
  EXPECT_EQ(data_set.FieldsCount(), 2);
  EXPECT_TRUE(data_set.Value(u"A").IsNull());  // no script supplies values
  EXPECT_EQ(data_set.DisplayWidth(u"A"), 10);
  EXPECT_EQ(data_set.FieldType(u"A"), fftNumeric);
}

TEST(DataSet, UserNameDefaultsToTheNameAndRefusesBlanks) {
  TqbxUserDataSet data_set;
  data_set.SetName(u"Users1");
  EXPECT_EQ(data_set.UserName(), u"Users1");
  data_set.SetUserName(u"People");
  EXPECT_EQ(data_set.UserName(), u"People");
  EXPECT_EQ(ErrorMessage([&] { data_set.SetUserName(u"  "); }), u"prInvProp");
  EXPECT_EQ(ErrorMessage([&] { data_set.SetUserName(u""); }), u"prInvProp");
  EXPECT_EQ(data_set.UserName(), u"People");
}

TEST(DataSet, GlobalListFindsByUserNameWithinTheAskingReport) {
  TqbxReport first, second;
  auto& page1 = TqbxComponent::CreateIn<TqbxDataPage>(first);
  auto& page2 = TqbxComponent::CreateIn<TqbxDataPage>(second);
  auto& mine = TqbxComponent::CreateIn<TqbxUserDataSet>(page1);
  mine.SetName(u"U1");
  mine.SetUserName(u"Shared");
  auto& theirs = TqbxComponent::CreateIn<TqbxUserDataSet>(page2);
  theirs.SetName(u"U2");
  theirs.SetUserName(u"Shared");
  EXPECT_EQ(TqbxGlobalDataSets::Find(u"shared", &first), &mine);
  EXPECT_EQ(TqbxGlobalDataSets::Find(u"SHARED", &second), &theirs);
  EXPECT_EQ(TqbxGlobalDataSets::Find(u"U1", &first), nullptr);
  EXPECT_EQ(DataSetUserName(&mine), u"Shared");
  first.DataSets().Add(&mine);
  EXPECT_EQ(first.DataSets().Item(0).DataSetName(), u"Shared");
  EXPECT_EQ(first.GetDataset(u"shared"), &mine);
  EXPECT_EQ(first.GetDataset(u"U1"), &mine);
}

// Records the procedures the report calls; OnCheckEOF answers with `eof_answer`.
class RecordingScript : public TqbxScriptCaller {
 public:
  Variant CallFunction(StringView name, const std::vector<Variant>& params) override {
    calls.push_back(String(name) + u"/" + IntToStr(static_cast<int>(params.size())));
    return name == u"CheckEof" ? eof_answer : Variant();
  }
  std::vector<String> calls;
  Variant eof_answer;
};

TEST(DataSet, EventsRunThroughTheReportScript) {
  TqbxReport report;
  auto& page = TqbxComponent::CreateIn<TqbxDataPage>(report);
  auto& data_set = TqbxComponent::CreateIn<TqbxUserDataSet>(page);
  RecordingScript script;
  report.Script = &script;
  report.EngineRunning = true;
  data_set.RangeEnd = reCount;
  data_set.RangeEndCount = 2;
  data_set.OnFirst = u"DoFirst";
  data_set.OnNext = u"DoNext";
  data_set.OnCheckEOF = u"CheckEof";
  EXPECT_EQ(CountRecords(data_set), 2);
  EXPECT_EQ(script.calls, (std::vector<String>{u"DoFirst/1", u"CheckEof/2", u"DoNext/1",
                                               u"CheckEof/2", u"CheckEof/2"}));
  // A Boolean answer replaces the data set's own.
  script.eof_answer = Variant(true);
  EXPECT_EQ(CountRecords(data_set), 0);
}

TEST(DataSet, DatabaseDataSetWithoutADatasetSaysSo) {
  TqbxIBXQuery query;
  query.SetName(u"Query1");
  query.SetDataSet(nullptr);
  EXPECT_EQ(ErrorMessage([&] { query.Initialize(); }), u"Компонент Query1 не подключен к данным");
  EXPECT_EQ(ErrorMessage([&] { query.First(); }), u"Компонент Query1 не подключен к данным");
  EXPECT_EQ(query.DisplayText(u"F"), u"Query1.\"F\"");
  EXPECT_EQ(query.RecordCount(), 0);
}

TEST(DataSet, HostileTemplateAttributesAreRefusedWithoutHarm) {
  RegisterReportClasses();
  TqbxIBXComponents registry;  // registers the data-source classes
  TqbxReport report;
  std::istringstream in(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport><TqbxDataPage Name=\"Data\">"
      "<TqbxIBXQuery Name=\"A\" Master=\"B\" UserName=\" \" RangeEnd=\"reNever\" "
      "PropData=\"0A5061726\"/>"
      "<TqbxIBXQuery Name=\"B\" Master=\"A\" SQL.Text=\"SELECT ':x' FROM T WHERE :\"/>"
      "<TqbxIBXTable Name=\"C\" Master=\"C\"/>"
      "</TqbxDataPage></TqbxReport>");
  report.EngineOptions()->NewSilentMode = simSilent;
  report.LoadFromStream(in);
  auto* a = dynamic_cast<TqbxIBXQuery*>(report.FindObject(u"A"));
  auto* b = dynamic_cast<TqbxIBXQuery*>(report.FindObject(u"B"));
  auto* c = dynamic_cast<TqbxIBXTable*>(report.FindObject(u"C"));
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->Master(), b);
  EXPECT_EQ(b->Master(), nullptr);
  EXPECT_EQ(c->Master(), nullptr);
  EXPECT_EQ(a->UserName(), u"A");
  const auto& errors = report.Errors.Items();
  EXPECT_NE(std::find(errors.begin(), errors.end(), u"Circular datalinks are not allowed"),
            errors.end());
  EXPECT_NE(std::find(errors.begin(), errors.end(), u"prInvProp"), errors.end());
  EXPECT_EQ(ErrorMessage([&] { b->Params(); }), u"SQL Parse Error:\r\n\r\nParameter name expected");
  EXPECT_EQ(ErrorMessage([&] { b->First(); }), u"SQL Parse Error:\r\n\r\nParameter name expected");
}

}  // namespace
}  // namespace zavrik::data
