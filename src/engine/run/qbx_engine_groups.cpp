// Groups of a data band: the chain of group headers opens with the first record, every later
// record evaluates the conditions, and a changed condition closes the inner groups down to it
// (footers with the last record of the closing group current) and opens them again.
#include "core/error.h"
#include "core/float_text.h"
#include "core/variant_compare.h"
#include "engine/run/qbx_engine.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

// A condition's value compared with the open group's: values that cannot be compared differ.
bool SameGroupValue(const Variant& a, const Variant& b) {
  try {
    return VarEqual(a, b);
  } catch (const Error&) {
    return false;
  }
}

// A blank condition puts every record in one group.
Variant GroupValue(TqbxReport& report, TqbxGroupHeader& header) {
  if (Trim(header.Condition()).empty()) return Variant();
  report.SetSelfValue(&header);
  return report.Calc(header.Condition());
}

}  // namespace

const std::vector<TqbxGroupHeader*>& TqbxEngine::GroupChain(const TqbxDataBand& band) {
  static const std::vector<TqbxGroupHeader*> kNone;
  TqbxGroupHeader* group = Links(band).Group;
  return group ? Links(*group).GroupChain : kNone;
}

void TqbxEngine::InitGroups(TqbxDataBand& band, size_t from, bool all) {
  const std::vector<TqbxGroupHeader*>& chain = GroupChain(band);
  for (size_t i = from; i < chain.size(); ++i) {
    TqbxBandLinks& links = Links(*chain[i]);
    if (all) {
      links.LineN = 1;
      links.LineThrough = 1;
      ResetSuppressedMemos(*chain[i]);
    } else {
      ++links.LineN;
      if (i + 1 < chain.size()) Links(*chain[i + 1]).LineN = 0;
      ++links.LineThrough;
    }
  }
  band.SetCurColumn(1);
  ApplyDrillDown(band);
  for (size_t i = from; i < chain.size(); ++i) {
    TqbxGroupHeader& header = *chain[i];
    TqbxBandLinks& links = Links(header);
    CurLine = links.LineN;
    CurLineThrough = links.LineThrough;
    links.LastValue = GroupValue(Report, header);
    if (header.KeepTogether()) StartKeep(&header);
    Pages().PostProcessor().EnterGroup();
    ShowBand(&header);
    links.Outlined = AddBandOutline(header);
    AddHeader(&header);
  }
}

void TqbxEngine::CheckGroups(TqbxDataBand& band, TqbxEngineDataSource& records) {
  ApplyDrillDown(band);
  const std::vector<TqbxGroupHeader*>& chain = GroupChain(band);
  for (size_t i = 0; i < chain.size(); ++i) {
    TqbxGroupHeader& header = *chain[i];
    if (SameGroupValue(GroupValue(Report, header), Links(header).LastValue)) continue;
    band.SetCurColumn(band.Columns());
    // The footers see the last record of the closing group, below its unfinished row of band
    // columns.
    const bool stepped_back = records.Prior();
    CloseBandColumns(band);
    ShowGroupFooters(band, i);
    if (stepped_back) records.Next();
    InitGroups(band, i, false);
    Links(band).LineN = 1;
    ResetSuppressedMemos(band);
    return;
  }
}

void TqbxEngine::ShowGroupFooters(TqbxDataBand& band, size_t from) {
  const std::vector<TqbxGroupHeader*>& chain = GroupChain(band);
  for (size_t i = chain.size(); i-- > from;) {
    TqbxGroupHeader& header = *chain[i];
    TqbxBandLinks& links = Links(header);
    if (auto* footer = static_cast<TqbxGroupFooter*>(links.Footer)) {
      if (footer->HideIfSingleDataRecord() && Links(band).LineN < 3)
        EndOfBand(footer, paGroupFinished);
      else
        ShowBand(footer);
    } else {
      // Without a footer nothing finishes the group: its level is left here, so that the groups
      // that follow keep the levels their deferred values were recorded at.
      Pages().PostProcessor().LeaveGroup();
    }
    if (links.Outlined) Pages().Outline().LevelUp();
    links.Outlined = false;
    RemoveHeader(&header);
    if (header.KeepTogether()) EndKeep(&header);
  }
}

void TqbxEngine::ApplyDrillDown(TqbxDataBand& band) {
  const std::vector<TqbxGroupHeader*>& chain = GroupChain(band);
  for (size_t i = 0; i < chain.size(); ++i) {
    TqbxGroupHeader& header = *chain[i];
    if (!header.DrillDown()) continue;
    String name;
    for (const auto& [band_name, line] : HBandNamesTree)
      name += band_name + u"." + IntToStr(line) + u".";
    name += header.Name() + u"." + IntToStr(Links(header).LineThrough);
    header.SetDrillName(name);
    // The drill state of an interactive viewer is always empty here.
    const bool listed = false;
    const bool expanded = header.ExpandDrillDown() ? !listed : listed;
    if (header.Child() && !chain.front()->ShowChildIfDrillDown())
      header.Child()->SetVisible(expanded);
    for (size_t j = i + 1; j < chain.size(); ++j) {
      chain[j]->SetVisible(expanded);
      if (TqbxBand* footer = Links(*chain[j]).Footer) footer->SetVisible(expanded);
    }
    band.SetVisible(expanded);
    if (!header.ShowFooterIfDrillDown())
      if (TqbxBand* footer = Links(header).Footer) footer->SetVisible(expanded);
    if (!expanded) return;
  }
}

}  // namespace zavrik
