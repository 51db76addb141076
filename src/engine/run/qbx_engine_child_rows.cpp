// Child bands with a row count: after a data band's last record, its child band is printed again
// and again (to ToNRows rows, or till the page ends) above the data band's footers.
#include <algorithm>
#include <cmath>

#include "engine/run/qbx_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

// Filler rows beyond any page: ends a run that makes no progress.
constexpr int kMaxFillerRows = 1000000;

}  // namespace

TqbxChildRowsMark TqbxEngine::MarkChildRows() {
  TqbxChildRowsMark mark;
  mark.PageCount = Pages().Count();
  mark.Position = Pages().GetCurPosition();
  mark.Outline = Pages().Outline().GetCurPosition();
  mark.Anchor = Pages().GetAnchorCurPosition();
  // The footers' end-of-band step waits until the rows are printed (not while copying into a
  // parent band, where the rows follow the footers).
  LockResetAggregates = OutputTo == nullptr;
  return mark;
}

void TqbxEngine::ShowChildRows(TqbxDataBand& band, const TqbxChildRowsMark& mark) {
  LockResetAggregates = false;
  TqbxChild* child = band.Child();
  const bool copying = OutputTo != nullptr;
  // A parent band has no page end to fill; its footers ended their bands already.
  if (copying && (!child || child->ToNRowsMode() == rmTillPageEnds)) return;
  if (child && (copying || Pages().Count() == mark.PageCount)) {
    // The footers are taken out; their height stays reserved while the rows are printed.
    double reserved = 0;
    if (!copying) {
      Pages().CutObjects(mark.Position);
      const double rows_top = Pages().GetLastY(0);
      reserved = std::max(0.0, CurY - rows_top) + FooterHeight();
      PrevFooterHeight = reserved;
      CurY = rows_top;
    }
    TqbxBandLinks& links = Links(band);
    const bool till_page_ends = child->ToNRowsMode() == rmTillPageEnds;
    int n = child->ToNRowsMode() == rmAddToCount ? 1 : links.LineN;
    FBreakShowBandTree = false;
    for (int rows = 0; rows < kMaxFillerRows && !Report.Terminated; ++rows) {
      if (till_page_ends ? FBreakShowBandTree || Page->EndlessHeight() : n > child->ToNRows())
        break;
      CurLine = links.LineN;
      CurLineThrough = links.LineThrough;
      const double before = CurY;
      const int page_before = Pages().CurPage;
      OutputBand(*child);
      ++n;
      ++links.LineN;
      ++links.LineThrough;
      // Rows moved to a new page still leave room for the footers there.
      if (Pages().CurPage != page_before) PrevFooterHeight = reserved;
      // A row that takes no room would fill the page forever.
      if (till_page_ends && CurY <= before + 0.0001 && Pages().CurPage == page_before) break;
    }
    FBreakShowBandTree = false;
    if (copying) return;
    Pages().PasteObjects(CurX, CurY);
    const int top = static_cast<int>(std::nearbyint(CurY));
    Pages().Outline().ShiftItems(mark.Outline, top);
    Pages().ShiftAnchors(mark.Anchor, top);
    CurY = Pages().GetLastY(CurX);
    PrevFooterHeight = 0;
  }
  // The end-of-band steps the footers held back.
  for (TqbxGroupHeader* header : GroupChain(band))
    if (TqbxBand* footer = Links(*header).Footer) EndOfBand(footer);
  if (TqbxBand* footer = Links(band).Footer) EndOfBand(footer, paDataFinished);
}

}  // namespace zavrik
