// Page and column breaks over user data sets: groups, headers printed again, bands kept together.
// The pages are 50 mm high (188.98 units) unless a test says otherwise.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

const std::string kShortPage = "PaperHeight=\"50\"";

using EngineBreaksTest = EngineTest;

TEST_F(EngineBreaksTest, GroupsCloseWithTheirFooterAndHideItForASingleRecord) {
  Load(Band("TqbxGroupHeader", "G", 0, 20, "Condition=\"Third\"") +
           Band("TqbxMasterData", "M", 40, 20, "DataSet=\"D\"", Memo("Row", 0, 0, 20, "[Line]")) +
           Band("TqbxGroupFooter", "F", 80, 20, "HideIfSingleDataRecord=\"True\""),
       Records("D", 7), {"D"});
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Bands(0), (Strings{"G@0", "M@20", "M@40", "M@60", "F@80", "G@100", "M@120", "M@140",
                               "M@160", "F@180", "G@200", "M@220"}));
  // Line restarts with every group.
  EXPECT_EQ(Texts(0, u"Row"), (Strings{"1", "2", "3", "1", "2", "3", "1"}));
}

TEST_F(EngineBreaksTest, AGroupHeaderThatReprintsStartsEveryPageOfItsGroup) {
  Load(Band("TqbxGroupHeader", "G", 0, 20, "ReprintOnNewPage=\"True\"") +
           Band("TqbxMasterData", "M", 40, 20, "DataSet=\"D\""),
       Records("D", 12), {"D"}, kShortPage);
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Bands(0), (Strings{"G@0", "M@20", "M@40", "M@60", "M@80", "M@100", "M@120", "M@140",
                               "M@160"}));
  EXPECT_EQ(Bands(1), (Strings{"G@0", "M@20", "M@40", "M@60", "M@80"}));
}

TEST_F(EngineBreaksTest, AKeptChildMovesWithItsBand) {
  Load(Band("TqbxMasterData", "M", 0, 40, "RowCount=\"5\" Child=\"C\" KeepChild=\"True\"") +
           Band("TqbxChild", "C", 60, 30),
       "", {}, kShortPage);
  Prepare();
  ASSERT_EQ(Pages().Count(), 3);
  EXPECT_EQ(Bands(0), (Strings{"M@0", "C@40", "M@70", "C@110"}));
  EXPECT_EQ(Bands(1), (Strings{"M@0", "C@40", "M@70", "C@110"}));
  EXPECT_EQ(Bands(2), (Strings{"M@0", "C@40"}));
}

TEST_F(EngineBreaksTest, AHeaderKeptWithItsFirstRowDoesNotStayAloneAtThePageEnd) {
  Load(Band("TqbxMasterData", "M1", 0, 20, "DataSet=\"D\"") +
           Band("TqbxHeader", "H2", 40, 20) +
           Band("TqbxMasterData", "M2", 80, 20, "DataSet=\"E\" KeepHeader=\"True\""),
       Records("D", 8) + Records("E", 3), {"D", "E"}, kShortPage);
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Bands(0).size(), 8u);
  EXPECT_EQ(Bands(1), (Strings{"H2@0", "M2@20", "M2@40", "M2@60"}));
}

TEST_F(EngineBreaksTest, RowsFillTwoPageColumnsWithTheHeaderAtTheTopOfEach) {
  // Two columns of 105 mm (396.85 units); 8 rows below the header in each.
  Load(Band("TqbxHeader", "H", 0, 20, "ReprintOnNewPage=\"True\"") +
           Band("TqbxMasterData", "M", 40, 20, "RowCount=\"20\""),
       "", {}, kShortPage + " Columns=\"2\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  Strings first = {"H@0,0"};
  for (int row = 1; row <= 8; ++row) first.push_back("M@0," + std::to_string(row * 20));
  first.push_back("H@397,0");
  for (int row = 1; row <= 8; ++row) first.push_back("M@397," + std::to_string(row * 20));
  EXPECT_EQ(Placed(0), first);
  EXPECT_EQ(Placed(1), (Strings{"H@0,0", "M@0,20", "M@0,40", "M@0,60", "M@0,80"}));
}

TEST_F(EngineBreaksTest, ExplicitColumnPositionsPlaceTheColumns) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"12\""), "", {},
       kShortPage + " Columns=\"2\" ColumnWidth=\"60\" ColumnPositions.Text=\"0&#13;&#10;80,5\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  const Strings placed = Placed(0);
  ASSERT_EQ(placed.size(), 12u);
  EXPECT_EQ(placed[8], "M@0,160");
  EXPECT_EQ(placed[9], "M@304,0");  // 80.5 mm
}

TEST_F(EngineBreaksTest, APageHeaderLeftOffTheFirstPagePrintsOnlyItsChildThere) {
  Load(Band("TqbxPageHeader", "PH", 0, 30,
            "PrintOnFirstPage=\"False\" PrintChildIfInvisible=\"True\" Child=\"PC\"") +
           Band("TqbxChild", "PC", 40, 15) +
           Band("TqbxMasterData", "M", 80, 20, "RowCount=\"12\""),
       "", {}, kShortPage);
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Bands(0), (Strings{"PC@0", "M@15", "M@35", "M@55", "M@75", "M@95", "M@115", "M@135",
                               "M@155"}));
  EXPECT_EQ(Bands(1), (Strings{"PH@0", "PC@30", "M@45", "M@65", "M@85", "M@105"}));
}

TEST_F(EngineBreaksTest, AFooterKeptWithTheLastRowCountsItOnce) {
  Load(Band("TqbxMasterData", "M", 0, 20, "DataSet=\"D\" KeepFooter=\"True\"") +
           Band("TqbxFooter", "F", 40, 30, "", Memo("Count", 0, 0, 20, "[COUNT()]")),
       Records("D", 9), {"D"}, kShortPage);
  report_->OnCalc = nullptr;
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Bands(0).size(), 8u);
  EXPECT_EQ(Bands(1), (Strings{"M@0", "F@20"}));
  EXPECT_EQ(Texts(1, u"Count"), Strings{"9"});
}

TEST_F(EngineBreaksTest, AGroupConditionThatDoesNotCompileStopsTheRunWithItsMessage) {
  Load(Band("TqbxGroupHeader", "G", 0, 20, "Condition=\"1 +\"") +
           Band("TqbxMasterData", "M", 40, 20, "DataSet=\"D\""),
       Records("D", 3), {"D"});
  report_->OnCalc = nullptr;
  EXPECT_FALSE(report_->PrepareReport());
  const std::string errors = StringToUtf8(report_->Errors.Text());
  EXPECT_NE(errors.find("G: Ошибка в выражении '1 +'"), std::string::npos) << errors;
}

TEST_F(EngineBreaksTest, AnAggregateBandArgumentThatIsNoExpressionIsAnExpressionError) {
  Load(Band("TqbxMasterData", "M", 0, 20, "DataSet=\"D\"") +
           Band("TqbxFooter", "F", 40, 20, "", Memo("Total", 0, 0, 20, "[SUM(1, 1 +)]")),
       Records("D", 3), {"D"});
  report_->OnCalc = nullptr;
  EXPECT_FALSE(report_->PrepareReport());
  const std::string errors = StringToUtf8(report_->Errors.Text());
  // The call is compiled as written, so the whole expression is named.
  EXPECT_NE(errors.find("Total: Ошибка в выражении 'SUM(1, 1 +)'"), std::string::npos) << errors;
  // The rows before the footer were prepared.
  EXPECT_EQ(Bands(0), (Strings{"M@0", "M@20", "M@40"}));
}

TEST_F(EngineBreaksTest, AnAggregateOverAnObjectThatIsNoBandCountsNothing) {
  Load(Band("TqbxMasterData", "M", 0, 20, "DataSet=\"D\"") +
           Band("TqbxFooter", "F", 40, 20, "",
                Memo("Total", 0, 0, 20, "a[COUNT(Total)]b [COUNT(M)]")),
       Records("D", 3), {"D"});
  report_->OnCalc = nullptr;
  Prepare();
  EXPECT_EQ(Texts(0, u"Total"), Strings{"ab 3"});
}

}  // namespace
}  // namespace zavrik::test
