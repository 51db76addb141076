// Alignment of children (Align) and mirror placement.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report/model/qbx_component.h"

namespace zavrik {
namespace {

// The sort key of a child: "1" + Left in "%9.2f", or "0" + |Left| for negative positions.
std::string PositionKey(double left) {
  char text[64];
  std::snprintf(text, sizeof text, "%c%9.2f", left >= 0 ? '1' : '0', std::fabs(left));
  return text;
}

bool OverlapVertically(const TqbxComponent& a, const TqbxComponent& b) {
  return std::min(a.Top() + a.Height(), b.Top() + b.Height()) - std::max(a.Top(), b.Top()) > 0.0001;
}

}  // namespace

void TqbxComponent::MirrorPlacement(int32_t modes) {
  if ((modes & mcmOnlyAllowed) && !FAllowMirrorMode) return;
  MirrorContent(modes);
  if (!FParent) return;
  const bool leaf = FObjects.empty();
  if (((modes & mcmRTLObjects) && leaf) || ((modes & mcmRTLBands) && IsBand())) {
    SetLeft(FParent->Width() - (FLeft + FWidth));
  }
  if (((modes & mcmBTTObjects) && leaf) || ((modes & mcmBTTBands) && IsBand())) {
    SetTop(FParent->Height() - (FTop + FHeight));
  }
}

void TqbxComponent::AlignChildren(bool ignore_invisible, int32_t mirror_modes) {
  std::vector<TqbxComponent*> pending{this};
  while (!pending.empty()) {
    TqbxComponent* node = pending.back();
    pending.pop_back();
    for (TqbxComponent* child : node->AlignOwnChildren(ignore_invisible, mirror_modes)) pending.push_back(child);
  }
}

// One level of AlignChildren; returns the eligible children, whose own children come next.
std::vector<TqbxComponent*> TqbxComponent::AlignOwnChildren(bool ignore_invisible, int32_t mirror_modes) {
  std::vector<TqbxComponent*> eligible;
  for (const auto& child : FObjects) {
    if (child->IsView() && child->Align() != baHidden && (!ignore_invisible || child->Visible())) {
      eligible.push_back(child.get());
    }
  }
  for (TqbxComponent* child : eligible) child->MirrorPlacement(mirror_modes);
  // Sorted by key; a child goes before children with an equal key. Only left, right and width
  // alignment read the order.
  const bool ordered = std::any_of(eligible.begin(), eligible.end(), [](const TqbxComponent* c) {
    return c->Align() == baLeft || c->Align() == baRight || c->Align() == baWidth;
  });
  std::vector<std::pair<std::string, TqbxComponent*>> sorted;
  if (ordered) {
    // Later children first, then a stable sort: the order of inserting each before its equals.
    for (auto child = eligible.rbegin(); child != eligible.rend(); ++child)
      sorted.emplace_back(PositionKey((*child)->Left()), *child);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  const TqbxRect client = GetClientArea();
  const int n = static_cast<int>(sorted.size());
  for (int i = 0; i < n; ++i) {
    TqbxComponent& c = *sorted[i].second;
    if (c.Align() != baLeft && c.Align() != baWidth) continue;
    const TqbxComponent* neighbour = nullptr;
    for (int j = i - 1; j >= 0 && !neighbour; --j) {
      const TqbxComponent& e = *sorted[j].second;
      if (OverlapVertically(e, c) && !(c.Align() == baWidth && e.Left() > c.Left())) neighbour = &e;
    }
    c.SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : client.Left);
  }
  for (int i = n - 1; i >= 0; --i) {
    TqbxComponent& c = *sorted[i].second;
    if (c.Align() != baRight && c.Align() != baWidth) continue;
    const TqbxComponent* neighbour = nullptr;
    for (int j = i + 1; j < n && !neighbour; ++j) {
      const TqbxComponent& e = *sorted[j].second;
      const bool passed = c.Align() == baWidth && e.Left() + e.Width() <= c.Left() + c.Width();
      if (OverlapVertically(e, c) && !passed) neighbour = &e;
    }
    const double edge = neighbour ? neighbour->Left() : client.Right;
    if (c.Align() == baRight) {
      c.SetLeft(edge - c.Width());
    } else {
      c.SetWidth(edge - c.Left());
    }
  }
  for (TqbxComponent* c : eligible) {
    switch (c->Align()) {
      case baCenter: c->SetLeft((client.Right - c->Width()) / 2); break;
      case baBottom: c->SetTop(client.Bottom - c->Height()); break;
      case baClient: c->SetBounds(client.Left, client.Top, client.Right, client.Bottom); break;
      default: break;
    }
  }
  return eligible;
}

}  // namespace zavrik
