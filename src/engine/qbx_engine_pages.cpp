// The page flow of a report page run: the first page's start, each new page's start with the
// bands reprinted at its top, the page end with summary and footers, and the space left between.
#include <cmath>

#include "core/variant_convert.h"
#include "engine/qbx_engine.h"
#include "report/qbx_preview_pages.h"
#include "report/qbx_report.h"

namespace zavrik {

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

}  // namespace zavrik
