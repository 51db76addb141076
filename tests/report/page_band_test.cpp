// Pages and bands: paper sizes and orientation, columns, page counts, alignment, band numbers,
// data band columns and records, the child chain.
#include <gtest/gtest.h>

#include "core/numeric.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_data_set_list.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "view_helpers.h"

namespace zavrik::test {
namespace {

std::string SaveText(const TqbxComponent& root) {
  std::ostringstream out;
  root.SaveToStream(out);
  return out.str();
}

TEST(ReportPage, LandscapeA4FromATemplate) {
  auto report = LoadEvalReport("<TqbxReportPage Name=\"P\" Orientation=\"poLandscape\" PaperSize=\"9\"/>");
  auto& page = Find<TqbxReportPage>(*report, u"P");
  EXPECT_EQ(page.PaperWidth(), 297);
  EXPECT_EQ(page.PaperHeight(), 210);
  EXPECT_EQ(page.Width(), 1123);
  EXPECT_EQ(page.Height(), 794);
}

TEST(ReportPage, OrientationRotatesMargins) {
  TqbxReportPage page;
  page.SetLeftMargin(10);
  page.SetRightMargin(5);
  page.SetTopMargin(20);
  page.SetBottomMargin(15);
  page.SetOrientation(poLandscape);
  EXPECT_EQ(page.LeftMargin(), 20);
  EXPECT_EQ(page.RightMargin(), 15);
  EXPECT_EQ(page.TopMargin(), 5);
  EXPECT_EQ(page.BottomMargin(), 10);
  page.SetOrientation(poLandscape);  // unchanged
  EXPECT_EQ(page.LeftMargin(), 20);
  page.SetOrientation(poPortrait);
  EXPECT_EQ(page.LeftMargin(), 10);
  EXPECT_EQ(page.TopMargin(), 20);
  EXPECT_EQ(page.PaperWidth(), 210);
}

TEST(ReportPage, CustomSizePageCountAndStableRoundTrip) {
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\" PaperWidth=\"100\" PaperHeight=\"50\" PaperSize=\"256\" PageCount=\"0\"/>"
      "<TqbxReportPage Name=\"Q\" PaperSize=\"11\" PageCount=\"-3\" LeftMargin=\"10\"/>"
      "<TqbxReportPage Name=\"R\"/>");
  auto& p = Find<TqbxReportPage>(*report, u"P");
  EXPECT_EQ(p.PaperWidth(), 100);
  EXPECT_EQ(p.PaperHeight(), 50);
  EXPECT_EQ(p.PageCount(), 1);
  const std::string text = SaveText(*report);
  EXPECT_NE(text.find("PaperSize=\"9\""), std::string::npos) << "default paper number always written";
  auto again = LoadEvalReport(text.substr(text.find("<TqbxReportPage")));
  EXPECT_EQ(SaveText(*again), text);
  EXPECT_EQ(Find<TqbxReportPage>(*again, u"Q").PaperWidth(), 148);
}

TEST(ReportPage, ColumnsFillPositions) {
  TqbxReportPage page;
  page.SetLeftMargin(10);
  page.SetRightMargin(10);
  page.SetColumns(2);
  EXPECT_EQ(page.ColumnWidth(), 95);
  ASSERT_EQ(page.ColumnPositions()->Count(), 2);
  EXPECT_EQ(page.ColumnPositions()->Lines()[1], u"95");
  page.SetColumns(0);
  EXPECT_EQ(page.ColumnPositions()->Count(), 0);
}

TEST(ReportPage, AlignChildrenSizesBandsToThePrintableArea) {
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\" LeftMargin=\"10\" RightMargin=\"10\" Columns=\"2\">"
      "<TqbxPageHeader Name=\"H\" Height=\"20\"/><TqbxMasterData Name=\"M\" Top=\"40\" Height=\"20\"/>"
      "<TqbxChild Name=\"V\" Vertical=\"True\" Top=\"100\"/></TqbxReportPage>");
  auto& page = Find<TqbxReportPage>(*report, u"P");
  page.AlignChildren(false, 0);
  EXPECT_DOUBLE_EQ(Find<TqbxBand>(*report, u"H").Width(), 190 * kPixelsPerMm);
  EXPECT_DOUBLE_EQ(Find<TqbxBand>(*report, u"M").Width(), 95 * kPixelsPerMm);
  EXPECT_DOUBLE_EQ(Find<TqbxBand>(*report, u"V").Height(), 297 * kPixelsPerMm - 100);
  EXPECT_EQ(page.Width(), 794);  // restored from the paper
  EXPECT_EQ(page.FindBand(TqbxDataBand::StaticClass()), &Find<TqbxBand>(*report, u"M"));
  EXPECT_EQ(page.FindBand(TqbxFooter::StaticClass()), nullptr);
}

TEST(Band, NumbersAndDefaults) {
  EXPECT_EQ(TqbxReportTitle().BandNumber(), 0);
  EXPECT_EQ(TqbxMasterData().BandNumber(), 6);
  EXPECT_EQ(TqbxDataBand6().BandNumber(), 11);
  EXPECT_EQ(TqbxGroupHeader().BandNumber(), 12);
  EXPECT_EQ(TqbxOverlay().BandNumber(), 17);
  EXPECT_EQ(TqbxNullBand().BandNumber(), 0);
  TqbxPageFooter footer;
  EXPECT_TRUE(footer.PrintOnFirstPage());
  EXPECT_TRUE(footer.PrintOnLastPage());
  EXPECT_FALSE(footer.PrintOnSinglePage());
  EXPECT_EQ(TqbxHeader().ShiftEngine(), seTree);
  // Only the flags a class publishes are read.
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\"><TqbxPageFooter Name=\"F\" AllowSplit=\"True\" PrintOnSinglePage=\"True\"/>"
      "<TqbxGroupHeader Name=\"G\" Condition=\"A.B\" KeepTogether=\"True\" FillGap.Top=\"3\"/></TqbxReportPage>");
  EXPECT_FALSE(Find<TqbxBand>(*report, u"F").AllowSplit());
  EXPECT_TRUE(Find<TqbxBand>(*report, u"F").PrintOnSinglePage());
  auto& group = Find<TqbxGroupHeader>(*report, u"G");
  EXPECT_EQ(group.Condition(), u"A.B");
  EXPECT_TRUE(group.KeepTogether());
  EXPECT_EQ(group.FillGap()->Top, 3);
}

TEST(Band, DataBandColumnAndRecords) {
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\"><TqbxMasterData Name=\"M\" Columns=\"3\" ColumnWidth=\"200\" ColumnGap=\"10\" "
      "RowCount=\"2\"/></TqbxReportPage>");
  auto& band = Find<TqbxDataBand>(*report, u"M");
  band.SetCurColumn(3);
  EXPECT_EQ(band.Left(), 420);
  band.SetCurColumn(4);
  EXPECT_EQ(band.CurColumn(), 1);
  EXPECT_EQ(band.Left(), 0);
  TqbxBandRecords& records = band.Records();
  int count = 0;
  for (records.First(); !records.Eof(); records.Next()) ++count;
  EXPECT_EQ(count, 2);
}

TEST(Band, CircularChildIsRefused) {
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\"><TqbxChild Name=\"A\"/><TqbxChild Name=\"B\" Child=\"A\"/>"
      "<TqbxMasterData Name=\"M\" Child=\"B\"/></TqbxReportPage>");
  auto& a = Find<TqbxChild>(*report, u"A");
  auto& b = Find<TqbxChild>(*report, u"B");
  EXPECT_EQ(Find<TqbxBand>(*report, u"M").Child(), &b);
  try {
    a.SetChild(&b);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Circular child reference is not allowed");
  }
  EXPECT_THROW(a.SetChild(&a), Error);
  EXPECT_EQ(a.Child(), nullptr);
}

TEST(Band, BackgroundMemoOnlyForBandsWithFillOrFrame) {
  auto report = LoadEvalReport(
      "<TqbxReportPage Name=\"P\"><TqbxMasterData Name=\"Plain\" Width=\"100\" Height=\"20\"/>"
      "<TqbxMasterData Name=\"Filled\" Width=\"100\" Height=\"20\" Fill.BackColor=\"255\" FillGap.Left=\"2\">"
      "<TqbxMemoView Name=\"M\"/></TqbxMasterData><TqbxNullBand Name=\"N\" Frame.Typ=\"15\"/></TqbxReportPage>");
  EXPECT_EQ(Find<TqbxBand>(*report, u"Plain").CreateFillMemo(), nullptr);
  EXPECT_EQ(Find<TqbxBand>(*report, u"N").CreateFillMemo(), nullptr);
  auto& band = Find<TqbxBand>(*report, u"Filled");
  TqbxMemoView* memo = band.CreateFillMemo();
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(band.CreateFillMemo(), memo);
  EXPECT_EQ(band.Objects().front().get(), memo);
  EXPECT_EQ(memo->Align(), baHidden);
  EXPECT_EQ(memo->Color(), 255);
  EXPECT_EQ(memo->Left(), 2);
  EXPECT_EQ(memo->Width(), 98);
  band.DisposeFillMemo();
  EXPECT_EQ(band.Count(), 1);
}

// A data source for the look-ups by name.
class TtstDataSource : public TqbxReportComponent {
 public:
  TtstDataSource() { TqbxGlobalDataSets::Add(this); }
  ~TtstDataSource() override { TqbxGlobalDataSets::Remove(this); }
};

TEST(Band, DataSetNameLooksTheDataSourceUp) {
  auto report = LoadEvalReport("<TqbxReportPage Name=\"P\"><TqbxMasterData Name=\"M\"/></TqbxReportPage>");
  auto& source = TqbxComponent::CreateIn<TtstDataSource>(*report);
  source.SetName(u"Orders");
  TtstDataSource stranger;  // belongs to no report
  stranger.SetName(u"Other");
  auto& band = Find<TqbxDataBand>(*report, u"M");
  band.SetDataSetName(u"orders");
  EXPECT_EQ(band.DataSet(), &source);
  EXPECT_EQ(band.DataSetName(), u"Orders");
  band.SetDataSetName(u"Missing");  // nothing found: the data source stays
  EXPECT_EQ(band.DataSet(), &source);
  band.SetDataSetName(u"Other");
  EXPECT_EQ(band.DataSet(), &stranger);
  band.SetDataSetName(u"");
  EXPECT_EQ(band.DataSet(), nullptr);
  EXPECT_EQ(band.DataSetName(), u"");
}

}  // namespace
}  // namespace zavrik::test
