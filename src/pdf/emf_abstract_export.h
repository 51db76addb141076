// TEMFAbstractExport: plays an enhanced metafile record by record. It keeps every record read,
// the device context with its stack of saved contexts and the table of created objects, maps
// logical coordinates to page points in a target rectangle, and calls one handler per record
// type; a subclass turns the drawing records into output.
//
// The bytes are untrusted: a record whose size runs past the end or below its own header ends the
// play, counts are checked against the record's size before anything is allocated, selections of
// handles outside the table or of objects of the wrong kind are ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ustring.h"
#include "pdf/emf_region.h"
#include "pdf/pdf_geometry.h"
#include "platform/byte_reader.h"

namespace zavrik::pdf {

// One record as read: its type and its bytes (header included), a view of the played stream.
struct TEnhMetaObj {
  uint32_t iType = 0;
  std::span<const uint8_t> bytes;
  uint32_t nSize() const { return static_cast<uint32_t>(bytes.size()); }
  // A reader over the record's bytes after its 8-byte header.
  ByteReader Body() const;
};

struct TEmfPoint {
  double x = 0, y = 0;
};

// The world transform: x' = x eM11 + y eM21 + eDx, y' = x eM12 + y eM22 + eDy.
struct TXForm {
  float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
  bool IsIdentity() const;
  // this × other in the row-vector order (this applied first).
  TXForm Times(const TXForm& other) const;
};

struct TDeviceContextData {
  TEmfPoint DeviceTopLeft, rTopLeft;
  uint32_t Layout = 0;
  uint32_t MapMode = 1;
  TEmfPoint WindowOrgEx, ViewPortOrgEx, BrushOrgEx;
  TEmfPoint WindowExtEx{1, 1}, ViewPortExtEx{1, 1};
  const TEnhMetaObj* Pen = nullptr;
  const TEnhMetaObj* Brush = nullptr;
  const TEnhMetaObj* Font = nullptr;
  const TEnhMetaObj* Palette = nullptr;
  const TEnhMetaObj* ColorSpace = nullptr;
  const TEnhMetaObj* ColorAdjustment = nullptr;
  TEmfPoint PositionCurrent, PositionNext;
  uint32_t BkMode = 2;
  uint32_t MiterLimit = 0x40800000;  // 4.0 as a float
  uint32_t BkColor = 0xFFFFFF, TextColor = 0;
  uint32_t SetRop2 = 13;
  uint32_t PolyFillMode = 1;
  std::shared_ptr<const TEmfRegion> ClipRgn;  // none: no clip; shared by the saved copies
  std::vector<uint32_t> EOFPalette;
  uint32_t StretchMode = 1;
  bool IsPathBracketOpened = false;
  uint32_t TextAlignmentMode = 0;
  uint32_t ICMMode = 0;
  TXForm XForm;
  uint32_t MapperFlags = 0;
  uint32_t iArcDirection = 1;
};

class TDeviceContext {
 public:
  virtual ~TDeviceContext() = default;
  TDeviceContextData Data;
  // A new context with the same data (subclasses reset their own flags).
  virtual std::unique_ptr<TDeviceContext> Copy() const;
};

// The attributes of the selected objects.
struct TEmfPenInfo {
  uint32_t style = 0x2200;
  double width = 1;
  uint32_t color = 0;
  uint32_t Kind() const { return style & 0xF; }
  uint32_t EndCap() const { return style & 0xF00; }
  uint32_t Join() const { return style & 0xF000; }
};
struct TEmfBrushInfo {
  uint32_t style = 0;
  uint32_t color = 0xFFFFFF;
  uint32_t hatch = 0;
};
struct TEmfFontInfo {
  double size = 12;
  int weight = 400;
  bool italic = false, underline = false, strike_out = false;
  uint8_t charset = 1;
  String family = u"Serif";
  int escapement = 0;  // tenths of a degree
  double Angle() const;
};

class TEMFAbstractExport {
 public:
  // `stream` must outlive the player; `target` is the rectangle in page points.
  TEMFAbstractExport(std::span<const uint8_t> stream, const PdfRect& target);
  virtual ~TEMFAbstractExport();

  // Plays the whole stream.
  void PlayMetaFile();

  // The records read so far, in order.
  const std::vector<std::unique_ptr<TEnhMetaObj>>& EMRList() const { return FEMRList; }
  const TDeviceContextData& DC() const { return FDC->Data; }
  size_t SavedContexts() const { return FDCList.size(); }
  // The drawing records (and raster operations) met but not drawn, each named once.
  const std::vector<std::string>& NotDrawnRecords() const { return FNotDrawn; }

 protected:
  // Called before the first record and after the last.
  virtual void BeginPlay() {}
  virtual void EndPlay() {}
  virtual std::unique_ptr<TDeviceContext> NewContext() const;

  // Drawing records; the abstract player only keeps their state effects.
  virtual void DoHeader() {}
  virtual void DoPolyPoints(uint32_t /*type*/, std::span<const TEmfPoint> /*points*/,
                            std::span<const uint32_t> /*counts*/) {}
  virtual void DoPolyDraw(std::span<const TEmfPoint> /*points*/, std::span<const uint8_t> /*kinds*/) {}
  virtual void DoLineTo() {}
  virtual void DoMoveTo() {}
  virtual void DoRectangle(uint32_t /*type*/, const TEmfPoint& /*a*/, const TEmfPoint& /*b*/,
                           const TEmfPoint& /*corner*/) {}
  // Arc, chord, pie and arc-to: the ellipse in the rectangle a-b, from the start radial to the
  // end radial.
  virtual void DoArc(uint32_t /*type*/, const TEmfPoint& /*a*/, const TEmfPoint& /*b*/,
                     const TEmfPoint& /*start*/, const TEmfPoint& /*end*/) {}
  virtual void DoAngleArc(const TEmfPoint& /*center*/, double /*radius*/, double /*start*/,
                          double /*sweep*/) {}
  virtual void DoCloseFigure() {}
  virtual void DoPaintPath(uint32_t /*type*/) {}
  virtual void DoSelectClipPath() {}
  virtual void DoFillRgn(uint32_t /*brush*/, const TEmfRegion& /*region*/) {}
  virtual void DoIntersectClipRect(const TEmfRect& /*rect*/) {}
  virtual void DoClipRegionChanged() {}
  virtual void DoSaveDC() {}
  virtual void DoRestoreDC(int32_t /*level*/) {}
  virtual void DoEoF() {}
  // The text output records, wide (84) and 8-bit (83).
  virtual void DoExtTextOutW(const TEnhMetaObj& /*record*/) {}
  virtual void DoBitmap(const TEnhMetaObj& /*record*/) {}

  // --- state shared with the subclass
  TDeviceContextData& Data() { return FDC->Data; }
  TDeviceContext& Context() { return *FDC; }
  const PdfRect& PDFRect() const { return FPDFRect; }
  TEmfPoint EMFtoPDFFactor() const { return FFactor; }
  // The object created under a handle (also the stock objects), or null.
  const TEnhMetaObj* ObjectAt(uint32_t handle) const;
  // Notes something the play leaves out (each once).
  void NotDrawn(const std::string& what);

  // A logical point mapped to the page; a logical rectangle's corners mapped and ordered.
  TEmfPoint MapPoint(const TEmfPoint& p) const;
  PdfRect MapRect(const TEmfPoint& a, const TEmfPoint& b) const;
  // A device point (no window/viewport mapping, no world transform) on the page.
  TEmfPoint MapDevicePoint(const TEmfPoint& p) const;
  // Logical lengths in points (x only, and the mean of x and y).
  double MapLengthX(double length) const;
  double MapLength(double length) const;

  TEmfPenInfo PenInfo() const;
  TEmfBrushInfo BrushInfo() const;
  TEmfFontInfo FontInfo() const;
  int HorizontalAlign() const;  // 0 left, 1 right, 2 centre
  int VerticalAlign() const;    // 0 top, 1 bottom, 2 baseline
  double MiterLimitValue() const;

 private:
  bool PlayRecord(TEnhMetaObj& record);
  void ReadHeader(const TEnhMetaObj& record);
  void ReadEofPalette();
  void ReadPolyRecord(const TEnhMetaObj& record);
  void ReadPolyDraw(const TEnhMetaObj& record);
  void CreateObject(const TEnhMetaObj& record);
  void SelectObject(uint32_t handle);
  void DeleteObject(uint32_t handle);
  void ExtSelectClipRgn(const TEnhMetaObj& record);
  void RestoreDC(int32_t level);
  double ScaleX() const;
  double ScaleY() const;

  std::span<const uint8_t> FStream;
  size_t FPosition = 0;
  PdfRect FPDFRect;
  TEmfPoint FFactor{1, 1};
  std::vector<std::unique_ptr<TEnhMetaObj>> FEMRList;
  std::unique_ptr<TDeviceContext> FDC;
  std::vector<std::unique_ptr<TDeviceContext>> FDCList;
  std::vector<const TEnhMetaObj*> FEMRLastCreated;
  bool FHeaderRead = false;
  std::vector<std::string> FNotDrawn;
};

// A region's rectangles and the record's region data: reads an RGNDATA block of `size` bytes.
// Counts beyond the block raise nothing: the region is empty then.
TEmfRegion ReadRegionData(ByteReader& in, uint32_t size);

// A 32-bit logical point (x, then y).
TEmfPoint ReadPoint(ByteReader& in);

// The point where a radial from the centre of the ellipse in the rectangle a-b meets it.
TEmfPoint EllipsePoint(const TEmfPoint& a, const TEmfPoint& b, const TEmfPoint& radial);

}  // namespace zavrik::pdf
