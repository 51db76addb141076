// The data-set base: ranges of data sets without a database, user names and the global list.
#include <gtest/gtest.h>

#include "data/qbx_data_set.h"
#include "report/qbx_page.h"
#include "report/qbx_report.h"
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

}  // namespace
}  // namespace zavrik::data
