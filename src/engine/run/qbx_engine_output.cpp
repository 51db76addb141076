// Output of one band: evaluation and stretching of its objects, the page break when it does not
// fit, placement at the current position and recording on the prepared page.
#include <algorithm>
#include <cmath>

#include "engine/run/qbx_engine.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"

namespace zavrik {

namespace {

constexpr double kEpsilon = 0.0001;

bool IsGroupHeaderOrDataBand(const TqbxBand& band) {
  return band.IsDataBand() || ComponentAs<TqbxGroupHeader>(&band) != nullptr;
}

}  // namespace

TqbxBand* TqbxEngine::ShowBand(TqbxBand* band) {
  if (!band) return nullptr;
  if (band->Vertical()) {
    OutputVBand(*band);
    return nullptr;
  }
  if (band->KeepChild()) StartKeep(band);
  OutputBand(*band);
  TqbxBand* result = nullptr;
  if (TqbxChild* child = band->Child()) {
    if (child->ToNRowsMode() != rmTillPageEnds && child->ToNRows() <= 0) {
      const auto* data_band = ComponentAs<TqbxDataBand>(band);
      if ((band->Visible() || band->PrintChildIfInvisible()) &&
          !(data_band && data_band->CurColumn() > 1)) {
        IsFirstBand = false;
        ShowBand(child);
      }
    } else {
      result = band;
    }
  }
  if (band->KeepChild()) EndKeep(band);
  if (band->IsDataBand()) Aggregates.AddValue(band, 0);
  return result;
}

void TqbxEngine::ShowBand(const ClassInfo& band_class) {
  if (Page) ShowBand(Page->FindBand(band_class));
}

void TqbxEngine::ShowBandByName(StringView band_name) {
  ShowBandObject(Report.FindObject(band_name));
}

void TqbxEngine::ShowBandObject(TqbxComponent* band) {
  if (!Running) NotRunning();
  ShowBand(ComponentAs<TqbxBand>(band));
}

void TqbxEngine::OutputBand(TqbxBand& band) {
  const TqbxBandLinks& links = Links(band);
  if (links.HasVBands && VMasterBand != &band) {
    OutputVMasterBand(band);
    return;
  }
  if (!OutputTo && !FInPageStart && band.Visible() && band.StartNewPage() &&
      !(IsGroupHeaderOrDataBand(band) && links.LineN == 1)) {
    if (auto* group = ComponentAs<TqbxGroupHeader>(&band); group && group->ResetPageNumbers())
      Pages().ResetLogicalPageNumber();
    StartNewPageBand = &band;
    CurBand = &band;
    try {
      NewPage();
    } catch (...) {
      StartNewPageBand = nullptr;
      throw;
    }
    StartNewPageBand = nullptr;
  }

  int band_page = 0;
  double band_top = 0;
  bool visible = false;
  try {
    Stretch(band);
    Links(band).StretchedHeight = band.Height();
    const auto* data_band = ComponentAs<TqbxDataBand>(&band);
    const bool multi_column = data_band && data_band->Columns() > 1;
    const bool is_overlay = ComponentAs<TqbxOverlay>(&band) != nullptr;
    bool split = false;
    if (band.Visible() && !multi_column && !is_overlay && !band.IsNullBand() &&
        FreeSpace() < band.Height()) {
      if (auto* child = ComponentAs<TqbxChild>(&band);
          child && child->ToNRowsMode() == rmTillPageEnds) {
        // Ends the chain of a child band that fills the page (child rows).
        FBreakShowBandTree = true;
        UnStretch(band);
        return;
      }
      // A break where the page holds no band below its start would only add an empty page.
      const bool page_holds_bands = CurY > FPageBodyTop + kEpsilon && !FInPageStart;
      if (OutputTo) {
        // Copies into the parent band never break.
      } else if (!FInPageStart && &band != VMasterBand && NeedsSplit(band)) {
        // A band that may not split starts on a fresh page or column when it is not the first
        // row of its data band.
        const bool first_line = band.IsDataBand() && links.LineN == 1;
        if (!band.AllowSplit() && !band.StartNewPage() && !first_line && page_holds_bands) {
          if (!Keeping) ReevaluateSuppressed(band);
          NewColumn();
        }
        split = true;
      } else if (page_holds_bands) {
        // The band moves to the next column or page, together with the bands kept with it.
        if (!Keeping) ReevaluateSuppressed(band);
        NewColumn();
      }
    }
    band_page = Pages().CurPage;
    band_top = CurY;
    visible = band.Visible();
    if (split)
      SplitBand(band);
    else if (&band == VMasterBand)
      RecordVMasterBand(band);
    else
      RecordBand(band, multi_column);
  } catch (...) {
    UnStretch(band);
    throw;
  }
  UnStretch(band);
  EndOfBand(&band);
  if (visible && !FInPageStart) RunSubreports(band, band_page, band_top);
}

void TqbxEngine::RecordBand(TqbxBand& band, bool multi_column) {
  if (!band.IsNullBand()) {
    band.SetLeft(multi_column ? band.Left() + CurX : CurX);
    band.SetTop(CurY);
  }
  if (!band.Visible()) return;
  if (OutputTo) {
    CopyToOutput(band);
    CurY += band.Height();
    return;
  }
  if (FinalPass) band.CreateFillMemo();
  // An endless page has no bottom to move the summary to.
  if (ComponentAs<TqbxReportSummary>(&band) && band.PrintAtBottom() &&
      !Page->EndlessHeight()) {
    CurY += FreeSpace() - Links(band).StretchedHeight;
    band.SetTop(CurY);
  }
  if (!(FInPageStart && Pages().BandExists(band))) Pages().AddObject(band);
  CurY += band.Height();
}

// --- evaluation and stretching

void TqbxEngine::Stretch(TqbxComponent& container) {
  auto* band = ComponentAs<TqbxBand>(&container);
  if (band) CurBand = band;
  auto* container_component = ComponentAs<TqbxReportComponent>(&container);
  // A master band ran its own BeforePrint before its vertical bands, which evaluated their cells.
  const bool vertical_master = band && band == VMasterBand;
  Report.SetSelfValue(&container);
  if (!vertical_master) {
    if (band) band->BeforePrint();
    if (container_component) Report.DoBeforePrint(*container_component);
  }

  const bool visible = container.Visible();
  // By index: scripts may add objects to the container while it is evaluated.
  for (int i = 0; i < (vertical_master ? FVMasterOwnObjects : container.Count()); ++i) {
    auto* object = ComponentAs<TqbxReportComponent>(&container.Child(i));
    if (!object) continue;
    Report.SetSelfValue(object);
    object->BeforePrint();
    if (visible) Report.DoBeforePrint(*object);
    auto* view = ComponentAs<TqbxView>(object);
    // Objects processed at a later event are evaluated then (deferred values).
    if (object->Visible() && (!view || view->Processing()->ProcessAt == paDefault)) {
      object->GetData();
      Report.DoNotifyEvent(object, object->OnAfterData());
    }
  }
  std::vector<double> shift_amounts(static_cast<size_t>(container.Count()), 0);
  bool stretched = false;
  for (int i = 0; i < container.Count(); ++i) {
    auto* object = container.Child(i).AsStretcheable();
    if (!object || !object->Visible() || !visible) continue;
    if (object->StretchMode() == smDontStretch && !object->CanShrink()) continue;
    const double old_height = object->Height();
    const double new_height = object->CalcHeight();
    if ((new_height > old_height && object->StretchMode() != smDontStretch) ||
        (new_height < old_height && object->CanShrink())) {
      shift_amounts[static_cast<size_t>(i)] = new_height - old_height;
      if (std::fabs(new_height - old_height) > kEpsilon) object->SetHeight(new_height);
      stretched = true;
    }
  }
  if (!visible) return;
  if (stretched) ShiftObjects(container, shift_amounts);
  RunSubreportsOnParent(container);

  double height = 0;
  for (const auto& child : container.Objects())
    height = std::max(height, child->Top() + child->Height());
  if (!band || band->Stretched()) container.SetHeight(height);
  Report.SetSelfValue(&container);
  if (band) Report.DoNotifyEvent(band, band->OnAfterCalcHeight());
  for (const auto& child : container.Objects()) {
    auto* object = child->AsStretcheable();
    if (object && object->StretchMode() == smMaxHeight)
      object->SetHeight(container.Height() - object->Top());
  }
}

void TqbxEngine::UnStretch(TqbxComponent& container) {
  auto* band = ComponentAs<TqbxBand>(&container);
  // The fill memo never took part in the evaluation: it goes before the objects are restored.
  if (band) band->DisposeFillMemo();
  if (container.Visible()) {
    for (int i = 0; i < container.Count(); ++i)
      if (auto* object = ComponentAs<TqbxReportComponent>(&container.Child(i)))
        Report.DoAfterPrint(*object);
  }
  for (int i = 0; i < container.Count(); ++i)
    if (auto* object = ComponentAs<TqbxReportComponent>(&container.Child(i))) object->AfterPrint();
  auto* container_component = ComponentAs<TqbxReportComponent>(&container);
  if (container_component) Report.DoAfterPrint(*container_component);
  if (band) band->AfterPrint();
  if (container_component && container_component->OriginalObjectsCount != -1) {
    while (container.Count() > container_component->OriginalObjectsCount)
      container.Child(container.Count() - 1).Detach();
    container_component->OriginalObjectsCount = -1;
  }
}

// --- header list

void TqbxEngine::AddHeader(TqbxBand* band) {
  if (!band || !band->ReprintOnNewPage()) return;
  if (!ComponentAs<TqbxHeader>(band) && !ComponentAs<TqbxGroupHeader>(band)) return;
  if (band->Vertical()) {
    VHeaderList.push_back(band);
    return;
  }
  HeaderList.push_back({band, PageCurX, Keeping && !ComponentAs<TqbxHeader>(band)});
}

void TqbxEngine::RemoveHeader(const TqbxBand* band) {
  if (!band) return;
  if (band->Vertical()) {
    const auto it = std::find(VHeaderList.begin(), VHeaderList.end(), band);
    if (it != VHeaderList.end()) VHeaderList.erase(it);
    return;
  }
  for (auto it = HeaderList.begin(); it != HeaderList.end(); ++it) {
    if (it->Band == band) {
      HeaderList.erase(it);
      return;
    }
  }
}

}  // namespace zavrik
