// Band columns: a data band with Columns > 1 places its records side by side. A row that reaches
// the bottom of the page moves whole to the next column or page.
#include <algorithm>

#include "engine/run/qbx_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

constexpr double kEpsilon = 0.0001;

}  // namespace

void TqbxEngine::StartBandColumnRow(TqbxDataBand& band) {
  if (band.Columns() <= 1 || band.CurColumn() != 1) return;
  TqbxBandLinks& links = Links(band);
  links.RowStartY = CurY;
  links.RowPosition = Pages().GetCurPosition();
}

void TqbxEngine::MarkBandColumnHeader(TqbxDataBand& band) {
  TqbxBandLinks& links = Links(band);
  links.HeaderBeforeRow = band.Columns() > 1 && band.KeepHeader() && links.Header;
  links.HeaderY = CurY;
  links.HeaderPosition = Pages().GetCurPosition();
  links.HeaderPage = Pages().CurPage;
}

void TqbxEngine::AdvanceBandColumn(TqbxDataBand& band) {
  if (band.Columns() <= 1) return;
  TqbxBandLinks& links = Links(band);
  links.MaxY = std::max(links.MaxY, CurY);
  links.RowOpen = true;
  if (band.CurColumn() < band.Columns()) {
    CurY = links.RowStartY;
  } else {
    // A row ending exactly at the bottom fits, as a single band does.
    const bool past_bottom = links.MaxY > GetPageHeight() - FooterHeight() + kEpsilon;
    if (past_bottom && !Page->EndlessHeight() && !OutputTo) {
      if (Keeping && CurY - KeepCurY > PageHeight - FooterHeight() - HeaderHeight(false))
        BreakAllKeep();
      if (Keeping) {
        NewColumn();
      } else {
        // A first row keeping its header takes the header (and the group headers printed with
        // it) along when both fit in a page; they are not printed again at the new page's top.
        std::vector<TqbxBand*> moved_headers;
        double from_y = links.RowStartY;
        int from_position = links.RowPosition;
        if (links.HeaderBeforeRow && links.HeaderPage == Pages().CurPage &&
            links.MaxY - links.HeaderY <= PageHeight - FooterHeight() - HeaderHeight(false) + kEpsilon) {
          from_y = links.HeaderY;
          from_position = links.HeaderPosition;
          moved_headers.push_back(links.Header);
          for (TqbxGroupHeader* group_header : GroupChain(band)) moved_headers.push_back(group_header);
          for (TqbxBand* header : moved_headers) RemoveHeader(header);
        }
        const double row_height = links.MaxY - from_y;
        Pages().CutObjects(from_position);
        NewColumn();
        Pages().PasteObjects(CurX, CurY);
        CurY += row_height;
        for (TqbxBand* header : moved_headers) AddHeader(header);
      }
    } else {
      CurY = links.MaxY;
    }
  }
  band.SetCurColumn(band.CurColumn() + 1);
  if (band.CurColumn() == 1) {
    links.MaxY = 0;
    links.RowOpen = false;
    links.HeaderBeforeRow = false;
  }
}

void TqbxEngine::CloseBandColumns(TqbxDataBand& band) {
  const bool row_open = Links(band).RowOpen;
  band.SetCurColumn(band.Columns());
  if (row_open && band.Columns() > 1) AdvanceBandColumn(band);
}

}  // namespace zavrik
