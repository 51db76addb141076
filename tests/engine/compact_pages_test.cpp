// Finished pages packed in memory: which pages are packed, the engine and scripts going back to
// them, and whole runs giving the same pages packed, swapped to the file, or kept as elements.
#include <gtest/gtest.h>

#include <functional>

#include "engine/engine_fixture.h"
#include "preview_fixture.h"

namespace zavrik::test {
namespace {

using CompactPagesTest = PreviewPagesTest;

TEST_F(CompactPagesTest, FinishedPagesArePackedFromTheThirdOnAndRebuildTheSame) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"");
  pages.AddSourcePage(page);
  for (int i = 0; i < 6; ++i) {
    pages.AddPage(page);
    memo.SetMemoText(u"row " + IntToStr(i));
    pages.AddObject(band);
  }
  for (int i : {0, 1}) EXPECT_FALSE(pages.PageItem(i).Packed()) << i;  // never unloadable
  for (int i : {2, 3}) {
    EXPECT_TRUE(pages.PageItem(i).Packed()) << i;
    EXPECT_FALSE(pages.PageItem(i).Loaded) << i;
  }
  // As with the swap file, the page finished last waits until the next page starts.
  EXPECT_TRUE(pages.PageItem(4).Loaded);
  EXPECT_TRUE(pages.PageItem(5).Loaded);  // the page being prepared

  engine.Running = false;
  for (int i = 0; i < 6; ++i) {
    TqbxReportPage* rebuilt = pages.GetPage(i);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0)).Text(), u"row " + IntToStr(i));
  }
  // Pages leaving the cache are packed again; none is left as elements.
  pages.ClearCache();
  EXPECT_EQ(pages.CachedPageCount(), 0);
  for (int i : {2, 3, 4, 5}) EXPECT_TRUE(pages.PageItem(i).Packed()) << i;
}

TEST_F(CompactPagesTest, TheEngineGoingBackToAPackedPageAddsAfterItsObjects) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  AddMemo(band, u"Memo1", u"x");
  pages.AddSourcePage(page);
  for (int i = 0; i < 5; ++i) {
    pages.AddPage(page);
    pages.AddObject(band);
  }
  ASSERT_TRUE(pages.PageItem(2).Packed());
  pages.CurPage = 2;  // side-by-side subreports and columns go back like this
  EXPECT_EQ(pages.GetCurPosition(), 1);
  pages.AddObject(band);
  EXPECT_EQ(ElementNames(2), u"b1(m1),b1(m1)");
  pages.AddPage(page);  // write over: on to page 4
  EXPECT_EQ(pages.CurPage, 3);
  EXPECT_EQ(pages.Count(), 5);
  pages.AddObject(band);
  EXPECT_EQ(ElementNames(3), u"b1(m1),b1(m1)");
}

// A packed page is rebuilt from its bytes and stays packed; the objects are those of the
// unpacked elements, which tell their element apart.
TEST_F(CompactPagesTest, APackedPageIsRebuiltFromItsBytesAndStaysPacked) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"");
  pages.AddSourcePage(page);
  for (int i = 0; i < 5; ++i) {
    pages.AddPage(page);
    memo.SetMemoText(u"Строка " + IntToStr(i));
    pages.AddObject(band);
    pages.AddObject(band);
  }
  ASSERT_TRUE(pages.PageItem(2).Packed());
  engine.Running = false;
  TqbxReportPage* rebuilt = pages.GetPage(2);
  EXPECT_TRUE(pages.PageItem(2).Packed());
  EXPECT_FALSE(pages.PageItem(2).Loaded);
  ASSERT_EQ(rebuilt->Count(), 2);
  EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(1).Child(0)).Text(), u"Строка 2");
  EXPECT_EQ(rebuilt->Child(1).Child(0).SerializedItem, nullptr);
  // Loaded, the same page gives the same objects, each with its element.
  pages.ClearCache();
  TqbxXMLItem& item = pages.PageItem(2);
  pages.XMLDoc.LoadItem(item);
  rebuilt = pages.GetPage(2);
  ASSERT_EQ(rebuilt->Count(), 2);
  EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(1).Child(0)).Text(), u"Строка 2");
  EXPECT_EQ(rebuilt->Child(1).Child(0).SerializedItem, &item.Items(1).Items(0));
}

// A page read back keeps its packed form for unloading only while nothing is added to it.
TEST_F(CompactPagesTest, APageReadBackThenAddedToIsPackedWithTheNewObjects) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"first");
  pages.AddSourcePage(page);
  for (int i = 0; i < 5; ++i) {
    pages.AddPage(page);
    pages.AddObject(band);
  }
  ASSERT_TRUE(pages.PageItem(2).Packed());
  engine.Running = false;
  ASSERT_NE(pages.GetPage(2), nullptr);  // read only
  engine.Running = true;
  pages.CurPage = 2;
  memo.SetMemoText(u"second");
  pages.AddObject(band);
  pages.AddPage(page);
  engine.Running = false;
  pages.ClearCache();
  ASSERT_TRUE(pages.PageItem(2).Packed());
  TqbxReportPage* rebuilt = pages.GetPage(2);
  ASSERT_EQ(rebuilt->Count(), 2);
  EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0)).Text(), u"first");
  EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(1).Child(0)).Text(), u"second");
  // Read again and dropped without changes, it comes back the same.
  pages.ClearCache();
  rebuilt = pages.GetPage(2);
  ASSERT_EQ(rebuilt->Count(), 2);
  EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(1).Child(0)).Text(), u"second");
}

// A page given its full form replaces its objects; reading it back adds none of the old ones.
TEST_F(CompactPagesTest, AModifiedPageKeepsOnlyItsNewObjectsPackedOrSwapped) {
  for (const bool file_cache : {false, true}) {
    SCOPED_TRACE(file_cache ? "swap file" : "packed");
    pages.Clear();
    report.EngineOptions()->UseFileCache = file_cache;
    report.EngineOptions()->MaxMemSize = 0;
    auto& band = AddBand<TqbxMasterData>(u"Band" + IntToStr(file_cache), 10, 20);
    AddMemo(band, u"Memo" + IntToStr(file_cache), u"old");
    pages.AddSourcePage(page);
    for (int i = 0; i < 5; ++i) {
      pages.AddPage(page);
      pages.AddObject(band);
    }
    ASSERT_FALSE(pages.PageItem(2).Loaded);
    TqbxReportPage* rebuilt = pages.GetPage(2);
    ASSERT_NE(rebuilt, nullptr);
    dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0)).SetMemoText(u"new");
    pages.ModifyObject(rebuilt->Child(0).Child(0));
    pages.AddPage(page);
    engine.Running = false;
    pages.ClearCache();
    rebuilt = pages.GetPage(2);
    ASSERT_EQ(rebuilt->Count(), 1);
    ASSERT_EQ(rebuilt->Child(0).Count(), 1);
    EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0)).Text(), u"new");
    engine.Running = true;
  }
}

TEST_F(CompactPagesTest, ASecondPassStartingOnAPackedPageCutsItsObjects) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  pages.AddSourcePage(page);
  for (int i = 0; i < 3; ++i) {
    pages.AddPage(page);
    pages.AddObject(band);
  }
  pages.BeginPass();  // the next report run goes on after the first object of page 3
  pages.AddObject(band);
  pages.AddPage(page);
  pages.AddPage(page);
  ASSERT_TRUE(pages.PageItem(2).Packed());
  pages.ClearFirstPassPages();
  EXPECT_EQ(pages.Count(), 3);
  EXPECT_EQ(pages.CurPage, 2);
  EXPECT_EQ(pages.GetCurPosition(), 1);
}

TEST_F(CompactPagesTest, TheSavedDocumentHoldsThePackedPages) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"");
  std::string saved[2];
  for (const bool file_cache : {false, true}) {
    pages.Clear();
    report.EngineOptions()->UseFileCache = file_cache;
    report.EngineOptions()->MaxMemSize = 1000;  // with the file cache: never swapped
    pages.AddSourcePage(page);
    for (int i = 0; i < 5; ++i) {
      pages.AddPage(page);
      memo.SetMemoText(u"Строка \"" + IntToStr(i) + u"\" <&>");
      pages.AddObject(band);
    }
    EXPECT_EQ(pages.PageItem(2).Packed(), !file_cache);
    saved[file_cache] = pages.XMLDoc.SaveToString();
  }
  EXPECT_EQ(saved[0], saved[1]);
}

// --- whole runs

class CompactPagesRunTest : public EngineTest {
 protected:
  enum class Mode { kPacked, kSwapFile, kElements };

  // Every object of every prepared page, the outline and the anchors after a run in `mode`.
  std::string Run(Mode mode, const std::string& script) {
    report_->EngineOptions()->UseFileCache = mode != Mode::kPacked;
    report_->EngineOptions()->MaxMemSize = mode == Mode::kSwapFile ? 0 : 1000;
    report_->EngineOptions()->DoublePass = true;
    if (!script.empty()) {
      report_->ScriptText()->SetText(Utf8ToString(script));
      report_->OnCalc = nullptr;
    }
    if (!report_->PrepareReport()) return "failed: " + StringToUtf8(report_->Errors.Text());
    std::string dump;
    for (int i = 0; i < Pages().Count(); ++i) {
      TqbxReportPage* page = Pages().GetPage(i);
      TqbxXMLSerializer serializer;
      for (TqbxComponent* object : page->AllObjects())
        dump += StringToUtf8(serializer.WriteComponentStr(*object)) + "\n";
      dump += "--- page " + std::to_string(i + 1) + "\n";
    }
    Pages().ClearCache();
    for (const StringView name : {u"outline", u"anchors"}) {
      const int index = Pages().XMLDoc.Root().Find(name);
      if (index < 0) continue;
      WalkXmlTree(Pages().XMLDoc.Root().Items(index), [&](TqbxXMLItem& item, int level) {
        dump += std::string(level, ' ') + StringToUtf8(item.Name() + u" " + item.Text()) + "\n";
      }, [](TqbxXMLItem&, int) {});
    }
    return dump;
  }

  void ExpectSameInEveryMode(const std::function<void()>& load, const std::string& script, int min_pages,
                             const std::vector<std::string>& printed = {}) {
    std::string dumps[3];
    for (const Mode mode : {Mode::kElements, Mode::kSwapFile, Mode::kPacked}) {
      load();
      dumps[static_cast<int>(mode)] = Run(mode, script);
      EXPECT_GE(Pages().Count(), min_pages);
    }
    EXPECT_EQ(dumps[0].find("failed"), std::string::npos) << dumps[0];
    for (const std::string& text : printed) EXPECT_NE(dumps[0].find(text), std::string::npos) << text;
    EXPECT_EQ(dumps[static_cast<int>(Mode::kPacked)], dumps[static_cast<int>(Mode::kElements)]);
    EXPECT_EQ(dumps[static_cast<int>(Mode::kSwapFile)], dumps[static_cast<int>(Mode::kElements)]);
  }
};

// Side-by-side subreports go back to pages finished meanwhile; footers wait for the page total.
TEST_F(CompactPagesRunTest, SubreportsGoingBackAndPageTotalsGiveTheSamePages) {
  ExpectSameInEveryMode(
      [&] {
        LoadPages(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"2\"",
                       "<TqbxSubreport Name=\"Left\" Left=\"0\" Top=\"0\" Width=\"200\" Height=\"20\" Page=\"Page2\"/>"
                       "<TqbxSubreport Name=\"Right\" Left=\"300\" Top=\"0\" Width=\"200\" Height=\"20\" Page=\"Page3\"/>") +
                      Band("TqbxPageFooter", "F", 160, 20, "", Memo("No", 0, 0, 20, "[Page#] / [TotalPages]")),
                  {{"Page2", Band("TqbxMasterData", "A", 0, 20, "RowCount=\"40\"", Memo("RowA", 0, 0, 20, "[Line]"))},
                   {"Page3", Band("TqbxMasterData", "B", 0, 20, "RowCount=\"30\"", Memo("RowB", 0, 0, 20, "[Line#]"))}},
                  "PaperHeight=\"50\"");
      },
      "", 8);
}

// Scripts read, modify and write on finished pages and leave outline items and anchors.
TEST_F(CompactPagesRunTest, ScriptsRevisitingFinishedPagesGiveTheSamePages) {
  ExpectSameInEveryMode(
      [&] {
        Load(Band("TqbxMasterData", "M", 0, 20, "RowCount=\"60\" OnAfterPrint=\"MAfter\"",
                  Memo("Row", 0, 0, 20, "Строка [Line]")) +
             Band("TqbxChild", "Extra", 100, 8, "", Memo("Note", 200, 0, 8, "вставка")) +
             Band("TqbxPageFooter", "F", 160, 20, "",
                  Memo("No", 0, 0, 20, "[Page] / [TotalPages], r25: [Engine.GetAnchorPage('r25')]")),
             "", {}, "PaperHeight=\"50\"");
      },
      "var N: Integer;\n"
      "procedure MAfter(Sender: TqbxComponent);\n"
      "var Obj: TqbxComponent;\n"
      "begin\n"
      "  N := N + 1;\n"
      "  Outline.AddItem('row ' + IntToStr(N)); Outline.LevelRoot;\n"
      "  Engine.AddAnchor('r' + IntToStr(N));\n"
      "  if Engine.FinalPass and (N = 100) then begin\n"
      "    Obj := PreviewPages.Page[2].FindObject('Row');\n"
      "    TqbxMemoView(Obj).Text := 'изменена';\n"
      "    PreviewPages.ModifyObject(Obj);\n"
      "  end;\n"
      "  if Engine.FinalPass and (N = 110) then begin\n"
      "    PreviewPages.CurPage := 3;\n"
      "    Engine.ShowBand(Extra);\n"
      "    PreviewPages.CurPage := PreviewPages.Count - 1;\n"
      "  end;\n"
      "end;\n"
      "begin end.",
      8, {"изменена", "вставка", "row 120", "r25"});
}

}  // namespace
}  // namespace zavrik::test
