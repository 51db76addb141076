// The export walk: the prepared pages drive an export filter page by page over the selected
// pages, offering each page's objects; failures end up in the report's error list.
#include <optional>

#include "core/datetime.h"
#include "core/error.h"
#include "core/float_text.h"
#include "engine/pages/qbx_page_selection.h"
#include "engine/pages/qbx_preview_pages.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_export_filter.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/views/qbx_picture_view.h"
#include "report/model/qbx_report.h"

namespace zavrik {
namespace {

template <class T>
bool Is(const TqbxComponent* object) {
  return ComponentAs<T>(object) != nullptr;
}

// Walks the selected pages; one rebuilt page lives at a time.
class ExportWalk {
 public:
  ExportWalk(TqbxPreviewPages& pages, TqbxCustomExportFilter& filter)
      : FPages(pages), FFilter(filter) {}

  // Every selected page, until the report is terminated.
  void ExportPages(const TqbxPageSelection& selection) {
    const int count = FPages.Count();
    for (int index = 0; index < count; ++index) {
      if (selection.Contains(index + 1) && !ExportPage(index, count)) return;
    }
  }

 private:
  // Unlocks the page and drops the rebuilt pages however the page ended.
  struct PageScope {
    TqbxPreviewPages& Pages;
    ~PageScope() {
      Pages.UnlockPage();
      Pages.ClearCache();
    }
  };

  bool ExportPage(int index, int count) {
    TqbxReportPage* page = FPages.GetPage(index);
    if (!page) return true;
    FPages.LockPage();
    PageScope scope{FPages};
    FFilter.StartPage(*page, index);
    bool go_on = true;
    try {
      go_on = OfferPageObjects(*page, index, count);
    } catch (...) {
      FFilter.FinishPage(*page, index);
      throw;
    }
    FFilter.FinishPage(*page, index);
    return go_on;
  }

  bool OfferPageObjects(TqbxReportPage& page, int index, int count) {
    const bool mirrored = page.MirrorMargins() && index % 2 == 1;
    page.SetLeft((mirrored ? page.RightMargin() : page.LeftMargin()) * kPixelsPerMm);
    page.SetTop(page.TopMargin() * kPixelsPerMm);
    // The page background: colour, frame and background picture, stretched to the page less its
    // margins.
    TqbxPictureView background;
    background.SetName(u"_pagebackground");
    background.SetLeft(page.Left());
    background.SetTop(page.Top());
    background.SetWidth(page.Width() - (page.LeftMargin() + page.RightMargin()) * kPixelsPerMm);
    background.SetHeight(page.Height() - (page.TopMargin() + page.BottomMargin()) * kPixelsPerMm);
    background.SetColor(page.Color());
    background.Frame()->Assign(*page.Frame());
    background.Picture()->Assign(*page.BackPicture());
    background.SetStretched(true);
    background.SetKeepAspectRatio(false);
    if (!Offer(background, count)) return false;
    std::vector<TqbxComponent*> bands;
    for (const auto& child : page.Objects()) bands.push_back(child.get());
    for (TqbxComponent* band : bands) {
      if (FFilter.SuppressPageHeadersFooters &&
          ((Is<TqbxPageHeader>(band) && index != 0) ||
           (Is<TqbxPageFooter>(band) && index != count - 1))) {
        continue;
      }
      if (!Offer(*band, count)) return false;
      for (TqbxComponent* object : band->AllObjects()) {
        if (!Offer(*object, count)) return false;
      }
    }
    return true;
  }

  // Offers one object; false when the report was terminated.
  bool Offer(TqbxComponent& object, int count) {
    if (FFilter.DataOnly) {
      const auto* band = ComponentAs<TqbxBand>(object.Parent());
      if (!band || !band->IsDataBand()) return true;
    }
    if (auto* view = ComponentAs<TqbxView>(&object); view && !(view->Visibility() & vsExport))
      return true;
    if (auto* memo = ComponentAs<TqbxCustomMemoView>(&object)) {
      memo->TotalPages = count;
      memo->CopyNo = 1;
      memo->ExtractMacros();
      if (memo->AutoWidth) memo->ApplyAutoWidth();
    }
    if (!object.ExportInternal(FFilter)) FFilter.ExportObject(object);
    return !FPages.Report.Terminated;
  }

  TqbxPreviewPages& FPages;
  TqbxCustomExportFilter& FFilter;
};

}  // namespace

bool TqbxPreviewPages::Export(TqbxCustomExportFilter& filter) {
  PrintCopyNo = 0;
  filter.CreationTime = CurrentDateTime();
  filter.Report = &Report;
  if (filter.OnBeforeExport) filter.OnBeforeExport(filter);
  if (filter.ShowDialog && !filter.ShowModal()) return false;
  // A filter with a Stream writes there; filters open their FileName themselves.
  Report.Terminated = false;
  // Without a preview window the current page is the first one.
  const TqbxPageSelection selection(
      filter.CurPage ? IntToStr(CurPreviewPage + 1) : filter.PageNumbers, Count());

  std::optional<String> failure;
  try {
    if (filter.OnBeginExport) filter.OnBeginExport(filter);
    filter.BeforeStart();
    if (!filter.Start()) return false;
    ExportWalk walk(*this, filter);
    try {
      walk.ExportPages(selection);  // Finish also runs after a terminated or failed page loop
    } catch (const Error& e) {
      failure = e.Message();
    }
    try {
      filter.Finish();
      filter.AfterFinish();
    } catch (const Error& e) {
      if (!failure)
        failure = e.Message();
      else
        Report.Errors.Add(e.Message());
    }
  } catch (const Error& e) {
    failure = e.Message();
  }
  if (!failure) return true;
  Report.Errors.Add(*failure);
  Report.ShowErrors();
  return false;
}

}  // namespace zavrik
