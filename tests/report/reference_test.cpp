// Non-owning references between components empty when their target is destroyed, whichever
// object holds them and however the target goes (destroyed alone, with its subtree, by clearing).
#include <gtest/gtest.h>

#include <sstream>

#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {
namespace {

// A data source that is only a report component.
class TtstRefSource : public TqbxReportComponent {};

// Every registered component class: each reference it publishes empties with its target.
TEST(References, EveryPublishedReferenceEmptiesWhenItsTargetGoes) {
  RegisterReportClasses();
  std::vector<const ClassInfo*> components;
  for (const ClassInfo* info : RegisteredClasses()) {
    if (info->IsCreatable() && info->InheritsFrom(TqbxComponent::StaticClass())) components.push_back(info);
  }
  int checked = 0;
  for (const ClassInfo* info : components) {
    for (const PropInfo* prop : info->Props()) {
      if (prop->kind != TypeKind::Class || !prop->reference || !prop->set) continue;
      SCOPED_TRACE(StringToUtf8(info->Name() + u"." + prop->name));
      std::unique_ptr<Object> holder = info->Create();
      // The declared class, or the first registered class derived from it.
      const ClassInfo& target_class = prop->class_type();
      std::unique_ptr<Object> target;
      for (const ClassInfo* candidate : components) {
        if (!target && candidate->InheritsFrom(target_class)) target = candidate->Create();
      }
      if (!target) target = std::make_unique<TtstRefSource>();
      prop->set(*holder, Variant(target.get()));
      ASSERT_EQ(prop->get(*holder).ObjectValue(), target.get());
      target.reset();
      EXPECT_EQ(prop->get(*holder).ObjectValue(), nullptr);
      ++checked;
    }
  }
  EXPECT_GE(checked, 10);  // views, data bands, pages, the report, Child, FlowTo
}

TEST(References, TargetsInsideADestroyedSubtreeOrAClearedReport) {
  RegisterReportClasses();
  TqbxReport report;
  auto& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
  auto& master = TqbxComponent::CreateIn<TqbxMasterData>(page);
  auto& child = TqbxComponent::CreateIn<TqbxChild>(page);
  auto& memo = TqbxComponent::CreateIn<TqbxMemoView>(master);
  auto& overflow = TqbxComponent::CreateIn<TqbxMemoView>(child);
  auto& source = TqbxComponent::CreateIn<TtstRefSource>(report);
  source.SetName(u"Orders");
  master.SetChild(&child);
  master.SetDataSet(&source);
  memo.SetFlowTo(&overflow);
  memo.SetDataSet(&source);
  page.SetDataSet(&source);
  report.SetDataSet(&source);
  report.DataSets().Add(&source);

  // The child band goes with its memo: both references into that subtree empty.
  child.Detach().reset();
  EXPECT_EQ(master.Child(), nullptr);
  EXPECT_EQ(memo.FlowTo(), nullptr);

  // The data source goes: every holder forgets it and keeps the name it had.
  source.Detach().reset();
  EXPECT_EQ(master.DataSet(), nullptr);
  EXPECT_EQ(memo.DataSet(), nullptr);
  EXPECT_EQ(page.DataSet(), nullptr);
  EXPECT_EQ(report.DataSet(), nullptr);
  EXPECT_EQ(report.DataSets().Item(0).DataSet(), nullptr);
  EXPECT_EQ(master.DataSetName(), u"Orders");
  EXPECT_EQ(report.DataSets().Item(0).DataSetName(), u"Orders");

  // A preparation now reports the missing data source instead of using a freed one.
  report.EngineOptions()->NewSilentMode = simSilent;
  EXPECT_FALSE(report.PrepareReport());
  EXPECT_EQ(report.Errors.Items(), (std::vector<String>{u"Набор данных \"Orders\" не найден"}));
}

TEST(References, ReportDataSourcesOnPagesAreForgottenWhenTheReportClears) {
  RegisterReportClasses();
  TqbxReport report;
  auto& data_page = TqbxComponent::CreateIn<TqbxDataPage>(report);
  auto& source = TqbxComponent::CreateIn<TtstRefSource>(data_page);
  report.SetDataSet(&source);
  report.DataSets().Add(&source);
  report.Clear();  // destroys the pages first, then empties the lists
  EXPECT_EQ(report.DataSet(), nullptr);
  EXPECT_EQ(report.DataSets().Count(), 0);
}

TEST(References, HoldersGoingFirstLeaveTheTargetClean) {
  auto target = std::make_unique<TtstRefSource>();
  {
    TqbxRef<TqbxReportComponent> first = target.get();
    TqbxRef<TqbxReportComponent> copy = first;
    TqbxRef<TqbxReportComponent> other;
    other = copy;
    EXPECT_EQ(other.Get(), target.get());
    copy = nullptr;
    EXPECT_EQ(first.Get(), target.get());
  }
  // The three references left the target's list as they went; destroying it touches none of them.
  TqbxRef<TqbxReportComponent> last = target.get();
  target.reset();
  EXPECT_EQ(last.Get(), nullptr);
}

TEST(References, ReloadingATemplateRebindsAndForgetsOldObjects) {
  RegisterReportClasses();
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport><TqbxReportPage Name=\"P\">"
      "<TqbxMasterData Name=\"M\" Child=\"C\"/><TqbxChild Name=\"C\"/>"
      "<TqbxMemoView Name=\"A\" FlowTo=\"B\"/><TqbxMemoView Name=\"B\"/></TqbxReportPage></TqbxReport>";
  std::istringstream in(xml);
  report.LoadFromStream(in);
  auto* master = static_cast<TqbxMasterData*>(report.FindObject(u"M"));
  ASSERT_NE(master->Child(), nullptr);
  report.Run = [](TqbxReport& r) {
    // The script deletes the child band; the reloaded definition has it again.
    r.FindObject(u"C")->Detach().reset();
    EXPECT_EQ(static_cast<TqbxMasterData*>(r.FindObject(u"M"))->Child(), nullptr);
    return true;
  };
  EXPECT_TRUE(report.PrepareReport());
  master = static_cast<TqbxMasterData*>(report.FindObject(u"M"));
  EXPECT_EQ(master->Child(), report.FindObject(u"C"));
  EXPECT_EQ(static_cast<TqbxMemoView*>(report.FindObject(u"A"))->FlowTo(), report.FindObject(u"B"));
}

}  // namespace
}  // namespace zavrik::test
