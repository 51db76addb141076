#include "script/qs_xml.h"

#include <algorithm>
#include <sstream>

#include "core/xml_tag_reader.h"
#include "core/xml_text.h"
#include "core/xml_writer.h"

namespace zavrik {
namespace {

constexpr XmlDialect kDialect = XmlDialect::kSyntaxTree;

// Builds items from the elements the reader delivers; the first element is read into the root.
class ItemBuilder : public XmlElementSink {
 public:
  explicit ItemBuilder(TqsXMLItem& root) : root_(root) {}

  void BeginElement(std::string_view name, std::string_view attributes, uint64_t) override {
    TqsXMLItem& item = current_ ? current_->Add() : root_;
    item.SetName(XmlNameFromBytes(name));
    // An undecodable attribute text becomes empty.
    item.SetText(IsValidUtf8(attributes) ? Utf8ToString(attributes) : String());
    current_ = &item;
  }
  void EndElement() override { current_ = current_ == &root_ ? nullptr : current_->Parent(); }

 private:
  TqsXMLItem& root_;
  TqsXMLItem* current_ = nullptr;
};

}  // namespace

TqsXMLItem::~TqsXMLItem() {
  // Move grandchildren up into a work list instead of recursing.
  std::vector<std::unique_ptr<TqsXMLItem>> pending = std::move(FItems);
  while (!pending.empty()) {
    std::unique_ptr<TqsXMLItem> item = std::move(pending.back());
    pending.pop_back();
    for (auto& child : item->FItems) pending.push_back(std::move(child));
    item->FItems.clear();
  }
}

TqsXMLItem& TqsXMLItem::Root() {
  TqsXMLItem* item = this;
  while (item->FParent) item = item->FParent;
  return *item;
}

TqsXMLItem& TqsXMLItem::Add(String name) {
  return AddItem(std::make_unique<TqsXMLItem>(std::move(name)));
}

TqsXMLItem& TqsXMLItem::AddItem(std::unique_ptr<TqsXMLItem> item) {
  item->FParent = this;
  FItems.push_back(std::move(item));
  return *FItems.back();
}

TqsXMLItem& TqsXMLItem::InsertItem(int index, std::unique_ptr<TqsXMLItem> item) {
  item->FParent = this;
  index = std::clamp(index, 0, Count());
  return **FItems.insert(FItems.begin() + index, std::move(item));
}

std::unique_ptr<TqsXMLItem> TqsXMLItem::Release(int index) {
  std::unique_ptr<TqsXMLItem> item = std::move(FItems.at(index));
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  return item;
}

int TqsXMLItem::Find(StringView name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameTextAscii(FItems[i]->FName, name)) return i;
  }
  return -1;
}

TqsXMLItem& TqsXMLItem::FindItem(StringView name) {
  const int index = Find(name);
  return index >= 0 ? *FItems[index] : Add(String(name));
}

int TqsXMLItem::IndexOf(const TqsXMLItem* item) const {
  for (int i = 0; i < Count(); ++i) {
    if (FItems[i].get() == item) return i;
  }
  return -1;
}

void TqsXMLItem::Clear() {
  auto old = std::move(FItems);
  FItems.clear();
  TqsXMLItem holder;  // frees the old children iteratively
  holder.FItems = std::move(old);
}

std::unique_ptr<TqsXMLItem> TqsXMLItem::Clone() const {
  auto copy = std::make_unique<TqsXMLItem>(FName, FText);
  // (source, copy) pairs whose children still have to be copied.
  std::vector<std::pair<const TqsXMLItem*, TqsXMLItem*>> work{{this, copy.get()}};
  while (!work.empty()) {
    auto [source, target] = work.back();
    work.pop_back();
    for (const auto& child : source->FItems) {
      work.emplace_back(child.get(), &target->AddItem(std::make_unique<TqsXMLItem>(child->FName, child->FText)));
    }
  }
  return copy;
}

String TqsXMLItem::GetProp(StringView name) const { return XmlGetProp(FText, name, kDialect); }
void TqsXMLItem::SetProp(StringView name, StringView value) { XmlSetProp(FText, name, value, kDialect); }
bool TqsXMLItem::PropExists(StringView name) const { return XmlPropExists(FText, name); }
void TqsXMLItem::DeleteProp(StringView name) { XmlDeleteProp(FText, name); }

void TqsXMLDocument::SetRoot(std::unique_ptr<TqsXMLItem> root) { FRoot = std::move(root); }

void TqsXMLDocument::LoadFromStream(std::istream& in) {
  Clear();
  XmlTagReader reader(in);
  ReadXmlHeader(reader);
  ItemBuilder builder(*FRoot);
  ReadXmlElements(reader, builder);
}

void TqsXMLDocument::LoadFromString(std::string_view utf8) {
  std::istringstream in{std::string(utf8)};
  LoadFromStream(in);
}

void TqsXMLDocument::WriteRootItem(std::ostream& out) const {
  XmlWriter writer(out, FAutoIndent);
  WalkXmlTree(
      *static_cast<const TqsXMLItem*>(FRoot.get()),
      [&](const TqsXMLItem& item, int level) {
        writer.WriteElementHead(level, XmlNameToBytes(item.Name()), StringToUtf8(item.Text()), item.Count() > 0);
      },
      [&](const TqsXMLItem& item, int level) {
        if (item.Count() > 0) writer.WriteElementEnd(level, XmlNameToBytes(item.Name()));
      });
  writer.Flush();
}

void TqsXMLDocument::SaveToStream(std::ostream& out) const {
  XmlWriter header(out, FAutoIndent);
  header.WriteLine("<?xml version=\"1.0\"?>");
  header.Flush();
  WriteRootItem(out);
}

std::string TqsXMLDocument::SaveToString() const {
  std::ostringstream out;
  SaveToStream(out);
  return out.str();
}

}  // namespace zavrik
