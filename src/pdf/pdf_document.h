// The file structure of a PDF document: header, numbered objects with a cross-reference list,
// stream objects, page objects, the page tree, the information dictionary, link annotations, the
// catalog and the trailer. Every line ends with CR LF.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/ustring.h"
#include "pdf/pdf_output.h"

namespace zavrik::pdf {

// A resource entry of a page: "/F0 12 0 R".
struct PdfResource {
  std::string name;
  int object = 0;
};

struct PdfPage {
  double width = 0;   // points
  double height = 0;  // points
  std::vector<PdfResource> fonts;
  std::vector<PdfResource> images;
  std::vector<int> annotations;
  bool transparency_group = false;
};

struct PdfInfo {
  String title, author, subject, keywords, creator, producer;
  std::string version = "1.7";
  std::string date;  // PdfDate text, used for CreationDate and ModDate
};

struct PdfViewerPreferences {
  bool hide_toolbar = false, hide_menubar = false, hide_window_ui = false;
  bool fit_window = false, center_window = false;
  bool print_scaling = false;
  bool use_outlines = false;
};

// A link annotation: its rectangle as two-decimal texts and either an address (a PDF string) or
// a destination page object with the target position in points.
struct PdfLink {
  int object = 0;
  std::string left, bottom, right, top;
  std::string address;  // empty for a page link
  int dest_page = 0;    // page object number; 0 when the target page was not exported
  double dest_y = 0;
};

class PdfDocumentWriter {
 public:
  // Writes to out; offsets count the bytes written through this writer. The bytes go out on a
  // thread of their own (PdfOutput): a failing stream raises an Error at a later call, at the
  // latest at XrefAndTrailer.
  explicit PdfDocumentWriter(std::ostream& out) : output_(out) {}

  // Writes the header and reserves object 1 for the page tree. file_id is 32 hex digits; empty,
  // the identifier becomes the MD5 of the bytes written before the trailer. `background` false
  // writes every byte at once.
  void Start(std::string_view version, std::string file_id, bool background = true);

  // Appends a cross-reference entry at the current position and returns its object number.
  int ReserveObject();
  // Writes "n 0 obj" and records the object's offset.
  void BeginObject(int number);
  void EndObject() { Line("endobj"); }
  void Line(std::string_view text);
  void Raw(std::string_view bytes) { output_.Append(bytes); }
  int ObjectCount() const { return object_count_; }

  // A stream object: the dictionary is opened here unless the caller already wrote "<<".
  void StreamObject(int number, std::string_view data, bool compress, bool dictionary_open = false);
  // Reserves a number and writes the data as a stream object; returns the number.
  int NewStreamObject(std::string_view data, bool compress);

  // Reserves the page object's number, writes the page object and lists it in the page tree.
  int PageObject(const PdfPage& page, int contents);

  void PageTree();
  int Info(const PdfInfo& info);
  void LinkAnnotation(const PdfLink& link);
  int Catalog(const PdfInfo& info, const PdfViewerPreferences& preferences);
  void XrefAndTrailer(int catalog, int info);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  const std::string& FileId() const { return file_id_; }

 private:
  PdfOutput output_;
  int object_count_ = 0;
  std::vector<int> pages_;
  std::string file_id_;
};

// "N 0 R".
std::string Ref(int number);

// 32 lower-case hex digits: the MD5 of a new random braced GUID text.
std::string NewFileId();

}  // namespace zavrik::pdf
