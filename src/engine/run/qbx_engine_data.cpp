// Data bands: each runs over its records with its header, footer and detail bands.
#include <optional>

#include "core/ustring.h"
#include "core/variant_convert.h"
#include "engine/run/qbx_engine.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

// A record passes the band's filter when the expression's value is the Boolean true.
bool PassesFilter(TqbxReport& report, const TqbxDataBand& band) {
  const String filter = Trim(band.Filter());
  if (filter.empty()) return true;
  const Variant value = report.Calc(filter);
  return value.Kind() == VarKind::Boolean && VarToBoolean(value);
}

}  // namespace

bool TqbxEngine::HasData(const TqbxComponent& container, bool force) {
  if (force) return true;
  const std::vector<TqbxDataBand*>& sub_bands = Links(container).SubBands;
  bool result = container.IsBand() && sub_bands.empty();
  for (TqbxDataBand* band : sub_bands) {
    TqbxEngineDataSource records(*band);
    if (!records.Exists()) continue;
    Report.DoNotifyEvent(band, band->OnMasterDetail());
    for (records.First(); !records.Eof(); records.Next()) {
      if (HasData(*band, band->PrintIfDetailEmpty())) {
        result = true;
        break;
      }
    }
  }
  return result;
}

void TqbxEngine::RunDataBands(const TqbxComponent& container) {
  if (Report.Terminated) return;
  // Copied: running a band must not invalidate the iteration.
  const std::vector<TqbxDataBand*> sub_bands = Links(container).SubBands;
  for (TqbxDataBand* band : sub_bands) {
    if (Report.Terminated) break;
    RunDataBand(*band);
    IsFirstBand = false;
  }
}

void TqbxEngine::RunDataBand(TqbxDataBand& band) {
  TqbxEngineDataSource records(band);
  if (!records.Exists()) return;
  TqbxBandLinks& links = Links(band);
  TqbxBand* const header = links.Header;
  const bool grouped = links.Group != nullptr;
  records.First();
  links.LineN = 1;
  links.LineThrough = 1;
  band.SetCurColumn(1);
  ResetSuppressedMemos(band);
  Pages().PostProcessor().ResetDuplicates(band.Name());
  Pages().PostProcessor().EnterData();

  bool printed = false;
  // The keep that holds the header together with the first record (and, with a kept footer, up to
  // the second record or the footer).
  bool header_kept = false;
  const bool header_keep_waits_for_footer = band.KeepFooter() && links.Footer;
  // Where the last record began: its page element and page.
  int record_position = 0, record_page = -1;
  TqbxBand* child_with_rows = nullptr;
  while (!records.Eof() && !Report.Terminated) {
    Report.SetSelfValue(&band);
    if (PassesFilter(Report, band) && HasData(band, band.PrintIfDetailEmpty())) {
      if (!printed) {
        if (band.KeepHeader() && header) {
          if (TitlePrinted) IsFirstBand = false;
          KeepHeader = !IsFirstBand;
          StartKeep(&band);
          header_kept = Keeping && KeepBand == &band;
        }
        MarkBandColumnHeader(band);
        AddHeader(header);
        ShowBand(header);
        if (band.KeepTogether() && grouped) StartKeep(&band);
        if (grouped) InitGroups(band, 0, true);
      } else {
        if (header_kept) {
          EndKeep(&band);
          header_kept = false;
        }
        if (grouped) CheckGroups(band, records);
      }
      printed = true;
      if (band.KeepTogether() && !grouped) StartKeep(&band);
      record_position = Pages().GetCurPosition();
      record_page = Pages().CurPage;
      StartBandColumnRow(band);
      CurLine = links.LineN;
      CurLineThrough = links.LineThrough;
      if (TqbxBand* pending = ShowBand(&band)) child_with_rows = pending;
      if (header_kept && !header_keep_waits_for_footer) {
        EndKeep(&band);
        header_kept = false;
      }
      // Objects of the engine's notify list hear about the row here.
      HBandNamesTree.emplace_back(band.Name(), links.LineThrough);
      ++links.LineN;
      ++links.LineThrough;
      if (band.Visible()) AdvanceBandColumn(band);
      const bool outlined = AddBandOutline(band);
      RunDataBands(band);
      HBandNamesTree.pop_back();
      if (outlined) Pages().Outline().LevelUp();
      IsFirstBand = false;
      if (band.FooterAfterEach()) ShowFooter(band, record_position, record_page);
      if (band.KeepTogether() && !grouped) EndKeep(&band);
    }
    records.Next();
    if (band.RowCount() > 0 && links.LineN > band.RowCount()) break;
  }
  CloseBandColumns(band);
  if (printed) {
    std::optional<TqbxChildRowsMark> rows_mark;
    if (child_with_rows) rows_mark = MarkChildRows();
    if (grouped) ShowGroupFooters(band, 0);
    if (Keeping) RemoveHeader(header);
    if (!band.FooterAfterEach()) ShowFooter(band, record_position, record_page);
    if (header_kept) EndKeep(&band);
    RemoveHeader(header);
    if (band.KeepTogether() && grouped) EndKeep(&band);
    if (rows_mark) ShowChildRows(band, *rows_mark);
  }
  Pages().PostProcessor().LeaveData();
}

void TqbxEngine::ShowFooter(TqbxDataBand& band, int record_position, int record_page) {
  TqbxBand* footer = Links(band).Footer;
  if (!footer) return;
  if (!band.KeepFooter()) {
    ShowBand(footer);
    return;
  }
  // A record that began on an earlier page stays there; the footer alone moves.
  StartKeep(&band, record_page == Pages().CurPage ? record_position : 0);
  KeepFooter = true;
  try {
    ShowBand(footer);
  } catch (...) {
    KeepFooter = false;
    throw;
  }
  KeepFooter = false;
  EndKeep(&band);
}

}  // namespace zavrik
