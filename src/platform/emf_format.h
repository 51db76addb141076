// Enhanced-metafile record types and constants of the published EMF layout, and the reading of a
// record stream into records.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas.h"

namespace zavrik {

enum EmfRecordType : uint32_t {
  EMR_HEADER = 1,
  EMR_POLYBEZIER = 2,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12,
  EMR_EOF = 14,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19,
  EMR_SETSTRETCHBLTMODE = 21,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_SETBKCOLOR = 25,
  EMR_MOVETOEX = 27,
  EMR_INTERSECTCLIPRECT = 30,
  EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34,
  EMR_SETWORLDTRANSFORM = 35,
  EMR_MODIFYWORLDTRANSFORM = 36,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43,
  EMR_ROUNDRECT = 44,
  EMR_LINETO = 54,
  EMR_BEGINPATH = 59,
  EMR_ENDPATH = 60,
  EMR_CLOSEFIGURE = 61,
  EMR_FILLPATH = 62,
  EMR_STROKEANDFILLPATH = 63,
  EMR_STROKEPATH = 64,
  EMR_SELECTCLIPPATH = 67,
  EMR_EXTSELECTCLIPRGN = 75,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84,
  EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87,
  EMR_POLYPOLYGON16 = 91,
  EMR_EXTCREATEPEN = 95,
};

inline constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kStockObject = 0x80000000;
inline constexpr uint32_t kStockBlackPen = kStockObject + 7;
inline constexpr uint32_t kStockWhiteBrush = kStockObject + 0;
inline constexpr uint32_t kStockSystemFont = kStockObject + 13;
inline constexpr uint32_t kTransparentBackground = 1;
inline constexpr uint32_t kMapModeAnisotropic = 8;
inline constexpr uint32_t kTextAlignBaseline = 24;
inline constexpr uint32_t kTextAlignRight = 2, kTextAlignCenter = 6, kTextAlignBottom = 8;
inline constexpr uint32_t kTextClipped = 4;
inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint32_t kStretchHalftone = 4;
inline constexpr uint32_t kRegionCopy = 5;

// The recorder's reference device: 4 pixels per millimetre, so that a frame in hundredths of a
// millimetre is a whole number for every pixel size.
inline constexpr int kEmfDeviceWidth = 4096, kEmfDeviceHeight = 3072;
inline constexpr int kEmfMillimetresWidth = 1024, kEmfMillimetresHeight = 768;

struct EmfHeader {
  Rect bounds;  // inclusive, device units
  Rect frame;   // inclusive, hundredths of a millimetre
  uint32_t bytes = 0, records = 0;
  uint16_t handles = 0;
  uint32_t palette_entries = 0;
  int device_width = 0, device_height = 0;
  int millimetres_width = 0, millimetres_height = 0;
};

struct EmfRecord {
  uint32_t type = 0;
  std::span<const uint8_t> bytes;  // the whole record, type and size included
};

// The records of a stream, header first, up to and including the end-of-file record (a stream
// without one ends after its last whole record). Raises Error on a malformed stream.
std::vector<EmfRecord> ReadEmfRecords(std::span<const uint8_t> stream);
EmfHeader ReadEmfHeader(std::span<const uint8_t> stream);

// The header's frame converted to device pixels.
Rect EmfFrameInPixels(std::span<const uint8_t> stream);

}  // namespace zavrik
