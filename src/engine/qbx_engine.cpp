#include "engine/qbx_engine.h"

#include <cmath>

#include "core/datetime.h"
#include "core/error.h"
#include "core/variant_convert.h"
#include "engine/qbx_engine_data_source.h"
#include "report/qbx_preview_pages.h"
#include "report/qbx_report.h"

namespace zavrik {

namespace {

std::vector<TqbxReportPage*> ReportPages(const TqbxReport& report) {
  std::vector<TqbxReportPage*> pages;
  for (const auto& child : report.Objects())
    if (auto* page = dynamic_cast<TqbxReportPage*>(child.get())) pages.push_back(page);
  return pages;
}

}  // namespace

TqbxEngine::TqbxEngine(TqbxReport& report) : Report(report) {}

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
        // Aggregates: their items are gathered from the page here.
      }
      const bool double_pass = Report.EngineOptions()->DoublePass;
      FinalPass = !double_pass;
      TotalPages = 0;
      Pages().BeginPass();
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
  CurVColumn = 0;
  FLinks.clear();
  HeaderList.clear();
  HBandNamesTree.clear();
  for (TqbxReportPage* page : ReportPages(Report)) {
    Page = page;
    PrepareBands(*page);
  }
  CheckDataSources();
  return Report.Errors.Empty();
}

void TqbxEngine::Finalize() {
  // Objects moved into vertical bands go back to their bands here (vertical bands).
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
  if (failure) std::rethrow_exception(failure);
}

void TqbxEngine::StopReport() { Report.Terminated = true; }

void TqbxEngine::AddAnchor(const String& text) { Pages().AddAnchor(text); }

int TqbxEngine::GetAnchorPage(const String& text) { return Pages().GetAnchorPage(text); }

TqbxPostProcessor& TqbxEngine::GetPostProcessor() { return Pages().PostProcessor(); }

bool TqbxEngine::DoublePass() const { return Report.EngineOptions()->DoublePass; }

// --- report pages

void TqbxEngine::RunReportPages(TqbxReportPage* given_page) {
  FirstReportPage = true;
  auto run_once = [&]() {
    if (given_page) {
      RunReportPage(*given_page);
      FirstReportPage = false;
      return;
    }
    // Subreport pages run from their subreport objects only (subreports).
    for (TqbxReportPage* page : ReportPages(Report)) {
      if (Report.Terminated) break;
      if (!page->Visible()) continue;
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
  // Endless pages get their final size here (endless pages).
  EndPage();
  IsLastPage = false;
  EndOfBand(nullptr, paReportPageFinished);
}

void TqbxEngine::StartFirstPage() {
  HeaderList.clear();
  TqbxBand* title = Page->FindBand(TqbxReportTitle::StaticClass());
  TqbxBand* page_header = Page->FindBand(TqbxPageHeader::StaticClass());
  for (TqbxBand* band : Page->TitleBeforeHeader() ? std::vector{title, page_header}
                                                  : std::vector{page_header, title})
    if (band) HeaderList.push_back({band, 0});
  PageHeight = (Page->PaperHeight() - Page->TopMargin() - Page->BottomMargin()) * kPixelsPerMm;
  PageWidth = (Page->PaperWidth() - Page->LeftMargin() - Page->RightMargin()) * kPixelsPerMm;
  CurX = 0;
  CurY = 0;
  CurColumn = 1;
  PageCurX = 0;
  IsFirstPage = true;
  IsLastPage = false;
  Pages().Outline().LevelRoot();
  if (Page->ResetPageNumbers()) Pages().ResetLogicalPageNumber();

  if (Pages().Count() > 0 && Page->PrintOnPreviousPage()) {
    // Continue on the last prepared page (page columns of the previous page: page breaks).
    Pages().CurPage = Pages().Count() - 1;
    CurY = Pages().GetLastY(0);
    FirstColumnY = CurY;
    RemoveHeader(title);
    FPageBodyTop = CurY;
    if (title && Page->ShowTitleOnPreviousPage()) {
      ShowBand(title);
      FirstColumnY = CurY;
    }
  } else {
    PageStart();
    FirstColumnY = CurY;
  }
  if (FirstReportPage) Pages().FirstPage = Pages().CurPage;
  TqbxBand* column_header = Page->FindBand(TqbxColumnHeader::StaticClass());
  if (column_header) {
    ShowBand(column_header);
    HeaderList.push_back({column_header, PageCurX});
  }
  RemoveHeader(title);
  AddPageOutline();
}

void TqbxEngine::AddPageOutline() {
  if (Page->OutlineText().empty()) return;
  Pages().Outline().LevelRoot();
  Pages().Outline().AddItem(VarToStr(Report.Calc(Page->OutlineText())), 0);
}

bool TqbxEngine::AddBandOutline(TqbxBand& band) {
  if (band.OutlineText().empty() || !band.Visible()) return false;
  const double height = band.Stretched() ? Links(band).StretchedHeight : band.Height();
  const String text = VarToStr(Report.Calc(band.OutlineText()));
  Pages().Outline().AddItem(text, static_cast<int>(std::nearbyint(CurY - height)));
  return true;
}

void TqbxEngine::PageStart() {
  PrevFooterHeight = 0;
  Pages().AddPage(*Page);
  CurY = 0;
  TqbxBand* overlay = Page->FindBand(TqbxOverlay::StaticClass());
  if (overlay && !overlay->PrintOnTop()) {
    ShowBand(overlay);
    CurY = 0;
  }
  FirstColumnY = 0;
  const double saved_x = CurX;
  FInPageStart = true;
  try {
    // Index loop: showing a band may remove items (a report title is printed once).
    for (size_t i = 0; i < HeaderList.size(); ++i) {
      TqbxBand* band = HeaderList[i].Band;
      if (!band || band == StartNewPageBand) continue;
      const bool is_page_header = dynamic_cast<TqbxPageHeader*>(band) != nullptr;
      if (IsFirstPage && is_page_header && !band->PrintOnFirstPage()) {
        if (band->PrintChildIfInvisible()) ShowBand(band->Child());
        continue;
      }
      // Headers kept together with their data (keeping) are decided here.
      if (dynamic_cast<TqbxHeader*>(band) && band == LastBandOnPage) continue;
      CurX = HeaderList[i].Left;
      const int saved_line = CurLine, saved_line_through = CurLineThrough;
      const TqbxBandLinks& links = Links(*band);
      CurLine = links.LineN;
      CurLineThrough = links.LineThrough;
      const bool is_title = dynamic_cast<TqbxReportTitle*>(band) != nullptr;
      if (is_title) HeaderList[i].Band = nullptr;
      ShowBand(band);
      CurLine = saved_line;
      CurLineThrough = saved_line_through;
      if (is_page_header) FirstColumnY = CurY;
      if (is_title && IsFirstBand) TitlePrinted = true;
    }
  } catch (...) {
    FInPageStart = false;
    CurX = saved_x;
    throw;
  }
  FInPageStart = false;
  CurX = saved_x;
  FPageBodyTop = CurY;
}

// Objects placed directly on the page (not in a band) print once per page run at their places.
void TqbxEngine::ShowPageObjects() {
  std::vector<TqbxComponent*> loose;
  for (const auto& child : Page->Objects())
    if (child->IsView()) loose.push_back(child.get());
  if (loose.empty()) return;
  // They are shown through a null band covering the page; they move into it for the output and
  // back to their places on the page afterwards.
  auto& holder = TqbxComponent::CreateIn<TqbxNullBand>(*Page);
  holder.SetBounds(0, 0, PageWidth, GetPageHeight());
  std::vector<int> positions;
  for (TqbxComponent* object : loose) {
    int index = 0;
    while (&Page->Child(index) != object) ++index;
    positions.push_back(index);
  }
  for (TqbxComponent* object : loose) object->SetParent(&holder);
  auto restore = [&]() {
    for (size_t i = 0; i < loose.size(); ++i) {
      loose[i]->SetParent(Page);
      Page->MoveChild(*loose[i], positions[i]);
    }
    holder.Detach();
  };
  const double saved_y = CurY;
  try {
    holder.AlignChildren(false, 0);
    ShowBand(&holder);
  } catch (...) {
    restore();
    CurY = saved_y;
    throw;
  }
  restore();
  CurY = saved_y;
}

// --- page flow

double TqbxEngine::GetPageHeight() {
  if (Page && Page->EndlessHeight()) return FooterHeight() + CurY;
  return PageHeight;
}

double TqbxEngine::HeaderHeight(bool add_reprinted) {
  double result = 0;
  if (!Page) return result;
  for (const ClassInfo* band_class :
       {&TqbxColumnHeader::StaticClass(), &TqbxPageHeader::StaticClass()}) {
    for (TqbxBand* band = Page->FindBand(*band_class); band; band = band->Child())
      result += band->Height();
  }
  if (add_reprinted) {
    for (const TqbxHeaderListItem& item : HeaderList)
      if (item.Band && !dynamic_cast<TqbxPageHeader*>(item.Band) &&
          !dynamic_cast<TqbxColumnHeader*>(item.Band))
        result += item.Band->Height();
  }
  return result;
}

double TqbxEngine::FooterHeight() {
  double result = 0;
  if (!Page) return result;
  if (TqbxBand* band = Page->FindBand(TqbxColumnFooter::StaticClass())) result += band->Height();
  if (TqbxBand* band = Page->FindBand(TqbxPageFooter::StaticClass())) result += band->Height();
  return result;
}

double TqbxEngine::FreeSpace() {
  if (Page && Page->EndlessHeight()) return 1000000;
  if (PrevFooterHeight != 0) return PageHeight - PrevFooterHeight - CurY;
  return PageHeight - FooterHeight() - CurY;
}

void TqbxEngine::NewPage() {
  // Bands kept together are cut here and pasted on the new page (keeping).
  LastBandOnPage = CurBand;
  EndPage();
  PageStart();
  LastBandOnPage = nullptr;
  AddPageOutline();
}

void TqbxEngine::NewColumn() {
  if (CurColumn >= Page->Columns()) {
    NewPage();
    return;
  }
  // Page columns (column footer, next column, reprinted headers): until they are built, a page
  // with several columns breaks to a new page as well.
  NewPage();
}

void TqbxEngine::EndPage() {
  if (!FEndingLastPage) {
    if (TqbxBand* column_footer = Page->FindBand(TqbxColumnFooter::StaticClass())) {
      Stretch(*column_footer);
      if (column_footer->Visible()) {
        column_footer->SetLeft(CurX - PageCurX);
        column_footer->SetTop(CurY);
        Pages().AddObject(*column_footer);
        CurY += column_footer->Height();
      }
      UnStretch(*column_footer);
      EndOfBand(column_footer, paColumnFinished);
    }
  }
  if (!IsLastPage) {
    CurX = PageCurX;
    CurColumn = 1;
  }
  if (IsLastPage && !FEndingLastPage) {
    FEndingLastPage = true;
    try {
      if (TqbxBand* summary = Page->FindBand(TqbxReportSummary::StaticClass()))
        ShowBand(summary);
      else
        EndOfBand(nullptr, paReportFinished);
    } catch (...) {
      FEndingLastPage = false;
      throw;
    }
    FEndingLastPage = false;
  }
  if (TqbxBand* footer = Page->FindBand(TqbxPageFooter::StaticClass())) {
    CurY = GetPageHeight() - footer->Height();
    PrevFooterHeight =
        IsLastPage && footer->PrintOnLastPage() && !FEndingLastPage ? footer->Height() : 0;
    ShowFixedBand(footer);
  }
  TqbxBand* overlay = Page->FindBand(TqbxOverlay::StaticClass());
  if (overlay && overlay->PrintOnTop()) {
    CurY = 0;
    ShowFixedBand(overlay);
  }
  IsFirstPage = false;
}

void TqbxEngine::ShowFixedBand(TqbxBand* band) {
  Stretch(*band);
  try {
    if (band->Visible()) {
      band->SetLeft(0);
      band->SetTop(CurY);
      const bool is_footer = dynamic_cast<TqbxPageFooter*>(band) != nullptr;
      const bool single_page = band->PrintOnSinglePage() && IsFirstPage && IsLastPage;
      const bool left_out = is_footer && !single_page &&
                            ((IsFirstPage && !band->PrintOnFirstPage()) ||
                             (IsLastPage && !band->PrintOnLastPage() && !FEndingLastPage));
      if (left_out) {
        UnStretch(*band);
        return;
      }
      if (FinalPass) band->CreateFillMemo();
      if (!Pages().BandExists(*band)) Pages().AddObject(*band);
      CurY += band->Height();
    }
  } catch (...) {
    UnStretch(*band);
    throw;
  }
  UnStretch(*band);
  EndOfBand(band);
}

void TqbxEngine::EndOfBand(TqbxBand* band, TqbxProcessAtMode mode) {
  // Deferred values of the mode (by the band's class when none is given) are settled here and the
  // aggregates that reset on the band are reset (deferred values, aggregates).
  (void)band;
  (void)mode;
}

void InstallEngine(TqbxReport& report) { report.SetEngine(std::make_unique<TqbxEngine>(report)); }

}  // namespace zavrik
