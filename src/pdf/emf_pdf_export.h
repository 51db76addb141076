// TEMFtoPDFExport: plays an enhanced metafile into a PDF page's content buffer, scaled into a
// target rectangle: paths, polygons, curves, clipping, save/restore, texts as real text in the
// document's fonts, bitmaps as image objects.
#pragma once

#include <string>

#include "pdf/emf_abstract_export.h"
#include "pdf/pdf_font_list.h"

namespace zavrik {
struct Image;
}

namespace zavrik::pdf {

struct EmfBitmapFields;

// The document's image table as the player needs it.
class PdfImageSink {
 public:
  virtual ~PdfImageSink() = default;
  // A JPEG of width × height pixels written once per distinct bytes and marked as used on the
  // page; returns its index (resource "/Im" + index).
  virtual int JpegImageIndex(const std::string& jpeg, int width, int height) = 0;
  // The same with `alpha` (one byte per pixel, rows top first) as the image's soft mask.
  virtual int MaskedJpegImageIndex(const std::string& jpeg, const std::string& alpha, int width, int height) = 0;
};

class TPDFDeviceContext : public TDeviceContext {
 public:
  bool ExtSelectClipRgnCreated = false;  // a region clip is open on the PDF graphics stack
  std::unique_ptr<TDeviceContext> Copy() const override;
};

class TEMFtoPDFExport : public TEMFAbstractExport {
 public:
  TEMFtoPDFExport(std::span<const uint8_t> in, std::string& out, const PdfRect& rect,
                  PdfFontList& fonts, PdfImageSink& images);

  bool ForceMitterLineJoin = false;
  bool ForceButtLineCap = false;
  int JPGQuality = 90;
  bool ForceNullBrush = false;
  bool Transparency = false;
  bool ForceAnsi = false;
  bool Clipped = true;

  int FqQBalance() const { return FqQBalance_; }

 protected:
  std::unique_ptr<TDeviceContext> NewContext() const override;
  void BeginPlay() override;
  void EndPlay() override;
  void DoHeader() override { FqQBalance_ = 0; }
  void DoPolyPoints(uint32_t type, std::span<const TEmfPoint> points, std::span<const uint32_t> counts) override;
  void DoPolyDraw(std::span<const TEmfPoint> points, std::span<const uint8_t> kinds) override;
  void DoLineTo() override;
  void DoMoveTo() override;
  void DoRectangle(uint32_t type, const TEmfPoint& a, const TEmfPoint& b, const TEmfPoint& corner) override;
  void DoArc(uint32_t type, const TEmfPoint& a, const TEmfPoint& b, const TEmfPoint& start,
             const TEmfPoint& end) override;
  void DoAngleArc(const TEmfPoint& center, double radius, double start, double sweep) override;
  void DoCloseFigure() override { WriteLine("h"); }
  void DoPaintPath(uint32_t type) override;
  void DoSelectClipPath() override;
  void DoFillRgn(uint32_t brush, const TEmfRegion& region) override;
  void DoIntersectClipRect(const TEmfRect& rect) override;
  void DoClipRegionChanged() override;
  void DoSaveDC() override { Push(); }
  void DoRestoreDC(int32_t level) override;
  void DoEoF() override;
  void DoExtTextOutW(const TEnhMetaObj& record) override;
  void DoBitmap(const TEnhMetaObj& record) override;

 private:
  // Output: lines go to the pending path while it exists, else to the content buffer.
  void WriteLine(const std::string& line);
  void WriteDirect(const std::string& line);
  void Push();  // "q"
  void Pop();   // "Q", never beyond the "q" written
  std::string Point(const TEmfPoint& logical) const;
  std::string RectText(const PdfRect& r) const;
  std::string PointText(const TEmfPoint& page) const;
  std::string Clip() const;  // "W" or "W*"
  void MoveTo(const TEmfPoint& logical);
  void LineTo(const TEmfPoint& logical);
  // Painting of the pending path with a mode (1 close, 2 stroke, 4 fill, 8 continue, 16 fill
  // with the background colour, 32 keep the fill colour).
  void Paint(int mode);
  // A drawing record's wrapping around its geometry.
  void BeginDrawing();
  void EndDrawing(int mode);
  void Curves(std::span<const TEmfPoint> points, size_t from);
  void RoundedRect(const PdfRect& r, double rx, double ry);
  // An arc on the ellipse of centre c and radii r (logical units) from angle a over sweep s
  // (degrees); `move` starts it with "m", else with "l".
  void Arc(const TEmfPoint& c, double rx, double ry, double a, double s, bool move);
  TPDFDeviceContext& PdfContext();
  void ExtTextOut(const TEnhMetaObj& record);
  // The source rectangle of a bitmap record placed on its destination.
  void WriteBitmap(const TEnhMetaObj& record, const EmfBitmapFields& fields);
  // The image object of a bitmap, with its alpha as a soft mask when `alpha` and some pixel is
  // not opaque; `premultiplied` colours are divided by their alpha first.
  int ImageIndex(const Image& image, bool alpha, bool premultiplied);
  void BitmapNotDrawn(const std::string& reason);

  std::string& FOut;
  PdfFontList& FFonts;
  PdfImageSink& FImages;
  int FqQBalance_ = 0;
  bool FPathExists = false;
  std::string FPath;
};

// The average colour of a monochrome pattern brush record over a background and a text colour.
uint32_t AverageBrushColor(const TEnhMetaObj* brush, uint32_t background, uint32_t text);

}  // namespace zavrik::pdf
