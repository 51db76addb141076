#include "pdf/pdf_document.h"

#include <sys/random.h>

#include <cstdio>

#include "core/error.h"
#include "core/numeric.h"
#include "pdf/pdf_format.h"

namespace zavrik::pdf {
namespace {

std::string Resources(const char* kind, const std::vector<PdfResource>& items) {
  std::string line = std::string("/") + kind + " << ";
  for (const auto& r : items) line += "/" + r.name + " " + Ref(r.object) + " ";
  return line + ">>";
}

}  // namespace

std::string Ref(int number) { return std::to_string(number) + " 0 R"; }

void PdfDocumentWriter::Start(std::string_view version, std::string file_id, bool background) {
  object_count_ = 0;
  pages_.clear();
  file_id_ = std::move(file_id);
  output_.Start(file_id_.empty(), background);
  Line("%PDF-" + std::string(version));
  Line("%\xE2\xE3\xCF\xD3");
  ReserveObject();  // 1: the page tree
}

int PdfDocumentWriter::ReserveObject() {
  output_.MarkObject(++object_count_);
  return object_count_;
}

void PdfDocumentWriter::BeginObject(int number) {
  if (number < 1 || number > object_count_)
    throw Error("PDF object " + std::to_string(number) + " was not reserved");
  output_.MarkObject(number);
  Line(std::to_string(number) + " 0 obj");
}

void PdfDocumentWriter::Line(std::string_view text) {
  Raw(text);
  Raw("\r\n");
}

void PdfDocumentWriter::StreamObject(int number, std::string_view data, bool compress,
                                     bool dictionary_open) {
  if (!dictionary_open) {
    BeginObject(number);
    Raw("<<");
  }
  output_.AppendStream(std::string(data), compress);
  EndObject();
}

int PdfDocumentWriter::NewStreamObject(std::string_view data, bool compress) {
  const int number = ReserveObject();
  StreamObject(number, data, compress);
  return number;
}

int PdfDocumentWriter::PageObject(const PdfPage& page, int contents) {
  const int number = ReserveObject();
  pages_.push_back(number);
  BeginObject(number);
  Line("<<");
  Line("/Type /Page");
  Line("/Parent " + Ref(1));
  Line("/MediaBox [0 0 " + F2(page.width) + " " + F2(page.height) + " ]");
  if (!page.annotations.empty()) {
    Line("/Annots [");
    for (int a : page.annotations) Line(Ref(a));
    Line("]");
  }
  if (page.transparency_group) Line("/Group << /Type /Group /S /Transparency /CS /DeviceRGB >>");
  Line("/Resources <<");
  Line(Resources("Font", page.fonts));
  if (!page.images.empty()) Line(Resources("XObject", page.images));
  Line("/ProcSet [/PDF /Text /ImageC ]");
  Line(">>");
  Line("/Contents " + Ref(contents));
  Line(">>");
  EndObject();
  return number;
}

void PdfDocumentWriter::PageTree() {
  BeginObject(1);
  Line("<<");
  Line("/Type /Pages");
  std::string kids = "/Kids [";
  for (int p : pages_) kids += Ref(p) + " ";
  Line(kids);
  Line("]");
  Line("/Count " + std::to_string(pages_.size()));
  Line(">>");
  EndObject();
}

int PdfDocumentWriter::Info(const PdfInfo& info) {
  const int number = ReserveObject();
  BeginObject(number);
  Line("<<");
  Line("/Title " + PdfTextString(info.title));
  Line("/Author " + PdfTextString(info.author));
  Line("/Subject " + PdfTextString(info.subject));
  Line("/Keywords " + PdfTextString(info.keywords));
  Line("/Creator " + PdfTextString(info.creator));
  Line("/Producer " + PdfTextString(info.producer));
  Line("/PDFVersion " + PdfTextString(Utf8ToString(info.version)));
  Line("/CreationDate " + info.date);
  Line("/ModDate " + info.date);
  Line(">>");
  EndObject();
  return number;
}

int PdfDocumentWriter::Catalog(const PdfInfo& info, const PdfViewerPreferences& prefs) {
  const int number = ReserveObject();
  BeginObject(number);
  Line("<<");
  Line("/Type /Catalog");
  Line("/Version /" + info.version);
  Line("/MarkInfo << /Marked true >>");
  Line("/Pages " + Ref(1));
  Line(prefs.use_outlines ? "/PageMode /UseOutlines" : "/PageMode /UseNone");
  Line("/ViewerPreferences <<");
  if (!info.title.empty()) Line("/DisplayDocTitle true");
  if (prefs.hide_toolbar) Line("/HideToolbar true");
  if (prefs.hide_menubar) Line("/HideMenubar true");
  if (prefs.hide_window_ui) Line("/HideWindowUI true");
  if (prefs.fit_window) Line("/FitWindow true");
  if (prefs.center_window) Line("/CenterWindow true");
  if (!prefs.print_scaling) Line("/PrintScaling /None");
  Line(">>");
  Line(">>");
  EndObject();
  return number;
}

void PdfDocumentWriter::LinkAnnotation(const PdfLink& link) {
  BeginObject(link.object);
  Line("<<");
  Line("/Type /Annot");
  Line("/Subtype /Link");
  Line("/Rect [" + link.left + " " + link.bottom + " " + link.right + " " + link.top + "]");
  if (!link.address.empty()) {
    Line("/BS << /W 0 >>");
    Line("/A <<");
    Line("/URI " + link.address);
    Line("/Type /Action");
    Line("/S /URI");
    Line(">>");
  } else if (link.dest_page > 0) {
    Line("/Border [16 16 0]");
    Line("/Dest [" + Ref(link.dest_page) + " /XYZ null " +
         std::to_string(RoundToInt64(link.dest_y).value_or(0)) + " null]");
  }
  Line(">>");
  EndObject();
}

void PdfDocumentWriter::XrefAndTrailer(int catalog, int info) {
  output_.Finish();  // every object written: the offsets are known
  const size_t xref = output_.Position();
  const std::vector<size_t> offsets = output_.Offsets();
  const std::string size = std::to_string(offsets.size() + 1);
  Line("xref");
  Line("0 " + size);
  Line("0000000000 65535 f");
  char entry[32];
  for (size_t offset : offsets) {
    std::snprintf(entry, sizeof entry, "%010zu 00000 n", offset);
    Line(entry);
  }
  if (const auto digest = output_.TakeDigest()) file_id_ = HexDigest(*digest);
  Line("trailer");
  Line("<<");
  Line("/Size " + size);
  Line("/Root " + Ref(catalog));
  Line("/Info " + Ref(info));
  Line("/ID [<" + file_id_ + "><" + file_id_ + ">]");
  Line(">>");
  Line("startxref");
  Line(std::to_string(xref));
  Line("%%EOF");
  output_.Flush();
}

std::string NewFileId() {
  unsigned char g[16];
  if (getrandom(g, sizeof g, 0) != static_cast<ssize_t>(sizeof g))
    throw Error("Cannot generate a random identifier");
  char guid[64];
  std::snprintf(guid, sizeof guid,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[0],
                g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], g[9], g[10], g[11], g[12], g[13],
                g[14], g[15]);
  return Md5Hex(std::string_view(guid, 38));
}

}  // namespace zavrik::pdf
