#include "pdf/pdf_export.h"

#include "core/datetime.h"
#include "core/error.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_line_shape.h"
#include "pdf/pdf_link_target.h"
#include "pdf/pdf_memo_text.h"
#include "pdf/pdf_view_rects.h"
#include "report/model/views/qbx_line_view.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"
#include "report/model/views/qbx_shape_view.h"
#include "report/model/views/qbx_view.h"

namespace zavrik {

using namespace pdf;

std::string PdfVersionText(TqbxPDFVersion version) {
  switch (version) {
    case pv14: return "1.4";
    case pv15: return "1.5";
    case pv16: return "1.6";
    default: return "1.7";
  }
}

TqbxPDFExport::TqbxPDFExport() = default;
TqbxPDFExport::~TqbxPDFExport() = default;

String TqbxPDFExport::GetDescription() const { return u"Файл Adobe Acrobat (PDF)"; }

PdfDocumentWriter& TqbxPDFExport::Writer() {
  if (!FWriter) throw Error(u"The PDF export has not been started");
  return *FWriter;
}

void TqbxPDFExport::ClearState() {
  FWriter.reset();
  FFile.reset();
  FFileId.clear();
  FPages.clear();
  FPageObjects.clear();
  FTextStyles.Clear();
  FFonts.Clear();
  FImages.clear();
  FPageImages.clear();
  FLinks.clear();
  FPageAnnots.clear();
  FViewErrors.Clear();
  FContent.clear();
  FPageOpen = false;
  FGeometry = {};
}

bool TqbxPDFExport::Start() {
  if (!Stream && FileName.empty()) return false;
  // The standard security handler is not built: refuse rather than write an unprotected file.
  if (IsProtected()) throw Error(u"Encrypted PDF output is not supported");
  ClearState();
  std::ostream* out = Stream;
  if (!out) {
    FFile = std::make_unique<std::ofstream>(StringToUtf8(FileName),
                                            std::ios::binary | std::ios::trunc);
    if (!*FFile) {
      FFile.reset();
      throw Error(u"Cannot create the file " + FileName);
    }
    out = FFile.get();
  }
  try {
    // Without a random identifier the writer derives one from the document's bytes.
    FFileId = SourceDateEpoch ? std::string() : NewFileId();
    FWriter = std::make_unique<PdfDocumentWriter>(*out);
    FWriter->Start(PdfVersionText(PDFVersion), FFileId);
  } catch (...) {
    ClearState();
    throw;
  }
  return true;
}

void TqbxPDFExport::StartPage(TqbxReportPage& page, int index) {
  Writer();  // raises when the export has not been started
  FPageImages.clear();
  FPageAnnots.clear();
  FContent.clear();
  FPageOpen = true;
  FGeometry = pdf::PageGeometry(page);
  FPages.push_back({FGeometry.height, page.BackPictureVisible(), page.BackPicturePrintable()});
  const PdfRect rect = PageRectangle(page, FGeometry, index);
  if (Background && static_cast<uint32_t>(page.Color()) != kNoColor)
    WritePageBackground(FContent, page.Color(), rect);
  WriteFrame(FContent, *page.Frame(), rect);
}

void TqbxPDFExport::ExportObject(TqbxComponent& object) {
  if (!object.IsView()) return;
  auto& view = static_cast<TqbxView&>(object);
  if ((view.Visibility() & vsExport) || (ExportNotPrintable && !view.Printable())) DrawView(view);
}

void TqbxPDFExport::DrawView(TqbxView& view) {
  if (!FPageOpen) throw Error(u"No PDF page is open");
  // The page's colour and frame are written by StartPage; its picture only with Background.
  if (view.Name() == u"_pagebackground" && !(Background && FPages.back().back_picture_visible))
    return;
  RecordLink(view);
  if (auto* memo = ComponentAs<TqbxCustomMemoView>(&view); memo && IsPlainText(*memo)) {
    PdfPageContent page{FContent, FGeometry, FFonts, FTextStyles};
    WriteMemoText(page, *memo);
  } else if (auto* line = ComponentAs<TqbxCustomLineView>(&view)) {
    WriteLineView(FContent, *line, FGeometry);
  } else if (auto* shape = ComponentAs<TqbxShapeView>(&view)) {
    WriteShapeView(FContent, *shape, FGeometry);
  } else if (view.IsEMFExportable()) {
    DrawVectorView(view);
  } else if (view.Width() != 0 && view.Height() != 0) {
    DrawPicture(view);
  }
}

void TqbxPDFExport::RecordLink(const TqbxView& view) {
  const std::optional<PdfLinkTarget> target =
      LinkTarget(view, Report ? Report->PreviewPages() : nullptr);
  if (!target) return;
  const PdfRect r = ObjectRect(view, FGeometry);
  PdfLink link;
  link.left = F2(r.left);
  link.bottom = F2(r.bottom);
  link.right = F2(r.right);
  link.top = F2(r.top);
  link.address = target->address;
  link.dest_y = FGeometry.Y(target->top);
  AddLink(std::move(link), target->address.empty() ? target->page : -1);
}

void TqbxPDFExport::FinishPage(TqbxReportPage&, int index) {
  PdfDocumentWriter& writer = Writer();
  if (!FPageOpen) return;  // StartPage failed: no page to finish
  FPageOpen = false;
  const int contents = writer.NewStreamObject(FContent, Compressed);
  FFonts.ReserveObjects(writer);
  PdfPage page;
  page.width = FGeometry.width;
  page.height = FGeometry.height;
  page.fonts = FFonts.Resources();
  for (int image : FPageImages)
    page.images.push_back({"Im" + std::to_string(image), FImages[image].object});
  page.annotations = FPageAnnots;
  page.transparency_group = Transparency;
  FPageObjects[index] = writer.PageObject(page, contents);
  FContent.clear();
  FPageImages.clear();
  FPageAnnots.clear();
}

int TqbxPDFExport::FindImage(const std::string& hash) const {
  for (size_t i = 0; i < FImages.size(); ++i)
    if (FImages[i].hash == hash) return static_cast<int>(i);
  return -1;
}

int TqbxPDFExport::AddImage(const std::string& hash, int object) {
  const int found = FindImage(hash);
  if (found >= 0) return found;
  FImages.push_back({hash, object});
  return static_cast<int>(FImages.size()) - 1;
}

void TqbxPDFExport::UseImage(int index) {
  if (index < 0 || index >= static_cast<int>(FImages.size()))
    throw Error(u"Unknown PDF image index");
  for (int used : FPageImages)
    if (used == index) return;
  FPageImages.push_back(index);
}

void TqbxPDFExport::AddLink(PdfLink link, int dest_page) {
  link.object = Writer().ReserveObject();
  FPageAnnots.push_back(link.object);
  FLinks.push_back({std::move(link), dest_page});
}

void TqbxPDFExport::WriteLinks() {
  for (PendingLink& pending : FLinks) {
    if (pending.link.address.empty()) {
      const auto page = FPageObjects.find(pending.dest_page);
      pending.link.dest_page = page == FPageObjects.end() ? 0 : page->second;
    }
    FWriter->LinkAnnotation(pending.link);
  }
}

void TqbxPDFExport::Finish() {
  if (!FWriter) return;
  try {
    DateParts day;
    TimeParts time;
    constexpr double kUnixEpochDays = 25569;  // 1970-01-01 as days since 1899-12-30
    DecodeDateTime(SourceDateEpoch ? kUnixEpochDays + static_cast<double>(*SourceDateEpoch) / 86400
                                   : CurrentDateTime(),
                   day, time);
    FFonts.WriteAll(*FWriter, {Compressed, EmbeddedFonts});
    FWriter->PageTree();
    PdfInfo info{Title, Author, Subject, Keywords, Creator, Producer, PdfVersionText(PDFVersion),
                 PdfDate(day.year, day.month, day.day, time.hour, time.minute, time.second)};
    const int info_object = FWriter->Info(info);
    WriteLinks();
    PdfViewerPreferences preferences;
    preferences.hide_toolbar = HideToolbar;
    preferences.hide_menubar = HideMenubar;
    preferences.hide_window_ui = HideWindowUI;
    preferences.fit_window = FitWindow;
    preferences.center_window = CenterWindow;
    preferences.print_scaling = PrintScaling;
    preferences.use_outlines = Outline;
    const int catalog = FWriter->Catalog(info, preferences);
    FWriter->XrefAndTrailer(catalog, info_object);
    if (FFile) FFile->close();
  } catch (...) {
    ClearState();
    throw;
  }
  const TqbxErrorList errors = FViewErrors;
  ClearState();
  // Views that could not be drawn are reported once the document is complete.
  if (Report && !errors.Empty()) {
    Report->Errors.AddAll(errors);
    Report->ReportError(u"Были обнаружены следующие ошибки:\r\n" + errors.Text());
  }
}

}  // namespace zavrik
