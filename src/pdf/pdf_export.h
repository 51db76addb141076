// The PDF export filter: the prepared pages drive it page by page (Start, StartPage, ExportObject
// for each offered object, FinishPage, Finish) and it writes one PDF file into Stream (or the file
// FileName). Views are drawn by DrawView; fonts and images collect in per-document lists.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_font_list.h"
#include "pdf/pdf_geometry.h"
#include "pdf/pdf_text_style.h"
#include "report/model/qbx_error_list.h"
#include "report/model/qbx_export_filter.h"

namespace zavrik {

class TqbxView;
class TqbxPicture;
struct TqbxRect;

// Bits of TqbxPDFExport::ProtectionFlags.
enum TqbxPDFProtectionFlag : int32_t { ePrint = 1, eModify = 2, eCopy = 4, eAnnot = 8 };
enum TqbxPDFStandard : int32_t {
  psNone, psPDFA_1a, psPDFA_1b, psPDFA_2a, psPDFA_2b, psPDFA_3a, psPDFA_3b
};
enum TqbxPDFVersion : int32_t { pv14, pv15, pv16, pv17 };

// "1.4" … "1.7".
std::string PdfVersionText(TqbxPDFVersion version);

class TqbxPDFExport : public TqbxCustomExportFilter, public pdf::PdfImageSink {
 public:
  TqbxPDFExport();
  ~TqbxPDFExport() override;

  bool Compressed = true;
  bool EmbeddedFonts = false;
  bool EmbedFontsIfProtected = true;
  bool PrintOptimized = false;
  bool Outline = false;
  bool Background = false;
  bool HTMLTags = true;
  int32_t Quality = 95;
  bool Transparency = false;
  String Title, Keywords, Producer;
  String Author = u"Quobrix";
  String Subject = u"Quobrix PDF export";
  // The application object's component name; it has none in this program.
  String Creator;
  String UserPassword, OwnerPassword;
  int32_t ProtectionFlags = ePrint | eModify | eCopy | eAnnot;
  bool HideToolbar = false, HideMenubar = false, HideWindowUI = false;
  bool FitWindow = false, CenterWindow = false;
  bool PrintScaling = false;
  bool PdfA = false;
  TqbxPDFStandard PDFStandard = psNone;
  TqbxPDFVersion PDFVersion = pv17;
  bool SaveOriginalImages = true;
  int32_t PictureDPI = 0;
  bool UsePNGAlpha = true;
  // Reproducible output: the information dictionary's dates are this time (seconds since
  // 1970-01-01 UTC) and the file identifier is the MD5 of the document's bytes before the trailer.
  std::optional<int64_t> SourceDateEpoch;

  bool Start() override;
  void StartPage(TqbxReportPage& page, int index) override;
  void ExportObject(TqbxComponent& object) override;
  void FinishPage(TqbxReportPage& page, int index) override;
  void Finish() override;
  String GetDescription() const override;

  // The per-document lists that page drawing fills.
  pdf::PdfFontList& Fonts() { return FFonts; }
  // Adds an image object written earlier (with the MD5 of its bytes) and returns its index, the
  // resource name being "/Im" + index; an image with the same hash returns the earlier index.
  int FindImage(const std::string& hash) const;
  int AddImage(const std::string& hash, int object);
  // Marks an image as drawn on the current page.
  void UseImage(int index);
  // A JPEG image object (written once per distinct bytes), marked as used on the current page.
  int JpegImageIndex(const std::string& jpeg, int width, int height) override;
  // The same with a soft mask of one alpha byte per pixel (written once per distinct pair).
  int MaskedJpegImageIndex(const std::string& jpeg, const std::string& alpha, int width, int height) override;
  // Reserves the annotation object of a link on the current page and records it for Finish.
  // `dest_page` is the 0-based index of a prepared page (or -1 for an address link).
  void AddLink(pdf::PdfLink link, int dest_page);

  const pdf::PdfPageGeometry& PageGeometry() const { return FGeometry; }
  // The current page's content buffer.
  std::string& Content() { return FContent; }
  pdf::PdfDocumentWriter& Writer();
  const std::string& FileId() const { return FFileId; }

 protected:
  // Draws one exported view into the page's content: records its link, then writes texts as PDF
  // text, views that allow vector export through DrawVectorView and the others as pictures.
  virtual void DrawView(TqbxView& view);
  // Views drawn through the vector conversion of their recorded drawing: the fill, the recording
  // played into the view's export bounds, the frame. A metafile picture plays its own bytes.
  virtual void DrawVectorView(TqbxView& view);
  // Plays a metafile into a rectangle of the page; a metafile the player refuses leaves nothing
  // on the page and one line "<view>: <cause>", which Finish reports with the report's errors.
  void PlayVector(const TqbxView& view, std::span<const uint8_t> emf, const pdf::PdfRect& rect, bool clipped);
  // The view drawn on a raster, written as a JPEG image object (once per distinct image).
  void DrawPicture(TqbxView& view);
  // The view drawn on a raster at the scale its kind and the options ask for, placed on the page.
  void DrawRaster(TqbxView& view, const TqbxRect& bounds, const TqbxPicture* picture);

 private:
  struct PageRecord {
    double height = 0;  // points
    bool back_picture_visible = false, back_picture_printable = false;
  };
  struct ImageEntry {
    std::string hash;
    int object = 0;
  };
  struct PendingLink {
    pdf::PdfLink link;
    int dest_page = -1;
  };

  bool IsProtected() const { return !UserPassword.empty() || !OwnerPassword.empty(); }
  void ClearState();
  void WriteLinks();
  void RecordLink(const TqbxView& view);
  // Writes a JPEG image object, or finds the same bytes written before; returns the image index.
  // `hash` identifies the image (the MD5 of the JPEG when empty), `smask` is its soft mask object.
  int JpegImage(const std::string& jpeg, int width, int height, std::string hash = {}, int smask = 0);

  std::unique_ptr<std::ofstream> FFile;
  std::unique_ptr<pdf::PdfDocumentWriter> FWriter;
  std::string FFileId;
  std::vector<PageRecord> FPages;
  std::map<int, int> FPageObjects;  // prepared page index → page object number
  pdf::PdfFontList FFonts;
  pdf::PdfTextStyles FTextStyles{FFonts};
  std::vector<ImageEntry> FImages;
  std::vector<int> FPageImages;
  std::vector<PendingLink> FLinks;
  std::vector<int> FPageAnnots;
  TqbxErrorList FViewErrors;  // views the export could not draw
  std::string FContent;
  bool FPageOpen = false;
  pdf::PdfPageGeometry FGeometry;
};

}  // namespace zavrik
