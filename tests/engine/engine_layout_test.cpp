// Vertical bands across horizontal ones (cells, pages to the right, endless width), subreports
// printed on their parent band, and a band-column row taking its kept header along.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

// A vertical band of the class at `left`, `width` wide.
std::string VBand(const std::string& cls, const std::string& name, double left, double width,
                  const std::string& attributes = "") {
  return "<" + cls + " Name=\"" + name + "\" Vertical=\"True\" Left=\"" + Num(left) +
         "\" Top=\"0\" Width=\"" + Num(width) + "\" Height=\"100\" " + attributes + "/>";
}

// A memo `width` wide at (left, 0).
std::string Cell(const std::string& name, double left, double width, const std::string& text) {
  return "<TqbxMemoView Name=\"" + name + "\" Left=\"" + Num(left) + "\" Top=\"0\" Width=\"" +
         Num(width) + "\" Height=\"20\" Text=\"" + text + "\"/>";
}

class EngineLayoutTest : public EngineTest {
 protected:
  // The "name@left" of the memos on a prepared page, in order.
  Strings Memos(int page) {
    Strings result;
    TqbxReportPage* rebuilt = Pages().GetPage(page);
    if (!rebuilt) return result;
    for (TqbxComponent* object : rebuilt->AllObjects())
      if (auto* memo = dynamic_cast<TqbxCustomMemoView*>(object))
        result.push_back(StringToUtf8(Trim(memo->MemoText())) + "@" +
                         std::to_string(std::lround(memo->Left())));
    return result;
  }

};

TEST_F(EngineLayoutTest, CellsOfAVerticalBandRepeatAcrossEachRowOfTheMasterBand) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\"",
            Cell("Own", 500, 100, "Own") + Cell("C", 300, 50, "[Line]")) +
       VBand("TqbxMasterData", "V", 300, 50, "RowCount=\"3\""));
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20"}));
  // Columns from the left edge, 50 apart; the band's own object stays where it is.
  EXPECT_EQ(Memos(0), (Strings{"Own@500", "1@0", "2@50", "3@100", "Own@500", "1@0", "2@50",
                               "3@100"}));
  // The cells return to their band after the run.
  EXPECT_EQ(report_->FindObject(u"C")->Parent(), report_->FindObject(u"M"));
  EXPECT_EQ(report_->FindObject(u"C")->Left(), 300);
}

TEST_F(EngineLayoutTest, ColumnsPastThePageWidthGoToPagesToTheRightWithTheirHeaders) {
  // A page 100 mm wide holds 377.95 units: the header (100) and two columns of 120.
  Load(Band("TqbxHeader", "H", 0, 20, "", Cell("HT", 0, 100, "Title") + Cell("HC", 100, 120, "C[Line]")) +
           Band("TqbxMasterData", "M", 40, 20, "RowCount=\"2\"",
                Cell("Label", 0, 100, "Row") + Cell("C", 100, 120, "[Line]")) +
           VBand("TqbxHeader", "VH", 0, 100, "ReprintOnNewPage=\"True\"") +
           VBand("TqbxMasterData", "V", 100, 120, "RowCount=\"5\""),
       "", {}, "PaperWidth=\"100\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 3);
  for (int page = 0; page < 3; ++page)
    EXPECT_EQ(Placed(page), (Strings{"H@0,0", "M@0,20", "M@0,40"})) << page;
  EXPECT_EQ(Memos(0), (Strings{"Title@0", "C1@100", "C2@220", "Row@0", "1@100", "2@220", "Row@0",
                               "1@100", "2@220"}));
  EXPECT_EQ(Memos(1), (Strings{"Title@0", "C3@100", "C4@220", "Row@0", "3@100", "4@220", "Row@0",
                               "3@100", "4@220"}));
  EXPECT_EQ(Memos(2), (Strings{"Title@0", "C5@100", "Row@0", "5@100", "Row@0", "5@100"}));
}

TEST_F(EngineLayoutTest, RowsBreakingDownwardsStartANewPageAfterThePagesToTheRight) {
  // 50 mm high: 188.98 units hold the header and eight rows of 20.
  Load(Band("TqbxHeader", "H", 0, 20, "ReprintOnNewPage=\"True\"", Cell("HC", 0, 500, "C[Line]")) +
           Band("TqbxMasterData", "M", 40, 20, "RowCount=\"10\"", Cell("C", 0, 500, "[Line]")) +
           VBand("TqbxMasterData", "V", 0, 500, "RowCount=\"2\""),
       "", {}, "PaperWidth=\"150\" PaperHeight=\"50\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 4);
  // Left and right page of rows 1 to 8, then of rows 9 and 10 under the reprinted header.
  EXPECT_EQ(Placed(0).size(), 9u);
  EXPECT_EQ(Placed(1).size(), 9u);
  EXPECT_EQ(Placed(2), (Strings{"H@0,0", "M@0,20", "M@0,40"}));
  EXPECT_EQ(Memos(2), (Strings{"C1@0", "1@0", "1@0"}));
  EXPECT_EQ(Memos(3), (Strings{"C2@0", "2@0", "2@0"}));
}

TEST_F(EngineLayoutTest, AnInvisibleMasterBandLeavesNoPagesToTheRight) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\" Visible=\"False\"",
            Cell("C", 0, 300, "[Line]")) +
           Band("TqbxMasterData", "After", 40, 20, "RowCount=\"1\"") +
           VBand("TqbxMasterData", "V", 0, 300, "RowCount=\"4\""),
       "", {}, "PaperWidth=\"100\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), Strings{"After@0,0"});
}

TEST_F(EngineLayoutTest, AnEndlessWidthPageWidensInsteadOfBreakingToTheRight) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"", Cell("C", 0, 300, "[Line]")) +
           VBand("TqbxMasterData", "V", 0, 300, "RowCount=\"4\""),
       "", {}, "PaperWidth=\"100\" EndlessWidth=\"True\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Memos(0), (Strings{"1@0", "2@300", "3@600", "4@900"}));
  // The page grew by a column's width for each column past its edge.
  TqbxReportPage* page = Pages().GetPage(0);
  ASSERT_NE(page, nullptr);
  EXPECT_NEAR(page->PaperWidth(), 100 + 900 / 3.77953, 0.1);
}

TEST_F(EngineLayoutTest, CellsOfAPageHeaderStayInItWithAMessage) {
  Load(Band("TqbxPageHeader", "P", 0, 20, "", Cell("Head", 300, 50, "Head")) +
       Band("TqbxMasterData", "M", 40, 20, "RowCount=\"1\"", Cell("C", 300, 50, "[Line]")) +
       VBand("TqbxMasterData", "V", 300, 50, "RowCount=\"2\""));
  EXPECT_FALSE(report_->PrepareReport());
  const std::string errors = StringToUtf8(report_->Errors.Text());
  EXPECT_NE(errors.find("Бэнд P не раскладывается по вертикальным бэндам"), std::string::npos)
      << errors;
  // The page header prints with its object where it stands; the data band lays out its cells.
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Memos(0), (Strings{"Head@300", "1@0", "2@50"}));
}

TEST_F(EngineLayoutTest, ASubreportPrintedOnItsParentMakesTheBandAsTallAsItsContent) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"",
                 Cell("Own", 0, 100, "Own") +
                     "<TqbxSubreport Name=\"Sub\" Left=\"200\" Top=\"10\" Width=\"200\" "
                     "Height=\"20\" Page=\"Page2\" PrintOnParent=\"True\"/>") +
                Band("TqbxMasterData", "After", 60, 20, "RowCount=\"1\""),
            {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"3\"",
                            Cell("Row", 5, 100, "[Line]"))}});
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  // The subreport's three rows lie inside M (10 + 3 × 20 = 70 high); nothing prints on its own.
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "After@0,70"}));
  EXPECT_EQ(Memos(0), (Strings{"Own@0", "1@205", "2@205", "3@205"}));
  auto* band = dynamic_cast<TqbxBand*>(Pages().GetPage(0)->Objects().front().get());
  ASSERT_NE(band, nullptr);
  EXPECT_DOUBLE_EQ(band->Height(), 70);
  // The parent band is restored after the run.
  EXPECT_EQ(report_->FindObject(u"M")->Count(), 2);
}

TEST_F(EngineLayoutTest, ASubreportOnItsParentRepeatsForEachRecordOfTheParent) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\"",
                 "<TqbxSubreport Name=\"Sub\" Left=\"0\" Top=\"0\" Width=\"200\" Height=\"20\" "
                 "Page=\"Page2\" PrintOnParent=\"True\"/>"),
            {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"2\"",
                            Cell("Row", 0, 100, "[Line]"))}});
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,40"}));
  EXPECT_EQ(Memos(0), (Strings{"1@0", "2@0", "1@0", "2@0"}));
}

TEST_F(EngineLayoutTest, TheFirstRowOfBandColumnsTakesItsKeptHeaderToTheNextPage) {
  // 188.98 units: the header fits below the first band (160 to 180), its row (180 to 200) not.
  const std::string bands = Band("TqbxMasterData", "Top", 0, 160, "RowCount=\"1\"") +
                            Band("TqbxHeader", "H", 200, 20) + "%" +
                            Band("TqbxFooter", "F", 300, 20);
  auto load = [&](const std::string& keep) {
    std::string page = bands;
    page.replace(page.find('%'), 1,
                 Band("TqbxMasterData", "D", 250, 20,
                      "RowCount=\"3\" Columns=\"2\" ColumnWidth=\"200\"" + keep));
    Load(page, "", {}, "PaperHeight=\"50\"");
  };
  load(" KeepHeader=\"True\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Placed(0), Strings{"Top@0,0"});
  EXPECT_EQ(Placed(1), (Strings{"H@0,0", "D@0,20", "D@200,20", "D@0,40", "F@0,60"}));

  // Without keeping, the header stays alone at the bottom of the first page.
  report_ = std::make_unique<TqbxReport>();
  InstallEngine(*report_);
  report_->OnCalc = [](StringView) -> Variant { return Variant(); };
  load("");
  Prepare();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Placed(0), (Strings{"Top@0,0", "H@0,160"}));
  EXPECT_EQ(Placed(1), (Strings{"D@0,0", "D@200,0", "D@0,20", "F@0,40"}));
}

}  // namespace
}  // namespace zavrik::test
