#include "pdf/emf_region.h"

#include <algorithm>

namespace zavrik::pdf {
namespace {

void Push(TEmfRegion& out, const TEmfRect& r) {
  if (!r.IsEmpty() && out.size() < kMaxRegionRects) out.push_back(r);
}

// The parts of r outside cut (at most four).
void PushDifference(TEmfRegion& out, const TEmfRect& r, const TEmfRect& cut) {
  const TEmfRect i{std::max(r.left, cut.left), std::max(r.top, cut.top), std::min(r.right, cut.right),
                   std::min(r.bottom, cut.bottom)};
  if (i.IsEmpty()) {
    Push(out, r);
    return;
  }
  Push(out, {r.left, r.top, r.right, i.top});
  Push(out, {r.left, i.bottom, r.right, r.bottom});
  Push(out, {r.left, i.top, i.left, i.bottom});
  Push(out, {i.right, i.top, r.right, i.bottom});
}

}  // namespace

TEmfRegion SubtractRegions(const TEmfRegion& a, const TEmfRegion& b) {
  TEmfRegion result = a;
  for (const TEmfRect& cut : b) {
    TEmfRegion next;
    for (const TEmfRect& r : result) PushDifference(next, r, cut);
    result = std::move(next);
    if (result.empty()) break;
  }
  return result;
}

TEmfRegion MakeRegion(const std::vector<TEmfRect>& rects) {
  TEmfRegion region;
  for (const TEmfRect& r : rects) {
    if (r.IsEmpty()) continue;
    const TEmfRegion rest = SubtractRegions({r}, region);
    for (const TEmfRect& part : rest) Push(region, part);
  }
  return region;
}

TEmfRegion IntersectRegions(const TEmfRegion& a, const TEmfRegion& b) {
  TEmfRegion out;
  for (const TEmfRect& x : a)
    for (const TEmfRect& y : b)
      Push(out, {std::max(x.left, y.left), std::max(x.top, y.top), std::min(x.right, y.right),
                 std::min(x.bottom, y.bottom)});
  return out;
}

TEmfRegion UniteRegions(const TEmfRegion& a, const TEmfRegion& b) {
  TEmfRegion out = a;
  for (const TEmfRect& r : SubtractRegions(b, a)) Push(out, r);
  return out;
}

TEmfRegion XorRegions(const TEmfRegion& a, const TEmfRegion& b) {
  return UniteRegions(SubtractRegions(a, b), SubtractRegions(b, a));
}

TEmfRegion OffsetRegion(const TEmfRegion& a, double dx, double dy) {
  TEmfRegion out;
  for (const TEmfRect& r : a) out.push_back({r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
  return out;
}

TEmfRegion CombineRegions(const TEmfRegion& held, const TEmfRegion& region, unsigned mode) {
  switch (mode) {
    case 1: return IntersectRegions(held, region);
    case 2: return UniteRegions(held, region);
    case 3: return XorRegions(held, region);
    case 4: return SubtractRegions(held, region);
    case 5: return region;
    default: return held;
  }
}

}  // namespace zavrik::pdf
