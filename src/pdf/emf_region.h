// Clip regions of the metafile player: lists of disjoint rectangles in device units, combined as
// the region records ask. Results are capped at kMaxRegionRects rectangles, so that hostile
// combinations cannot grow without bound.
#pragma once

#include <cstddef>
#include <vector>

namespace zavrik::pdf {

struct TEmfRect {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool IsEmpty() const { return !(right > left && bottom > top); }
};

using TEmfRegion = std::vector<TEmfRect>;

inline constexpr size_t kMaxRegionRects = 1024;

// The rectangles with an area, normalised to disjoint ones.
TEmfRegion MakeRegion(const std::vector<TEmfRect>& rects);
TEmfRegion IntersectRegions(const TEmfRegion& a, const TEmfRegion& b);
TEmfRegion UniteRegions(const TEmfRegion& a, const TEmfRegion& b);
TEmfRegion SubtractRegions(const TEmfRegion& a, const TEmfRegion& b);
TEmfRegion XorRegions(const TEmfRegion& a, const TEmfRegion& b);
TEmfRegion OffsetRegion(const TEmfRegion& a, double dx, double dy);
// The held region combined with a new one by the record's mode (1 and, 2 or, 3 xor, 4 diff,
// 5 copy); other modes leave the held region.
TEmfRegion CombineRegions(const TEmfRegion& held, const TEmfRegion& region, unsigned mode);

}  // namespace zavrik::pdf
