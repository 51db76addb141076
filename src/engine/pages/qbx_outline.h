// TqbxOutline: the document outline kept as nested "item" elements (text, page, top) of the
// prepared document's "outline" element, with a current item (none means the root).
#pragma once

#include <functional>

#include "report/model/qbx_preview_pages.h"

namespace zavrik {

class TqbxOutline : public TqbxCustomOutline {
 public:
  // `root` gives the "outline" element; `cur_page` the page new items are on.
  TqbxOutline(std::function<TqbxXMLItem&()> root, std::function<int()> cur_page)
      : FRoot(std::move(root)), FCurPage(std::move(cur_page)) {}

  int Count() const override;
  void AddItem(const String& text, int top) override;
  void DeleteItems(TqbxXMLItem* from) override;
  void LevelDown(int index) override;
  void LevelRoot() override;
  void LevelUp() override;
  void GetItem(int index, String& text, int& page, int& top) const override;
  void ShiftItems(TqbxXMLItem* from, int new_top) override;
  TqbxXMLItem* GetCurPosition() const override;
  // Forgets the current item (the document was cleared).
  void Reset() { CurItem = nullptr; }

  TqbxXMLItem* CurItem = nullptr;

 private:
  TqbxXMLItem& Current() const { return CurItem ? *CurItem : FRoot(); }

  std::function<TqbxXMLItem&()> FRoot;
  std::function<int()> FCurPage;
};

}  // namespace zavrik
