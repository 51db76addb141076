#include "report/document/qbx_xml_document.h"

#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/datetime_format.h"
#include "core/float_text.h"
#include "core/numeric.h"
#include "report/document/qbx_temp_file.h"

namespace zavrik {
namespace {

constexpr XmlDialect kDialect = XmlDialect::kTemplate;

// Position of the partial-loading marker ` ld="0"` (any case) in an attribute text, or npos.
size_t FindUnloadMarker(StringView text) {
  static constexpr StringView kMarker = u" ld=\"0\"";
  for (size_t at = text.find(u'=', 3); at != StringView::npos; at = text.find(u'=', at + 1)) {
    if (at + 3 <= text.size() && SameTextAscii(text.substr(at - 3, kMarker.size()), kMarker)) return at - 3;
  }
  return StringView::npos;
}

// Builds items from the elements the tag reader delivers; the first element is read into the root.
class ItemBuilder : public XmlElementSink {
 public:
  ItemBuilder(TqbxXMLItem& root, bool old_format, bool read_children)
      : root_(root), old_format_(old_format), read_children_(read_children) {}

  void BeginElement(std::string_view name, std::string_view attributes, uint64_t offset) override {
    TqbxXMLItem* item = current_ ? &current_->Add() : &root_;
    // A reloaded root keeps its name and text.
    if (item != &root_ || root_.Loaded) {
      item->SetName(XmlNameFromBytes(name, kDialect));
      item->SetText(old_format_ ? DecodeCodePage(attributes, kCodePage1251) : Utf8ToString(attributes));
    }
    offsets_.push_back(offset);
    current_ = item;
  }

  void EndElement() override {
    TqbxXMLItem* item = current_;
    const uint64_t offset = offsets_.back();
    offsets_.pop_back();
    current_ = item == &root_ ? nullptr : item->Parent();
    const size_t marker = FindUnloadMarker(item->Text());
    if (marker == StringView::npos) return;
    item->MutableText().erase(marker, 7);
    if (!read_children_) {
      item->Unloadable = true;
      item->Clear();
      item->Offset = offset;
      item->Loaded = false;
    }
  }

 private:
  TqbxXMLItem& root_;
  TqbxXMLItem* current_ = nullptr;
  std::vector<uint64_t> offsets_;
  bool old_format_;
  bool read_children_;
};

}  // namespace

String XmlEscape(StringView text) { return zavrik::XmlEscape(text, kDialect); }
void AppendXmlEscaped(String& out, StringView text) { zavrik::AppendXmlEscaped(out, text, kDialect); }
String XmlUnescape(StringView value) { return zavrik::XmlUnescape(value, kDialect); }

String XmlValueText(const Variant& value) {
  switch (value.Kind()) {
    case VarKind::ShortInt:
    case VarKind::SmallInt:
    case VarKind::Integer:
    case VarKind::Int64:
      return IntToStr(value.SignedValue());
    case VarKind::Byte:
    case VarKind::Word:
    case VarKind::LongWord:
    case VarKind::UInt64:
      return UIntToStr(value.UnsignedValue());
    case VarKind::Single:
      return FloatToStr(value.SingleValue());
    case VarKind::Double:
      return FloatToStr(value.DoubleValue());
    case VarKind::Currency:
      return FloatToStr(CurrencyToDouble(value.CurrencyValue()));
    case VarKind::Date:
      return DateToStr(value.DoubleValue());
    case VarKind::String:
      return XmlEscape(value.StringValue());
    case VarKind::Boolean:
      return value.BoolValue() ? u"1" : u"0";
    default:
      return String();
  }
}

void TqbxXMLReader::ReadHeader() { OldFormat = ReadXmlHeader(FReader); }

void TqbxXMLReader::ReadRootItem(TqbxXMLItem& item, bool read_children) {
  ItemBuilder builder(item, OldFormat, read_children);
  ReadXmlElements(FReader, builder);
}

void TqbxXMLWriter::WriteHeader() {
  XmlWriter writer(FStream, AutoIndent);
  writer.WriteLine("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>");
  writer.Flush();
}

void TqbxXMLWriter::WriteRootItem(TqbxXMLItem& root) {
  XmlWriter writer(FStream, AutoIndent);
  struct Fetched {
    const TqbxXMLItem* Item;
    bool Packed;
  };
  std::vector<Fetched> fetched;  // unloaded items read back for writing
  WalkXmlTree(
      root,
      [&](TqbxXMLItem& item, int level) {
        if (item.Unloadable && !item.Loaded && TempDocument && (TempDocument->FSwap || item.Packed())) {
          fetched.push_back({&item, item.Packed()});
          TempDocument->LoadItem(item, true);
        }
        std::string attributes = StringToUtf8(item.Text());
        if (item.Unloadable) attributes += " ld=\"0\"";
        writer.WriteElementHead(level, XmlNameToBytes(item.Name(), kDialect), attributes, item.Count() > 0,
                                StringToUtf8(item.Value()));
      },
      [&](TqbxXMLItem& item, int level) {
        if (item.Count() > 0) writer.WriteElementEnd(level, XmlNameToBytes(item.Name(), kDialect));
        if (!fetched.empty() && fetched.back().Item == &item) {
          // dropped again
          if (fetched.back().Packed) {
            item.Pack();
          } else {
            item.Clear();
          }
          fetched.pop_back();
        }
      });
  writer.Flush();
  if (!FStream) throw Error(u"Stream write error");
}

TqbxXMLDocument::TqbxXMLDocument() : FRoot(std::make_unique<TqbxXMLItem>()) {}

TqbxXMLDocument::~TqbxXMLDocument() { ReleaseSwap(); }

void TqbxXMLDocument::Clear() {
  FRoot->Clear();
  ReleaseSwap();
}

void TqbxXMLDocument::LoadFromStream(std::istream& stream) {
  ReleaseSwap();
  TqbxXMLReader reader(stream);
  FRoot->Clear();
  FRoot->Loaded = true;
  FRoot->Offset = 0;
  reader.ReadHeader();
  OldVersion = reader.OldFormat;
  reader.ReadRootItem(*FRoot, true);
}

void TqbxXMLDocument::LoadFromStream(std::unique_ptr<std::iostream> stream, bool allow_partial_loading) {
  if (!allow_partial_loading) return LoadFromStream(*stream);
  ReleaseSwap();
  {
    TqbxXMLReader reader(*stream);
    FRoot->Clear();
    FRoot->Loaded = true;
    FRoot->Offset = 0;
    reader.ReadHeader();
    OldVersion = reader.OldFormat;
    reader.ReadRootItem(*FRoot, false);
  }
  FSwap = std::move(stream);
  FSwapCreated = false;
}

void TqbxXMLDocument::LoadFromString(std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  LoadFromStream(in);
}

void TqbxXMLDocument::SaveToStream(std::ostream& stream) {
  TqbxXMLWriter writer(stream);
  writer.AutoIndent = AutoIndent;
  writer.TempDocument = this;
  writer.WriteHeader();
  writer.WriteRootItem(*FRoot);
}

std::string TqbxXMLDocument::SaveToString() {
  std::ostringstream out;
  SaveToStream(out);
  return out.str();
}

void TqbxXMLDocument::LoadFromFile(const std::filesystem::path& file_name) {
  auto file = std::make_unique<std::fstream>(file_name, std::ios::in | std::ios::binary);
  if (!file->is_open()) throw Error("Cannot open file \"" + file_name.string() + "\"");
  LoadFromStream(std::move(file), true);
}

void TqbxXMLDocument::SaveToFile(const std::filesystem::path& file_name) {
  std::filesystem::path temp = file_name;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) throw Error("Cannot create file \"" + temp.string() + "\"");
    SaveToStream(out);
  }
  ReleaseSwap();
  std::error_code ignored;
  std::filesystem::remove(file_name, ignored);
  std::filesystem::rename(temp, file_name);
  LoadFromFile(file_name);
}

void TqbxXMLDocument::LoadItem(TqbxXMLItem& item, bool for_reading) {
  if (!item.Unloadable || item.Loaded) return;
  if (item.Packed()) return item.Unpack(for_reading);
  if (!FSwap) return;
  TqbxXMLReader reader(*FSwap);
  // The swap file this document writes is UTF-8; a loaded source keeps its own format.
  reader.OldFormat = !FSwapCreated && OldVersion;
  reader.SetPosition(item.Offset);
  reader.ReadRootItem(item, true);
  item.Loaded = true;
}

void TqbxXMLDocument::UnloadItem(TqbxXMLItem& item) {
  if (!item.Loaded || !item.Unloadable) return;
  if (SwapInMemory) return item.Pack();
  if (!FSwap) CreateSwapFile();
  FSwap->clear();
  FSwap->seekp(0, std::ios::end);
  const auto position = FSwap->tellp();
  TqbxXMLWriter writer(*FSwap);
  writer.WriteRootItem(item);
  FSwap->flush();
  item.Offset = static_cast<uint64_t>(position);
  item.Clear();
}

void TqbxXMLDocument::CreateSwapFile() {
  FSwap = std::make_unique<TqbxTempFile>(TempDir, "qb");
  FSwapCreated = true;
}

void TqbxXMLDocument::ReleaseSwap() {
  FSwap.reset();  // a swap file of its own is deleted with it
  FSwapCreated = false;
}

}  // namespace zavrik
