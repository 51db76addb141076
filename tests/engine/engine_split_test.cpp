// Layouts beyond stacking bands: bands split over pages, band columns of data bands, child bands
// with a row count and endless pages. Pages are 50 mm high (188.98 units) unless a test says
// otherwise; the memo font is Arial 10 with a line spacing of 2, 15.28 units a line.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

const std::string kShortPage = "PaperHeight=\"50\"";

// Lines "L1" to "L<count>" joined by line breaks, as a memo's Text attribute.
std::string NumberedLines(int count) {
  std::string text;
  for (int n = 1; n <= count; ++n) text += (n > 1 ? "&#13;&#10;L" : "L") + std::to_string(n);
  return text;
}

class EngineSplitTest : public EngineTest {
 protected:
  // The lines of the memos named `name` over all pages, in order.
  Strings LinesOf(StringView name) {
    Strings lines;
    for (int page = 0; page < Pages().Count(); ++page) {
      for (const std::string& text : Texts(page, name)) {
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
          while (!line.empty() && line.back() == '\r') line.pop_back();
          if (!line.empty()) lines.push_back(line);
        }
      }
    }
    return lines;
  }

  // The lowest bottom of the bands on a page.
  double LowestBand(int page) {
    double lowest = 0;
    for (const auto& child : Pages().GetPage(page)->Objects())
      if (child->IsBand()) lowest = std::max(lowest, child->Top() + child->Height());
    return lowest;
  }
};

TEST_F(EngineSplitTest, ASplitMemoPrintsEveryLineOnceOverThePages) {
  // 30 lines of 15.28 units: about 459 units, over three pages of 188.98.
  Load(Band("TqbxMasterData", "M", 0, 40, "RowCount=\"1\" AllowSplit=\"True\" Stretched=\"True\"",
            Memo("Long", 0, 0, 20, NumberedLines(30), "StretchMode=\"smActualHeight\"") +
                Memo("Beside", 300, 0, 20, "Beside") + Memo("Below", 0, 22, 16, "Below")),
       "", {}, kShortPage);
  Prepare();
  ASSERT_EQ(Pages().Count(), 3);
  Strings all;
  for (int n = 1; n <= 30; ++n) all.push_back("L" + std::to_string(n));
  EXPECT_EQ(LinesOf(u"Long"), all);
  EXPECT_EQ(Texts(0, u"Beside"), Strings{"Beside"});
  EXPECT_EQ(Texts(1, u"Beside"), Strings{});
  EXPECT_EQ(Texts(2, u"Beside"), Strings{});
  EXPECT_EQ(Texts(0, u"Below"), Strings{});
  EXPECT_EQ(Texts(2, u"Below"), Strings{"Below"});
  // Every part stays on its page; the object below follows the memo's last part.
  for (int page = 0; page < 3; ++page) EXPECT_LE(LowestBand(page), 188.98 + 0.01) << page;
  const TqbxComponent* below = Find(2, u"Below");
  const TqbxComponent* last_part = Find(2, u"Long");
  ASSERT_TRUE(below && last_part);
  EXPECT_GE(below->Top(), last_part->Top() + last_part->Height() - 0.01);
  // The template is whole again after the run.
  auto* memo = dynamic_cast<TqbxComponent*>(report_->FindObject(u"Long"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Height(), 20);
}

// One paragraph of 150 equal words over several pages: its first line is indented by the paragraph
// gap and holds fewer words; a part that continues the paragraph starts with a full line, so a
// middle part holds whole lines only.
TEST_F(EngineSplitTest, APartContinuingAParagraphStartsWithAFullLine) {
  std::string words;
  for (int n = 0; n < 150; ++n) words += (n > 0 ? " w" : "w") + std::to_string(n % 10);
  Load(Band("TqbxMasterData", "M", 0, 40, "RowCount=\"1\" AllowSplit=\"True\" Stretched=\"True\"",
            Memo("Long", 0, 0, 20, words, "StretchMode=\"smActualHeight\" ParagraphGap=\"40\"")),
       "", {}, kShortPage);
  Prepare();
  const int pages = Pages().Count();
  ASSERT_GE(pages, 3);
  const auto words_in = [](StringView text) { return static_cast<int>(std::count(text.begin(), text.end(), u'w')); };
  auto* first = dynamic_cast<TqbxCustomMemoView*>(Find(0, u"Long"));
  ASSERT_NE(first, nullptr);
  std::vector<TqbxWrappedLine> lines;
  first->WrapText(true, &lines);
  ASSERT_GE(lines.size(), 2u);
  const int full = words_in(lines[1].Text);
  ASSERT_GT(full, words_in(lines[0].Text));
  int total = 0;
  for (int page = 0; page < pages; ++page) {
    auto* part = dynamic_cast<TqbxCustomMemoView*>(Find(page, u"Long"));
    ASSERT_NE(part, nullptr) << page;
    const int count = words_in(part->Text());
    total += count;
    if (page > 0 && page + 1 < pages) {
      EXPECT_TRUE(part->FirstParaBreak) << page;
      EXPECT_EQ(count % full, 0) << page << ": " << count << " words, " << full << " a line";
    }
  }
  EXPECT_EQ(total, 150);
}

TEST_F(EngineSplitTest, ABandTallerThanThePageSplitsWithoutAllowSplitAndTheNextRecordFollows) {
  Load(Band("TqbxMasterData", "M", 0, 20, "DataSet=\"D\" Stretched=\"True\"",
            Memo("Long", 0, 0, 20, NumberedLines(20), "StretchMode=\"smActualHeight\"")) +
           Band("TqbxMasterData", "After", 40, 20, "RowCount=\"1\"", Memo("Next", 0, 0, 20, "Next")),
       Records("D", 1), {"D"}, kShortPage);
  Prepare();
  // 20 lines (about 306 units) take two pages; the next band follows the last part on page 2.
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(LinesOf(u"Long").size(), 20u);
  ASSERT_NE(Find(1, u"Next"), nullptr);
  EXPECT_LE(LowestBand(1), 188.98);
  const Strings second = Placed(1);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[0], "M@0,0");
  EXPECT_EQ(second[1].rfind("After@0,", 0), 0u) << second[1];
}

TEST_F(EngineSplitTest, AFixedObjectTallerThanThePagePrintsOnceAndRecordsGoOn) {
  Load(Band("TqbxMasterData", "M", 0, 300, "DataSet=\"D\"",
            "<TqbxShapeView Name=\"Tall\" Left=\"0\" Top=\"0\" Width=\"50\" Height=\"300\"/>" +
                Memo("Small", 200, 0, 20, "[Line]")),
       Records("D", 3), {"D"}, kShortPage);
  Prepare();
  // Each record starts a page of its own; its tall shape is cut at the page edge.
  ASSERT_EQ(Pages().Count(), 3);
  for (int page = 0; page < 3; ++page) {
    EXPECT_EQ(Placed(page), Strings{"M@0,0"}) << page;
    const TqbxComponent* tall = Find(page, u"Tall");
    ASSERT_NE(tall, nullptr) << page;
    EXPECT_EQ(tall->Height(), 300) << page;
    EXPECT_EQ(Texts(page, u"Small"), Strings{std::to_string(page + 1)}) << page;
  }
}

TEST_F(EngineSplitTest, AMemoWhoseLineIsTallerThanThePageEndsCut) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\" AllowSplit=\"True\" Stretched=\"True\"",
            Memo("Huge", 0, 0, 20, "A&#13;&#10;B",
                 "StretchMode=\"smActualHeight\" Font.Height=\"-400\"")),
       "", {}, kShortPage);
  Prepare();
  // No line fits even an empty page: each record prints once, cut, instead of looping.
  EXPECT_GE(Pages().Count(), 2);
  EXPECT_LE(Pages().Count(), 4);
}

TEST_F(EngineSplitTest, RecordsFillRowsOfBandColumnsAndAFullRowMovesToTheNextPage) {
  Load(Band("TqbxMasterData", "M", 0, 50, "RowCount=\"11\" Columns=\"3\" ColumnWidth=\"200\""),
       "", {}, kShortPage);
  Prepare();
  // Rows of 50 units: the fourth row would end at 200, below 188.98.
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@200,0", "M@400,0", "M@0,50", "M@200,50", "M@400,50",
                                "M@0,100", "M@200,100", "M@400,100"}));
  EXPECT_EQ(Placed(1), (Strings{"M@0,0", "M@200,0"}));
}

TEST_F(EngineSplitTest, TheFooterOfBandColumnsFollowsTheLastRow) {
  Load(Band("TqbxMasterData", "M", 0, 30,
            "RowCount=\"5\" Columns=\"2\" ColumnWidth=\"150\" ColumnGap=\"10\"") +
       Band("TqbxFooter", "F", 50, 20));
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@160,0", "M@0,30", "M@160,30", "M@0,60", "F@0,90"}));
}

TEST_F(EngineSplitTest, AChildWithARowCountFillsTheTableBeforeTheFooter) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"4\" Child=\"C\"") +
       Band("TqbxChild", "C", 40, 20, "ToNRows=\"10\"", Memo("N", 0, 0, 20, "[Line]")) +
       Band("TqbxFooter", "F", 80, 20));
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20", "M@0,40", "M@0,60", "C@0,80", "C@0,100",
                                "C@0,120", "C@0,140", "C@0,160", "C@0,180", "F@0,200"}));
  EXPECT_EQ(Texts(0, u"N"), (Strings{"5", "6", "7", "8", "9", "10"}));
}

TEST_F(EngineSplitTest, AChildAddingToTheCountPrintsItsRowsAfterTheRecords) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"4\" Child=\"C\"") +
       Band("TqbxChild", "C", 40, 20, "ToNRows=\"3\" ToNRowsMode=\"rmAddToCount\""));
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20", "M@0,40", "M@0,60", "C@0,80", "C@0,100",
                                "C@0,120"}));
}

TEST_F(EngineSplitTest, AChildTillThePageEndsFillsThePageAboveTheFooter) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"4\" Child=\"C\"") +
       Band("TqbxChild", "C", 40, 20, "ToNRowsMode=\"rmTillPageEnds\"") +
       Band("TqbxFooter", "F", 80, 20),
       "", {}, kShortPage);
  Prepare();
  // Below 4 rows (80 units) and above the 20-unit footer, 88.98 units hold 4 filler rows.
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20", "M@0,40", "M@0,60", "C@0,80", "C@0,100",
                                "C@0,120", "C@0,140", "F@0,160"}));
}

TEST_F(EngineSplitTest, AnEndlessPageHoldsAllRowsAndTakesTheirHeight) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"200\"") +
           Band("TqbxReportSummary", "S", 40, 30) + Band("TqbxPageFooter", "P", 80, 10),
       "", {}, "EndlessHeight=\"True\" TopMargin=\"10\" BottomMargin=\"10\"");
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  const Strings placed = Placed(0);
  ASSERT_EQ(placed.size(), 202u);
  EXPECT_EQ(placed[199], "M@0,3980");
  EXPECT_EQ(placed[200], "S@0,4000");
  EXPECT_EQ(placed[201], "P@0,4030");
  // 4040 units of content and 20 mm of margins.
  TqbxReportPage* page = Pages().GetPage(0);
  EXPECT_NEAR(page->PaperHeight(), 4040 / 3.77953 + 20, 0.01);
}

TEST_F(EngineSplitTest, ASplitBandContinuesInTheNextPageColumn) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\" AllowSplit=\"True\" Stretched=\"True\"",
            Memo("Long", 0, 0, 20, NumberedLines(15), "StretchMode=\"smActualHeight\"")),
       "", {}, kShortPage + " Columns=\"2\"");
  Prepare();
  // 15 lines (229 units) fill the first column and go on at the top of the second.
  ASSERT_EQ(Pages().Count(), 1);
  const Strings placed = Placed(0);
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0], "M@0,0");
  EXPECT_EQ(placed[1], "M@397,0");
  EXPECT_EQ(LinesOf(u"Long").size(), 15u);
}

TEST_F(EngineSplitTest, AChildTillThePageEndsAddsNothingOnAnEndlessPage) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\" Child=\"C\"") +
       Band("TqbxChild", "C", 40, 20, "ToNRowsMode=\"rmTillPageEnds\""),
       "", {}, "EndlessHeight=\"True\"");
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20"}));
}

TEST_F(EngineSplitTest, ASummaryAtTheBottomOfAnEndlessPageFollowsTheRows) {
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"3\"") +
           Band("TqbxReportSummary", "S", 40, 30, "PrintAtBottom=\"True\""),
       "", {}, "EndlessHeight=\"True\"");
  Prepare();
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "M@0,20", "M@0,40", "S@0,60"}));
  EXPECT_NEAR(Pages().GetPage(0)->PaperHeight(), 90 / 3.77953, 0.01);
}

TEST_F(EngineSplitTest, AVerticalBandWithoutCellsLeavesTheBandsAsTheyAre) {
  // The band's object lies beside the vertical band: it is no cell and prints once.
  Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"", Memo("Own", 100, 0, 20, "Own")) +
       "<TqbxMasterData Name=\"V\" Vertical=\"True\" Left=\"0\" Top=\"0\" Width=\"50\" "
       "Height=\"100\" RowCount=\"3\"/>");
  Prepare();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), Strings{"M@0,0"});
  EXPECT_EQ(Texts(0, u"Own"), Strings{"Own"});
}

}  // namespace
}  // namespace zavrik::test
