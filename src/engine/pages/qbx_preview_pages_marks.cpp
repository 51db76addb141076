// Bookkeeping of the current page for the engine: cut, paste and delete of recorded bands, the
// bottom of the last band, band presence, page dimensions, columns and passes.
#include <algorithm>
#include <cmath>

#include "core/float_text.h"
#include "engine/pages/qbx_preview_pages.h"
#include "engine/pages/qbx_xml_props.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

constexpr double kColumnTolerance = 0.001;

template <class T>
bool Is(const TqbxComponent* object) {
  return ComponentAs<T>(object) != nullptr;
}

// Destroys the children of `item` from `position` on.
void DeleteFrom(TqbxXMLItem& item, int position) {
  while (item.Count() > std::max(position, 0)) item.Items(item.Count() - 1).Release();
}

}  // namespace

int TqbxPreviewPages::GetCurPosition() { return CurrentPageItem().Count(); }

void TqbxPreviewPages::CutObjects(int position) {
  TqbxXMLItem& page = CurrentPageItem();
  TqbxXMLItem& cutted = RootChild(u"cutted");
  position = std::max(position, 0);
  while (page.Count() > position) cutted.AddItem(page.Items(position).Release());
}

void TqbxPreviewPages::PasteObjects(double x, double y) {
  TqbxXMLItem& page = CurrentPageItem();
  TqbxXMLItem& cutted = RootChild(u"cutted");
  if (cutted.Count() > 0) {
    const TqbxXMLItem& first = cutted.Items(0);
    double dx = x - FloatProp(first, u"l");
    const double dy = y - FloatProp(first, u"t");
    // A cut null band keeps the horizontal positions when pasted at column 0.
    if (first.Name() == u"TqbxNullBand" && dx < 0 && x == 0) dx = 0;
    while (cutted.Count() > 0) {
      TqbxXMLItem& item = cutted.Items(0);
      if (dx != 0) SetFloatProp(item, u"l", FloatProp(item, u"l") + dx);
      SetFloatProp(item, u"t", FloatProp(item, u"t") + dy);
      page.AddItem(item.Release());
    }
  }
  cutted.Release();
}

void TqbxPreviewPages::DeleteObjects(int position) { DeleteFrom(CurrentPageItem(), position); }

double TqbxPreviewPages::GetLastY(double column_position) {
  if (CurPage < 0 || CurPage >= Count()) return 0;
  TqbxXMLItem& page = CurrentPageItem();
  double result = 0;
  for (int i = 0; i < page.Count(); ++i) {
    const TqbxXMLItem& item = page.Items(i);
    const TqbxComponent* source = Dictionary.GetObject(item.Name());
    if (!source || !source->IsBand() || Is<TqbxPageFooter>(source) || Is<TqbxOverlay>(source))
      continue;
    if (column_position != 0 && !Is<TqbxPageHeader>(source) && !Is<TqbxReportTitle>(source) &&
        std::fabs(FloatProp(item, u"l", source->Left()) - column_position) >= kColumnTolerance) {
      continue;
    }
    result = std::max(
        result, FloatProp(item, u"t", source->Top()) + FloatProp(item, u"h", source->Height()));
  }
  return result;
}

bool TqbxPreviewPages::BandExists(const TqbxBand& band) {
  if (CurPage < 0 || CurPage >= Count()) return false;
  TqbxXMLItem& page = CurrentPageItem();
  const bool page_footer = Is<TqbxPageFooter>(&band);
  const bool column_footer = Is<TqbxColumnFooter>(&band);
  for (int i = 0; i < page.Count(); ++i) {
    const TqbxComponent* source = Dictionary.GetObject(page.Items(i).Name());
    if (!source) continue;
    if (source == band.OriginalComponent) return true;
    if (page_footer && Is<TqbxPageFooter>(source)) return true;
    if (column_footer && Is<TqbxColumnFooter>(source)) return true;
  }
  return false;
}

void TqbxPreviewPages::UpdatePageDimension(int index, double width, double height,
                                           TqbxPrinterOrientation) {
  TqbxXMLItem& item = PageItem(index);
  item.SetProp(u"PaperSize", IntToStr(kCustomPaperSize));
  SetFloatProp(item, u"PaperWidth", width / kPixelsPerMm);
  SetFloatProp(item, u"PaperHeight", height / kPixelsPerMm);
}

void TqbxPreviewPages::UpdatePageDimensions(TqbxReportPage& page, double width, double height) {
  const int index = SourcePageIndex(page);
  if (index < 0) return;
  TqbxReportPage& source = *FSourcePages[static_cast<size_t>(index)];
  source.SetPaperSize(kCustomPaperSize);
  source.SetPaperWidth(width / kPixelsPerMm);
  source.SetPaperHeight(height / kPixelsPerMm);
  String form = source.BaseName();
  XmlSetProp(form, u"PaperSize", IntToStr(kCustomPaperSize), XmlDialect::kTemplate);
  XmlSetProp(form, u"PaperWidth", FloatText(width / kPixelsPerMm), XmlDialect::kTemplate);
  XmlSetProp(form, u"PaperHeight", FloatText(height / kPixelsPerMm), XmlDialect::kTemplate);
  source.SetBaseName(form);
}

void TqbxPreviewPages::UpdatePageLastColumn(int column, double column_pos, bool reset) {
  TqbxXMLItem& item = CurrentPageItem();
  if (reset || column > 0) item.SetProp(u"c", IntToStr(column));
  if (reset || column_pos != 0) SetFloatProp(item, u"cp", column_pos);
}

void TqbxPreviewPages::GetLastColumnPos(int& column, double& column_pos) {
  TqbxXMLItem& item = CurrentPageItem();
  column = IntProp(item, u"c", column);
  column_pos = FloatProp(item, u"cp", column_pos);
}

void TqbxPreviewPages::BeginPass() {
  FirstPageIndex = Count() - 1;
  if (FirstPageIndex >= 0) {
    FirstObjectIndex = LoadedPageItem(FirstPageIndex).Count();
    FirstOutlineIndex = RootChild(u"outline").Count();
  }
  ResetLogicalPageNumber();
}

void TqbxPreviewPages::ClearFirstPassPages() {
  if (FirstPageIndex == -1) {
    TqbxXMLItem& root = XMLDoc.Root();
    for (int i = 0; i < root.Count(); ++i) {
      TqbxXMLItem& child = root.Items(i);
      if (child.Name() != u"anchors" && child.Name() != u"logicalpagenumbers") child.Clear();
    }
  } else {
    TqbxXMLItem& pages = PagesItem();
    if (FirstPageIndex < pages.Count()) DeleteFrom(LoadedPageItem(FirstPageIndex), FirstObjectIndex);
    DeleteFrom(pages, FirstPageIndex + 1);
    DeleteFrom(RootChild(u"outline"), FirstOutlineIndex);
  }
  FOutline.Reset();
  ResetLogicalPageNumber();
  CurPage = FirstPageIndex;
  XMLSize = 0;
}

}  // namespace zavrik
