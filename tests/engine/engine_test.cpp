// The engine over reports built from templates and user data sets: band order and positions,
// page flow, ranges, empty data, layout errors, stretching and shifting.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

TEST_F(EngineTest, TitleHeaderRowsAndSummaryFollowEachOther) {
  Load(Band("TqbxReportTitle", "Title", 0, 30) + Band("TqbxPageHeader", "PageHeader", 40, 20) +
           Band("TqbxMasterData", "Master", 80, 18, "DataSet=\"D\"",
                Memo("Row", 0, 0, 18, "[Line]")) +
           Band("TqbxReportSummary", "Summary", 120, 25),
       Records("D", 3), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Bands(0), (Strings{"Title@0", "PageHeader@30", "Master@50", "Master@68", "Master@86",
                               "Summary@104"}));
  EXPECT_EQ(Texts(0, u"Row"), (Strings{"1", "2", "3"}));
  EXPECT_FALSE(report_->Engine->Running);
}

TEST_F(EngineTest, RowsFlowOntoNewPagesWithHeaderAndFooterOnEach) {
  Load(Band("TqbxPageHeader", "PageHeader", 0, 40) +
           Band("TqbxMasterData", "Master", 60, 20, "DataSet=\"D\"",
                Memo("Row", 0, 0, 20, "[Line#]")) +
           Band("TqbxPageFooter", "PageFooter", 200, 30),
       Records("D", 100), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  // A4 without margins: 1122.52 units; 52 rows fit between header and footer.
  ASSERT_EQ(Pages().Count(), 2);
  Strings rows;
  for (int page = 0; page < 2; ++page) {
    const Strings bands = Bands(page);
    ASSERT_GE(bands.size(), 3u);
    EXPECT_EQ(bands.front(), "PageHeader@0") << page;
    EXPECT_EQ(bands.back(), "PageFooter@1093") << page;
    EXPECT_EQ(bands[1], "Master@40") << page;
    for (const std::string& text : Texts(page, u"Row")) rows.push_back(text);
    if (page == 0) {
      EXPECT_EQ(bands.size(), 52u + 2);
    }
  }
  ASSERT_EQ(rows.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(rows[static_cast<size_t>(i)], std::to_string(i + 1));
}

TEST_F(EngineTest, RangesAndRowCountsLimitTheRows) {
  Load(Band("TqbxMasterData", "Ranged", 0, 10, "DataSet=\"D\"") +
           Band("TqbxMasterData", "Virtual", 40, 10, "RowCount=\"3\"") +
           Band("TqbxMasterData", "Never", 80, 10, "RowCount=\"0\""),
       "<TqbxUserDataSet Name=\"D\" RangeBegin=\"rbFirst\" RangeEnd=\"reCount\" "
       "RangeEndCount=\"4\"/>",
       {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Bands(0), (Strings{"Ranged@0", "Ranged@10", "Ranged@20", "Ranged@30", "Virtual@40",
                               "Virtual@50", "Virtual@60"}));
}

TEST_F(EngineTest, MasterRowsWithoutDetailRowsPrintOnlyWithPrintIfDetailEmpty) {
  for (const bool print_if_empty : {false, true}) {
    Load(Band("TqbxHeader", "Header", 0, 10) +
             Band("TqbxMasterData", "Master", 20, 10,
                  std::string("DataSet=\"M\" PrintIfDetailEmpty=\"") +
                      (print_if_empty ? "True" : "False") + "\"") +
             Band("TqbxFooter", "Footer", 35, 10) +
             Band("TqbxDetailData", "Detail", 50, 10, "DataSet=\"E\""),
         Records("M", 2) + Records("E", 0), {"M", "E"});
    ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
    if (print_if_empty)
      EXPECT_EQ(Bands(0), (Strings{"Header@0", "Master@10", "Master@20", "Footer@30"}));
    else
      EXPECT_EQ(Bands(0), Strings{});
  }
}

TEST_F(EngineTest, DetailRowsFollowEachMasterRow) {
  Load(
      Band("TqbxMasterData", "Master", 0, 10, "DataSet=\"M\"", Memo("MRow", 0, 0, 10, "[Line]")) +
          Band("TqbxDetailData", "Detail", 20, 5, "DataSet=\"E\"", Memo("DRow", 0, 0, 5, "[Line]")),
      Records("M", 2) + Records("E", 2), {"M", "E"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Bands(0),
            (Strings{"Master@0", "Detail@10", "Detail@15", "Master@20", "Detail@30", "Detail@35"}));
  EXPECT_EQ(Texts(0, u"DRow"), (Strings{"1", "2", "1", "2"}));
}

TEST_F(EngineTest, FilteredOutRecordsShowNeitherHeaderNorFooter) {
  Load(Band("TqbxHeader", "Header", 0, 10) +
           Band("TqbxMasterData", "Master", 20, 10, "DataSet=\"D\" Filter=\"False\"") +
           Band("TqbxFooter", "Footer", 40, 10),
       Records("D", 3), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Bands(0), Strings{});
}

TEST_F(EngineTest, MisplacedBandsStopTheRunWithTheirNames) {
  Load(Band("TqbxFooter", "Lonely", 0, 10) +
           Band("TqbxDetailData", "Orphan", 40, 10, "DataSet=\"D\""),
       Records("D", 3), {"D"});
  EXPECT_FALSE(report_->PrepareReport());
  const String errors = report_->Errors.Text();
  EXPECT_NE(errors.find(u"Не подключенный header/footer Lonely"), String::npos)
      << StringToUtf8(errors);
  EXPECT_NE(errors.find(u"Неправильно расположен бэнд: Orphan"), String::npos)
      << StringToUtf8(errors);
  EXPECT_EQ(Pages().Count(), 0);
}

TEST_F(EngineTest, PageFooterOfTheFirstPageFollowsItsFlags) {
  for (const std::string& flags :
       {std::string("PrintOnFirstPage=\"False\""),
        std::string("PrintOnFirstPage=\"False\" PrintOnSinglePage=\"True\"")}) {
    Load(Band("TqbxPageFooter", "PageFooter", 200, 30, flags));
    ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
    if (flags.find("Single") == std::string::npos)
      EXPECT_EQ(Bands(0), Strings{});
    else
      EXPECT_EQ(Bands(0), Strings{"PageFooter@1093"});
  }
}

TEST_F(EngineTest, StretchedMemoPushesTheObjectsBelowItAndTheBand) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "DataSet=\"D\" Stretched=\"True\"",
            Memo("Grows", 0, 0, 16, "a&#13;&#10;b&#13;&#10;c", "StretchMode=\"smActualHeight\"") +
                Memo("Below", 0, 18, 2, "") + Memo("Beside", 300, 0, 16, "x") +
                Memo("BesideLow", 300, 17, 2, "", "ShiftMode=\"smWhenOverlapped\"")),
       Records("D", 2), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  TqbxComponent* grows = Find(0, u"Grows");
  ASSERT_NE(grows, nullptr);
  const double growth = grows->Height() - 16;
  EXPECT_GT(growth, 10);
  EXPECT_NEAR(Find(0, u"Below")->Top(), 18 + growth, 0.001);
  EXPECT_NEAR(Find(0, u"Beside")->Top(), 0, 0.001);
  EXPECT_NEAR(Find(0, u"BesideLow")->Top(), 17, 0.001);  // does not overlap the memo that grew
  // The band ends at the lowest object; the second row starts there.
  const long band_height = static_cast<long>(std::nearbyint(20 + growth));
  EXPECT_EQ(Bands(0), (Strings{"Master@0", "Master@" + std::to_string(band_height)}));
  // The template is restored after the run.
  auto* memo = dynamic_cast<TqbxComponent*>(report_->FindObject(u"Grows"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Height(), 16);
}

TEST_F(EngineTest, ObjectsBesideAStretchedMemoMoveOnlyWithLinearShifting) {
  for (const std::string shift_engine : {"seTree", "seLinear"}) {
    Load(Band("TqbxMasterData", "Master", 0, 30,
              "DataSet=\"D\" ShiftEngine=\"" + shift_engine + "\"",
              Memo("Grows", 0, 0, 16, "a&#13;&#10;b&#13;&#10;c", "StretchMode=\"smActualHeight\"") +
                  Memo("Low", 300, 20, 5, "") + Memo("Under", 50, 24, 5, "")),
         Records("D", 1), {"D"});
    ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
    const double growth = Find(0, u"Grows")->Height() - 16;
    ASSERT_GT(growth, 10);
    EXPECT_NEAR(Find(0, u"Under")->Top(), 24 + growth, 0.001) << shift_engine;
    EXPECT_NEAR(Find(0, u"Low")->Top(), shift_engine == "seTree" ? 20 : 20 + growth, 0.001)
        << shift_engine;
  }
}

TEST_F(EngineTest, ReprintedHeaderAndPageNumbersOnEveryPageOfADoublePass) {
  Load(Band("TqbxPageHeader", "PageHeader", 0, 40, "",
            Memo("Of", 0, 0, 20, "[Page#]/[TotalPages]")) +
           Band("TqbxHeader", "Header", 50, 20, "ReprintOnNewPage=\"True\"") +
           Band("TqbxMasterData", "Master", 80, 20, "DataSet=\"D\""),
       Records("D", 100), {"D"});
  report_->EngineOptions()->DoublePass = true;
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Texts(0, u"Of"), Strings{"1/2"});
  EXPECT_EQ(Texts(1, u"Of"), Strings{"2/2"});
  for (int page = 0; page < 2; ++page) {
    const Strings bands = Bands(page);
    ASSERT_GE(bands.size(), 3u);
    EXPECT_EQ((Strings{bands[0], bands[1], bands[2]}),
              (Strings{"PageHeader@0", "Header@40", "Master@60"}))
        << page;
  }
}

TEST_F(EngineTest, StartNewPageBreaksBeforeEveryRowButTheFirst) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "DataSet=\"D\" StartNewPage=\"True\""),
       Records("D", 3), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  ASSERT_EQ(Pages().Count(), 3);
  for (int page = 0; page < 3; ++page) EXPECT_EQ(Bands(page), Strings{"Master@0"}) << page;
}

TEST_F(EngineTest, ObjectsOnThePageItselfPrintOnceAndStayOnThePage) {
  Load(Memo("Loose", 10, 500, 20, "loose") +
       Band("TqbxMasterData", "Master", 0, 20, "RowCount=\"2\""));
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Texts(0, u"Loose"), Strings{"loose"});
  EXPECT_NEAR(Find(0, u"Loose")->AbsTop(), 500, 0.001);
  EXPECT_EQ(Bands(0).back(), "Master@20");
  auto* memo = report_->FindObject(u"Loose");
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Parent()->Name(), u"Page1");
}

TEST_F(EngineTest, DataRowsAddOutlineItemsAtTheirTops) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "DataSet=\"D\" OutlineText=\"'Row ' + Line\""),
       Records("D", 2), {"D"});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  TqbxCustomOutline& outline = Pages().Outline();
  outline.LevelRoot();
  ASSERT_EQ(outline.Count(), 2);
  String text;
  int page = -1, top = -1;
  outline.GetItem(1, text, page, top);
  EXPECT_EQ(text, u"Row 2");
  EXPECT_EQ(page, 0);
  EXPECT_EQ(top, 20);
}

TEST_F(EngineTest, TheSameDataSetForPageAndBandStopsTheRun) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "DataSet=\"D\""), Records("D", 2), {"D"},
       "DataSet=\"D\"");
  EXPECT_FALSE(report_->PrepareReport());
  EXPECT_NE(
      report_->Errors.Text().find(u"Cannot use the same dataset for Page.DataSet and Band.DataSet"),
      String::npos);
  EXPECT_EQ(Pages().Count(), 0);
}

TEST_F(EngineTest, SummaryAtBottomTouchesThePageFooter) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "RowCount=\"2\"") +
       Band("TqbxReportSummary", "Summary", 40, 25, "PrintAtBottom=\"True\"") +
       Band("TqbxPageFooter", "PageFooter", 80, 30));
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  // A4 without margins: the footer starts at 1092.52, the summary 25 above it.
  EXPECT_EQ(Bands(0), (Strings{"Master@0", "Master@20", "Summary@1068", "PageFooter@1093"}));
}

TEST_F(EngineTest, BandsTallerThanThePageTakeAPageEachInsteadOfBreakingForever) {
  Load(Band("TqbxPageHeader", "PageHeader", 0, 1500) +
       Band("TqbxMasterData", "Master", 1600, 2000, "RowCount=\"3\""));
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  ASSERT_EQ(Pages().Count(), 3);
  for (int page = 0; page < 3; ++page)
    EXPECT_EQ(Bands(page), (Strings{"PageHeader@0", "Master@1500"})) << page;
}

TEST_F(EngineTest, AnEndlessPageHoldsAllRowsWithTheFooterBelowThem) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "RowCount=\"100\"") +
           Band("TqbxPageFooter", "PageFooter", 40, 30),
       "", {}, "EndlessHeight=\"True\"");
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Bands(0).size(), 101u);
  EXPECT_EQ(Bands(0).back(), "PageFooter@2000");
}

TEST_F(EngineTest, StopReportEndsTheRowsAndKeepsWhatWasPrepared) {
  Load(Band("TqbxMasterData", "Master", 0, 20, "RowCount=\"10\"",
            Memo("Stop", 0, 0, 20, "[StopAtThree]")) +
       Band("TqbxReportSummary", "Summary", 40, 20));
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  EXPECT_EQ(Bands(0), (Strings{"Master@0", "Master@20", "Master@40", "Summary@60"}));
  EXPECT_FALSE(report_->Engine->Running);
}

}  // namespace
}  // namespace zavrik::test
