// Vertical bands: bands lying across the page. Objects of horizontal bands within a vertical band's
// width are its cells for the run. A horizontal band holding cells (the master band) runs the
// vertical data bands, which copy their cells into it from left to right; cells past the page's
// width go to pages to the right, where the master band is recorded again with their range.
#include "engine/run/qbx_engine.h"
#include "engine/run/qbx_engine_data_source.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

constexpr double kEpsilon = 0.0001;

// Bands printed at fixed places or at page starts: their objects stay in them.
bool KeepsItsCells(const TqbxBand& band) {
  return dynamic_cast<const TqbxOverlay*>(&band) || dynamic_cast<const TqbxPageHeader*>(&band) ||
         dynamic_cast<const TqbxPageFooter*>(&band) ||
         dynamic_cast<const TqbxColumnHeader*>(&band) ||
         dynamic_cast<const TqbxColumnFooter*>(&band);
}

bool IsFooter(const TqbxBand& band) {
  return dynamic_cast<const TqbxFooter*>(&band) || dynamic_cast<const TqbxGroupFooter*>(&band);
}

}  // namespace

// --- cells

void TqbxEngine::MoveCellsToVerticalBands(TqbxReportPage& page) {
  std::vector<TqbxBand*> verticals, horizontals;
  for (const auto& child : page.Objects()) {
    if (auto* band = dynamic_cast<TqbxBand*>(child.get()))
      (band->Vertical() ? verticals : horizontals).push_back(band);
  }
  if (verticals.empty()) return;
  auto vertical_band_of = [&](const TqbxComponent& object) -> TqbxBand* {
    for (TqbxBand* vertical : verticals)
      if (object.Left() >= vertical->Left() - kEpsilon &&
          vertical->Left() + vertical->Width() + kEpsilon >= object.Left() + object.Width())
        return vertical;
    return nullptr;
  };
  for (TqbxBand* band : horizontals) {
    bool reported = false;
    for (int i = 0; i < band->Count();) {
      TqbxComponent& object = *band->Objects()[static_cast<size_t>(i)];
      TqbxBand* vertical = vertical_band_of(object);
      if (!vertical) {
        ++i;
        continue;
      }
      if (KeepsItsCells(*band)) {
        // Printed where they stand, outside the vertical layout.
        if (!reported)
          FLayoutMessages.push_back(u"Бэнд " + band->Name() +
                                    u" не раскладывается по вертикальным бэндам: объекты выведены на своих местах");
        reported = true;
        ++i;
        continue;
      }
      FVerticalCells.push_back({&object, band, i, vertical->Left(), object.ParentFont()});
      // The cell keeps its own font in the vertical band.
      object.SetParentFont(false);
      object.SetParent(vertical);
      object.SetLeft(object.Left() - vertical->Left());
      FOriginalBands[&object] = band;
      Links(*band).HasVBands = true;
    }
  }
}

void TqbxEngine::RestoreVerticalCells() {
  for (auto cell = FVerticalCells.rbegin(); cell != FVerticalCells.rend(); ++cell) {
    TqbxComponent& object = *cell->Object;
    object.SetLeft(object.Left() + cell->VerticalLeft);
    object.SetParent(cell->OriginalBand);
    cell->OriginalBand->MoveChild(object, cell->OriginalIndex);
    if (cell->ParentFont) object.SetParentFont(true);
  }
  FVerticalCells.clear();
  FOriginalBands.clear();
}

// --- the master band

void TqbxEngine::OutputVMasterBand(TqbxBand& band) {
  TqbxBand* const saved_master = VMasterBand;
  const std::vector<TqbxBand*> saved_headers = VHeaderList;
  const std::vector<int> saved_pages = VPageList;
  const int saved_column = CurVColumn;
  const int saved_own = FVMasterOwnObjects;
  const int page = Pages().CurPage;
  const double x = CurX;
  auto restore = [&]() {
    while (band.Count() > FVMasterOwnObjects) band.Objects().back()->Detach();
    VMasterBand = saved_master;
    VHeaderList = saved_headers;
    VPageList = saved_pages;
    CurVColumn = saved_column;
    FVMasterOwnObjects = saved_own;
  };
  try {
    CurBand = &band;
    Report.SetSelfValue(&band);
    band.BeforePrint();
    Report.DoBeforePrint(band);
    VMasterBand = &band;
    FVMasterOwnObjects = band.Count();
    VHeaderList.clear();
    VPageList = {0};
    CurVColumn = 0;
    CurX = 0;
    RunVDataBands(*Page);
    VPageList.push_back(band.Count());
    Pages().CurPage = page;
    CurX = x;
    // The band's own objects read whole totals, not the last column's.
    CurVColumn = 0;
    OutputBand(band);
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TqbxEngine::RecordVMasterBand(TqbxBand& band) {
  // An invisible band leaves no pages to the right either.
  if (VPageList.size() <= 2 || !band.Visible()) {
    RecordBand(band, false);
    return;
  }
  // One range of the band's objects on each page: the first holds its own objects too.
  std::vector<TqbxComponent*> objects;
  std::vector<bool> visible;
  for (const auto& child : band.Objects()) {
    objects.push_back(child.get());
    visible.push_back(child->Visible());
  }
  const int left_page = Pages().CurPage;
  const double x = CurX, top = CurY;
  double bottom = top;
  auto restore = [&]() {
    for (size_t i = 0; i < objects.size(); ++i) objects[i]->SetVisible(visible[i]);
    Pages().CurPage = left_page;
    Pages().AddPageAction = apAdd;
    CurX = x;
    CurY = bottom;
  };
  try {
    Pages().AddPageAction = apWriteOver;
    for (size_t range = 0; range + 1 < VPageList.size(); ++range) {
      if (range > 0) NewPageToRight();
      for (size_t i = 0; i < objects.size(); ++i) {
        const int index = static_cast<int>(i);
        objects[i]->SetVisible(visible[i] && index >= VPageList[range] &&
                               index < VPageList[range + 1]);
      }
      CurX = x;
      CurY = top;
      RecordBand(band, false);
      bottom = CurY;
    }
    EndPage();
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

// --- vertical data bands

void TqbxEngine::RunVDataBands(const TqbxComponent& container) {
  if (Report.Terminated) return;
  const TqbxBandLinks& links = Links(container);
  const std::vector<TqbxDataBand*> sub_bands = container.IsPage() ? links.VSubBands : links.SubBands;
  for (TqbxDataBand* band : sub_bands) {
    if (Report.Terminated) break;
    RunVDataBand(*band);
  }
}

void TqbxEngine::RunVDataBand(TqbxDataBand& band) {
  TqbxEngineDataSource records(band);
  if (!records.Exists()) return;
  TqbxBandLinks& links = Links(band);
  TqbxBand* const header = links.Header;
  const bool grouped = links.Group != nullptr;
  records.First();
  links.LineN = 1;
  links.LineThrough = 1;
  bool printed = false;
  while (!records.Eof() && !Report.Terminated) {
    Report.SetSelfValue(&band);
    if (!printed) {
      AddHeader(header);
      ShowBand(header);
      if (grouped) InitGroups(band, 0, true);
    } else if (grouped) {
      CheckGroups(band, records);
    }
    printed = true;
    CurLine = links.LineN;
    CurLineThrough = links.LineThrough;
    ShowBand(&band);
    ++links.LineN;
    ++links.LineThrough;
    RunVDataBands(band);
    if (band.FooterAfterEach()) ShowBand(links.Footer);
    records.Next();
    if (band.RowCount() > 0 && links.LineN > band.RowCount()) break;
  }
  if (printed) {
    if (grouped) ShowGroupFooters(band, 0);
    if (!band.FooterAfterEach()) ShowBand(links.Footer);
    RemoveHeader(header);
  }
}

void TqbxEngine::OutputVBand(TqbxBand& band) {
  if (!VMasterBand) {
    Report.Errors.Add(u"Вертикальный бэнд " + band.Name() +
                      u" выводится только вместе с горизонтальным бэндом");
    return;
  }
  const bool is_data_band = band.IsDataBand();
  if (is_data_band) ++CurVColumn;
  CurBand = IsFooter(band) ? &band : VMasterBand;
  Report.SetSelfValue(&band);
  band.BeforePrint();
  Report.DoBeforePrint(band);
  try {
    if (band.Visible()) {
      const bool past_first_line = (is_data_band || dynamic_cast<TqbxGroupHeader*>(&band)) &&
                                   Links(band).LineN > 1;
      if (CurX + band.Width() > PageWidth + kEpsilon || (band.StartNewPage() && past_first_line)) {
        if (Page->EndlessWidth()) {
          PageWidth += band.Width();
        } else if (CurX > kEpsilon) {
          // The next page to the right; a band wider than the page stays on an empty one.
          CurX = 0;
          VPageList.push_back(VMasterBand->Count());
          const std::vector<TqbxBand*> headers = VHeaderList;
          for (TqbxBand* header : headers) OutputVBand(*header);
        }
      }
      CopyVerticalCells(band);
      CurX += band.Width();
    }
  } catch (...) {
    band.AfterPrint();
    throw;
  }
  Report.DoAfterPrint(band);
  band.AfterPrint();
  if (is_data_band) Aggregates.AddValue(VMasterBand, CurVColumn);
  if (IsFooter(band)) EndOfBand(&band);
}

void TqbxEngine::CopyVerticalCells(TqbxBand& vertical_band) {
  TqbxBand& master = *VMasterBand;
  for (int i = 0; i < vertical_band.Count(); ++i) {
    auto* cell = dynamic_cast<TqbxReportComponent*>(vertical_band.Objects()[static_cast<size_t>(i)].get());
    if (!cell) continue;
    const auto it = FOriginalBands.find(cell);
    if (it == FOriginalBands.end() || it->second != &master) continue;
    Report.SetSelfValue(cell);
    cell->BeforePrint();
    try {
      Report.DoBeforePrint(*cell);
      auto* view = dynamic_cast<TqbxView*>(cell);
      if (cell->Visible() && (!view || view->Processing()->ProcessAt == paDefault)) {
        cell->GetData();
        Report.DoNotifyEvent(cell, cell->OnAfterData());
      }
      std::unique_ptr<TqbxComponent> copy = PrintedCopyOf(*cell);
      copy->SetLeft(cell->Left() + CurX);
      master.AddChild(std::move(copy));
    } catch (...) {
      cell->AfterPrint();
      throw;
    }
    cell->AfterPrint();
  }
}

}  // namespace zavrik
