// One element of a template document: its name, its raw attribute text and its children. The
// attribute text stays one string (values still escaped); single attributes are found by search.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

class TqbxXMLItem {
 public:
  TqbxXMLItem() = default;
  explicit TqbxXMLItem(String name) : FName(std::move(name)) {}
  // Destroys the subtree without recursion.
  ~TqbxXMLItem();
  TqbxXMLItem(const TqbxXMLItem&) = delete;
  TqbxXMLItem& operator=(const TqbxXMLItem&) = delete;

  const String& Name() const { return FName; }
  void SetName(String name) { FName = std::move(name); }
  const String& Text() const { return FText; }
  String& MutableText() { return FText; }
  void SetText(String text) { FText = std::move(text); }
  const String& Value() const { return FValue; }
  void SetValue(String value) { FValue = std::move(value); }
  TqbxXMLItem* Parent() const { return FParent; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TqbxXMLItem& Items(int index) const { return *FItems.at(static_cast<size_t>(index)); }
  TqbxXMLItem& Add(String name = String());
  // Appends an item, taking it from its old parent first.
  TqbxXMLItem& AddItem(std::unique_ptr<TqbxXMLItem> item);
  TqbxXMLItem& InsertItem(int index, std::unique_ptr<TqbxXMLItem> item);
  // Takes the item out of its parent's list; the caller owns it.
  std::unique_ptr<TqbxXMLItem> Release();
  // Index of the first child named `name` (case-insensitive), or -1.
  int Find(StringView name) const;
  // That child; when there is none, a new child of this name.
  TqbxXMLItem& FindItem(StringView name);
  int IndexOf(const TqbxXMLItem* item) const;
  TqbxXMLItem& Root();
  // A copy of the name, texts and subtree, packed children unpacked (without the user fields).
  std::unique_ptr<TqbxXMLItem> Clone() const;
  // Destroys all children and their packed form; an unloadable item becomes not loaded.
  void Clear();
  // Unloading in memory: an unloadable item's children go into one compact buffer (the item
  // becomes not loaded), and come back from it. Unpacked for reading only, the item keeps the
  // buffer, and packing again reuses it unless ForgetPackedCopy was called first.
  void Pack();
  void Unpack(bool for_reading = false);
  bool Packed() const { return FPacked != nullptr; }
  std::string_view PackedBytes() const { return FPacked ? std::string_view(*FPacked) : std::string_view(); }
  // To be called before the children change: the kept buffer no longer matches them.
  void ForgetPackedCopy() { FPackedCopy.reset(); }

  // Attributes of the raw text (names case-insensitive).
  String GetProp(StringView name) const;
  void SetProp(StringView name, StringView value);
  bool PropExists(StringView name) const;
  void DeleteProp(StringView name);

  void* Data = nullptr;     // free slot for the user of the tree
  uint64_t Offset = 0;      // where the element's tag starts in its stream (partial loading)
  bool Loaded = true;       // false while the children are dropped to be reloaded
  bool Unloadable = false;  // the element may be unloaded and reloaded
  bool Modified = false;    // free flag for the user of the tree

 private:
  String FName;
  String FText;
  String FValue;
  TqbxXMLItem* FParent = nullptr;
  std::vector<std::unique_ptr<TqbxXMLItem>> FItems;
  std::unique_ptr<const std::string> FPacked;
  std::unique_ptr<const std::string> FPackedCopy;  // the children's packed form while unpacked to read
};

}  // namespace zavrik
