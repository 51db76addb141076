// The document's font list: one entry per distinct font in order of first use; entry k is the page
// resource "/F" + k. Each entry gets its object number when a page first lists it and writes its
// objects when the document is finished.
#pragma once

#include <memory>
#include <vector>

#include "core/ustring.h"
#include "pdf/pdf_document.h"

namespace zavrik::pdf {

// What a font needs to know when it writes its objects.
struct PdfFontWriteOptions {
  bool compressed = true;
  bool embedded = false;
};

class PdfDocumentFont {
 public:
  virtual ~PdfDocumentFont() = default;
  // Writes the font's objects; the Type0 font itself goes at the reserved number `object`.
  virtual void Write(PdfDocumentWriter& writer, int object, const PdfFontWriteOptions& options) = 0;
};

class PdfFontList {
 public:
  // Appends a font and returns its index; `key` lets Find return it later.
  int Add(std::unique_ptr<PdfDocumentFont> font, String key = {});
  // The index of the font added with `key`, or -1.
  int Find(StringView key) const;
  int Count() const { return static_cast<int>(entries_.size()); }
  PdfDocumentFont& At(int index) const { return *entries_.at(index).font; }
  // The reserved object number of a font (0 before a page listed it).
  int ObjectOf(int index) const { return entries_.at(index).object; }

  // Reserves object numbers for the fonts that have none yet.
  void ReserveObjects(PdfDocumentWriter& writer);
  // "/F" + index with its reference, for every font listed so far.
  std::vector<PdfResource> Resources() const;
  // Writes every font that has a number and was not written yet.
  void WriteAll(PdfDocumentWriter& writer, const PdfFontWriteOptions& options);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::unique_ptr<PdfDocumentFont> font;
    String key;
    int object = 0;
    bool written = false;
  };
  std::vector<Entry> entries_;
};

}  // namespace zavrik::pdf
