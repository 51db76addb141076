// Subreports: a subreport object on a band runs its report page's data bands at its place after
// the band is output, or, printed on its parent, into the band while it is evaluated. Subreport
// pages never run on their own; a subreport without a page or one whose page leads back to itself
// gets a message instead of a run.
#include <algorithm>
#include <tuple>

#include "engine/run/qbx_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"
#include "report/model/views/qbx_subreport_view.h"

namespace zavrik {

namespace {

std::vector<TqbxSubreport*> SubreportsOn(const TqbxComponent& container) {
  std::vector<TqbxSubreport*> result;
  for (TqbxComponent* object : container.AllObjects())
    if (auto* subreport = ComponentAs<TqbxSubreport>(object)) result.push_back(subreport);
  return result;
}

}  // namespace

void TqbxEngine::CheckSubreports() {
  FSubreportPages.clear();
  FBrokenSubreports.clear();
  FSubreportParents.clear();
  // Which report pages each page's subreports run.
  std::unordered_map<const TqbxReportPage*, std::vector<const TqbxReportPage*>> runs;
  std::vector<std::pair<TqbxReportPage*, TqbxSubreport*>> all;
  for (const auto& child : Report.Objects()) {
    auto* page = dynamic_cast<TqbxReportPage*>(child.get());
    if (!page) continue;
    for (TqbxSubreport* subreport : SubreportsOn(*page)) {
      all.emplace_back(page, subreport);
      if (subreport->PrintOnParent() && subreport->Parent())
        FSubreportParents.insert(subreport->Parent());
      if (!subreport->Page()) continue;
      runs[page].push_back(subreport->Page());
      // A page that only names itself still runs as a page of its own.
      if (subreport->Page() != page) FSubreportPages.insert(subreport->Page());
    }
  }
  // Whether `to` runs, directly or through further subreports, from `from`.
  auto leads_to = [&](const TqbxReportPage* from, const TqbxReportPage* to) {
    std::vector<const TqbxReportPage*> pending{from};
    std::unordered_set<const TqbxReportPage*> seen;
    while (!pending.empty()) {
      const TqbxReportPage* page = pending.back();
      pending.pop_back();
      if (page == to) return true;
      if (!seen.insert(page).second) continue;
      const auto it = runs.find(page);
      if (it != runs.end()) pending.insert(pending.end(), it->second.begin(), it->second.end());
    }
    return false;
  };
  for (const auto& [page, subreport] : all) {
    if (!subreport->Page()) {
      Report.Errors.Add(u"Подотчет " + subreport->Name() + u": не указана страница");
      FBrokenSubreports.insert(subreport);
    } else if (leads_to(subreport->Page(), page)) {
      Report.Errors.Add(u"Подотчет " + subreport->Name() + u" ссылается на свою страницу " +
                        subreport->Page()->Name());
      FBrokenSubreports.insert(subreport);
    }
  }
}

bool TqbxEngine::IsSubreportPage(const TqbxReportPage& page) const {
  return FSubreportPages.count(&page) != 0;
}

void TqbxEngine::RunSubreports(TqbxBand& band, int band_page, double band_top) {
  std::vector<TqbxSubreport*> subreports;
  for (const auto& child : band.Objects()) {
    auto* subreport = ComponentAs<TqbxSubreport>(child.get());
    if (subreport && subreport->Visible() && subreport->Page() && !subreport->PrintOnParent() &&
        !FBrokenSubreports.count(subreport))
      subreports.push_back(subreport);
  }
  if (subreports.empty()) return;
  const int start_column = CurColumn;
  const double column_x = CurX;
  // The furthest end reached: page, column, y.
  std::tuple<int, int, double> end{Pages().CurPage, CurColumn, CurY};
  int page = band_page;
  double top = band_top;
  for (TqbxSubreport* subreport : subreports) {
    if (Report.Terminated) break;
    Pages().CurPage = page;
    CurColumn = start_column;
    CurX = column_x + subreport->Left();
    CurY = top + subreport->Top();
    SubSavePageN = -1;
    SubSaveCurY = -1;
    RunDataBands(*subreport->Page());
    if (SubSavePageN != -1) {
      // A keep moved the band's run to a new page: the next subreport starts there.
      page = SubSavePageN;
      top = SubSaveCurY;
    }
    end = std::max(end, std::make_tuple(Pages().CurPage, CurColumn, CurY));
  }
  Pages().CurPage = std::get<0>(end);
  CurColumn = std::get<1>(end);
  CurY = std::get<2>(end);
  CurX = CurColumn == start_column ? column_x : PageCurX + ColumnLeft(CurColumn);
}

void TqbxEngine::RunSubreportsOnParent(TqbxComponent& container) {
  if (!FSubreportParents.count(&container)) return;
  std::vector<TqbxSubreport*> subreports;
  for (const auto& child : container.Objects()) {
    auto* subreport = dynamic_cast<TqbxSubreport*>(child.get());
    if (subreport && subreport->Visible() && subreport->Page() && subreport->PrintOnParent() &&
        !FBrokenSubreports.count(subreport))
      subreports.push_back(subreport);
  }
  if (subreports.empty()) return;
  // Nested subreports collect into the outermost band, at the place their parent is copied to.
  const bool outermost = OutputTo == nullptr;
  std::unique_ptr<TqbxNullBand> collection;
  if (outermost) collection = std::make_unique<TqbxNullBand>();
  TqbxBand* const saved_output = OutputTo;
  const double saved_x = CurX, saved_y = CurY;
  const int saved_page = Pages().CurPage;
  const bool saved_keep_footer = KeepFooter;
  TqbxBand* const saved_band = CurBand;
  const double base_x = outermost ? 0 : CurX, base_y = outermost ? 0 : CurY;
  auto restore = [&]() {
    OutputTo = saved_output;
    CurX = saved_x;
    CurY = saved_y;
    Pages().CurPage = saved_page;
    KeepFooter = saved_keep_footer;
    CurBand = saved_band;
  };
  try {
    for (TqbxSubreport* subreport : subreports) {
      if (Report.Terminated) break;
      OutputTo = outermost ? collection.get() : saved_output;
      CurX = base_x + subreport->Left();
      CurY = base_y + subreport->Top();
      RunDataBands(*subreport->Page());
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
  if (!outermost) return;
  // Every view collected moves into the container at its place within the collection.
  auto* component = dynamic_cast<TqbxReportComponent*>(&container);
  if (component && component->OriginalObjectsCount == -1)
    component->OriginalObjectsCount = container.Count();
  double bottom = container.Height();
  while (collection->Count() > 0) {
    std::unique_ptr<TqbxComponent> band = collection->Objects().front()->Detach();
    while (band->Count() > 0) {
      std::unique_ptr<TqbxComponent> object = band->Child(0).Detach();
      if (!object->IsView() || dynamic_cast<TqbxSubreport*>(object.get())) continue;
      object->SetLeft(band->Left() + object->Left());
      object->SetTop(band->Top() + object->Top());
      if (auto* stretcheable = dynamic_cast<TqbxStretcheable*>(object.get())) {
        stretcheable->SetStretchMode(smDontStretch);
        stretcheable->SetCanShrink(false);
      }
      bottom = std::max(bottom, object->Top() + object->Height());
      container.AddChild(std::move(object));
    }
  }
  container.SetHeight(bottom);
}

void TqbxEngine::CopyToOutput(TqbxBand& band) {
  std::unique_ptr<TqbxComponent> copy = PrintedCopyOf(band);
  copy->SetLeft(CurX);
  copy->SetTop(CurY);
  OutputTo->AddChild(std::move(copy));
}

}  // namespace zavrik
