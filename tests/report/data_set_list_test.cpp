// The report's data-source list around a run, aliases and field references, and the data page
// gathering the data components.
#include <gtest/gtest.h>

#include <sstream>

#include "core/error.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {
namespace {

// A data source with a user name that logs what the report asks of it.
class TtstRunSource : public TqbxDialogComponent, public TqbxReportDataSource {
 public:
  TtstRunSource(std::vector<String>& log, String user_name) : log_(log), user_name_(std::move(user_name)) {
    TqbxGlobalDataSets::Add(this);
  }
  ~TtstRunSource() override { TqbxGlobalDataSets::Remove(this); }
  String UserName() const override { return user_name_; }
  void SetReportRef(TqbxComponent* report) override {
    Report = report;
    log_.push_back(user_name_ + u" report");
  }
  void Initialize() override {
    log_.push_back(user_name_ + u" initialize");
    if (FailInitialize) throw Error(u"Компонент " + Name() + u" не подключен к данным");
  }
  void Finalize() override {
    log_.push_back(user_name_ + u" finalize");
    if (FailFinalize) throw Error(user_name_ + u" failed");
  }
  TqbxComponent* Report = nullptr;
  bool FailInitialize = false, FailFinalize = false;

 private:
  std::vector<String>& log_;
  String user_name_;
};

struct Fixture {
  Fixture() {
    report.EngineOptions()->NewSilentMode = simSilent;
    auto& page = TqbxComponent::CreateIn<TqbxDataPage>(report);
    orders = &static_cast<TtstRunSource&>(page.AddChild(std::make_unique<TtstRunSource>(log, u"Orders")));
    orders->SetName(u"Query1");
    lines = &static_cast<TtstRunSource&>(page.AddChild(std::make_unique<TtstRunSource>(log, u"Lines")));
    lines->SetName(u"Query2");
  }
  std::vector<String> log;
  TqbxReport report;
  TtstRunSource* orders;
  TtstRunSource* lines;
};

TEST(ReportDataSets, InitializeAndFinalizeTheListedDataSourcesInOrder) {
  Fixture f;
  f.report.DataSets().Add(f.lines);
  f.report.DataSets().Add();  // an entry whose data source is missing is passed over
  f.report.DataSets().Add(f.orders);
  f.report.DataSets().Initialize(&f.report);
  EXPECT_EQ(f.log, (std::vector<String>{u"Lines report", u"Lines initialize", u"Orders report", u"Orders initialize"}));
  EXPECT_EQ(f.orders->Report, &f.report);
  f.log.clear();
  f.report.DataSets().Finalize();
  EXPECT_EQ(f.log, (std::vector<String>{u"Lines finalize", u"Orders finalize"}));
}

TEST(ReportDataSets, InitializeStopsAtAFailureAndFinalizeReachesEveryone) {
  Fixture f;
  f.report.DataSets().Add(f.orders);
  f.report.DataSets().Add(f.lines);
  f.orders->FailInitialize = true;
  EXPECT_THROW(f.report.DataSets().Initialize(&f.report), Error);
  EXPECT_EQ(f.log.back(), u"Orders initialize");
  f.log.clear();
  // A failing data source does not keep the others from restoring themselves.
  f.orders->FailFinalize = true;
  f.lines->FailFinalize = true;
  try {
    f.report.DataSets().Finalize();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Orders failed");
  }
  EXPECT_EQ(f.log, (std::vector<String>{u"Orders finalize", u"Lines finalize"}));
}

TEST(ReportDataSets, UserNamesAndComponentNames) {
  Fixture f;
  TqbxDataSetItem& item = f.report.DataSets().Add(f.orders);
  EXPECT_EQ(item.DataSetName(), u"Orders");
  EXPECT_EQ(f.report.DataSets().Find(u"orders"), &item);
  EXPECT_EQ(f.report.DataSets().Find(u"QUERY1"), &item);
  EXPECT_EQ(f.report.DataSets().Find(u"Lines"), nullptr);
  EXPECT_EQ(f.report.GetDataset(u"Orders"), f.orders);

  EXPECT_EQ(f.report.GetAlias(f.orders), u"Orders");
  EXPECT_EQ(f.report.GetAlias(f.lines), u"(компонент не включен в Report.DataSets)");
  EXPECT_EQ(f.report.GetAlias(nullptr), u"");

  // Bindings by name go through the user names of the global list.
  f.report.SetDataSetName(u"lines");
  EXPECT_EQ(f.report.DataSet(), f.lines);
  EXPECT_EQ(f.report.DataSetName(), u"Lines");
}

TEST(ReportDataSets, FieldReferences) {
  Fixture f;
  f.report.DataSets().Add(f.orders);
  String field;
  EXPECT_EQ(f.report.GetDatasetAndField(u"Orders.\"NAME\"", field), f.orders);
  EXPECT_EQ(field, u"NAME");
  // Only the last character is taken for the closing quote.
  EXPECT_EQ(f.report.GetDatasetAndField(u"Orders.\"A.\"B\"", field), f.orders);
  EXPECT_EQ(field, u"A.\"B");
  EXPECT_EQ(f.report.GetDatasetAndField(u"Orders.\"", field), f.orders);
  EXPECT_EQ(field, u"");
  EXPECT_EQ(f.report.GetDatasetAndField(u"Lines.\"ID\"", field), nullptr);  // not listed
  EXPECT_EQ(field, u"ID");
  EXPECT_EQ(f.report.GetDatasetAndField(u"Orders.NAME", field), nullptr);
  EXPECT_EQ(field, u"");
  EXPECT_EQ(f.report.GetDatasetAndField(u"", field), nullptr);
}

TEST(ReportDataSets, ANewDataPageGathersTheDataComponents) {
  RegisterReportClasses();
  std::vector<String> log;
  TqbxReport report;
  auto& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
  page.SetName(u"Page1");
  auto& first = static_cast<TtstRunSource&>(page.AddChild(std::make_unique<TtstRunSource>(log, u"A")));
  auto& second = static_cast<TtstRunSource&>(report.AddChild(std::make_unique<TtstRunSource>(log, u"B")));
  report.CheckDataPage();
  TqbxComponent& data = report.Child(0);
  EXPECT_EQ(data.Name(), u"Data");
  ASSERT_EQ(data.Count(), 2);
  EXPECT_EQ(&data.Child(0), &first);
  EXPECT_EQ(&data.Child(1), &second);
  EXPECT_EQ(first.Left(), 60);
  EXPECT_EQ(second.Left(), 124);
  EXPECT_EQ(second.Top(), 20);
  EXPECT_EQ(page.Count(), 0);
}

}  // namespace
}  // namespace zavrik::test
