#include "engine/pages/qbx_outline.h"

#include "core/float_text.h"
#include "engine/pages/qbx_xml_props.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

int TqbxOutline::Count() const { return Current().Count(); }

void TqbxOutline::AddItem(const String& text, int top) {
  TqbxXMLItem& item = Current().Add(u"item");
  item.SetProp(u"text", text);
  item.SetProp(u"page", IntToStr(FCurPage()));
  item.SetProp(u"top", IntToStr(top));
  CurItem = &item;
}

void TqbxOutline::DeleteItems(TqbxXMLItem* from) {
  if (!from || !from->Parent()) return;
  TqbxXMLItem& parent = *from->Parent();
  const int index = parent.IndexOf(from);
  while (parent.Count() > index + 1) parent.Items(parent.Count() - 1).Release();
}

void TqbxOutline::LevelDown(int index) {
  TqbxXMLItem& current = Current();
  if (index >= 0 && index < current.Count()) CurItem = &current.Items(index);
}

void TqbxOutline::LevelRoot() { CurItem = &FRoot(); }

void TqbxOutline::LevelUp() {
  TqbxXMLItem& root = FRoot();
  if (CurItem && CurItem != &root && CurItem->Parent()) CurItem = CurItem->Parent();
}

void TqbxOutline::GetItem(int index, String& text, int& page, int& top) const {
  const TqbxXMLItem& item = Current().Items(index);
  text = item.GetProp(u"text");
  page = IntProp(item, u"page");
  top = IntProp(item, u"top");
}

void TqbxOutline::ShiftItems(TqbxXMLItem* from, int new_top) {
  if (!from || !from->Parent()) return;
  TqbxXMLItem& parent = *from->Parent();
  const int index = parent.IndexOf(from) + 1;
  if (index >= parent.Count()) return;
  TqbxXMLItem& next = parent.Items(index);
  const int delta = new_top - IntProp(next, u"top");
  std::vector<TqbxXMLItem*> pending{&next};
  while (!pending.empty()) {
    TqbxXMLItem* item = pending.back();
    pending.pop_back();
    item->SetProp(u"page", IntToStr(IntProp(*item, u"page") + 1));
    item->SetProp(u"top", IntToStr(IntProp(*item, u"top") + delta));
    for (int i = 0; i < item->Count(); ++i) pending.push_back(&item->Items(i));
  }
}

TqbxXMLItem* TqbxOutline::GetCurPosition() const {
  TqbxXMLItem& current = Current();
  return current.Count() ? &current.Items(current.Count() - 1) : nullptr;
}

}  // namespace zavrik
