// Shifting: objects below a stretched object move down by its growth (or up by its shrinking).
#include <algorithm>

#include "engine/qbx_engine.h"

namespace zavrik {

namespace {

constexpr double kEpsilon = 0.0001;

struct ShiftItem {
  TqbxView* Object = nullptr;
  double ShiftAmount = 0;  // growth of the object in this output
  double Pushed = 0;       // how far the object moves
  double MinDist = 0;
  bool IsPushed = false;
};

bool OverlapsHorizontally(const TqbxView& object, const TqbxView& above) {
  return object.Left() <= above.Left() + above.Width() - kEpsilon &&
         object.Left() + object.Width() - kEpsilon >= above.Left();
}

}  // namespace

// The linear structure: the objects within the container's width in Top order; each pushes the
// later ones that started below its old bottom. (The tree structure of seTree bands, which also
// keeps objects beside a stretched one in place when they start lower, is to follow; the linear
// one serves every band that shifts until then.)
void TqbxEngine::ShiftObjects(TqbxComponent& container, const std::vector<double>& shift_amounts) {
  const auto* band = dynamic_cast<const TqbxBand*>(&container);
  if (band && band->ShiftEngine() == seDontShift) return;
  std::vector<ShiftItem> items;
  for (int i = 0; i < container.Count(); ++i) {
    auto* view = dynamic_cast<TqbxView*>(&container.Child(i));
    if (!view) continue;
    const double width = container.Width();
    const bool inside = width <= 0 || (view->Left() >= 0 && view->Left() <= width) ||
                        (view->Left() + view->Width() >= 0 && view->Left() + view->Width() <= width);
    if (!inside) continue;
    items.push_back({view, shift_amounts[static_cast<size_t>(i)]});
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const ShiftItem& a, const ShiftItem& b) { return a.Object->Top() < b.Object->Top(); });

  for (size_t i = 0; i < items.size(); ++i) {
    const TqbxView& above = *items[i].Object;
    const double a = items[i].ShiftAmount;
    const double s = items[i].Pushed;
    const double bottom = above.Top() + above.Height();
    for (size_t j = i + 1; j < items.size(); ++j) {
      ShiftItem& item = items[j];
      const TqbxView& object = *item.Object;
      if (object.ShiftMode() == smDontShift) continue;
      if (object.Top() < bottom - a - kEpsilon) continue;
      if (object.ShiftMode() == smWhenOverlapped && !OverlapsHorizontally(object, above)) continue;
      const bool grow = a > 0 || (item.IsPushed && item.Pushed + object.Top() < s + bottom);
      const double f = grow ? std::max(item.Pushed, a + s) : std::min(item.Pushed, a + s);
      if (item.IsPushed && item.MinDist > f + object.Top()) break;
      item.MinDist = std::max(s + bottom, item.MinDist);
      item.Pushed = f;
      item.IsPushed = true;
    }
  }
  for (const ShiftItem& item : items)
    if (item.Pushed != 0) item.Object->SetTop(item.Object->Top() + item.Pushed);
}

}  // namespace zavrik
