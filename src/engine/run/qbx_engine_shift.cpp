// Shifting: objects below a stretched object move down by its growth (or up by its shrinking).
#include <algorithm>
#include <cmath>

#include "engine/run/qbx_engine.h"

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

namespace {

// The linear structure: each object pushes the later ones that started below its old bottom.
void ShiftLinear(std::vector<ShiftItem>& items) {
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

struct Rect {
  double Left, Top, Right, Bottom;
};

bool OverlapVertically(const Rect& a, const Rect& b) {
  return b.Top < a.Bottom - kEpsilon && b.Bottom > a.Top + kEpsilon;
}

bool OverlapHorizontally(const Rect& a, const Rect& b) {
  return b.Left < a.Right - kEpsilon && b.Right > a.Left + kEpsilon;
}

Rect RectOf(const TqbxView& view) {
  return {view.Left(), view.Top(), view.Left() + view.Width(), view.Top() + view.Height()};
}

// A node of the tree structure; node 0 is the root, a virtual object just above the container.
struct TreeNode {
  TqbxView* Object = nullptr;
  double ShiftAmount = 0;
  double ShiftedTo = 0;
  double MinDist = 0;
  bool Shifted = false;
  bool HasParent = false;
  std::vector<size_t> Children;
};

class ShiftTree {
 public:
  ShiftTree(std::vector<ShiftItem>& items, double width) {
    FNodes.resize(items.size() + 1);
    FRects.push_back({0, -1, width + 1, 0});
    for (size_t i = 0; i < items.size(); ++i) {
      FNodes[i + 1].Object = items[i].Object;
      FNodes[i + 1].ShiftAmount = items[i].ShiftAmount;
      // The structure follows the designed geometry: the height before this output's growth.
      Rect rect = RectOf(*items[i].Object);
      rect.Bottom -= items[i].ShiftAmount;
      FRects.push_back(rect);
    }
    for (size_t i = 0; i < FNodes.size(); ++i) {
      if (i > 0 && !FNodes[i].HasParent) continue;  // dropped: its object never moves
      for (size_t c = i + 1; c < FNodes.size(); ++c) {
        if (IsChild(i, c)) {
          FNodes[i].Children.push_back(c);
          FNodes[c].HasParent = true;
        }
      }
    }
  }

  void Shift() { ShiftNode(0, 0); }

 private:
  bool IsChild(size_t i, size_t c) const {
    const Rect& a = FRects[i];
    const Rect& b = FRects[c];
    if (OverlapVertically(a, b) || !(b.Top > a.Top) || !OverlapHorizontally(a, b)) return false;
    const Rect common{std::max(a.Left, b.Left), 0, std::min(a.Right, b.Right), 0};
    for (size_t j = i + 1; j < c; ++j) {
      const Rect& between = FRects[j];
      if (OverlapVertically(a, between) || OverlapVertically(between, b)) continue;
      const bool both_high = between.Bottom - between.Top > 0 && b.Bottom - b.Top > 0;
      if (!both_high && !(b.Top > between.Top + kEpsilon)) continue;
      if (OverlapHorizontally(common, between)) return false;
    }
    return true;
  }

  double Bottom(size_t index) const {
    if (index == 0) return 0;
    return FNodes[index].Object->Top() + FNodes[index].Object->Height();
  }

  void ShiftNode(size_t index, double push) {
    TreeNode& node = FNodes[index];
    node.Shifted = true;
    node.ShiftedTo = push;
    const bool has_parent = index > 0;
    for (size_t child_index : node.Children) {
      TreeNode& child = FNodes[child_index];
      TqbxView& object = *child.Object;
      const double bottom = Bottom(index);
      const double g = child.ShiftAmount;
      const double p = child.ShiftedTo;
      if (has_parent && child.MinDist > 0) {
        if (child.MinDist >= bottom - kEpsilon) continue;  // an equal or lower parent pushed it
        object.SetTop(object.Top() - (p - g));
      } else if (p != 0 && push != 0) {
        object.SetTop(object.Top() - p);
      }
      double passed = p;
      if (object.ShiftMode() == smAlways || push < 0) {
        object.SetTop(object.Top() + push);
        passed = push + g;
      } else if (object.ShiftMode() == smWhenOverlapped) {
        if (has_parent && object.Top() < bottom) {
          passed = bottom - object.Top() + g;
          object.SetTop(bottom);
        }
      } else {
        passed = g;
      }
      if (has_parent) child.MinDist = std::max(child.MinDist, bottom);
      if (!(child.Shifted && std::fabs(child.ShiftedTo - passed) < kEpsilon))
        ShiftNode(child_index, passed);
    }
  }

  std::vector<TreeNode> FNodes;
  std::vector<Rect> FRects;
};

}  // namespace

// The shift structure of the container: the objects within its width in Top order. seLinear
// bands push every later object that started below an object's old bottom; seTree bands (and
// other containers) push along a tree of objects lying under one another, so objects beside a
// stretched one stay in place.
void TqbxEngine::ShiftObjects(TqbxComponent& container, const std::vector<double>& shift_amounts) {
  const auto* band = dynamic_cast<const TqbxBand*>(&container);
  if (band && band->ShiftEngine() == seDontShift) return;
  std::vector<ShiftItem> items;
  for (int i = 0; i < container.Count(); ++i) {
    auto* view = dynamic_cast<TqbxView*>(&container.Child(i));
    if (!view) continue;
    const double width = container.Width();
    const bool inside =
        width <= 0 || (view->Left() >= 0 && view->Left() <= width) ||
        (view->Left() + view->Width() >= 0 && view->Left() + view->Width() <= width);
    if (!inside) continue;
    items.push_back({view, shift_amounts[static_cast<size_t>(i)]});
  }
  std::stable_sort(items.begin(), items.end(), [](const ShiftItem& a, const ShiftItem& b) {
    return a.Object->Top() < b.Object->Top();
  });
  if (!band || band->ShiftEngine() == seTree) {
    ShiftTree(items, container.Width()).Shift();
    return;
  }
  ShiftLinear(items);
}

}  // namespace zavrik
