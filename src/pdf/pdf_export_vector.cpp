// Views written through the vector conversion: texts with markup, rotation or character spacing,
// check boxes, metafile pictures and any other view that records its drawing as a metafile.
#include "core/error.h"
#include "core/ustring.h"
#include "pdf/emf_pdf_export.h"
#include "pdf/pdf_export.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_view_rects.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/views/qbx_picture_view.h"

namespace zavrik {

using namespace pdf;

int TqbxPDFExport::JpegImageIndex(const std::string& jpeg, int width, int height) {
  const int index = JpegImage(jpeg, width, height);
  UseImage(index);
  return index;
}

int TqbxPDFExport::MaskedJpegImageIndex(const std::string& jpeg, const std::string& alpha, int width,
                                        int height) {
  const std::string hash = Md5Hex(jpeg) + Md5Hex(alpha);
  int index = FindImage(hash);
  if (index < 0) {
    PdfDocumentWriter& w = Writer();
    const int mask = w.ReserveObject();
    w.BeginObject(mask);
    w.Raw("<</Type/XObject/Subtype/Image/ColorSpace/DeviceGray/BitsPerComponent 8/Width " +
          std::to_string(width) + "/Height " + std::to_string(height));
    w.StreamObject(mask, alpha, Compressed, true);
    index = JpegImage(jpeg, width, height, hash, mask);
  }
  UseImage(index);
  return index;
}

void TqbxPDFExport::PlayVector(const TqbxView& view, std::span<const uint8_t> emf, const PdfRect& rect,
                               bool clipped) {
  const size_t start = FContent.size();
  try {
    TEMFtoPDFExport player(emf, FContent, rect, FFonts, *this);
    player.Transparency = Transparency;
    player.Clipped = clipped;
    player.PlayMetaFile();
    // What the conversion leaves out of a drawing is reported, not lost silently.
    if (!player.NotDrawnRecords().empty()) {
      std::string names;
      for (const std::string& name : player.NotDrawnRecords()) names += (names.empty() ? "" : ", ") + name;
      FViewErrors.Add(view.Name() + u": не выведены записи метафайла: " + Utf8ToString(names));
    }
  } catch (const Error& e) {
    // A refused metafile takes back what it wrote, so that the page stays balanced.
    FContent.resize(start);
    FViewErrors.Add(view.Name() + u": " + e.Message());
  }
}

void TqbxPDFExport::DrawVectorView(TqbxView& view) {
  WriteFill(FContent, *view.Fill(), ClipRect(view, FGeometry));
  auto* picture_view = dynamic_cast<TqbxPictureView*>(&view);
  if (picture_view && picture_view->Picture()->IsMetafile()) {
    // The picture's own records, placed where the view draws the picture, inside the view.
    const Rect r = picture_view->PictureRect();
    const PdfRect target{FGeometry.X(r.left), FGeometry.Y(r.top), FGeometry.X(r.right), FGeometry.Y(r.bottom)};
    Op(FContent, "q");
    Op(FContent, RectPath(ObjectRect(view, FGeometry)));
    Op(FContent, "W");
    Op(FContent, "n");
    if (!picture_view->Picture()->Empty()) PlayVector(view, picture_view->Picture()->Emf(), target, true);
    Op(FContent, "Q");
  } else {
    const std::vector<uint8_t> emf = view.GetVectorGraphic(false);
    const TqbxRect bounds = view.GetExportBounds();
    const PdfRect target{FGeometry.X(bounds.Left), FGeometry.Y(bounds.Top), FGeometry.X(bounds.Right),
                         FGeometry.Y(bounds.Bottom)};
    const auto* memo = dynamic_cast<const TqbxMemoView*>(&view);
    PlayVector(view, emf, target, !(memo && !memo->Clipped));
  }
  WriteFrame(FContent, *view.Frame(), ObjectRect(view, FGeometry));
}

}  // namespace zavrik
