// Report scripts and expressions that read the run through `Engine`, `PreviewPages` and `Outline`
// and call the engine while the report runs.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"

namespace zavrik::test {
namespace {

using Strings = std::vector<std::string>;

class EngineScriptTest : public EngineTest {
 protected:
  // Loads the page with a PascalScript program; expressions go through the real script.
  void LoadWithScript(const std::string& page, const std::string& script,
                      const std::string& page_attributes = "PaperHeight=\"50\"") {
    Load(page, "", {}, page_attributes);
    report_->ScriptText()->SetText(Utf8ToString(script));
    report_->OnCalc = nullptr;
  }

  std::string Errors() { return StringToUtf8(report_->Errors.Text()); }
};

TEST_F(EngineScriptTest, AScriptStartsANewPageWhenItDecides) {
  LoadWithScript(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"5\" OnAfterPrint=\"MAfter\""),
                 "procedure MAfter(Sender: TqbxComponent);\n"
                 "begin\n"
                 "  if Engine.CurY >= 60 then Engine.NewPage;\n"
                 "end;\n"
                 "begin end.");
  ASSERT_TRUE(report_->PrepareReport()) << Errors();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Bands(0), (Strings{"M@0", "M@20", "M@40"}));
  EXPECT_EQ(Bands(1), (Strings{"M@0", "M@20"}));
}

TEST_F(EngineScriptTest, StopReportKeepsWhatWasPrinted) {
  LoadWithScript(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"9\" OnAfterPrint=\"MAfter\""),
                 "procedure MAfter(Sender: TqbxComponent);\n"
                 "begin\n"
                 "  if Engine.CurY >= 60 then begin Engine.StopReport; Engine.StopReport; end;\n"
                 "end;\n"
                 "begin end.");
  report_->PrepareReport();
  ASSERT_EQ(Pages().Count(), 1);
  EXPECT_EQ(Bands(0), (Strings{"M@0", "M@20", "M@40"}));
}

TEST_F(EngineScriptTest, ExpressionsReadTheRunState) {
  LoadWithScript(
      Band("TqbxPageHeader", "H", 0, 20, "",
           Memo("State", 0, 0, 20,
                "[IIF(Engine.FinalPass, 'final', 'first')] [Engine.TotalPages] "
                "[PreviewPages.Count] [Engine.DoublePass]")) +
          Band("TqbxMasterData", "M", 40, 20, "RowCount=\"12\""),
      "begin end.");
  report_->EngineOptions()->DoublePass = true;
  ASSERT_TRUE(report_->PrepareReport()) << Errors();
  ASSERT_EQ(Pages().Count(), 2);
  EXPECT_EQ(Texts(0, u"State"), Strings{"final 2 1 True"});
  EXPECT_EQ(Texts(1, u"State"), Strings{"final 2 2 True"});
}

TEST_F(EngineScriptTest, BandsShownByScriptsAndOutlineItems) {
  LoadWithScript(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\" OnAfterPrint=\"MAfter\"") +
                     Band("TqbxChild", "Extra", 40, 10),
                 "procedure MAfter(Sender: TqbxComponent);\n"
                 "begin\n"
                 "  Engine.ShowBand(Extra);\n"
                 "  Engine.ShowBandByName('Extra');\n"
                 "  Outline.AddItem('row'); Outline.LevelUp; Outline.LevelRoot;\n"
                 "  Engine.AddAnchor('a' + IntToStr(Engine.GetAnchorPage('none')));\n"
                 "end;\n"
                 "begin end.");
  ASSERT_TRUE(report_->PrepareReport()) << Errors();
  EXPECT_EQ(Bands(0), (Strings{"M@0", "Extra@20", "Extra@30", "M@40", "Extra@60", "Extra@70"}));
  EXPECT_EQ(Pages().Outline().Count(), 2);
}

TEST_F(EngineScriptTest, ShowingWhatIsNoBandDoesNothing) {
  LoadWithScript(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\" OnAfterPrint=\"MAfter\"",
                      Memo("Row", 0, 0, 20, "x")),
                 "procedure MAfter(Sender: TqbxComponent);\n"
                 "begin\n"
                 "  Engine.ShowBandByName('Missing');\n"
                 "  Engine.ShowBandByName('Row');\n"
                 "  Engine.ShowBand(nil);\n"
                 "end;\n"
                 "begin end.");
  ASSERT_TRUE(report_->PrepareReport()) << Errors();
  EXPECT_EQ(Bands(0), (Strings{"M@0", "M@20"}));
}

TEST_F(EngineScriptTest, CallingTheEngineOutsideTheRunIsAnError) {
  LoadWithScript(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\""),
                 "begin Engine.NewPage; end.");
  EXPECT_FALSE(report_->PrepareReport());
  EXPECT_NE(Errors().find("Engine is not running"), std::string::npos) << Errors();
  EXPECT_EQ(Pages().Count(), 0);
}

}  // namespace
}  // namespace zavrik::test
