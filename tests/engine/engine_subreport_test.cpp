// Subreports: pages run at the place of their subreport objects, side by side, and never on their
// own; a subreport without a page or leading back to its own page gets a message.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

std::string Subreport(const std::string& name, double left, const std::string& page,
                      const std::string& attributes = "") {
  return "<TqbxSubreport Name=\"" + name + "\" Left=\"" + Num(left) +
         "\" Top=\"0\" Width=\"200\" Height=\"20\" " +
         (page.empty() ? "" : "Page=\"" + page + "\" ") + attributes + "/>";
}

using EngineSubreportTest = EngineTest;

TEST_F(EngineSubreportTest, TwoSubreportsSideBySideAndTheRunGoesOnBelowTheLonger) {
  LoadPages(Band("TqbxMasterData", "M", 0, 30, "RowCount=\"1\"",
                 Subreport("Left", 0, "Page2") + Subreport("Right", 300, "Page3")) +
                Band("TqbxMasterData", "After", 60, 20, "RowCount=\"1\""),
            {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"2\"")},
             {"Page3", Band("TqbxMasterData", "B", 0, 20, "RowCount=\"4\"")}});
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  // The subreport pages print only through their subreports.
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "A@0,0", "A@0,20", "B@300,0", "B@300,20", "B@300,40",
                                "B@300,60", "After@0,80"}));
}

TEST_F(EngineSubreportTest, ASubreportThatBreaksThePageContinuesOnTheNextPage) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"",
                 Subreport("Left", 0, "Page2") + Subreport("Right", 300, "Page3")),
            {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"12\"")},
             {"Page3", Band("TqbxMasterData", "B", 0, 20, "RowCount=\"2\"")}},
            "PaperHeight=\"50\"");
  ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text());
  // 9 rows of 20 fit a page of 188.98 units: A runs onto page 2; B stays beside A on page 1.
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Placed(0).size(), 12u);
  EXPECT_EQ(Placed(1), (Strings{"A@0,0", "A@0,20", "A@0,40"}));
}

TEST_F(EngineSubreportTest, ASubreportLeadingBackToItsPageIsReportedNotRun) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"",
                 Subreport("ToTwo", 0, "Page2") + Subreport("NoPage", 300, "")),
            {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"1\"",
                            Subreport("Back", 0, "Page3"))},
             {"Page3", Band("TqbxMasterData", "B", 0, 20, "RowCount=\"1\"",
                            Subreport("Loop", 0, "Page2"))}});
  EXPECT_FALSE(report_->PrepareReport());
  const std::string errors = StringToUtf8(report_->Errors.Text());
  EXPECT_NE(errors.find("NoPage"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Back"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Loop"), std::string::npos) << errors;
  // The main page prints with page 2, whose subreport back into the loop does not run.
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), (Strings{"M@0,0", "A@0,0"}));
}

TEST_F(EngineSubreportTest, ASubreportToItsOwnPageIsReported) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"", Subreport("Self", 0, "Page1")),
            {});
  EXPECT_FALSE(report_->PrepareReport());
  EXPECT_NE(StringToUtf8(report_->Errors.Text()).find("Self"), std::string::npos);
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Placed(0), Strings{"M@0,0"});
}

TEST_F(EngineSubreportTest, ASubreportNamingAPageThatIsNoReportPageIsReported) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"", Subreport("Wrong", 0, "Data")),
            {});
  EXPECT_FALSE(report_->PrepareReport());
  EXPECT_NE(StringToUtf8(report_->Errors.Text()).find("Wrong"), std::string::npos);
  EXPECT_EQ(Placed(0), Strings{"M@0,0"});
}

TEST_F(EngineSubreportTest, TheSubreportViewKeepsItsPropertiesWhenWrittenBack) {
  LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"1\"",
                 Subreport("Sub", 0, "Page2", "PrintOnParent=\"True\"")),
            {{"Page2", ""}});
  std::ostringstream out;
  report_->SaveToStream(out);
  const std::string xml = out.str();
  EXPECT_NE(xml.find("<TqbxSubreport Name=\"Sub\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("Page=\"Page2\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("PrintOnParent=\"True\""), std::string::npos) << xml;
}

}  // namespace
}  // namespace zavrik::test
