#include "engine/run/qbx_engine.h"

#include <cmath>

#include "core/datetime.h"
#include "core/error.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

std::vector<TqbxReportPage*> ReportPages(const TqbxReport& report) {
  std::vector<TqbxReportPage*> pages;
  for (const auto& child : report.Objects())
    if (auto* page = dynamic_cast<TqbxReportPage*>(child.get())) pages.push_back(page);
  return pages;
}

}  // namespace

TqbxEngine::TqbxEngine(TqbxReport& report) : Report(report), Aggregates(report) {
  Aggregates.OriginalBands = &FOriginalBands;
}

TqbxEngine::~TqbxEngine() = default;

TqbxCustomPreviewPages& TqbxEngine::Pages() const {
  TqbxCustomPreviewPages* pages = Report.PreviewPages();
  if (!pages) throw Error(u"Prepared pages are not available");
  return *pages;
}

// --- run

bool TqbxEngine::Run(bool run_dialogs, bool, TqbxReportPage* page) {
  bool result = Initialize();
  if (result) {
    for (const String& message : FLayoutMessages) Report.Errors.Add(message);
    CheckSubreports();
    try {
      Report.DataSets().Initialize(&Report);
      Report.DoNotifyEvent(&Report, Report.OnStartReport);
      // Dialog pages (run_dialogs): this program has no user interface; the run goes on as if
      // every dialog were confirmed.
      (void)run_dialogs;
      for (TqbxReportPage* source :
           page ? std::vector<TqbxReportPage*>{page} : ReportPages(Report)) {
        Page = source;
        Pages().AddSourcePage(*source);
        AddAggregateItems(*source);
      }
      const bool double_pass = Report.EngineOptions()->DoublePass;
      FinalPass = !double_pass;
      TotalPages = 0;
      Pages().BeginPass();
      Pages().PostProcessor().BeginPass();
      int last_column = 0;
      double last_column_pos = 0;
      if (double_pass && Pages().Count() > 0)
        Pages().GetLastColumnPos(last_column, last_column_pos);
      RunReportPages(page);
      if (double_pass && !Report.Terminated) {
        TotalPages = Pages().Count();
        Pages().CurPage = Pages().Count() - 1;
        Pages().ClearFirstPassPages();
        if (Pages().CurPage >= 0) Pages().UpdatePageLastColumn(last_column, last_column_pos, true);
        Aggregates.ClearValues();
        Pages().PostProcessor().BeginPass();
        FinalPass = true;
        RunReportPages(page);
      }
    } catch (...) {
      try {
        Report.DoNotifyEvent(&Report, Report.OnStopReport);
      } catch (...) {
      }
      Finalize();
      throw;
    }
    Report.DoNotifyEvent(&Report, Report.OnStopReport);
  }
  Finalize();
  return result;
}

bool TqbxEngine::Initialize() {
  PrevFooterHeight = 0;
  TqbxCustomPreviewPages& pages = Pages();
  pages.Engine = this;
  pages.Initialize();
  pages.AddPageAction = apAdd;
  const double now = CurrentDateTime();
  StartDate = std::floor(now);
  StartTime = now - StartDate;
  Running = true;
  Report.EngineRunning = true;
  Keeping = false;
  KeepBand = nullptr;
  KeepHeader = KeepFooter = false;
  KeepCurY = 0;
  CurVColumn = 0;
  VMasterBand = nullptr;
  OutputTo = nullptr;
  Aggregates.Clear();
  FLinks.clear();
  HeaderList.clear();
  HBandNamesTree.clear();
  FLayoutMessages.clear();
  for (TqbxReportPage* page : ReportPages(Report)) {
    Page = page;
    PrepareBands(*page, false);
    PrepareBands(*page, true);
  }
  CheckDataSources();
  return Report.Errors.Empty();
}

void TqbxEngine::Finalize() {
  RestoreVerticalCells();
  std::exception_ptr failure;
  try {
    Report.DataSets().Finalize();
  } catch (...) {
    failure = std::current_exception();
  }
  Running = false;
  Report.EngineRunning = false;
  if (TqbxCustomPreviewPages* pages = Report.PreviewPages()) pages->Finish();
  FLinks.clear();
  HeaderList.clear();
  CurBand = nullptr;
  KeepBand = nullptr;
  KeepOutline = nullptr;
  if (failure) std::rethrow_exception(failure);
}

void TqbxEngine::StopReport() {
  if (!Running) NotRunning();
  Report.Terminated = true;
}

void TqbxEngine::AddAnchor(const String& text) {
  if (!Running) NotRunning();
  Pages().AddAnchor(text);
}

int TqbxEngine::GetAnchorPage(const String& text) { return Pages().GetAnchorPage(text); }

TqbxPostProcessor& TqbxEngine::GetPostProcessor() { return Pages().PostProcessor(); }

void TqbxEngine::ProcessObject(TqbxComponent* object) {
  if (!Running) NotRunning();
  auto* view = dynamic_cast<TqbxView*>(object);
  if (view && view->Processing()->ProcessAt == paCustom)
    Pages().PostProcessor().ProcessObject(Report, *view);
}

bool TqbxEngine::DoublePass() const { return Report.EngineOptions()->DoublePass; }

Variant TqbxEngine::GetAggregateValue(const String& name, const String& expression,
                                      TqbxComponent* band, int flags) {
  return Aggregates.GetValue(CurBand, CurVColumn, name, expression, band, flags);
}

void TqbxEngine::AddAggregateItems(TqbxReportPage& page) {
  std::vector<TqbxAggregateList::Visit> visits;
  // Each data band of a tree: its footer and the footers of its groups total it by default; a
  // vertical data band also totals its own cells (calls from horizontal footers).
  const auto visit_tree = [&](const std::vector<TqbxDataBand*>& roots, bool own_cells) {
    std::vector<TqbxDataBand*> pending(roots.rbegin(), roots.rend());
    while (!pending.empty()) {
      TqbxDataBand* band = pending.back();
      pending.pop_back();
      const TqbxBandLinks& links = Links(*band);
      visits.push_back({links.Footer, band});
      for (TqbxGroupHeader* header : GroupChain(*band)) visits.push_back({Links(*header).Footer, band});
      if (own_cells) visits.push_back({band, band});
      pending.insert(pending.end(), links.SubBands.rbegin(), links.SubBands.rend());
    }
  };
  visit_tree(Links(page).SubBands, false);
  visit_tree(Links(page).VSubBands, true);
  if (!Links(page).SubBands.empty()) {
    TqbxBand* first = Links(page).SubBands.front();
    for (const ClassInfo* band_class : {&TqbxPageFooter::StaticClass(),
                                        &TqbxColumnFooter::StaticClass(),
                                        &TqbxReportSummary::StaticClass()})
      visits.push_back({page.FindBand(*band_class), first});
  }
  Aggregates.AddItems(visits);
}

// --- report pages

void TqbxEngine::RunReportPages(TqbxReportPage* given_page) {
  FirstReportPage = true;
  auto run_once = [&]() {
    if (given_page) {
      RunReportPage(*given_page);
      FirstReportPage = false;
      return;
    }
    // Subreport pages run from their subreport objects only.
    for (TqbxReportPage* page : ReportPages(Report)) {
      if (Report.Terminated) break;
      if (!page->Visible() || IsSubreportPage(*page)) continue;
      RunReportPage(*page);
      FirstReportPage = false;
    }
  };
  TqbxEngineDataSource records(Report.DataSet());
  if (records.Exists()) {
    for (records.First(); !records.Eof() && !Report.Terminated; records.Next()) run_once();
  } else {
    run_once();
  }
}

void TqbxEngine::RunReportPage(TqbxReportPage& page) {
  Page = &page;
  IsFirstBand = true;
  Report.DoNotifyEvent(&page, page.OnBeforePrint());
  TqbxEngineDataSource records(page.DataSet());
  if (records.Exists()) {
    for (records.First(); !records.Eof() && !Report.Terminated; records.Next()) RunPageOnce(page);
  } else {
    for (int i = 0; i < page.PageCount() && !Report.Terminated; ++i) RunPageOnce(page);
  }
  Report.DoNotifyEvent(&page, page.OnAfterPrint());
}

void TqbxEngine::RunPageOnce(TqbxReportPage& page) {
  if (!HasData(page, false) && !(page.PrintIfEmpty() && Report.EngineOptions()->PrintIfEmpty))
    return;
  StartFirstPage();
  ShowPageObjects();
  if (!page.OnManualBuild().empty())
    Report.DoNotifyEvent(&page, page.OnManualBuild());
  else
    RunDataBands(page);
  IsLastPage = true;
  EndPage();
  UpdateEndlessPage(true);
  IsLastPage = false;
  EndOfBand(nullptr, paReportPageFinished);
}

void InstallEngine(TqbxReport& report) { report.SetEngine(std::make_unique<TqbxEngine>(report)); }

}  // namespace zavrik
