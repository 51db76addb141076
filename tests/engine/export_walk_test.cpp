// The export walk over prepared pages: call order, page selection, offered objects, and failures
// reported through the report while the filter still finishes.
#include <gtest/gtest.h>

#include "engine/pages/qbx_page_selection.h"
#include "preview_fixture.h"
#include "report/model/qbx_export_filter.h"

namespace zavrik::test {
namespace {

// Records every call as text; throws from ExportObject on the named object.
class RecordingFilter : public TqbxCustomExportFilter {
 public:
  RecordingFilter() { ShowDialog = false; }
  bool Start() override {
    Calls.push_back(u"Start");
    return StartResult;
  }
  void Finish() override { Calls.push_back(u"Finish"); }
  void AfterFinish() override { Calls.push_back(u"AfterFinish"); }
  String GetDescription() const override { return u"test"; }
  void ExportObject(TqbxComponent& object) override {
    String call = u"Object " + object.Name();
    if (auto* memo = dynamic_cast<TqbxMemoView*>(&object)) call += u"=" + memo->Text();
    Calls.push_back(call);
    if (object.Name() == FailOn) throw Error(u"cannot write " + object.Name());
  }
  void StartPage(TqbxReportPage& page, int index) override {
    Calls.push_back(u"StartPage " + IntToStr(index));
    Locked = dynamic_cast<TqbxPreviewPages*>(Report->PreviewPages())->LockedPage() == &page;
  }
  void FinishPage(TqbxReportPage& page, int index) override {
    Calls.push_back(u"FinishPage " + IntToStr(index) + u" at " + FloatText(page.Left()));
  }

  std::vector<String> Calls;
  String FailOn;
  bool StartResult = true;
  bool Locked = false;
};

class ExportWalkTest : public PreviewPagesTest {
 protected:
  // Three pages: a page header, a data band with a memo showing the row, and a page footer.
  void PreparePages(int count = 3) {
    page.SetLeftMargin(10);
    auto& header = AddBand<TqbxPageHeader>(u"Head", 0, 20);
    auto& data = AddBand<TqbxMasterData>(u"Data", 20, 20);
    auto& memo = AddMemo(data, u"Cell", u"");
    auto& footer = AddBand<TqbxPageFooter>(u"Foot", 1000, 20);
    pages.AddSourcePage(page);
    for (int i = 0; i < count; ++i) {
      pages.AddPage(page);
      pages.AddObject(header);
      memo.SetMemoText(u"row" + IntToStr(i + 1) + u" of [TOTALPAGES#]");
      pages.AddObject(data);
      pages.AddObject(footer);
    }
    engine.Running = false;
    pages.Finish();
  }
  bool Export() { return report.Export(filter); }
  std::vector<String> CallsStartingWith(StringView prefix) const {
    std::vector<String> found;
    for (const String& call : filter.Calls) {
      if (call.starts_with(prefix)) found.push_back(call);
    }
    return found;
  }

  RecordingFilter filter;
};

TEST_F(ExportWalkTest, CallsComeInProtocolOrderForTheSelectedPages) {
  PreparePages();
  filter.PageNumbers = u" 1, 3";
  ASSERT_TRUE(Export());
  const std::vector<String> expected{u"Start",
                                     u"StartPage 0",
                                     u"Object _pagebackground",
                                     u"Object Head",
                                     u"Object Data",
                                     u"Object Cell=row1 of 3",
                                     u"Object Foot",
                                     u"FinishPage 0 at 37.7953",
                                     u"StartPage 2",
                                     u"Object _pagebackground",
                                     u"Object Head",
                                     u"Object Data",
                                     u"Object Cell=row3 of 3",
                                     u"Object Foot",
                                     u"FinishPage 2 at 37.7953",
                                     u"Finish",
                                     u"AfterFinish"};
  EXPECT_EQ(filter.Calls, expected);
  EXPECT_TRUE(filter.Locked);
  EXPECT_EQ(pages.CachedPageCount(), 0);
  EXPECT_EQ(pages.LockedPage(), nullptr);
}

TEST_F(ExportWalkTest, SuppressedHeadersAndFootersAppearOnlyOnTheFirstAndLastPage) {
  PreparePages();
  filter.SuppressPageHeadersFooters = true;
  ASSERT_TRUE(Export());
  EXPECT_EQ(CallsStartingWith(u"Object Head").size(), 1u);
  EXPECT_EQ(CallsStartingWith(u"Object Foot").size(), 1u);
  EXPECT_EQ(filter.Calls[2], u"Object _pagebackground");
  EXPECT_EQ(filter.Calls[3], u"Object Head");
  EXPECT_EQ(filter.Calls[filter.Calls.size() - 4], u"Object Foot");
}

TEST_F(ExportWalkTest, DataOnlyOffersOnlyObjectsOnDataBands) {
  PreparePages(1);
  filter.DataOnly = true;
  ASSERT_TRUE(Export());
  EXPECT_EQ(CallsStartingWith(u"Object"), (std::vector<String>{u"Object Cell=row1 of 1"}));
}

TEST_F(ExportWalkTest, AFailingObjectStillFinishesThePageAndTheDocument) {
  PreparePages();
  filter.FailOn = u"Cell";
  EXPECT_FALSE(Export());
  const std::vector<String> expected{u"Start",
                                     u"StartPage 0",
                                     u"Object _pagebackground",
                                     u"Object Head",
                                     u"Object Data",
                                     u"Object Cell=row1 of 3",
                                     u"FinishPage 0 at 37.7953",
                                     u"Finish",
                                     u"AfterFinish"};
  EXPECT_EQ(filter.Calls, expected);
  EXPECT_NE(report.Errors.Text().find(u"cannot write Cell"), String::npos);
  EXPECT_EQ(pages.CachedPageCount(), 0);
  EXPECT_EQ(pages.LockedPage(), nullptr);
}

TEST_F(ExportWalkTest, ErrorsReachTheErrorHandlerWithTheHeading) {
  PreparePages(1);
  report.EngineOptions()->NewSilentMode = simReThrow;
  filter.FailOn = u"Head";
  try {
    Export();
    FAIL() << "the error handler should have raised";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message().rfind(u"Были обнаружены следующие ошибки:\r\n", 0), 0u);
    EXPECT_NE(e.Message().find(u"cannot write Head"), String::npos);
  }
  EXPECT_EQ(filter.Calls.back(), u"AfterFinish");
}

TEST_F(ExportWalkTest, AFilterThatDoesNotStartGetsNoPagesAndNoFinish) {
  PreparePages(1);
  filter.StartResult = false;
  EXPECT_FALSE(Export());
  EXPECT_EQ(filter.Calls, (std::vector<String>{u"Start"}));
}

TEST_F(ExportWalkTest, TerminatingTheReportEndsThePageLoopButFinishes) {
  PreparePages();
  filter.OnBeginExport = [](TqbxCustomExportFilter&) {};
  struct Terminator : RecordingFilter {
    void ExportObject(TqbxComponent& object) override {
      RecordingFilter::ExportObject(object);
      Report->Terminated = true;
    }
  } terminating;
  EXPECT_TRUE(report.Export(terminating));
  EXPECT_EQ(terminating.Calls,
            (std::vector<String>{u"Start", u"StartPage 0", u"Object _pagebackground",
                                 u"FinishPage 0 at 37.7953", u"Finish", u"AfterFinish"}));
}

TEST_F(ExportWalkTest, CurrentPageOnlyExportsTheFirstPage) {
  PreparePages();
  filter.CurPage = true;
  filter.PageNumbers = u"2-3";  // not used
  ASSERT_TRUE(Export());
  EXPECT_EQ(CallsStartingWith(u"StartPage"), (std::vector<String>{u"StartPage 0"}));
}

TEST_F(ExportWalkTest, MirrorMarginsPlaceOddPagesAtTheRightMargin) {
  page.SetRightMargin(20);
  TqbxXMLSerializer().XMLToObj(u"MirrorMargins=\"True\"", page);
  ASSERT_TRUE(page.MirrorMargins());
  PreparePages(2);
  ASSERT_TRUE(Export());
  EXPECT_EQ(CallsStartingWith(u"FinishPage"),
            (std::vector<String>{u"FinishPage 0 at 37.7953", u"FinishPage 1 at 75.5906"}));
}

TEST_F(ExportWalkTest, AutoWidthMemosAreMeasuredBeforeExport) {
  auto& band = AddBand<TqbxMasterData>(u"Data", 20, 20);
  auto& memo = AddMemo(band, u"Wide", u"WWWWWWWWWWWWWWWWWWWW");
  memo.SetWidth(5);
  memo.AutoWidth = true;
  pages.AddSourcePage(page);
  pages.AddPage(page);
  pages.AddObject(band);
  engine.Running = false;
  struct WidthFilter : RecordingFilter {
    void ExportObject(TqbxComponent& object) override {
      if (object.Name() == u"Wide") Width = object.Width();
    }
    double Width = 0;
  } measuring;
  ASSERT_TRUE(report.Export(measuring));
  EXPECT_GT(measuring.Width, 100);
  EXPECT_EQ(memo.Width(), 5);  // the template is untouched
}

TEST_F(ExportWalkTest, APageWithoutSourceIsReportedAndTheDocumentFinished) {
  TqbxReportPage unregistered;
  pages.AddPage(unregistered);  // recorded as "page-1"
  engine.Running = false;
  EXPECT_FALSE(Export());
  EXPECT_EQ(filter.Calls, (std::vector<String>{u"Start", u"Finish", u"AfterFinish"}));
  EXPECT_NE(report.Errors.Text().find(u"page-1 has no source page"), String::npos);
}

TEST_F(ExportWalkTest, ACancelledDialogExportsNothing) {
  PreparePages(1);
  struct Cancelling : RecordingFilter {
    bool ShowModal() override { return false; }
  } cancelling;
  cancelling.ShowDialog = true;
  EXPECT_FALSE(report.Export(cancelling));
  EXPECT_TRUE(cancelling.Calls.empty());
  cancelling.ShowDialog = false;
  EXPECT_TRUE(report.Export(cancelling));
}

TEST_F(ExportWalkTest, NoPreparedPagesStillStartAndFinish) {
  engine.Running = false;
  ASSERT_TRUE(Export());
  EXPECT_EQ(filter.Calls, (std::vector<String>{u"Start", u"Finish", u"AfterFinish"}));
}

std::set<int> Selected(StringView text, int count) {
  return TqbxPageSelection(text, count).Pages();
}

TEST(PageSelection, NumbersRangesAndOpenEnds) {
  EXPECT_TRUE(TqbxPageSelection(u"", 5).All());
  EXPECT_TRUE(TqbxPageSelection(u"  ", 5).Contains(4));
  EXPECT_EQ(Selected(u"1,3-5", 9), (std::set<int>{1, 3, 4, 5}));
  EXPECT_EQ(Selected(u"4-", 6), (std::set<int>{4, 5, 6}));
  EXPECT_EQ(Selected(u"5-3", 9), (std::set<int>{}));
  EXPECT_EQ(Selected(u" 2 , 1 - 2 ", 9), (std::set<int>{1, 2}));
  EXPECT_EQ(Selected(u"2-1000000000", 3), (std::set<int>{2, 3}));
  EXPECT_FALSE(TqbxPageSelection(u"5-3", 9).Contains(4));
  EXPECT_THROW(TqbxPageSelection(u"1,x", 3), Error);
}

}  // namespace
}  // namespace zavrik::test
