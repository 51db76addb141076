// Views written as raster pictures: the view draws itself on a raster that becomes a JPEG image
// object, shared by every place that shows the same bytes.
#include <cmath>

#include "core/numeric.h"
#include "pdf/pdf_export.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_jpeg.h"
#include "pdf/pdf_view_rects.h"
#include "platform/raster_canvas.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/views/qbx_picture_view.h"

namespace zavrik {
namespace {

using namespace pdf;

// Bounds the raster of absurdly large views (about 75 MB of pixels).
constexpr double kMaxRasterPixels = 25e6;

// Keeps a view's frame and gives it back when the drawing ends, also on failure.
class FrameKeeper {
 public:
  explicit FrameKeeper(TqbxFrame& frame) : frame_(frame) { kept_.Assign(frame); }
  ~FrameKeeper() { frame_.Assign(kept_); }

 private:
  TqbxFrame& frame_;
  TqbxFrame kept_;
};

}  // namespace

int TqbxPDFExport::JpegImage(const std::string& jpeg, int width, int height, std::string hash, int smask) {
  if (hash.empty()) hash = Md5Hex(jpeg);
  const int found = FindImage(hash);
  if (found >= 0) return found;
  PdfDocumentWriter& w = Writer();
  const int object = w.ReserveObject();
  w.BeginObject(object);
  w.Line("<<");
  w.Line("/Type /XObject");
  w.Line("/Subtype /Image");
  w.Line("/ColorSpace /DeviceRGB");
  w.Line("/BitsPerComponent 8");
  w.Line("/Filter /DCTDecode");
  w.Line("/Width " + std::to_string(width));
  w.Line("/Height " + std::to_string(height));
  if (smask) w.Line("/SMask " + Ref(smask));
  w.Line("/Length " + std::to_string(jpeg.size()));
  w.Line(">>");
  w.Line("stream");
  w.Raw(jpeg);
  w.Raw("\r\n");
  w.Line("endstream");
  w.EndObject();
  return AddImage(hash, object);
}

void TqbxPDFExport::DrawPicture(TqbxView& view) {
  const TqbxRect bounds = view.GetExportBounds();
  const double width = bounds.Right - bounds.Left, height = bounds.Bottom - bounds.Top;
  if (!(width >= 0.5 && height >= 0.5 && std::isfinite(width * height))) return;
  {
    FrameKeeper keeper(*view.Frame());
    view.Frame()->SetWidth(0);
    WriteFill(FContent, *view.Fill(), ClipRect(view, FGeometry));
    const auto* picture_view = dynamic_cast<TqbxPictureView*>(&view);
    const TqbxPicture* picture = picture_view ? picture_view->Picture() : nullptr;
    // A picture view without a picture has nothing but its frame to show.
    if (!(picture && picture->Empty())) DrawRaster(view, bounds, picture);
  }
  WriteFrame(FContent, *view.Frame(), ObjectRect(view, FGeometry));
}

void TqbxPDFExport::DrawRaster(TqbxView& view, const TqbxRect& bounds, const TqbxPicture* picture) {
  const double width = bounds.Right - bounds.Left, height = bounds.Bottom - bounds.Top;
  {
    const bool plain_brush = view.BrushStyle() == bsSolid || view.BrushStyle() == bsClear;
    const bool text = dynamic_cast<TqbxCustomMemoView*>(&view) != nullptr;
    double scale = (text || PrintOptimized) && plain_brush ? 3 : 1;
    if (PictureDPI > 0) {
      scale = PictureDPI * scale / 96;
    } else if (SaveOriginalImages && picture && !picture->IsMetafile()) {
      // A picture with more pixels than the rectangle keeps them.
      const double pixels = static_cast<double>(picture->Width()) * picture->Height();
      if (pixels > width * height) scale = std::max(scale, scale * std::sqrt(pixels / (width * height)));
    }
    if (width * height * scale * scale > kMaxRasterPixels)
      scale = std::sqrt(kMaxRasterPixels / (width * height));
    const int w = std::max(1, static_cast<int>(RoundHalfEven(width * scale)));
    const int h = std::max(1, static_cast<int>(RoundHalfEven(height * scale)));
    RasterCanvas canvas(w, h, clWhite);
    view.Draw(canvas, scale, scale, -bounds.Left * scale, -bounds.Top * scale);
    const int image = JpegImage(EncodeJpeg(canvas.Rgb24(), w, h, Quality), w, h);
    UseImage(image);
    Op(FContent, "q");
    Op(FContent, F2(width * kPointsPerPixel) + " 0.00 0.00 " + F2(height * kPointsPerPixel) + " " +
                     F2(FGeometry.X(bounds.Left)) + " " + F2(FGeometry.Y(bounds.Top + height)) +
                     " cm");
    Op(FContent, "/Im" + std::to_string(image) + " Do");
    Op(FContent, "Q");
  }
}

}  // namespace zavrik
