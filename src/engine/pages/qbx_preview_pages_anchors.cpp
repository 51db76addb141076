// Named anchors and logical page numbers of the prepared document.
#include <cmath>

#include "core/float_text.h"
#include "engine/pages/qbx_preview_pages.h"
#include "engine/pages/qbx_xml_props.h"
#include "report/text/hyphenation.h"
#include "report/model/qbx_report.h"

namespace zavrik {

void TqbxPreviewPages::AddAnchor(const String& text) {
  TqbxXMLItem& item = RootChild(u"anchors").Add(u"item");
  item.SetProp(u"text", text);
  item.SetProp(u"page", IntToStr(CurPage));
  item.SetProp(u"top", IntToStr(static_cast<int64_t>(std::nearbyint(Engine ? Engine->CurY : 0))));
}

TqbxXMLItem* TqbxPreviewPages::FindAnchor(const String& text) {
  TqbxXMLItem& anchors = RootChild(u"anchors");
  const String wanted = UpperRussian(text);
  for (int i = anchors.Count() - 1; i >= 0; --i) {
    if (UpperRussian(anchors.Items(i).GetProp(u"text")) == wanted) return &anchors.Items(i);
  }
  return nullptr;
}

int TqbxPreviewPages::GetAnchorPage(const String& text) {
  const TqbxXMLItem* anchor = FindAnchor(text);
  return anchor ? IntProp(*anchor, u"page") + 1 : 1;
}

std::optional<TqbxAnchorPosition> TqbxPreviewPages::AnchorPosition(const String& text) {
  const TqbxXMLItem* anchor = FindAnchor(text);
  if (!anchor) return std::nullopt;
  return TqbxAnchorPosition{IntProp(*anchor, u"page"), IntProp(*anchor, u"top")};
}

int TqbxPreviewPages::GetAnchorCurPosition() { return RootChild(u"anchors").Count() - 1; }

void TqbxPreviewPages::DeleteAnchors(int from) {
  TqbxXMLItem& anchors = RootChild(u"anchors");
  while (anchors.Count() > std::max(from + 1, 0)) anchors.Items(anchors.Count() - 1).Release();
}

void TqbxPreviewPages::ShiftAnchors(int from, int new_top) {
  TqbxXMLItem& anchors = RootChild(u"anchors");
  const int first = std::max(from + 1, 0);
  if (first >= anchors.Count()) return;
  const int delta = new_top - IntProp(anchors.Items(first), u"top");
  for (int i = first; i < anchors.Count(); ++i) {
    TqbxXMLItem& item = anchors.Items(i);
    item.SetProp(u"page", IntToStr(IntProp(item, u"page") + 1));
    item.SetProp(u"top", IntToStr(IntProp(item, u"top") + delta));
  }
}

void TqbxPreviewPages::IncLogicalPageNumber() {
  if (IsFinalOfTwoPasses()) return;
  ++LogicalPageN;
  RootChild(u"logicalpagenumbers").Add(u"page").SetProp(u"n", IntToStr(LogicalPageN));
}

void TqbxPreviewPages::ResetLogicalPageNumber() {
  if (IsFinalOfTwoPasses()) return;
  TqbxXMLItem& numbers = RootChild(u"logicalpagenumbers");
  for (int i = CurPage; i > FirstPageIndex; --i) {
    if (i < 0 || i >= numbers.Count()) continue;
    TqbxXMLItem& item = numbers.Items(i);
    item.SetProp(u"t", IntToStr(LogicalPageN));
    if (item.GetProp(u"n") == u"1") break;
  }
  LogicalPageN = 0;
}

int TqbxPreviewPages::GetLogicalPageNo() {
  TqbxXMLItem& numbers = RootChild(u"logicalpagenumbers");
  if (CurPage >= 0 && CurPage < numbers.Count()) return IntProp(numbers.Items(CurPage), u"n");
  return CurPage - FirstPage + 1;
}

int TqbxPreviewPages::GetLogicalTotalPages() {
  TqbxXMLItem& numbers = RootChild(u"logicalpagenumbers");
  if (CurPage >= 0 && CurPage < numbers.Count()) return IntProp(numbers.Items(CurPage), u"t");
  return (Engine ? Engine->TotalPages : 0) - FirstPage;
}

}  // namespace zavrik
