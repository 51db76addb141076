// Prepared pages: source pages and aliases, recording bands as differences, rebuilding pages,
// unloading to the swap file, and the bookkeeping the engine relies on.
#include <gtest/gtest.h>

#include <algorithm>

#include "preview_fixture.h"

namespace zavrik::test {
namespace {

TEST_F(PreviewPagesTest, UnchangedObjectsRecordOnlyTheirAliasAndRebuildEqual) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"Hello");
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddObject(band);

  ASSERT_EQ(pages.Count(), 1);
  EXPECT_EQ(pages.PageItem(0).Name(), u"page0");
  EXPECT_EQ(ElementNames(0), u"b1(m1)");
  EXPECT_EQ(pages.PageItem(0).Items(0).Text(), u"");
  // A memo always carries its text.
  EXPECT_EQ(pages.PageItem(0).Items(0).Items(0).Text(), u"u=\"Hello\"");

  engine.Running = false;
  TqbxReportPage* rebuilt = pages.GetPage(0);
  ASSERT_NE(rebuilt, nullptr);
  ASSERT_EQ(rebuilt->Count(), 1);
  const TqbxComponent& rebuilt_band = rebuilt->Child(0);
  ASSERT_EQ(rebuilt_band.Count(), 1);
  page.AlignChildren(false, 0);  // the rebuilt page is aligned: bands span the printable width
  EXPECT_EQ(Serialized(rebuilt_band), Serialized(band));
  EXPECT_EQ(Serialized(rebuilt_band.Child(0)), Serialized(memo));
  EXPECT_EQ(rebuilt_band.Child(0).SerializedItem, &pages.PageItem(0).Items(0).Items(0));
}

TEST_F(PreviewPagesTest, PrintedChangesAreRecordedAsDifferences) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"Hello");
  pages.AddSourcePage(page);
  pages.AddPage(page);
  band.SetTop(50);
  memo.SetMemoText(u"Wor\"ld");
  memo.SetHeight(32);
  pages.AddObject(band);

  EXPECT_EQ(pages.PageItem(0).Items(0).Text(), u"t=\"50\"");
  EXPECT_EQ(pages.PageItem(0).Items(0).Items(0).Text(), u"h=\"32\" u=\"Wor&#34;ld\"");
  engine.Running = false;
  TqbxReportPage* rebuilt = pages.GetPage(0);
  ASSERT_NE(rebuilt, nullptr);
  EXPECT_EQ(rebuilt->Child(0).Top(), 50);
  auto& rebuilt_memo = dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0));
  EXPECT_EQ(rebuilt_memo.Text(), u"Wor\"ld");
  EXPECT_EQ(rebuilt_memo.Height(), 32);
  EXPECT_EQ(rebuilt_memo.Name(), u"Memo1");
}

TEST_F(PreviewPagesTest, ObjectsWithoutSourceAreRecordedInFullForm) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  pages.AddSourcePage(page);
  auto& extra = AddMemo(band, u"Extra", u"made later");
  pages.AddPage(page);
  pages.AddObject(band);
  EXPECT_EQ(ElementNames(0), u"b1(TqbxMemoView)");
  engine.Running = false;
  auto& rebuilt = dynamic_cast<TqbxMemoView&>(pages.GetPage(0)->Child(0).Child(0));
  EXPECT_EQ(rebuilt.Text(), u"made later");
  EXPECT_EQ(rebuilt.Left(), extra.Left());
  EXPECT_EQ(rebuilt.Width(), extra.Width());
}

TEST_F(PreviewPagesTest, SourceObjectsTakeTheSourceNamesBesideFullForms) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  AddMemo(band, u"Memo1", u"from the source");
  pages.AddSourcePage(page);
  AddMemo(band, u"Extra", u"made later");
  pages.AddPage(page);
  pages.AddObject(band);
  engine.Running = false;
  const TqbxComponent& rebuilt = pages.GetPage(0)->Child(0);
  ASSERT_EQ(rebuilt.Count(), 2);
  // Names are not compiled: the source objects take theirs from the source; a full form carries
  // none, and is read after the compiled ones as before.
  EXPECT_EQ(rebuilt.Name(), u"MasterData1");
  EXPECT_EQ(rebuilt.Child(0).Name(), u"Memo1");
  EXPECT_EQ(dynamic_cast<const TqbxMemoView&>(rebuilt.Child(0)).Text(), u"from the source");
  EXPECT_EQ(rebuilt.Child(1).Name(), u"");
  EXPECT_EQ(dynamic_cast<const TqbxMemoView&>(rebuilt.Child(1)).Text(), u"made later");
}

TEST_F(PreviewPagesTest, InvisibleObjectsAndTheirChildrenAreNotRecorded) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  AddMemo(band, u"Memo1", u"a");
  auto& hidden = AddMemo(band, u"Memo2", u"b");
  pages.AddSourcePage(page);
  pages.AddPage(page);
  hidden.SetVisible(false);
  pages.AddObject(band);
  EXPECT_EQ(ElementNames(0), u"b1(m1)");
}

TEST_F(PreviewPagesTest, AliasesOfMemosProbeAfterFourAndBandsCountApart) {
  auto& band1 = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  for (int i = 1; i <= 6; ++i) AddMemo(band1, u"Memo" + IntToStr(i), u"");
  auto& band2 = AddBand<TqbxMasterData>(u"MasterData2", 40, 20);
  pages.AddSourcePage(page);

  EXPECT_EQ(band1.AliasName(), u"b1");
  EXPECT_EQ(band2.AliasName(), u"b2");
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(band1.TqbxComponent::Child(i).AliasName(), u"m" + IntToStr(i + 1));
  const std::vector<String> names = pages.Dictionary.Names();
  EXPECT_NE(std::find(names.begin(), names.end(), u"m0"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), u"mA"), names.end());
  EXPECT_EQ(pages.Dictionary.GetObject(u"m0"), nullptr);
  EXPECT_EQ(pages.Dictionary.GetSourceName(u"M2"), u"Page0.Memo2");
  EXPECT_EQ(pages.Dictionary.GetObject(u"m2"), band1.TqbxComponent::Child(1).OriginalComponent);
  EXPECT_EQ(band1.TqbxComponent::Child(1).OriginalComponent->OriginalComponent,
            &band1.TqbxComponent::Child(1));
}

TEST(Dictionary, FirstFourAliasesThenProbesFillTheFirstGap) {
  TqbxDictionary dictionary;
  EXPECT_EQ(dictionary.AddUnique(u"m", u"Page0.Memo1", nullptr), u"m1");
  EXPECT_EQ(dictionary.AddUnique(u"m", u"Page0.Memo2", nullptr), u"m2");
  EXPECT_EQ(dictionary.AddUnique(u"m", u"Page0.Memo3", nullptr), u"m3");
  EXPECT_EQ(dictionary.AddUnique(u"m", u"Page0.Memo4", nullptr), u"m4");
  EXPECT_EQ(dictionary.Names(), (std::vector<String>{u"m1", u"m2", u"m3", u"m4"}));
  EXPECT_EQ(dictionary.AddUnique(u"m", u"Page0.Memo5", nullptr), u"m5");
  EXPECT_EQ(dictionary.Names(),
            (std::vector<String>{u"m0", u"m1", u"m2", u"m3", u"m4", u"m5", u"mA"}));

  TqbxDictionary gaps;
  for (const char16_t* name : {u"m1", u"m2", u"m3", u"m5"}) gaps.Add(name, u"", nullptr);
  EXPECT_EQ(gaps.CreateUniqueName(u"m"), u"m4");
  gaps.Add(u"M1", u"other", nullptr);  // present already, ignored
  EXPECT_EQ(gaps.GetSourceName(u"m1"), u"");
}

TEST(Dictionary, NamesAddedAfterTheProbesCountForTheirBaseOnly) {
  TqbxDictionary dictionary;
  for (const char16_t* name : {u"m1", u"m2", u"m3", u"m5"}) dictionary.Add(name, u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"m"), u"m4");
  for (const char16_t* name : {u"m4", u"m6", u"m7"}) dictionary.Add(name, u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"m"), u"m8");
  // b1 and the probes of b lie outside m's range; m9 inside makes the guess 8, taken, so 8 stays free.
  dictionary.Add(u"m9", u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"b"), u"b1");
  dictionary.Add(u"b1", u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"m"), u"m8");
  dictionary.Add(u"m8", u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"m"), u"m10");
  EXPECT_EQ(dictionary.CreateUniqueName(u"b"), u"b2");
  dictionary.Clear();
  for (const char16_t* name : {u"m1", u"m2", u"m3", u"m4"}) dictionary.Add(name, u"", nullptr);
  EXPECT_EQ(dictionary.CreateUniqueName(u"m"), u"m5");
}

TEST(Dictionary, ManyAliasesOfOneBaseAreNumberedInOrder) {
  TqbxDictionary dictionary;
  for (int i = 1; i <= 20000; ++i) ASSERT_EQ(dictionary.AddUnique(u"m", u"", nullptr), u"m" + IntToStr(i));
  EXPECT_EQ(dictionary.AddUnique(u"b", u"", nullptr), u"b1");
}

TEST_F(PreviewPagesTest, APageUsedTwiceNamesItsPagesAfterTheLatestCopy) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddObject(band);
  EXPECT_EQ(pages.PageItem(0).Name(), u"page0");
  EXPECT_EQ(pages.PageItem(1).Name(), u"page1");
  EXPECT_EQ(band.AliasName(), u"b2");
  EXPECT_EQ(pages.Dictionary.GetSourceName(u"b2"), u"Page1.MasterData1");
  engine.Running = false;
  EXPECT_EQ(pages.GetPage(1)->Child(0).Name(), u"MasterData1");
}

TEST_F(PreviewPagesTest, SourceMemosDropTheirDataField) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"[x]");
  memo.SetDataField(u"NAME");
  pages.AddSourcePage(page);
  auto* copy = dynamic_cast<TqbxMemoView*>(memo.OriginalComponent);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->DataField(), u"");
  EXPECT_EQ(memo.DataField(), u"NAME");
  EXPECT_EQ(copy->BaseName().rfind(u"TqbxMemoView Name=\"Memo1\"", 0), 0u);
  pages.Finish();
  EXPECT_EQ(copy->OriginalComponent, nullptr);
  EXPECT_EQ(pages.SourcePages()[0]->OriginalComponent, nullptr);
}

TEST(PreparedReport, PrepareReportClearsThePreparedPages) {
  RegisterReportClasses();
  RegisterEnginePreviewPages();
  TqbxReport report;
  auto& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
  page.SetName(u"Page1");
  auto* pages = dynamic_cast<TqbxPreviewPages*>(report.PreviewPages());
  ASSERT_NE(pages, nullptr);
  pages->AddSourcePage(page);
  pages->AddPage(page);
  int count_in_run = -1;
  report.Run = [&](TqbxReport& r) {
    count_in_run = r.PreviewPages()->Count();
    return true;
  };
  EXPECT_TRUE(report.PrepareReport());
  EXPECT_EQ(count_in_run, 0);
}

TEST_F(PreviewPagesTest, PageElementsAreUnloadableFromTheThirdOn) {
  pages.AddSourcePage(page);
  for (int i = 0; i < 4; ++i) pages.AddPage(page);
  ASSERT_EQ(pages.Count(), 4);
  EXPECT_FALSE(pages.PageItem(0).Unloadable);
  EXPECT_FALSE(pages.PageItem(1).Unloadable);
  EXPECT_TRUE(pages.PageItem(2).Unloadable);
  EXPECT_TRUE(pages.PageItem(3).Unloadable);
  EXPECT_EQ(pages.CurPage, 3);
}

TEST_F(PreviewPagesTest, WriteOverReentersAnExistingPage) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddPage(page);
  pages.CurPage = 0;
  pages.AddPage(page);  // apWriteOver: back on page 1, nothing appended
  EXPECT_EQ(pages.Count(), 2);
  EXPECT_EQ(pages.CurPage, 1);
  pages.AddPageAction = apAdd;
  pages.CurPage = 0;
  pages.AddPage(page);
  EXPECT_EQ(pages.Count(), 3);
  EXPECT_EQ(pages.CurPage, 2);
}

TEST_F(PreviewPagesTest, SwapFileUnloadsOldPagesAndRebuildsThem) {
  report.EngineOptions()->UseFileCache = true;
  report.EngineOptions()->MaxMemSize = 0;
  report.PreviewOptions()->PagesInCache = 1;
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"");
  pages.AddSourcePage(page);
  for (int i = 0; i < 5; ++i) {
    pages.AddPage(page);
    memo.SetMemoText(u"row " + IntToStr(i));
    pages.AddObject(band);
  }
  EXPECT_TRUE(pages.PageItem(0).Loaded);  // never unloadable
  EXPECT_FALSE(pages.PageItem(2).Loaded);
  // The last two pages stay: the next page start unloads the second-to-last.
  EXPECT_TRUE(pages.PageItem(3).Loaded);
  EXPECT_TRUE(pages.PageItem(4).Loaded);

  engine.Running = false;
  for (int i : {3, 2, 4, 0}) {
    TqbxReportPage* rebuilt = pages.GetPage(i);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(dynamic_cast<TqbxMemoView&>(rebuilt->Child(0).Child(0)).Text(),
              u"row " + IntToStr(i));
  }
  // One page in the cache: the others went back to the swap file.
  EXPECT_EQ(pages.CachedPageCount(), 1);
  EXPECT_FALSE(pages.PageItem(3).Loaded);
}

TEST_F(PreviewPagesTest, CacheKeepsTheLockedPageAndClearCacheSparesIt) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddPage(page);
  engine.Running = false;
  TqbxReportPage* first = pages.GetPage(0);
  pages.LockPage();
  EXPECT_EQ(pages.LockedPage(), first);
  TqbxReportPage* second = pages.GetPage(1);
  EXPECT_NE(second, first);
  EXPECT_EQ(pages.GetPage(0), first);  // cached
  pages.ClearCache();
  EXPECT_EQ(pages.CachedPageCount(), 1);
  pages.UnlockPage();
  pages.ClearCache();
  EXPECT_EQ(pages.CachedPageCount(), 0);
}

TEST_F(PreviewPagesTest, NoPagesGiveNoPageAndPageSizesComeFromTheSource) {
  EXPECT_EQ(pages.GetPage(0), nullptr);
  EXPECT_EQ(pages.GetPageSize(0).X, 0);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddPage(page);
  EXPECT_EQ(pages.GetPageSize(0).X, 794);
  EXPECT_EQ(pages.GetPageSize(0).Y, 1123);
  pages.UpdatePageDimension(1, 400, 3779.53, poPortrait);
  EXPECT_EQ(pages.GetPageSize(1).X, 400);
  EXPECT_EQ(pages.GetPageSize(1).Y, 3780);
  EXPECT_EQ(pages.PageItem(1).GetProp(u"PaperSize"), u"256");
  EXPECT_EQ(pages.GetPageSize(2).X, 0);
  engine.Running = false;
  EXPECT_NEAR(pages.GetPage(1)->PaperHeight(), 1000, 1e-9);
}

TEST_F(PreviewPagesTest, CutAndPasteMoveBandsAndANullBandKeepsItsColumn) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddObject(band);
  const int position = pages.GetCurPosition();
  band.SetBounds(30, 100, 700, 20);
  pages.AddObject(band);
  pages.CutObjects(position);
  EXPECT_EQ(pages.GetCurPosition(), 1);
  pages.PasteObjects(0, 5);
  ASSERT_EQ(pages.GetCurPosition(), 2);
  EXPECT_EQ(pages.PageItem(0).Items(1).GetProp(u"l"), u"0");
  EXPECT_EQ(pages.PageItem(0).Items(1).GetProp(u"t"), u"5");

  // A null band cut at l = 30 and pasted at X = 0 only moves down.
  pages.PageItem(0).Add(u"TqbxNullBand").SetText(u"l=\"30\" t=\"200\"");
  pages.PageItem(0).Add(u"b1").SetText(u"l=\"40\" t=\"220\"");
  pages.CutObjects(2);
  pages.PasteObjects(0, 300);
  EXPECT_EQ(pages.PageItem(0).Items(2).GetProp(u"l"), u"30");
  EXPECT_EQ(pages.PageItem(0).Items(2).GetProp(u"t"), u"300");
  EXPECT_EQ(pages.PageItem(0).Items(3).GetProp(u"l"), u"40");
  EXPECT_EQ(pages.PageItem(0).Items(3).GetProp(u"t"), u"320");
  EXPECT_EQ(pages.XMLDoc.Root().Find(u"cutted"), -1);
  pages.DeleteObjects(1);
  EXPECT_EQ(pages.GetCurPosition(), 1);
}

TEST_F(PreviewPagesTest, LastYIgnoresPageFootersAndOverlays) {
  auto& header = AddBand<TqbxPageHeader>(u"PageHeader1", 0, 20);
  auto& data = AddBand<TqbxMasterData>(u"MasterData1", 20, 30);
  auto& footer = AddBand<TqbxPageFooter>(u"PageFooter1", 1000, 20);
  auto& overlay = AddBand<TqbxOverlay>(u"Overlay1", 0, 1100);
  pages.AddSourcePage(page);
  pages.AddPage(page);
  EXPECT_EQ(pages.GetLastY(), 0);
  pages.AddObject(header);
  pages.AddObject(footer);
  pages.AddObject(overlay);
  EXPECT_EQ(pages.GetLastY(), 20);
  data.SetTop(60);
  pages.AddObject(data);
  EXPECT_EQ(pages.GetLastY(), 90);
  // Only bands in the column (and page headers) count for a column position.
  EXPECT_EQ(pages.GetLastY(350), 20);
  EXPECT_TRUE(pages.BandExists(footer));
  EXPECT_TRUE(pages.BandExists(data));
  pages.DeleteObjects(0);
  EXPECT_FALSE(pages.BandExists(data));
}

TEST_F(PreviewPagesTest, ColumnBookkeepingIsKeptOnThePageElement) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  int column = 7;
  double pos = 1.5;
  pages.GetLastColumnPos(column, pos);
  EXPECT_EQ(column, 7);
  EXPECT_EQ(pos, 1.5);
  pages.UpdatePageLastColumn(2, 150.5, false);
  pages.UpdatePageLastColumn(0, 0, false);  // neither is written without reset
  pages.GetLastColumnPos(column, pos);
  EXPECT_EQ(column, 2);
  EXPECT_EQ(pos, 150.5);
  pages.UpdatePageLastColumn(0, 0, true);
  pages.GetLastColumnPos(column, pos);
  EXPECT_EQ(column, 0);
  EXPECT_EQ(pos, 0);
}

TEST_F(PreviewPagesTest, LogicalPageNumbersRestartAfterAReset) {
  pages.AddSourcePage(page);
  for (int i = 0; i < 3; ++i) pages.AddPage(page);
  pages.ResetLogicalPageNumber();
  pages.AddPage(page);
  pages.AddPage(page);
  pages.ResetLogicalPageNumber();
  const std::vector<std::pair<int, int>> expected{{1, 3}, {2, 3}, {3, 3}, {1, 2}, {2, 2}};
  for (int i = 0; i < 5; ++i) {
    pages.CurPage = i;
    EXPECT_EQ(pages.GetLogicalPageNo(), expected[static_cast<size_t>(i)].first) << i;
    EXPECT_EQ(pages.GetLogicalTotalPages(), expected[static_cast<size_t>(i)].second) << i;
  }
  pages.CurPage = 9;  // no element: counted from FirstPage
  engine.TotalPages = 12;
  EXPECT_EQ(pages.GetLogicalPageNo(), 10);
  EXPECT_EQ(pages.GetLogicalTotalPages(), 12);
}

TEST_F(PreviewPagesTest, AnchorsFindTheLastOfANameIgnoringCase) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddPage(page);
  engine.CurY = 120.5;
  pages.AddAnchor(u"Итог");
  EXPECT_EQ(pages.GetAnchorPage(u"итог"), 2);
  EXPECT_EQ(pages.GetAnchorPage(u"unknown"), 1);
  EXPECT_EQ(pages.FindAnchor(u"ИТОГ")->GetProp(u"top"), u"120");
  engine.CurY = 300;
  pages.AddAnchor(u"later");
  pages.ShiftAnchors(0, 10);
  EXPECT_EQ(pages.FindAnchor(u"later")->GetProp(u"page"), u"2");
  EXPECT_EQ(pages.FindAnchor(u"later")->GetProp(u"top"), u"10");
  EXPECT_EQ(pages.FindAnchor(u"итог")->GetProp(u"page"), u"1");
  EXPECT_EQ(pages.GetAnchorCurPosition(), 1);
  pages.DeleteAnchors(0);
  EXPECT_EQ(pages.FindAnchor(u"later"), nullptr);
  EXPECT_EQ(pages.GetAnchorCurPosition(), 0);
}

TEST_F(PreviewPagesTest, OutlineNestsItemsAndShiftsOneSubtree) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  TqbxCustomOutline& outline = pages.Outline();
  outline.AddItem(u"A", 10);
  outline.AddItem(u"A.1", 20);
  outline.LevelUp();
  outline.LevelUp();
  outline.AddItem(u"B", 30);
  outline.LevelRoot();
  ASSERT_EQ(outline.Count(), 2);
  String text;
  int page_no = 0, top = 0;
  outline.GetItem(1, text, page_no, top);
  EXPECT_EQ(text, u"B");
  outline.LevelDown(0);
  EXPECT_EQ(outline.Count(), 1);
  outline.LevelRoot();
  TqbxXMLItem* first = &pages.XMLDoc.Root().FindItem(u"outline").Items(0);
  outline.ShiftItems(first, 5);
  outline.GetItem(1, text, page_no, top);
  EXPECT_EQ(page_no, 1);
  EXPECT_EQ(top, 5);
  outline.DeleteItems(first);
  EXPECT_EQ(outline.Count(), 1);
}

TEST_F(PreviewPagesTest, SecondPassDiscardsTheFirstPassPages) {
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  pages.AddSourcePage(page);
  pages.BeginPass();
  pages.AddPage(page);
  pages.AddObject(band);
  pages.AddPage(page);
  pages.ClearFirstPassPages();
  EXPECT_EQ(pages.Count(), 0);
  EXPECT_EQ(pages.CurPage, -1);
  pages.AddPage(page);
  pages.AddObject(band);
  pages.BeginPass();
  pages.AddObject(band);
  pages.AddPage(page);
  pages.ClearFirstPassPages();
  EXPECT_EQ(pages.Count(), 1);
  EXPECT_EQ(pages.GetCurPosition(), 1);
}

TEST_F(PreviewPagesTest, FirstOfTwoPassesRecordsOnlyTheBaseDifference) {
  report.EngineOptions()->DoublePass = true;
  engine.FinalPass = false;
  auto& band = AddBand<TqbxMasterData>(u"MasterData1", 10, 20);
  auto& memo = AddMemo(band, u"Memo1", u"x");
  pages.AddSourcePage(page);
  pages.AddPage(page);
  memo.SetMemoText(u"changed");
  memo.SetTop(4);
  pages.AddObject(band);
  EXPECT_EQ(pages.PageItem(0).Items(0).Items(0).Text(), u"t=\"4\"");
}

TEST_F(PreviewPagesTest, ClearEmptiesEverythingAndTheReportOwnsItsPages) {
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddAnchor(u"a");
  pages.Clear();
  EXPECT_EQ(pages.Count(), 0);
  EXPECT_EQ(pages.CurPage, -1);
  EXPECT_TRUE(pages.SourcePages().empty());
  EXPECT_EQ(pages.GetAnchorPage(u"a"), 1);

  RegisterEnginePreviewPages();
  TqbxReport other;
  ASSERT_NE(other.PreviewPages(), nullptr);
  EXPECT_NE(dynamic_cast<TqbxPreviewPages*>(other.PreviewPages()), nullptr);
}

}  // namespace
}  // namespace zavrik::test
