#include "pdf/emf_pdf_export.h"

#include <algorithm>
#include <cmath>

#include "core/error.h"
#include "pdf/pdf_format.h"

namespace zavrik::pdf {
namespace {

constexpr uint32_t kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5, kPolylineTo = 6,
                   kPolyPolyline = 7, kPolyPolygon = 8, kEllipse = 42, kRoundRect = 44, kChord = 46,
                   kPie = 47, kArcTo = 55, kFillPath = 62, kStrokeAndFillPath = 63;

// Arcs longer than this many turns are cut short: hostile sweeps would write without end.
constexpr double kMaxSweep = 3600;

}  // namespace

std::unique_ptr<TDeviceContext> TPDFDeviceContext::Copy() const {
  auto copy = std::make_unique<TPDFDeviceContext>();
  copy->Data = Data;
  return copy;
}

TEMFtoPDFExport::TEMFtoPDFExport(std::span<const uint8_t> in, std::string& out, const PdfRect& rect,
                                 PdfFontList& fonts, PdfImageSink& images)
    : TEMFAbstractExport(in, rect), FOut(out), FFonts(fonts), FImages(images) {}

std::unique_ptr<TDeviceContext> TEMFtoPDFExport::NewContext() const {
  return std::make_unique<TPDFDeviceContext>();
}

TPDFDeviceContext& TEMFtoPDFExport::PdfContext() { return static_cast<TPDFDeviceContext&>(Context()); }

// --- output

void TEMFtoPDFExport::WriteDirect(const std::string& line) {
  FOut += line;
  FOut += "\r\n";
}

void TEMFtoPDFExport::WriteLine(const std::string& line) {
  if (!FPathExists) return WriteDirect(line);
  FPath += line;
  FPath += "\r\n";
}

// Saving and restoring the graphics state never lands inside a pending path: a path object
// admits no "q" or "Q".
void TEMFtoPDFExport::Push() {
  WriteDirect("q");
  ++FqQBalance_;
}

void TEMFtoPDFExport::Pop() {
  if (FqQBalance_ <= 0) return;
  WriteDirect("Q");
  --FqQBalance_;
}

std::string TEMFtoPDFExport::PointText(const TEmfPoint& page) const { return F3t(page.x) + " " + F3t(page.y); }

std::string TEMFtoPDFExport::Point(const TEmfPoint& logical) const { return PointText(MapPoint(logical)); }

std::string TEMFtoPDFExport::RectText(const PdfRect& r) const {
  return F3t(r.left) + " " + F3t(r.bottom) + " " + F3t(r.right - r.left) + " " + F3t(r.top - r.bottom);
}

std::string TEMFtoPDFExport::Clip() const { return DC().PolyFillMode == 1 ? "W*" : "W"; }

void TEMFtoPDFExport::MoveTo(const TEmfPoint& logical) {
  FPathExists = true;
  WriteLine(Point(logical) + " m");
}

void TEMFtoPDFExport::LineTo(const TEmfPoint& logical) { WriteLine(Point(logical) + " l"); }

void TEMFtoPDFExport::Paint(int mode) {
  FPathExists = false;
  const TDeviceContextData& dc = DC();
  if (mode & 4) {
    if (mode & 16) WriteDirect(ColorB(dc.BkColor) + " rg");
    else if (!(mode & 32)) WriteDirect(ColorB(BrushInfo().color) + " rg");
  }
  if (mode & 2) {
    const TEmfPenInfo pen = PenInfo();
    const double w = MapLength(pen.width);
    const std::string d = F3t(6 * w), g = F3t(2 * w);
    std::string dash;
    switch (pen.Kind()) {
      case 0: case 5: case 6: break;
      case 1: dash = d; break;
      case 2: dash = g + " " + d; break;
      case 3: dash = d + " " + d + " " + g + " " + d; break;
      case 4: dash = d + " " + d + " " + g + " " + d + " " + g + " " + d; break;
      case 8: dash = g + " " + g; break;
      default: dash = d + " " + g; break;
    }
    WriteDirect("[" + dash + "] 0 d");
    WriteDirect(ColorB(pen.color) + " RG");
    WriteDirect(F3t(w) + " w");
    WriteDirect(F3t(MiterLimitValue()) + " M");
    const uint32_t cap = pen.EndCap(), join = pen.Join();
    WriteDirect(ForceButtLineCap ? "2 J" : cap == 0 ? "1 J" : cap == 0x100 ? "2 J" : "0 J");
    WriteDirect(ForceMitterLineJoin ? "0 j" : join == 0 ? "1 j" : join == 0x1000 ? "2 j" : "0 j");
  }
  FOut += FPath;
  FPath.clear();
  const bool even_odd = dc.PolyFillMode == 1;
  switch (mode & 7) {
    case 0: WriteDirect("n"); break;
    case 1: throw Error(u"Invalid Patch Painting");
    case 2: WriteDirect("S"); break;
    case 3: WriteDirect("s"); break;
    case 4: case 5: WriteDirect(even_odd ? "f*" : "f"); break;
    case 6: WriteDirect(even_odd ? "B*" : "B"); break;
    default: WriteDirect(even_odd ? "b*" : "b"); break;
  }
}

void TEMFtoPDFExport::BeginDrawing() {
  if (!DC().IsPathBracketOpened) Push();
}

void TEMFtoPDFExport::EndDrawing(int mode) {
  if (DC().IsPathBracketOpened) return;
  int filtered = 0;
  if ((mode & 2) && PenInfo().Kind() != 5) filtered |= 2;
  const uint32_t brush = BrushInfo().style;
  if ((mode & 4) && !ForceNullBrush && brush != 1 && brush != 7 && brush != 8 && brush != 9) filtered |= 4;
  Paint(filtered);
  Pop();
  if (mode & 8) MoveTo(DC().PositionNext);
}

// --- the play

void TEMFtoPDFExport::BeginPlay() {
  WriteDirect("q");
  if (Clipped) {
    FPathExists = true;
    WriteLine(RectText(PDFRect()) + " re");
    WriteLine(Clip());
    Paint(0);
  }
}

void TEMFtoPDFExport::EndPlay() {
  // A stream without an end-of-file record closes what it opened all the same.
  if (FPathExists || !FPath.empty()) Paint(0);
  while (FqQBalance_ > 0) Pop();
  WriteDirect("Q");
}

void TEMFtoPDFExport::DoEoF() {
  if (FPathExists || !FPath.empty()) Paint(0);
  if (PdfContext().ExtSelectClipRgnCreated) {
    PdfContext().ExtSelectClipRgnCreated = false;
    Pop();
  }
  while (FqQBalance_ > 0) Pop();
}

// --- geometry of the drawing records

void TEMFtoPDFExport::Curves(std::span<const TEmfPoint> points, size_t i) {
  while (points.size() - i >= 2) {
    const size_t left = points.size() - i;
    if (left == 2 || left == 4) {
      WriteLine(Point(points[i]) + " " + Point(points[i + 1]) + " v");
      i += 2;
    } else {
      WriteLine(Point(points[i]) + " " + Point(points[i + 1]) + " " + Point(points[i + 2]) + " c");
      i += 3;
    }
  }
}

void TEMFtoPDFExport::DoPolyPoints(uint32_t type, std::span<const TEmfPoint> points,
                                   std::span<const uint32_t> counts) {
  switch (type) {
    case kPolygon: case kPolyline: case kPolylineTo: {
      // A polyline-to of one point is a line from the current position.
      if (points.size() < (type == kPolylineTo ? 1u : 2u)) return;
      BeginDrawing();
      if (type == kPolylineTo) {
        // Continues the current figure: "l" from the pending point, or from the current position.
        if (!FPathExists) MoveTo(DC().PositionCurrent);
        for (const TEmfPoint& p : points) LineTo(p);
      } else {
        MoveTo(points[0]);
        for (size_t i = 1; i < points.size(); ++i) LineTo(points[i]);
        if (type == kPolygon) WriteLine("h");
      }
      EndDrawing(type == kPolygon ? 6 : type == kPolyline ? 2 : 10);
      return;
    }
    case kPolyPolygon: case kPolyPolyline: {
      if (counts.empty()) return;
      BeginDrawing();
      size_t at = 0;
      for (uint32_t count : counts) {
        if (count > 0) {
          MoveTo(points[at]);
          for (size_t i = 1; i < count; ++i) LineTo(points[at + i]);
          if (type == kPolyPolygon) WriteLine("h");
        }
        at += count;
      }
      EndDrawing(type == kPolyPolygon ? 6 : 2);
      return;
    }
    case kPolyBezier: case kPolyBezierTo: {
      if (points.empty()) return;
      BeginDrawing();
      if (type == kPolyBezier) {
        MoveTo(points[0]);
        Curves(points, 1);
        EndDrawing(2);
      } else {
        if (!FPathExists) MoveTo(DC().PositionCurrent);
        Curves(points, 0);
        EndDrawing(10);
      }
      return;
    }
    default: return;
  }
}

void TEMFtoPDFExport::DoPolyDraw(std::span<const TEmfPoint> points, std::span<const uint8_t> kinds) {
  if (points.empty()) return;
  BeginDrawing();
  if (!FPathExists) MoveTo(DC().PositionCurrent);
  for (size_t i = 0; i < points.size(); ++i) {
    const uint8_t t = kinds[i];
    if ((t & 6) == 6) {
      MoveTo(points[i]);
    } else if (t & 2) {
      LineTo(points[i]);
    } else if (t & 4) {
      if (i + 2 < points.size()) {
        WriteLine(Point(points[i]) + " " + Point(points[i + 1]) + " " + Point(points[i + 2]) + " c");
        i += 2;
      } else if (i + 1 < points.size()) {
        WriteLine(Point(points[i]) + " " + Point(points[i + 1]) + " v");
        i += 1;
      }
    }
    if (t & 1) WriteLine("h");
  }
  EndDrawing(2);
}

void TEMFtoPDFExport::DoLineTo() {
  BeginDrawing();
  if (!FPathExists) MoveTo(DC().PositionCurrent);
  LineTo(DC().PositionNext);
  EndDrawing(10);
}

void TEMFtoPDFExport::DoMoveTo() { MoveTo(DC().PositionNext); }

void TEMFtoPDFExport::RoundedRect(const PdfRect& r, double rx, double ry) {
  rx = std::min(std::abs(rx), (r.right - r.left) / 2);
  ry = std::min(std::abs(ry), (r.top - r.bottom) / 2);
  const double l = r.left, t = r.top, rt = r.right, b = r.bottom;
  const auto p = [](double x, double y) { return F3t(x) + " " + F3t(y); };
  FPathExists = true;
  WriteLine(p(l + rx, b) + " m");
  WriteLine(p(rt - rx, b) + " l");
  WriteLine(p(rt - rx / 2, b) + " " + p(rt, b + ry / 2) + " " + p(rt, b + ry) + " c");
  WriteLine(p(rt, t - ry) + " l");
  WriteLine(p(rt, t - ry / 2) + " " + p(rt - rx / 2, t) + " " + p(rt - rx, t) + " c");
  WriteLine(p(l + rx, t) + " l");
  WriteLine(p(l + rx / 2, t) + " " + p(l, t - ry / 2) + " " + p(l, t - ry) + " c");
  WriteLine(p(l, b + ry) + " l");
  WriteLine(p(l, b + ry / 2) + " " + p(l + rx / 2, b) + " " + p(l + rx, b) + " c");
  WriteLine("h");
}

void TEMFtoPDFExport::DoRectangle(uint32_t type, const TEmfPoint& a, const TEmfPoint& b,
                                  const TEmfPoint& corner) {
  const PdfRect r = MapRect(a, b);
  BeginDrawing();
  if (type == kEllipse) {
    RoundedRect(r, (r.right - r.left) / 2, (r.top - r.bottom) / 2);
  } else if (type == kRoundRect) {
    RoundedRect(r, MapLengthX(corner.x) / 2, MapLength(corner.y) / 2);
  } else {
    FPathExists = true;
    WriteLine(RectText(r) + " re");
  }
  EndDrawing(6);
}

void TEMFtoPDFExport::Arc(const TEmfPoint& c, double rx, double ry, double a, double s, bool move) {
  s = std::clamp(s, -kMaxSweep, kMaxSweep);
  if (s == 0) return;
  const int n = static_cast<int>(std::ceil(std::abs(s) / 60));
  const double step = s / n * M_PI / 180;
  const auto at = [&](double theta) { return TEmfPoint{c.x + rx * std::cos(theta), c.y - ry * std::sin(theta)}; };
  const auto d = [&](double theta) { return TEmfPoint{-rx * std::sin(theta), -ry * std::cos(theta)}; };
  const double k = std::sin(step) * (std::sqrt(4 + 3 * std::pow(std::tan(step / 2), 2)) - 1) / 3;
  double t1 = a * M_PI / 180;
  if (move) MoveTo(at(t1));
  else LineTo(at(t1));
  for (int i = 0; i < n; ++i) {
    const double t2 = t1 + step;
    const TEmfPoint p1 = at(t1), p2 = at(t2), d1 = d(t1), d2 = d(t2);
    WriteLine(Point({p1.x + k * d1.x, p1.y + k * d1.y}) + " " + Point({p2.x - k * d2.x, p2.y - k * d2.y}) + " " +
              Point(p2) + " c");
    t1 = t2;
  }
}

void TEMFtoPDFExport::DoArc(uint32_t type, const TEmfPoint& a, const TEmfPoint& b, const TEmfPoint& start,
                            const TEmfPoint& end) {
  const TEmfPoint c{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const double rx = std::abs(b.x - a.x) / 2, ry = std::abs(b.y - a.y) / 2;
  const double from = std::atan2(c.y - start.y, start.x - c.x) * 180 / M_PI;
  const double to = std::atan2(c.y - end.y, end.x - c.x) * 180 / M_PI;
  double sweep = std::fmod(to - from, 360.0);
  if (sweep < 0) sweep += 360;
  if (type == kPie) {
    BeginDrawing();
    Arc(c, rx, ry, from, sweep, true);
    if (sweep == 0) MoveTo(c);
    LineTo(c);
    WriteLine("h");  // the two radii close the outline
    EndDrawing(7);
  } else if (type == kArcTo) {
    // A line from the current position to the arc's start, then the arc.
    BeginDrawing();
    if (!FPathExists) MoveTo(DC().PositionCurrent);
    Arc(c, rx, ry, from, sweep, false);
    EndDrawing(10);
  } else if (sweep != 0) {
    BeginDrawing();
    Arc(c, rx, ry, from, sweep, true);
    if (type == kChord) WriteLine("h");  // the chord closes the outline
    EndDrawing(type == kChord ? 7 : 2);
  }
}

void TEMFtoPDFExport::DoAngleArc(const TEmfPoint& center, double radius, double start, double sweep) {
  if (std::clamp(sweep, -kMaxSweep, kMaxSweep) == 0) return;
  BeginDrawing();
  Arc(center, radius, radius, start, sweep, true);
  EndDrawing(2);
}

// --- paths, clipping, saving

void TEMFtoPDFExport::DoPaintPath(uint32_t type) {
  Paint(type == kFillPath ? 4 : type == kStrokeAndFillPath ? 6 : 2);
}

void TEMFtoPDFExport::DoSelectClipPath() {
  WriteLine(Clip());
  Paint(0);
}

void TEMFtoPDFExport::DoFillRgn(uint32_t brush, const TEmfRegion& region) {
  Push();
  WriteLine(ColorB(AverageBrushColor(ObjectAt(brush), DC().BkColor, DC().TextColor)) + " rg");
  for (const TEmfRect& r : region) {
    FPathExists = true;
    WriteLine(RectText(MapRect({r.left, r.top}, {r.right, r.bottom})) + " re");
  }
  Paint(36);
  Pop();
}

void TEMFtoPDFExport::DoIntersectClipRect(const TEmfRect& rect) {
  FPathExists = true;
  WriteLine(RectText(MapRect({rect.left, rect.top}, {rect.right, rect.bottom})) + " re");
  WriteLine(Clip());
  Paint(0);
}

void TEMFtoPDFExport::DoClipRegionChanged() {
  TPDFDeviceContext& dc = PdfContext();
  if (dc.ExtSelectClipRgnCreated) Pop();
  else dc.ExtSelectClipRgnCreated = true;
  Push();
  if (!dc.Data.ClipRgn) return;
  const TEmfPoint origin = dc.Data.rTopLeft;
  for (const TEmfRect& r : *dc.Data.ClipRgn) {
    const TEmfPoint p = MapDevicePoint({r.left - origin.x, r.top - origin.y});
    const TEmfPoint q = MapDevicePoint({r.right - origin.x, r.bottom - origin.y});
    FPathExists = true;
    WriteLine(RectText({std::min(p.x, q.x), std::max(p.y, q.y), std::max(p.x, q.x), std::min(p.y, q.y)}) + " re");
  }
  WriteLine(Clip());
  Paint(0);
}

void TEMFtoPDFExport::DoRestoreDC(int32_t level) {
  if (PdfContext().ExtSelectClipRgnCreated) {
    PdfContext().ExtSelectClipRgnCreated = false;
    Pop();
  }
  const int64_t steps = std::abs(static_cast<int64_t>(level));
  for (int64_t i = 0; i < steps && FqQBalance_ > 0; ++i) Pop();
}

uint32_t AverageBrushColor(const TEnhMetaObj* brush, uint32_t background, uint32_t text) {
  if (!brush) return 0x808080;
  ByteReader in = brush->Body();
  in.U32();
  if (brush->iType == 39) {
    in.U32();
    return in.U32() & 0xFFFFFF;
  }
  if (brush->iType != 93 && brush->iType != 94) return 0x808080;
  in.Skip(8);
  const uint32_t offset = in.U32(), size = in.U32();
  if (offset > brush->nSize() || size > brush->nSize() - offset || size < 4) return 0x808080;
  ByteReader bits(brush->bytes.subspan(offset, size));
  uint64_t set = 0, total = 0;
  while (bits.Remaining() >= 4) {
    set += static_cast<uint64_t>(__builtin_popcount(bits.U32() & 0xFFFF));
    total += 16;
  }
  const double p = static_cast<double>(set) / static_cast<double>(total);
  uint32_t color = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double c = ((background >> shift) & 0xFF) * p + ((text >> shift) & 0xFF) * (1 - p);
    color |= static_cast<uint32_t>(std::lround(c)) << shift;
  }
  return color;
}

}  // namespace zavrik::pdf
