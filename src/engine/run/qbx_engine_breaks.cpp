// Page and column breaks: the start of a new page or column with the bands printed again at its
// top, and the run of bands kept together that moves along with the break.
#include <cmath>

#include "core/number_parse.h"
#include "core/restore.h"
#include "engine/run/qbx_engine.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

template <class T>
bool Is(const TqbxBand* band) {
  return ComponentAs<T>(band) != nullptr;
}

// The left edge of page column `column` (from 1): its entry of ColumnPositions (millimetres as
// decimal text), or the column width times the columns before it.
double ColumnPosition(const TqbxReportPage& page, int column) {
  const std::vector<String>& positions = page.ColumnPositions()->Lines();
  if (column >= 1 && static_cast<size_t>(column) <= positions.size()) {
    String text = Trim(positions[static_cast<size_t>(column - 1)]);
    for (char16_t& c : text)
      if (c == u'.') c = u',';
    if (const std::optional<double> mm = ParseFloat(text)) return *mm * kPixelsPerMm;
  }
  return (column - 1) * page.ColumnWidth() * kPixelsPerMm;
}

}  // namespace

// --- page start

bool TqbxEngine::ReprintsAtPageStart(const TqbxHeaderListItem& item) {
  TqbxBand* band = item.Band;
  bool print;
  if (KeepHeader && KeepBand && band == Links(*KeepBand).Header)
    print = KeepFooter;
  else
    print = !item.IsInKeepList || !Keeping || KeepFooter;
  if (DontShowHeaders && (Is<TqbxHeader>(band) || Is<TqbxGroupHeader>(band))) print = false;
  if (Is<TqbxHeader>(band) && band == LastBandOnPage) print = false;
  return print;
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
  {
    Restore<bool> in_page_start(FInPageStart, true);
    Restore<double> x(CurX, CurX);
    // Index loop: showing a band may remove items (a report title is printed once).
    for (size_t i = 0; i < HeaderList.size(); ++i) {
      TqbxBand* band = HeaderList[i].Band;
      if (!band || band == StartNewPageBand) continue;
      const bool is_page_header = Is<TqbxPageHeader>(band);
      if (IsFirstPage && is_page_header && !band->PrintOnFirstPage()) {
        if (band->PrintChildIfInvisible()) ShowBand(band->Child());
        continue;
      }
      if (!ReprintsAtPageStart(HeaderList[i])) continue;
      CurX = HeaderList[i].Left;
      const TqbxBandLinks& links = Links(*band);
      Restore<int> line(CurLine, links.LineN);
      Restore<int> line_through(CurLineThrough, links.LineThrough);
      Restore<bool> overflow(band->Overflow, true);
      const bool is_title = Is<TqbxReportTitle>(band);
      if (is_title) HeaderList[i].Band = nullptr;
      ShowBand(band);
      if (is_page_header) FirstColumnY = CurY;
      if (is_title && IsFirstBand) TitlePrinted = true;
    }
  }
  FPageBodyTop = CurY;
}

// --- page and column breaks

void TqbxEngine::NewPage() {
  if (!Running || !Page) NotRunning();
  TqbxBand* header_moved = nullptr;
  if (Keeping) {
    const double kept_height = Is<TqbxGroupHeader>(KeepBand) && CurBand ? CurBand->Height()
                                                                          : KeepBand->Height();
    if (CurY - KeepCurY + kept_height > PageHeight - FooterHeight() - HeaderHeight(false)) {
      // The kept bands would not fit even on an empty page: they stay and break normally.
      Keeping = false;
      Aggregates.EndKeep();
      if (Is<TqbxGroupHeader>(KeepBand)) {
        RemoveHeader(KeepBand);
        AddHeader(KeepBand);
      }
    }
  }
  if (Keeping) {
    if (KeepFooter && !KeepHeader) Aggregates.DeleteValue(KeepBand);
    Pages().CutObjects(KeepPosition);
    auto* data_band = dynamic_cast<TqbxDataBand*>(CurBand);
    if (std::fabs(Pages().GetLastY(0) - CurY) >= 0.0001 && data_band && data_band->KeepHeader()) {
      // The header moves with the cut bands instead of being printed again.
      header_moved = Links(*data_band).Header;
      RemoveHeader(header_moved);
    }
  }
  LastBandOnPage = CurBand;
  EndPage();
  UpdateEndlessPage(false);
  PageStart();
  LastBandOnPage = nullptr;
  if (Keeping) {
    Aggregates.EndKeep();
    SubSaveCurY = CurY;
    PasteKeptBands(0, CurY);
    SubSavePageN = Pages().CurPage;
    CurY = Pages().GetLastY(0);
    if (KeepFooter && !KeepHeader) Aggregates.AddValue(KeepBand, 0);
    if (header_moved) AddHeader(header_moved);
  }
  Keeping = false;
  KeepHeader = false;
  KeepCurY = 0;
  AddPageOutline();
}

void TqbxEngine::NewColumn() {
  if (!Running || !Page) NotRunning();
  if (CurColumn >= Page->Columns()) {
    NewPage();
    return;
  }
  if (Keeping) {
    if (KeepFooter) Aggregates.DeleteValue(KeepBand);
    Pages().CutObjects(KeepPosition);
    CurY = Pages().GetLastY(CurX);
  }
  LastBandOnPage = CurBand;
  ShowColumnFooter();
  StartNextColumn();
  LastBandOnPage = nullptr;
  if (Keeping) {
    Aggregates.EndKeep();
    PasteKeptBands(CurX, CurY);
    CurY = Pages().GetLastY(CurX);
    if (KeepFooter) Aggregates.AddValue(KeepBand, 0);
  }
  Keeping = false;
  KeepHeader = false;
}

void TqbxEngine::NewPageToRight() {
  Restore<bool> dont_show_headers(DontShowHeaders, true);
  EndPage();
  UpdateEndlessPage(false);
  PageStart();
}

void TqbxEngine::PasteKeptBands(double x, double y) {
  Pages().PasteObjects(x, y);
  const int top = static_cast<int>(std::nearbyint(y));
  Pages().Outline().ShiftItems(KeepOutline, top);
  Pages().ShiftAnchors(KeepAnchor, top);
}

double TqbxEngine::ColumnLeft(int column) const { return ColumnPosition(*Page, column); }

bool TqbxEngine::PrintBandAt(TqbxBand& band, double x, bool with_fill) {
  Stretch(band);
  const bool visible = band.Visible();
  try {
    if (visible) {
      if (with_fill) band.CreateFillMemo();
      band.SetLeft(x);
      band.SetTop(CurY);
      Pages().AddObject(band);
      CurY += band.Height();
    }
  } catch (...) {
    UnStretch(band);
    throw;
  }
  UnStretch(band);
  return visible;
}

void TqbxEngine::ShowColumnFooter() {
  TqbxBand* column_footer = Page->FindBand(TqbxColumnFooter::StaticClass());
  if (!column_footer) return;
  PrintBandAt(*column_footer, CurX - PageCurX, false);
  EndOfBand(column_footer, paColumnFinished);
}

void TqbxEngine::StartNextColumn() {
  ++CurColumn;
  const double x = ColumnPosition(*Page, CurColumn);
  CurY = FirstColumnY;
  for (size_t i = 0; i < HeaderList.size(); ++i) {
    const TqbxHeaderListItem item = HeaderList[i];
    if (!item.Band || Is<TqbxPageHeader>(item.Band)) continue;
    CurX = item.Left + x;
    if (item.Band == LastBandOnPage || item.IsInKeepList || KeepHeader) continue;
    // The band and its child chain, as long as each is visible or prints its child anyway.
    int guard = 0;
    for (TqbxBand* band = item.Band; band && guard < 10000; band = band->Child(), ++guard) {
      Restore<bool> overflow(band->Overflow, true);
      const bool visible = PrintBandAt(*band, CurX, FinalPass);
      if (!visible && !band->PrintChildIfInvisible()) break;
    }
  }
  CurX = PageCurX + x;
  FPageBodyTop = CurY;
}

// --- keeping bands together

void TqbxEngine::StartKeep(TqbxBand* band, int position) {
  // Vertical bands lie across one master band: nothing of them is kept.
  if (Keeping || IsFirstBand || (band && band->Vertical())) return;
  KeepCurY = CurY;
  Keeping = true;
  KeepBand = band;
  KeepPosition = position != 0 ? position : Pages().GetCurPosition();
  KeepOutline = Pages().Outline().GetCurPosition();
  KeepAnchor = Pages().GetAnchorCurPosition();
  Aggregates.StartKeep();
}

void TqbxEngine::EndKeep(const TqbxBand* band) {
  if (band != KeepBand) return;
  BreakAllKeep();
}

void TqbxEngine::BreakAllKeep() {
  KeepCurY = 0;
  Keeping = false;
  KeepBand = nullptr;
  Aggregates.EndKeep();
  KeepHeader = false;
}

// --- repeated values at a break

bool TqbxEngine::ResetSuppressedMemos(TqbxBand& band) {
  bool any = false;
  for (const auto& child : band.Objects()) {
    auto* memo = dynamic_cast<TqbxCustomMemoView*>(child.get());
    if (memo && memo->SuppressRepeated) {
      memo->ResetSuppress();
      any = true;
    }
  }
  return any;
}

void TqbxEngine::ReevaluateSuppressed(TqbxBand& band) {
  // A master band's cells were evaluated column by column already.
  if (&band == VMasterBand || !ResetSuppressedMemos(band)) return;
  UnStretch(band);
  const TqbxBandLinks& links = Links(band);
  CurLine = links.LineN;
  CurLineThrough = links.LineThrough;
  Restore<bool> second_call(SecondScriptCall, true);
  Stretch(band);
  Links(band).StretchedHeight = band.Height();
}

}  // namespace zavrik
