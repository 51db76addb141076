#include "pdf/pdf_document.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <zlib.h>

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

void PdfDocumentWriter::Start(std::string_view version, std::string file_id) {
  offsets_.clear();
  pages_.clear();
  file_id_ = std::move(file_id);
  content_digest_.reset();
  if (file_id_.empty()) {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    if (!context || EVP_DigestInit_ex(context, EVP_md5(), nullptr) != 1) {
      EVP_MD_CTX_free(context);
      throw Error("Cannot start an MD5 digest");
    }
    content_digest_ = std::shared_ptr<void>(context, [](void* c) {
      EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(c));
    });
  }
  Line("%PDF-" + std::string(version));
  Line("%\xE2\xE3\xCF\xD3");
  ReserveObject();  // 1: the page tree
}

int PdfDocumentWriter::ReserveObject() {
  offsets_.push_back(position_);
  return static_cast<int>(offsets_.size());
}

void PdfDocumentWriter::BeginObject(int number) {
  offsets_.at(number - 1) = position_;
  Line(std::to_string(number) + " 0 obj");
}

void PdfDocumentWriter::Line(std::string_view text) {
  Raw(text);
  Raw("\r\n");
}

void PdfDocumentWriter::Raw(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw Error(u"Cannot write the PDF document");
  position_ += bytes.size();
  if (content_digest_)
    EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(content_digest_.get()), bytes.data(), bytes.size());
}

void PdfDocumentWriter::StreamObject(int number, std::string_view data, bool compress,
                                     bool dictionary_open) {
  if (!dictionary_open) {
    BeginObject(number);
    Raw("<<");
  }
  std::string compressed;
  if (compress) {
    compressed = Deflate(data);
    data = compressed;
    Raw("/Length " + std::to_string(data.size()) + "/Filter/FlateDecode");
  } else {
    Raw("/Length " + std::to_string(data.size()));
  }
  Line(">>");
  Line("stream");
  Raw(data);
  Raw("\n");
  Line("endstream");
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
  const size_t xref = position_;
  const std::string size = std::to_string(offsets_.size() + 1);
  Line("xref");
  Line("0 " + size);
  Line("0000000000 65535 f");
  char entry[32];
  for (size_t offset : offsets_) {
    std::snprintf(entry, sizeof entry, "%010zu 00000 n", offset);
    Line(entry);
  }
  if (content_digest_) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(content_digest_.get()), digest, &length);
    content_digest_.reset();
    char byte[3];
    for (unsigned i = 0; i < length; ++i) {
      std::snprintf(byte, sizeof byte, "%02x", digest[i]);
      file_id_ += byte;
    }
  }
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
  out_.flush();
  if (!out_) throw Error(u"Cannot write the PDF document");
}

std::string NewFileId() {
  unsigned char g[16];
  if (RAND_bytes(g, sizeof g) != 1) throw Error("Cannot generate a random identifier");
  char guid[64];
  std::snprintf(guid, sizeof guid,
                "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g[0],
                g[1], g[2], g[3], g[4], g[5], g[6], g[7], g[8], g[9], g[10], g[11], g[12], g[13],
                g[14], g[15]);
  return Md5Hex(std::string_view(guid, 38));
}

std::string Md5Hex(std::string_view data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr);
  std::string hex;
  char byte[3];
  for (unsigned i = 0; i < length; ++i) {
    std::snprintf(byte, sizeof byte, "%02x", digest[i]);
    hex += byte;
  }
  return hex;
}

std::string Deflate(std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                1) != Z_OK)
    throw Error("Compression failed");
  out.resize(size);
  return out;
}

}  // namespace zavrik::pdf
