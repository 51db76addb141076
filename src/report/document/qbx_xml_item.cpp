#include "report/document/qbx_xml_item.h"

#include <algorithm>

#include "core/xml_text.h"
#include "report/document/qbx_item_pack.h"

namespace zavrik {

constexpr XmlDialect kDialect = XmlDialect::kTemplate;

TqbxXMLItem::~TqbxXMLItem() { Clear(); }

void TqbxXMLItem::Clear() {
  // Grandchildren move up into a work list instead of being destroyed recursively. When the work
  // list cannot grow (out of memory), the item being emptied keeps empty places for the children
  // already moved; they are skipped.
  std::vector<std::unique_ptr<TqbxXMLItem>> pending = std::move(FItems);
  FItems.clear();
  while (!pending.empty()) {
    std::unique_ptr<TqbxXMLItem> item = std::move(pending.back());
    pending.pop_back();
    if (!item) continue;
    for (auto& child : item->FItems) pending.push_back(std::move(child));
    item->FItems.clear();
  }
  FPacked.reset();
  FPackedCopy.reset();
  if (Unloadable) Loaded = false;
}

void TqbxXMLItem::Pack() {
  if (!Unloadable || !Loaded) return;
  auto packed = FPackedCopy ? std::move(FPackedCopy) : std::make_unique<const std::string>(PackItems(*this));
  Clear();
  FPacked = std::move(packed);
}

void TqbxXMLItem::Unpack(bool for_reading) {
  if (!FPacked) return;
  std::unique_ptr<const std::string> packed = std::move(FPacked);
  UnpackItems(*packed, *this);
  Loaded = true;
  if (for_reading) FPackedCopy = std::move(packed);
}

std::unique_ptr<TqbxXMLItem> TqbxXMLItem::Clone() const {
  auto copy = std::make_unique<TqbxXMLItem>(FName);
  copy->FText = FText;
  copy->FValue = FValue;
  // (source, copy) pairs whose children are still to be copied.
  std::vector<std::pair<const TqbxXMLItem*, TqbxXMLItem*>> pending{{this, copy.get()}};
  while (!pending.empty()) {
    const auto [source, target] = pending.back();
    pending.pop_back();
    if (source->FPacked) UnpackItems(*source->FPacked, *target);
    for (const auto& child : source->FItems) {
      TqbxXMLItem& added = target->Add(child->FName);
      added.FText = child->FText;
      added.FValue = child->FValue;
      pending.emplace_back(child.get(), &added);
    }
  }
  return copy;
}

TqbxXMLItem& TqbxXMLItem::Add(String name) { return AddItem(std::make_unique<TqbxXMLItem>(std::move(name))); }

TqbxXMLItem& TqbxXMLItem::AddItem(std::unique_ptr<TqbxXMLItem> item) {
  return InsertItem(Count(), std::move(item));
}

TqbxXMLItem& TqbxXMLItem::InsertItem(int index, std::unique_ptr<TqbxXMLItem> item) {
  if (item->FParent) item = item->Release();
  item->FParent = this;
  index = std::clamp(index, 0, Count());
  return **FItems.insert(FItems.begin() + index, std::move(item));
}

std::unique_ptr<TqbxXMLItem> TqbxXMLItem::Release() {
  if (!FParent) return nullptr;
  auto& siblings = FParent->FItems;
  const auto it = std::find_if(siblings.begin(), siblings.end(), [this](const auto& p) { return p.get() == this; });
  std::unique_ptr<TqbxXMLItem> self = std::move(*it);
  siblings.erase(it);
  FParent = nullptr;
  return self;
}

int TqbxXMLItem::Find(StringView name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameTextAscii(FItems[i]->FName, name)) return i;
  }
  return -1;
}

TqbxXMLItem& TqbxXMLItem::FindItem(StringView name) {
  const int index = Find(name);
  return index >= 0 ? *FItems[index] : Add(String(name));
}

int TqbxXMLItem::IndexOf(const TqbxXMLItem* item) const {
  for (int i = 0; i < Count(); ++i) {
    if (FItems[i].get() == item) return i;
  }
  return -1;
}

TqbxXMLItem& TqbxXMLItem::Root() {
  TqbxXMLItem* item = this;
  while (item->FParent) item = item->FParent;
  return *item;
}

String TqbxXMLItem::GetProp(StringView name) const { return XmlGetProp(FText, name, kDialect); }
void TqbxXMLItem::SetProp(StringView name, StringView value) { XmlSetProp(FText, name, value, kDialect); }
bool TqbxXMLItem::PropExists(StringView name) const { return XmlPropExists(FText, name); }
void TqbxXMLItem::DeleteProp(StringView name) { XmlDeleteProp(FText, name); }

}  // namespace zavrik
