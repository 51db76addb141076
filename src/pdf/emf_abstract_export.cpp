#include "pdf/emf_abstract_export.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/error.h"

namespace zavrik::pdf {
namespace {

// Page coordinates are kept within this bound, so that hostile extents write sane numbers.
constexpr double kMaxCoordinate = 1e7;

// A new clip region; the old one stays with the saved contexts that share it.
void SetClip(TDeviceContextData& dc, TEmfRegion region) {
  dc.ClipRgn = std::make_shared<const TEmfRegion>(std::move(region));
}

double Bounded(double v) {
  if (!std::isfinite(v)) return 0;
  return std::clamp(v, -kMaxCoordinate, kMaxCoordinate);
}

// Record types of the published layout that this player reads.
enum : uint32_t {
  kHeader = 1, kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5, kPolylineTo = 6,
  kPolyPolyline = 7, kPolyPolygon = 8, kSetWindowExtEx = 9, kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11, kSetViewportOrgEx = 12, kSetBrushOrgEx = 13, kEof = 14,
  kSetMapperFlags = 16, kSetMapMode = 17, kSetBkMode = 18, kSetPolyFillMode = 19, kSetRop2 = 20,
  kSetStretchBltMode = 21, kSetTextAlign = 22, kSetTextColor = 24, kSetBkColor = 25,
  kOffsetClipRgn = 26, kMoveToEx = 27, kExcludeClipRect = 29, kIntersectClipRect = 30,
  kScaleViewportExtEx = 31, kScaleWindowExtEx = 32, kSaveDC = 33, kRestoreDC = 34,
  kSetWorldTransform = 35, kModifyWorldTransform = 36, kSelectObject = 37, kCreatePen = 38,
  kCreateBrushIndirect = 39, kDeleteObject = 40, kAngleArc = 41, kEllipse = 42, kRectangle = 43,
  kRoundRect = 44, kArc = 45, kChord = 46, kPie = 47, kCreatePalette = 49, kLineTo = 54, kArcTo = 55,
  kPolyDraw = 56,
  kSetArcDirection = 57, kSetMiterLimit = 58, kBeginPath = 59, kEndPath = 60, kCloseFigure = 61,
  kFillPath = 62, kStrokeAndFillPath = 63, kStrokePath = 64, kSelectClipPath = 67,
  kAbortPath = 68, kFillRgn = 71, kExtSelectClipRgn = 75, kBitBlt = 76, kStretchBlt = 77,
  kMaskBlt = 78, kPlgBlt = 79, kSetDIBitsToDevice = 80, kStretchDIBits = 81, kExtCreateFontIndirectW = 82,
  kExtTextOutA = 83, kExtTextOutW = 84,
  kPolyBezier16 = 85, kPolygon16 = 86, kPolyline16 = 87, kPolyBezierTo16 = 88,
  kPolylineTo16 = 89, kPolyPolyline16 = 90, kPolyPolygon16 = 91, kPolyDraw16 = 92,
  kCreateMonoBrush = 93, kCreateDIBPatternBrushPt = 94, kExtCreatePen = 95, kSetICMMode = 98,
  kCreateColorSpace = 99, kAlphaBlend = 114, kSetLayout = 115, kTransparentBlt = 116,
  kCreateColorSpaceW = 122, kLastType = 122,
};

TXForm ReadXForm(ByteReader& in) {
  TXForm f;
  for (float* v : {&f.eM11, &f.eM12, &f.eM21, &f.eM22, &f.eDx, &f.eDy}) {
    *v = in.F32();
    if (!std::isfinite(*v)) *v = 0;
  }
  return f;
}

// The stock objects: prepared creation records, built once per process.
class StockObjects {
 public:
  StockObjects() {
    static constexpr uint32_t kBrushes[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    for (int n = 0; n < 5; ++n) Brush(n, 0, kBrushes[n]);
    Brush(5, 1, 0);
    Pen(6, 0, 0xFFFFFF);
    Pen(7, 0, 0);
    Pen(8, 5, 0);
    Font(10, u"Terminal", 255);
    Font(11, u"Courier", 0);
    Font(12, u"Serif", 0);
    Font(13, u"System", 1);
    Font(14, u"System", 1);
    Add(15, {kCreatePalette, 12, 0});
    Font(16, u"Fixedsys", 1);
    Font(17, u"Serif", 1);
    Brush(18, 0, 0xFFFFFF);
    Pen(19, 0, 0);
  }
  const TEnhMetaObj* At(uint32_t n) const {
    return n < objects_.size() && !bytes_[n].empty() ? &objects_[n] : nullptr;
  }

 private:
  void Add(uint32_t n, std::vector<uint32_t> words) {
    words[1] = static_cast<uint32_t>(words.size() * 4);
    ByteWriter w;
    for (uint32_t v : words) w.U32(v);
    bytes_[n] = std::move(w.Bytes());
    objects_[n] = {words[0], bytes_[n]};
  }
  void Brush(uint32_t n, uint32_t style, uint32_t color) { Add(n, {kCreateBrushIndirect, 0, 0, style, color, 0}); }
  void Pen(uint32_t n, uint32_t style, uint32_t color) { Add(n, {kCreatePen, 0, 0, style, 1, 0, color}); }
  void Font(uint32_t n, std::u16string_view name, uint32_t charset) {
    std::vector<uint32_t> words = {kExtCreateFontIndirectW, 0, 0, 12, 0, 0, 0, 400, charset << 24, 0};
    for (size_t i = 0; i < 32; i += 2) {
      const uint32_t lo = i < name.size() ? name[i] : 0, hi = i + 1 < name.size() ? name[i + 1] : 0;
      words.push_back(lo | hi << 16);
    }
    Add(n, std::move(words));
  }

  std::array<std::vector<uint8_t>, 20> bytes_;
  std::array<TEnhMetaObj, 20> objects_;
};

const StockObjects& Stock() {
  static const StockObjects stock;
  return stock;
}

// The drawing records this player does not draw, by their names in the published layout.
const char* UndrawnRecordName(uint32_t type) {
  switch (type) {
    case 15: return "EMR_SETPIXELV";
    case 53: return "EMR_EXTFLOODFILL";
    case 72: return "EMR_FRAMERGN";
    case 73: return "EMR_INVERTRGN";
    case 74: return "EMR_PAINTRGN";
    case 96: return "EMR_POLYTEXTOUTA";
    case 97: return "EMR_POLYTEXTOUTW";
    case 108: return "EMR_SMALLTEXTOUT";
    case 118: return "EMR_GRADIENTFILL";
    default: return nullptr;
  }
}

bool IsPen(uint32_t type) { return type == kCreatePen || type == kExtCreatePen; }
bool IsBrush(uint32_t type) {
  return type == kCreateBrushIndirect || type == kCreateMonoBrush || type == kCreateDIBPatternBrushPt;
}

}  // namespace

ByteReader TEnhMetaObj::Body() const {
  ByteReader in(bytes);
  in.Skip(8);
  return in;
}

bool TXForm::IsIdentity() const {
  const double d = std::abs(eM11 - 1.0) + std::abs(eM12) + std::abs(eM21) + std::abs(eM22 - 1.0) +
                   std::abs(eDx) + std::abs(eDy);
  return d < 0.001;
}

TXForm TXForm::Times(const TXForm& o) const {
  TXForm r;
  r.eM11 = eM11 * o.eM11 + eM12 * o.eM21;
  r.eM12 = eM11 * o.eM12 + eM12 * o.eM22;
  r.eM21 = eM21 * o.eM11 + eM22 * o.eM21;
  r.eM22 = eM21 * o.eM12 + eM22 * o.eM22;
  r.eDx = eDx * o.eM11 + eDy * o.eM21 + o.eDx;
  r.eDy = eDx * o.eM12 + eDy * o.eM22 + o.eDy;
  for (float* v : {&r.eM11, &r.eM12, &r.eM21, &r.eM22, &r.eDx, &r.eDy})
    if (!std::isfinite(*v)) *v = 0;
  return r;
}

std::unique_ptr<TDeviceContext> TDeviceContext::Copy() const {
  auto copy = std::make_unique<TDeviceContext>();
  copy->Data = Data;
  return copy;
}

double TEmfFontInfo::Angle() const { return escapement / 10.0 * M_PI / 180; }

TEMFAbstractExport::TEMFAbstractExport(std::span<const uint8_t> stream, const PdfRect& target)
    : FStream(stream), FPDFRect(target) {}

TEMFAbstractExport::~TEMFAbstractExport() = default;

std::unique_ptr<TDeviceContext> TEMFAbstractExport::NewContext() const {
  return std::make_unique<TDeviceContext>();
}

void TEMFAbstractExport::PlayMetaFile() {
  Stock();
  FDC = NewContext();
  FDCList.clear();
  FPosition = 0;
  BeginPlay();
  uint32_t last = 0;
  while (last != kEof && FPosition < FStream.size()) {
    FPosition = (FPosition + 3) & ~size_t{3};
    if (FStream.size() - std::min(FPosition, FStream.size()) < 8) break;
    ByteReader header(FStream.subspan(FPosition, 8));
    const uint32_t type = header.U32(), size = header.U32();
    // A size below the header or past the end ends the play.
    if (size < 8 || size > FStream.size() - FPosition) {
      NotDrawn("damaged record " + std::to_string(type));
      break;
    }
    last = type;
    auto record = std::make_unique<TEnhMetaObj>();
    record->iType = type;
    record->bytes = FStream.subspan(FPosition, size);
    FPosition += size;
    FEMRList.push_back(std::move(record));
    Data().PositionCurrent = Data().PositionNext;
    try {
      if (!PlayRecord(*FEMRList.back())) break;
    } catch (const Error& e) {
      // A record shorter than its fields: the reader's only failure. It ends the play.
      if (e.Message() != u"Unexpected end of data") throw;
      NotDrawn("damaged record " + std::to_string(FEMRList.back()->iType));
      break;
    }
  }
  EndPlay();
}

bool TEMFAbstractExport::PlayRecord(TEnhMetaObj& record) {
  if (record.iType > kLastType) return true;
  if (!FHeaderRead && record.iType != kHeader) return true;  // nothing is mapped before a header
  ByteReader in = record.Body();
  TDeviceContextData& dc = Data();
  switch (record.iType) {
    case kHeader:
      if (!FHeaderRead) {
        ReadHeader(record);
        DoHeader();
      }
      break;
    case kPolyBezier: case kPolygon: case kPolyline: case kPolyBezierTo: case kPolylineTo:
    case kPolyPolyline: case kPolyPolygon: case kPolyBezier16: case kPolygon16: case kPolyline16:
    case kPolyBezierTo16: case kPolylineTo16: case kPolyPolyline16: case kPolyPolygon16:
      ReadPolyRecord(record);
      break;
    case kPolyDraw: case kPolyDraw16: ReadPolyDraw(record); break;
    case kSetWindowExtEx: dc.WindowExtEx = ReadPoint(in); break;
    case kSetWindowOrgEx: dc.WindowOrgEx = ReadPoint(in); break;
    case kSetViewportExtEx: dc.ViewPortExtEx = ReadPoint(in); break;
    case kSetViewportOrgEx: dc.ViewPortOrgEx = ReadPoint(in); break;
    case kSetBrushOrgEx: dc.BrushOrgEx = ReadPoint(in); break;
    case kEof: DoEoF(); return false;
    case kSetMapperFlags: dc.MapperFlags = in.U32(); break;
    case kSetMapMode: dc.MapMode = in.U32(); break;
    case kSetBkMode: dc.BkMode = in.U32(); break;
    case kSetPolyFillMode: dc.PolyFillMode = in.U32(); break;
    case kSetRop2: dc.SetRop2 = in.U32(); break;
    case kSetStretchBltMode: dc.StretchMode = in.U32(); break;
    case kSetTextAlign: dc.TextAlignmentMode = in.U32(); break;
    case kSetTextColor: dc.TextColor = in.U32() & 0xFFFFFF; break;
    case kSetBkColor: dc.BkColor = in.U32() & 0xFFFFFF; break;
    case kSetICMMode: dc.ICMMode = in.U32(); break;
    case kSetLayout: dc.Layout = in.U32(); break;
    case kSetArcDirection: dc.iArcDirection = in.U32(); break;
    case kSetMiterLimit: dc.MiterLimit = in.U32(); break;
    case kOffsetClipRgn: {
      const TEmfPoint d = ReadPoint(in);
      if (dc.ClipRgn) SetClip(dc, OffsetRegion(*dc.ClipRgn, d.x, d.y));
      break;
    }
    case kMoveToEx:
      dc.PositionNext = ReadPoint(in);
      DoMoveTo();
      break;
    case kExcludeClipRect: case kIntersectClipRect: {
      const TEmfPoint a = ReadPoint(in), b = ReadPoint(in);
      const TEmfRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
      if (record.iType == kExcludeClipRect) {
        if (dc.ClipRgn) SetClip(dc, SubtractRegions(*dc.ClipRgn, {r}));
      } else {
        if (a.x == b.x || a.y == b.y) break;
        if (dc.ClipRgn) SetClip(dc, IntersectRegions(*dc.ClipRgn, {r}));
        DoIntersectClipRect(r);
      }
      break;
    }
    case kScaleViewportExtEx: case kScaleWindowExtEx: {
      const double xn = in.I32(), xd = in.I32(), yn = in.I32(), yd = in.I32();
      if ((dc.MapMode == 7 || dc.MapMode == 8) && xd != 0 && yd != 0) {
        TEmfPoint& ext = record.iType == kScaleViewportExtEx ? dc.ViewPortExtEx : dc.WindowExtEx;
        ext = {Bounded(std::round(ext.x * xn / xd)), Bounded(std::round(ext.y * yn / yd))};
      }
      break;
    }
    case kSaveDC:
      FDCList.push_back(std::move(FDC));
      FDC = FDCList.back()->Copy();
      DoSaveDC();
      break;
    case kRestoreDC: RestoreDC(in.I32()); break;
    case kSetWorldTransform: dc.XForm = ReadXForm(in); break;
    case kModifyWorldTransform: {
      const TXForm f = ReadXForm(in);
      switch (in.U32()) {
        case 1: dc.XForm = TXForm{}; break;
        case 2: dc.XForm = f.Times(dc.XForm); break;
        case 3: dc.XForm = dc.XForm.Times(f); break;
        case 4: dc.XForm = f; break;
        default: break;
      }
      break;
    }
    case kSelectObject: SelectObject(in.U32()); break;
    case kDeleteObject: DeleteObject(in.U32()); break;
    case kCreatePen: case kCreateBrushIndirect: case kCreatePalette: case kExtCreateFontIndirectW:
    case kCreateMonoBrush: case kCreateDIBPatternBrushPt: case kExtCreatePen: case kCreateColorSpace:
    case kCreateColorSpaceW:
      CreateObject(record);
      break;
    case kAngleArc: {
      const TEmfPoint center = ReadPoint(in);
      const double radius = in.U32();
      const double start = in.F32(), sweep = in.F32();
      DoAngleArc(center, radius, std::isfinite(start) ? start : 0, std::isfinite(sweep) ? sweep : 0);
      break;
    }
    case kEllipse: case kRectangle: case kRoundRect: {
      const TEmfPoint a = ReadPoint(in), b = ReadPoint(in);
      const TEmfPoint corner = record.iType == kRoundRect ? ReadPoint(in) : TEmfPoint{};
      DoRectangle(record.iType, a, b, corner);
      break;
    }
    case kArc: case kChord: case kPie: case kArcTo: {
      const TEmfPoint a = ReadPoint(in), b = ReadPoint(in), start = ReadPoint(in), end = ReadPoint(in);
      if (record.iType == kArcTo) dc.PositionNext = EllipsePoint(a, b, end);
      DoArc(record.iType, a, b, start, end);
      break;
    }
    case kLineTo:
      dc.PositionNext = ReadPoint(in);
      DoLineTo();
      break;
    case kBeginPath: dc.IsPathBracketOpened = true; break;
    case kEndPath: case kAbortPath: dc.IsPathBracketOpened = false; break;
    case kCloseFigure: DoCloseFigure(); break;
    case kFillPath: case kStrokeAndFillPath: case kStrokePath: DoPaintPath(record.iType); break;
    case kSelectClipPath: DoSelectClipPath(); break;
    case kFillRgn: {
      in.Skip(16);
      const uint32_t size = in.U32(), brush = in.U32();
      DoFillRgn(brush, ReadRegionData(in, size));
      break;
    }
    case kExtSelectClipRgn: ExtSelectClipRgn(record); break;
    case kExtTextOutA: case kExtTextOutW: DoExtTextOutW(record); break;
    case kBitBlt: case kStretchBlt: case kMaskBlt: case kPlgBlt: case kSetDIBitsToDevice:
    case kStretchDIBits: case kAlphaBlend: case kTransparentBlt:
      DoBitmap(record);
      break;
    default:
      if (const char* name = UndrawnRecordName(record.iType)) NotDrawn(name);
      break;  // kept without effect
  }
  return true;
}

void TEMFAbstractExport::NotDrawn(const std::string& what) {
  if (std::find(FNotDrawn.begin(), FNotDrawn.end(), what) == FNotDrawn.end()) FNotDrawn.push_back(what);
}

void TEMFAbstractExport::ReadHeader(const TEnhMetaObj& record) {
  ByteReader in = record.Body();
  const TEmfPoint bounds = ReadPoint(in);
  in.Skip(8);
  const TEmfPoint frame_a = ReadPoint(in), frame_b = ReadPoint(in);
  in.Skip(16);  // signature, version, bytes, records
  const uint32_t handles = in.U16();
  in.Skip(2 + 8);
  const uint32_t palette_entries = in.U32();
  const TEmfPoint device = ReadPoint(in), millimetres = ReadPoint(in);
  FHeaderRead = true;
  FEMRLastCreated.assign(handles, nullptr);
  TDeviceContextData& dc = Data();
  dc.DeviceTopLeft = bounds;
  const double kx = millimetres.x != 0 ? device.x / millimetres.x : 0;
  const double ky = millimetres.y != 0 ? device.y / millimetres.y : 0;
  dc.rTopLeft = {Bounded(kx * frame_a.x / 100), Bounded(ky * frame_a.y / 100)};
  const double w = kx * (frame_b.x - frame_a.x) / 100, h = ky * (frame_b.y - frame_a.y) / 100;
  const double fx = (FPDFRect.right - FPDFRect.left) / w, fy = (FPDFRect.top - FPDFRect.bottom) / h;
  // A frame without size maps everything onto the target's corner.
  FFactor = {std::isfinite(fx) ? fx : 0, std::isfinite(fy) ? fy : 0};
  if (palette_entries != 0) ReadEofPalette();
}

void TEMFAbstractExport::ReadEofPalette() {
  size_t at = FPosition;
  while (true) {
    at = (at + 3) & ~size_t{3};
    if (at >= FStream.size() || FStream.size() - at < 8) throw Error(u"EMR_EoF not found");
    ByteReader header(FStream.subspan(at, 8));
    const uint32_t type = header.U32(), size = header.U32();
    if (size < 8 || size > FStream.size() - at) throw Error(u"EMR_EoF not found");
    if (type == kEof) {
      ByteReader in(FStream.subspan(at, size));
      in.Skip(8);
      const uint32_t count = in.U32(), offset = in.U32();
      if (offset < size && count <= (size - offset) / 4) {
        ByteReader entries(FStream.subspan(at + offset, size_t{count} * 4));
        Data().EOFPalette.resize(count);
        for (uint32_t& e : Data().EOFPalette) e = entries.U32();
      }
      return;
    }
    at += size;
  }
}

void TEMFAbstractExport::ReadPolyRecord(const TEnhMetaObj& record) {
  const uint32_t type = record.iType;
  const bool small = type >= kPolyBezier16;
  const bool multi = type == kPolyPolyline || type == kPolyPolygon || type == kPolyPolyline16 ||
                     type == kPolyPolygon16;
  ByteReader in = record.Body();
  in.Skip(16);
  std::vector<uint32_t> counts;
  uint32_t total;
  if (multi) {
    const uint32_t polys = in.U32();
    total = in.U32();
    if (polys > in.Remaining() / 4) return;
    counts.resize(polys);
    uint64_t sum = 0;
    for (uint32_t& c : counts) sum += c = in.U32();
    if (sum != total) return;
  } else {
    total = in.U32();
  }
  if (total > in.Remaining() / (small ? 4 : 8)) return;
  std::vector<TEmfPoint> points(total);
  for (TEmfPoint& p : points) {
    if (small) {
      const double x = in.I16();
      p = {x, static_cast<double>(in.I16())};
    } else {
      p = ReadPoint(in);
    }
  }
  // The "-to" records leave the current position at their last point.
  const uint32_t base = small ? type - kPolyBezier16 + kPolyBezier : type;
  if ((base == kPolylineTo || base == kPolyBezierTo) && !points.empty()) Data().PositionNext = points.back();
  DoPolyPoints(base, points, counts);
}

void TEMFAbstractExport::ReadPolyDraw(const TEnhMetaObj& record) {
  const bool small = record.iType == kPolyDraw16;
  ByteReader in = record.Body();
  in.Skip(16);
  const uint32_t count = in.U32();
  if (count > in.Remaining() / (small ? 5 : 9)) return;
  std::vector<TEmfPoint> points(count);
  for (TEmfPoint& p : points) {
    if (small) {
      const double x = in.I16();
      p = {x, static_cast<double>(in.I16())};
    } else {
      p = ReadPoint(in);
    }
  }
  const std::span<const uint8_t> kinds = in.Bytes(count);
  if (!points.empty()) Data().PositionNext = points.back();
  DoPolyDraw(points, kinds);
}

void TEMFAbstractExport::CreateObject(const TEnhMetaObj& record) {
  ByteReader in = record.Body();
  const uint32_t handle = in.U32();
  if (handle < FEMRLastCreated.size()) FEMRLastCreated[handle] = &record;
}

const TEnhMetaObj* TEMFAbstractExport::ObjectAt(uint32_t handle) const {
  if (handle & 0x80000000u) return Stock().At(handle & 0x7FFFFFFFu);
  return handle < FEMRLastCreated.size() ? FEMRLastCreated[handle] : nullptr;
}

void TEMFAbstractExport::SelectObject(uint32_t handle) {
  if (handle == 0x80000000u + 13) return;  // the "System" font leaves the font unchanged
  const TEnhMetaObj* object = ObjectAt(handle);
  if (!object) return;
  TDeviceContextData& dc = Data();
  const uint32_t type = object->iType;
  if (IsPen(type)) dc.Pen = object;
  else if (IsBrush(type)) dc.Brush = object;
  else if (type == kExtCreateFontIndirectW) dc.Font = object;
  else if (type == kCreatePalette) dc.Palette = object;
  else if (type == kCreateColorSpace || type == kCreateColorSpaceW) dc.ColorSpace = object;
}

void TEMFAbstractExport::DeleteObject(uint32_t handle) {
  if (handle & 0x80000000u || handle >= FEMRLastCreated.size() || !FEMRLastCreated[handle]) return;
  const TEnhMetaObj* object = FEMRLastCreated[handle];
  TDeviceContextData& dc = Data();
  for (const TEnhMetaObj** selected : {&dc.Pen, &dc.Brush, &dc.Font, &dc.Palette, &dc.ColorSpace})
    if (*selected == object) *selected = nullptr;
}

void TEMFAbstractExport::ExtSelectClipRgn(const TEnhMetaObj& record) {
  ByteReader in = record.Body();
  const uint32_t size = in.U32(), mode = in.U32();
  TEmfRegion region = ReadRegionData(in, size);
  TDeviceContextData& dc = Data();
  if (region.empty()) dc.ClipRgn.reset();
  else if (dc.ClipRgn) SetClip(dc, CombineRegions(*dc.ClipRgn, region, mode));
  else SetClip(dc, std::move(region));
  DoClipRegionChanged();
}

void TEMFAbstractExport::RestoreDC(int32_t level) {
  DoRestoreDC(level);
  for (int64_t i = level; i < 0 && !FDCList.empty(); ++i) {
    FDC = std::move(FDCList.back());
    FDCList.pop_back();
  }
}

TEmfPoint ReadPoint(ByteReader& in) {
  const double x = in.I32();
  return {x, static_cast<double>(in.I32())};
}

TEmfPoint EllipsePoint(const TEmfPoint& a, const TEmfPoint& b, const TEmfPoint& radial) {
  const TEmfPoint c{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const double rx = std::abs(b.x - a.x) / 2, ry = std::abs(b.y - a.y) / 2;
  const double angle = std::atan2(c.y - radial.y, radial.x - c.x);
  return {c.x + rx * std::cos(angle), c.y - ry * std::sin(angle)};
}

TEmfRegion ReadRegionData(ByteReader& in, uint32_t size) {
  if (size < 32 || size > in.Remaining()) return {};
  ByteReader data = in.Slice(in.Position(), size);
  data.Skip(8);
  const uint32_t count = data.U32();
  data.Skip(4 + 16);
  if (count > data.Remaining() / 16) return {};
  std::vector<TEmfRect> rects(count);
  for (TEmfRect& r : rects) {
    r.left = data.I32();
    r.top = data.I32();
    r.right = data.I32();
    r.bottom = data.I32();
  }
  return MakeRegion(rects);
}

// --- mapping

double TEMFAbstractExport::ScaleX() const {
  const TDeviceContextData& dc = FDC->Data;
  if ((dc.MapMode == 7 || dc.MapMode == 8) && dc.WindowExtEx.x != 0) return dc.ViewPortExtEx.x / dc.WindowExtEx.x;
  return 1;
}

double TEMFAbstractExport::ScaleY() const {
  const TDeviceContextData& dc = FDC->Data;
  if ((dc.MapMode == 7 || dc.MapMode == 8) && dc.WindowExtEx.y != 0) return dc.ViewPortExtEx.y / dc.WindowExtEx.y;
  return 1;
}

TEmfPoint TEMFAbstractExport::MapPoint(const TEmfPoint& p) const {
  const TDeviceContextData& dc = FDC->Data;
  double x, y;
  if (dc.MapMode == 7 || dc.MapMode == 8) {
    x = (p.x - dc.WindowOrgEx.x) * ScaleX() + dc.ViewPortOrgEx.x - dc.rTopLeft.x;
    y = (p.y - dc.WindowOrgEx.y) * ScaleY() + dc.ViewPortOrgEx.y - dc.rTopLeft.y;
  } else {
    x = p.x - dc.WindowOrgEx.x + dc.ViewPortOrgEx.x;
    y = p.y - dc.WindowOrgEx.y + dc.ViewPortOrgEx.y;
  }
  if (!dc.XForm.IsIdentity()) {
    const TXForm& f = dc.XForm;
    const double tx = x * f.eM11 + y * f.eM21 + f.eDx;
    y = x * f.eM12 + y * f.eM22 + f.eDy;
    x = tx;
  }
  return MapDevicePoint({x, y});
}

TEmfPoint TEMFAbstractExport::MapDevicePoint(const TEmfPoint& p) const {
  return {Bounded(p.x * FFactor.x + FPDFRect.left), Bounded(FPDFRect.top - p.y * FFactor.y)};
}

PdfRect TEMFAbstractExport::MapRect(const TEmfPoint& a, const TEmfPoint& b) const {
  const TEmfPoint p = MapPoint(a), q = MapPoint(b);
  return {std::min(p.x, q.x), std::max(p.y, q.y), std::max(p.x, q.x), std::min(p.y, q.y)};
}

double TEMFAbstractExport::MapLengthX(double length) const {
  double d = std::max(length, 1.0) * ScaleX();
  if (!FDC->Data.XForm.IsIdentity()) d *= FDC->Data.XForm.eM11;
  return Bounded(d * FFactor.x);
}

double TEMFAbstractExport::MapLength(double length) const {
  const TDeviceContextData& dc = FDC->Data;
  double dx = std::max(length, 1.0) * ScaleX(), dy = std::max(length, 1.0) * ScaleY();
  if (!dc.XForm.IsIdentity()) {
    dx *= dc.XForm.eM11;
    dy *= dc.XForm.eM22;
  }
  return Bounded((dx + dy) / 2 * (FFactor.x + FFactor.y) / 2);
}

// --- attributes of the selected objects

TEmfPenInfo TEMFAbstractExport::PenInfo() const {
  TEmfPenInfo pen;
  const TEnhMetaObj* record = FDC->Data.Pen;
  if (!record) return pen;
  ByteReader in = record->Body();
  in.U32();
  if (record->iType == kCreatePen) {
    pen.style = in.U32();
    pen.width = in.I32();
    in.I32();
    pen.color = in.U32() & 0xFFFFFF;
  } else {
    in.Skip(16);
    pen.style = in.U32();
    pen.width = in.U32();
    in.U32();
    pen.color = in.U32() & 0xFFFFFF;
  }
  return pen;
}

TEmfBrushInfo TEMFAbstractExport::BrushInfo() const {
  TEmfBrushInfo brush;
  const TEnhMetaObj* record = FDC->Data.Brush;
  if (!record || record->iType != kCreateBrushIndirect) return brush;
  ByteReader in = record->Body();
  in.U32();
  brush.style = in.U32();
  brush.color = in.U32() & 0xFFFFFF;
  brush.hatch = in.U32();
  if (brush.style == 1) brush.color = 0x1FFFFFFF;
  return brush;
}

TEmfFontInfo TEMFAbstractExport::FontInfo() const {
  TEmfFontInfo font;
  const TEnhMetaObj* record = FDC->Data.Font;
  if (!record) return font;
  ByteReader in = record->Body();
  in.U32();
  font.size = std::abs(static_cast<double>(in.I32()));
  in.I32();
  font.escapement = static_cast<int>(in.I32() % 3600);
  in.I32();
  font.weight = static_cast<int>(std::min<int64_t>(std::abs(static_cast<int64_t>(in.I32())), 1000));
  font.italic = in.U8() == 1;
  font.underline = in.U8() == 1;
  font.strike_out = in.U8() == 1;
  font.charset = in.U8();
  in.Skip(4);
  font.family.clear();
  for (int i = 0; i < 32 && in.Remaining() >= 2; ++i) {
    const char16_t ch = in.U16();
    if (ch == 0) break;
    font.family.push_back(ch);
  }
  return font;
}

int TEMFAbstractExport::HorizontalAlign() const {
  const uint32_t mode = FDC->Data.TextAlignmentMode;
  if ((mode & 6) == 6) return 2;
  return mode & 2 ? 1 : 0;
}

int TEMFAbstractExport::VerticalAlign() const {
  const uint32_t mode = FDC->Data.TextAlignmentMode;
  if ((mode & 24) == 24) return 2;
  return mode & 8 ? 1 : 0;
}

double TEMFAbstractExport::MiterLimitValue() const {
  const uint32_t bits = FDC->Data.MiterLimit;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  // Absurd limits are bounded: the PDF operator takes a number of at least 1.
  if (std::isfinite(value) && value >= 1) return std::min<double>(value, 1e6);
  return std::clamp<double>(static_cast<int32_t>(bits), 1, 1e6);
}

}  // namespace zavrik::pdf
