// The XML layer of the script engine: grammars and syntax trees. Same dialect, reader and writer
// as report templates, without partial loading; attribute texts are always UTF-8.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

// One element: its name and its raw (still escaped) attribute text.
class TqsXMLItem {
 public:
  TqsXMLItem() = default;
  explicit TqsXMLItem(String name, String text = String())
      : FName(std::move(name)), FText(std::move(text)) {}
  // Frees the subtree iteratively, so deep trees cannot exhaust the stack.
  ~TqsXMLItem();
  TqsXMLItem(const TqsXMLItem&) = delete;
  TqsXMLItem& operator=(const TqsXMLItem&) = delete;

  const String& Name() const { return FName; }
  void SetName(String name) { FName = std::move(name); }
  const String& Text() const { return FText; }
  void SetText(String text) { FText = std::move(text); }
  TqsXMLItem* Parent() const { return FParent; }
  TqsXMLItem& Root();

  int Count() const { return static_cast<int>(FItems.size()); }
  TqsXMLItem& Items(int index) const { return *FItems.at(index); }
  TqsXMLItem& Add(String name = String());
  // Appends an item, taking ownership.
  TqsXMLItem& AddItem(std::unique_ptr<TqsXMLItem> item);
  TqsXMLItem& InsertItem(int index, std::unique_ptr<TqsXMLItem> item);
  // Detaches the child at `index` and hands it over.
  std::unique_ptr<TqsXMLItem> Release(int index);
  // Index of the first child with that name (case-insensitive), or -1.
  int Find(StringView name) const;
  // That child; a new one with this name is appended when there is none.
  TqsXMLItem& FindItem(StringView name);
  int IndexOf(const TqsXMLItem* item) const;
  void Clear();
  // A deep copy without parent.
  std::unique_ptr<TqsXMLItem> Clone() const;

  String GetProp(StringView name) const;
  void SetProp(StringView name, StringView value);
  bool PropExists(StringView name) const;
  void DeleteProp(StringView name);

 private:
  String FName;
  String FText;
  TqsXMLItem* FParent = nullptr;
  std::vector<std::unique_ptr<TqsXMLItem>> FItems;
};

class TqsXMLDocument {
 public:
  TqsXMLDocument() = default;

  TqsXMLItem& Root() { return *FRoot; }
  const TqsXMLItem& Root() const { return *FRoot; }
  // Replaces the root item (the loaded outermost element is read into the root itself).
  void SetRoot(std::unique_ptr<TqsXMLItem> root);
  bool AutoIndent() const { return FAutoIndent; }
  void SetAutoIndent(bool value) { FAutoIndent = value; }

  void Clear() { FRoot->Clear(); FRoot->SetName(String()); FRoot->SetText(String()); }
  // Raises XmlFormatError ("Invalid file format") for malformed input.
  void LoadFromStream(std::istream& in);
  void LoadFromString(std::string_view utf8);
  // Writes the declaration `<?xml version="1.0"?>` and the root element.
  void SaveToStream(std::ostream& out) const;
  std::string SaveToString() const;
  // The root element only, without the declaration.
  void WriteRootItem(std::ostream& out) const;

 private:
  std::unique_ptr<TqsXMLItem> FRoot = std::make_unique<TqsXMLItem>();
  bool FAutoIndent = false;
};

}  // namespace zavrik
