// The page flow of a report page run: the first page's start, each new page's start with the
// bands reprinted at its top, the page end with summary and footers, and the space left between.
#include <cmath>

#include "core/variant_convert.h"
#include "engine/run/qbx_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

void TqbxEngine::StartFirstPage() {
  HeaderList.clear();
  TqbxBand* title = Page->FindBand(TqbxReportTitle::StaticClass());
  TqbxBand* page_header = Page->FindBand(TqbxPageHeader::StaticClass());
  for (TqbxBand* band : Page->TitleBeforeHeader() ? std::vector{title, page_header}
                                                  : std::vector{page_header, title})
    if (band) HeaderList.push_back({band, 0, false});
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
    // Continue on the last prepared page, in the column where the previous page template ended.
    Pages().CurPage = Pages().Count() - 1;
    int column = 0;
    double column_x = 0;
    Pages().GetLastColumnPos(column, column_x);
    const bool show_title = title && Page->ShowTitleOnPreviousPage();
    if (Page->Columns() < 2 || show_title) {
      column = 0;
      column_x = 0;
    }
    CurX = column_x;
    CurY = Pages().GetLastY(CurX);
    if (column != 0) CurColumn = column;
    FirstColumnY = CurY;
    RemoveHeader(title);
    FPageBodyTop = CurY;
    if (show_title) {
      // A title that does not fit starts a new page, not a new column.
      CurColumn = Page->Columns();
      try {
        ShowBand(title);
      } catch (...) {
        CurColumn = 1;
        throw;
      }
      CurColumn = 1;
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
    HeaderList.push_back({column_header, PageCurX, false});
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
  if (band.OutlineText().empty() || !band.Visible() || band.Vertical() || OutputTo) return false;
  const double height = band.Stretched() ? Links(band).StretchedHeight : band.Height();
  const String text = VarToStr(Report.Calc(band.OutlineText()));
  Pages().Outline().AddItem(text, static_cast<int>(std::nearbyint(CurY - height)));
  return true;
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

void TqbxEngine::EndPage() {
  if (!FEndingLastPage) ShowColumnFooter();
  if (!IsLastPage) {
    CurX = PageCurX;
    CurColumn = 1;
  }
  if (Page->Columns() > 1) Pages().UpdatePageLastColumn(CurColumn, CurX, false);
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
  FEndlessBottom = GetPageHeight();
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

void TqbxEngine::UpdateEndlessPage(bool source_page_too) {
  if (!Page->EndlessHeight() && !Page->EndlessWidth()) return;
  const double width = Page->EndlessWidth()
                           ? PageWidth + (Page->LeftMargin() + Page->RightMargin()) * kPixelsPerMm
                           : Page->PaperWidth() * kPixelsPerMm;
  const double height =
      Page->EndlessHeight()
          ? FEndlessBottom + (Page->TopMargin() + Page->BottomMargin()) * kPixelsPerMm
          : Page->PaperHeight() * kPixelsPerMm;
  // Each page element gets its own size: pages of one source page differ in height.
  Pages().UpdatePageDimension(Pages().CurPage, width, height, Page->Orientation());
  if (source_page_too) Pages().UpdatePageDimensions(*Page, width, height);
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
  if (LockResetAggregates) return;
  if (mode == paDefault && band) {
    if (ComponentAs<TqbxGroupFooter>(band))
      mode = paGroupFinished;
    else if (ComponentAs<TqbxFooter>(band))
      mode = paDataFinished;
    else if (ComponentAs<TqbxPageFooter>(band))
      mode = paPageFinished;
    else if (ComponentAs<TqbxReportSummary>(band))
      mode = paReportPageFinished;
  }
  if (mode != paDefault) {
    // Deferred values see the band that settles them as the band being printed.
    TqbxBand* const saved = CurBand;
    CurBand = band;
    try {
      Pages().PostProcessor().ProcessExpressions(Report, band, mode);
    } catch (...) {
      CurBand = saved;
      throw;
    }
    CurBand = saved;
  }
  if (band) Aggregates.Reset(band);
}

}  // namespace zavrik
