#include "pdf/pdf_font_list.h"

namespace zavrik::pdf {

int PdfFontList::Add(std::unique_ptr<PdfDocumentFont> font, String key) {
  entries_.push_back({std::move(font), std::move(key), 0, false});
  return Count() - 1;
}

int PdfFontList::Find(StringView key) const {
  if (key.empty()) return -1;
  for (int i = 0; i < Count(); ++i)
    if (entries_[i].key == key) return i;
  return -1;
}

void PdfFontList::ReserveObjects(PdfDocumentWriter& writer) {
  for (Entry& e : entries_)
    if (e.object == 0) e.object = writer.ReserveObject();
}

std::vector<PdfResource> PdfFontList::Resources() const {
  std::vector<PdfResource> list;
  for (int i = 0; i < Count(); ++i)
    if (entries_[i].object != 0) list.push_back({"F" + std::to_string(i), entries_[i].object});
  return list;
}

void PdfFontList::WriteAll(PdfDocumentWriter& writer, const PdfFontWriteOptions& options) {
  for (Entry& e : entries_) {
    if (e.object == 0 || e.written) continue;
    e.font->Write(writer, e.object, options);
    e.written = true;
  }
}

}  // namespace zavrik::pdf
