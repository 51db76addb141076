// The template document: reading a byte stream into a tree of TqbxXMLItem, writing it back, and
// partial loading (elements marked ` ld="0"` keep only their heads in memory and are reloaded from
// their stream or from a swap file on demand).
#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>

#include "core/variant.h"
#include "core/xml_tag_reader.h"
#include "core/xml_text.h"
#include "core/xml_writer.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

// "Invalid file format": every syntax failure of the document layer.
using TqbxInvalidXMLException = XmlFormatError;

String XmlEscape(StringView text);
void AppendXmlEscaped(String& out, StringView text);
// "&#n;" (decimal), "&quot;", "&amp;", "&lt;", "&gt;"; a reference that is not a decimal 32-bit
// integer raises "'%s' is not a valid integer value".
String XmlUnescape(StringView value);
// A value as attribute text: integers in decimal, floats and currency in general form, dates in
// the short date form, booleans as 1 and 0, strings escaped; other kinds give ''.
String XmlValueText(const Variant& value);

class TqbxXMLReader {
 public:
  explicit TqbxXMLReader(std::istream& stream) : FReader(stream) {}

  // The XML declaration; sets OldFormat for the old 8-bit attribute encoding.
  void ReadHeader();
  // Reads the next element into `item` (iteratively, any depth). An item that is not loaded keeps
  // its name and text and only gets its children back. Without `read_children`, elements marked
  // ` ld="0"` drop their children and become unloadable.
  void ReadRootItem(TqbxXMLItem& item, bool read_children = true);
  [[noreturn]] void RaiseException() const { throw TqbxInvalidXMLException(); }

  uint64_t Position() const { return FReader.Position(); }
  void SetPosition(uint64_t position) { FReader.SetPosition(position); }
  bool OldFormat = false;

 private:
  XmlTagReader FReader;
};

class TqbxXMLDocument;

class TqbxXMLWriter {
 public:
  explicit TqbxXMLWriter(std::ostream& stream) : FStream(stream) {}

  void WriteHeader();
  // Writes the element tree; unloaded elements are fetched from `TempDocument`'s swap stream.
  void WriteRootItem(TqbxXMLItem& root);

  bool AutoIndent = false;
  TqbxXMLDocument* TempDocument = nullptr;

 private:
  std::ostream& FStream;
};

class TqbxXMLDocument {
 public:
  TqbxXMLDocument();
  ~TqbxXMLDocument();
  TqbxXMLDocument(const TqbxXMLDocument&) = delete;
  TqbxXMLDocument& operator=(const TqbxXMLDocument&) = delete;

  TqbxXMLItem& Root() { return *FRoot; }
  // Clears the root and releases the swap stream.
  void Clear();

  // Reads the whole document from a stream the caller keeps.
  void LoadFromStream(std::istream& stream);
  // With partial loading the document keeps the stream as its swap stream.
  void LoadFromStream(std::unique_ptr<std::iostream> stream, bool allow_partial_loading);
  void LoadFromString(std::string_view bytes);
  void SaveToStream(std::ostream& stream);
  std::string SaveToString();
  // Loads with partial loading allowed; the document keeps the file open.
  void LoadFromFile(const std::filesystem::path& file_name);
  // Writes FileName + ".tmp", replaces FileName with it and loads it again.
  void SaveToFile(const std::filesystem::path& file_name);

  // Partial loading: read an unloaded item's children back, or move a loaded item's children
  // into the swap file, or with SwapInMemory into their packed form. Children loaded for reading
  // only keep their packed form for unloading (see TqbxXMLItem::Unpack).
  void LoadItem(TqbxXMLItem& item, bool for_reading = false);
  void UnloadItem(TqbxXMLItem& item);
  bool SwapInMemory = false;

  bool AutoIndent = false;
  bool OldVersion = false;
  String TempDir;

 private:
  friend class TqbxXMLWriter;
  void ReleaseSwap();
  void CreateSwapFile();

  std::unique_ptr<TqbxXMLItem> FRoot;
  std::unique_ptr<std::iostream> FSwap;
  bool FSwapCreated = false;  // the document created the swap file and deletes it
};

}  // namespace zavrik
