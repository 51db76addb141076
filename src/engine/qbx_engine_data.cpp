// Data bands: each runs over its records with its header, footer and detail bands.
#include "core/ustring.h"
#include "core/variant_convert.h"
#include "engine/qbx_engine.h"
#include "engine/qbx_engine_data_source.h"
#include "report/qbx_memo.h"
#include "report/qbx_preview_pages.h"
#include "report/qbx_report.h"

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
  records.First();
  links.LineN = 1;
  links.LineThrough = 1;
  band.SetCurColumn(1);
  for (const auto& child : band.Objects())
    if (auto* memo = dynamic_cast<TqbxCustomMemoView*>(child.get()); memo && memo->SuppressRepeated)
      memo->ResetSuppress();
  // The deferred-values dictionary forgets the band's duplicates and the post-processor enters
  // the band's data here (deferred values).

  bool printed = false;
  TqbxBand* child_with_rows = nullptr;
  while (!records.Eof() && !Report.Terminated) {
    if (PassesFilter(Report, band) && HasData(band, band.PrintIfDetailEmpty())) {
      if (!printed) {
        // Keep-header and keep-together start here (keeping).
        AddHeader(links.Header);
        ShowBand(links.Header);
        // Group headers open here (groups); later records check the group conditions.
      }
      printed = true;
      CurLine = links.LineN;
      CurLineThrough = links.LineThrough;
      if (TqbxBand* pending = ShowBand(&band)) child_with_rows = pending;
      // Objects of the engine's notify list hear about the row here.
      HBandNamesTree.emplace_back(band.Name(), links.LineThrough);
      ++links.LineN;
      ++links.LineThrough;
      const bool outlined = AddBandOutline(band);
      RunDataBands(band);
      HBandNamesTree.pop_back();
      if (outlined) Pages().Outline().LevelUp();
      IsFirstBand = false;
      if (band.FooterAfterEach()) ShowBand(links.Footer);
    }
    records.Next();
    if (band.RowCount() > 0 && links.LineN > band.RowCount()) break;
  }
  band.SetCurColumn(band.Columns());
  if (printed) {
    // Group footers close the open groups here (groups).
    if (!band.FooterAfterEach()) ShowBand(links.Footer);
    RemoveHeader(links.Header);
  }
  // Child bands with a row count print here (band splitting and child rows).
  (void)child_with_rows;
  // The post-processor leaves the band's data here (deferred values).
}

}  // namespace zavrik
