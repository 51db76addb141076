// The tree, geometry and font of TqbxComponent. Every walk is iterative: templates have no depth
// limit.
#include "report/model/qbx_component.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "core/error.h"
#include "core/numeric.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_evaluator.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik {
namespace {

// Calls `visit` on `root` and every descendant, in pre-order.
template <class Visit>
void ForSubtree(TqbxComponent& root, Visit visit) {
  std::vector<TqbxComponent*> pending{&root};
  while (!pending.empty()) {
    TqbxComponent* node = pending.back();
    pending.pop_back();
    visit(*node);
    for (auto it = node->Objects().rbegin(); it != node->Objects().rend(); ++it) pending.push_back(it->get());
  }
}

// Anchor adjustments waiting while a resize cascades down the tree.
struct AnchorWork {
  TqbxComponent* node;
  double dw, dh;
};
thread_local std::vector<AnchorWork>* pending_anchors = nullptr;
thread_local bool propagating_font = false;
thread_local int anchors_suspended = 0;

void AdjustAxis(int32_t anchors, int32_t near_edge, int32_t far_edge, double d, double position,
                double size, const auto& set_position, const auto& set_size) {
  const bool near = anchors & near_edge, far = anchors & far_edge;
  if (near && far) {
    set_size(size + d);
  } else if (far) {
    set_position(position + d);
  } else if (!near) {
    set_position(position + RoundHalfEven(d / 1.18));
  }
}

}  // namespace

TqbxComponent::TqbxComponent() : FFont(std::make_unique<TqbxFont>()) {
  FFont->OnChange = [this] { FontChanged(); };
}

TqbxMemoText* TqbxComponent::AsMemoText() { return dynamic_cast<TqbxMemoText*>(this); }
TqbxEvaluator* TqbxComponent::AsEvaluator() { return dynamic_cast<TqbxEvaluator*>(this); }
TqbxFieldSource* TqbxComponent::AsFieldSource() { return dynamic_cast<TqbxFieldSource*>(this); }
const TqbxReportDataSource* TqbxComponent::AsReportDataSource() const {
  return dynamic_cast<const TqbxReportDataSource*>(this);
}

TqbxComponent::~TqbxComponent() {
  ReleaseReferrers();
  if (FParent) Detach().release();  // the caller is destroying this node itself
  // What this node owns loses its owner first, so that the children destroyed next need not
  // leave the name map one by one.
  if (FOwned) {
    for (auto& [key, owned] : *FOwned) owned->FOwner = nullptr;
    FOwned.reset();
  }
  Clear();
  if (FOwner && FOwner->FOwned && !FName.empty()) {
    const auto it = FOwner->FOwned->find(AsciiUpper(FName));
    if (it != FOwner->FOwned->end() && it->second == this) FOwner->FOwned->erase(it);
  }
}

void TqbxComponent::Clear() {
  std::vector<std::unique_ptr<TqbxComponent>> pending = std::move(FObjects);
  FObjects.clear();
  if (FTopNode->FNameIndex) {
    for (auto& child : pending) FTopNode->IndexSubtree(*child, false);
  }
  // Grandchildren move up into the work list instead of being destroyed recursively.
  while (!pending.empty()) {
    std::unique_ptr<TqbxComponent> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->FObjects) pending.push_back(std::move(child));
    node->FObjects.clear();
    node->FParent = nullptr;
  }
  GeometryChanged();
}

TqbxComponent& TqbxComponent::AddChild(std::unique_ptr<TqbxComponent> child) {
  TqbxComponent& node = *child;
  if (node.FParent) throw Error(u"The component already has a parent");
  // Without a parent the node tops its own tree: this node lies in it exactly when its top is the node.
  if (FTopNode == &node) throw Error(u"A component cannot be its own descendant");
  node.FParent = this;
  GeometryChanged();
  FObjects.push_back(std::move(child));
  ForSubtree(node, [this](TqbxComponent& c) { c.FTopNode = FTopNode; });
  node.FNameIndex.reset();
  if (FTopNode->FNameIndex) FTopNode->IndexSubtree(node, true);
  if (!node.FOwner) node.SetOwner(FTopNode);
  if (node.FFontPending && !node.FFont->SameAs(*FFont)) node.KeepOwnFont();
  if (node.FParentFont) node.SetParentFont(true);
  return node;
}

void TqbxComponent::MoveChild(TqbxComponent& child, int index) {
  const auto it = std::find_if(FObjects.begin(), FObjects.end(), [&child](const auto& p) { return p.get() == &child; });
  if (it == FObjects.end()) return;
  const auto to = FObjects.begin() + std::clamp(index, 0, Count() - 1);
  if (to < it) std::rotate(to, it, it + 1);
  else std::rotate(it, it + 1, to + 1);
}

std::unique_ptr<TqbxComponent> TqbxComponent::Detach() {
  if (!FParent) return nullptr;
  if (FTopNode->FNameIndex) FTopNode->IndexSubtree(*this, false);
  std::unique_ptr<TqbxComponent> self = FParent->TakeChild(this);
  FParent = nullptr;
  GeometryChanged();
  ForSubtree(*this, [this](TqbxComponent& c) { c.FTopNode = this; });
  return self;
}

std::unique_ptr<TqbxComponent> TqbxComponent::TakeChild(TqbxComponent* child) {
  const auto it = std::find_if(FObjects.rbegin(), FObjects.rend(), [child](const auto& p) { return p.get() == child; });
  std::unique_ptr<TqbxComponent> taken = std::move(*it);
  FObjects.erase(std::next(it).base());
  return taken;
}

void TqbxComponent::SetParent(TqbxComponent* parent) {
  if (parent == FParent) return;
  if (!parent || !FParent) throw Error(u"Only a component with a parent can be moved to another parent");
  for (TqbxComponent* p = parent; p; p = p->FParent) {
    if (p == this) throw Error(u"A component cannot be its own descendant");
  }
  parent->AddChild(Detach());
}

std::vector<TqbxComponent*> TqbxComponent::AllObjects() const {
  std::vector<TqbxComponent*> all;
  std::vector<TqbxComponent*> pending;
  for (auto it = FObjects.rbegin(); it != FObjects.rend(); ++it) pending.push_back(it->get());
  while (!pending.empty()) {
    TqbxComponent* node = pending.back();
    pending.pop_back();
    all.push_back(node);
    for (auto it = node->FObjects.rbegin(); it != node->FObjects.rend(); ++it) pending.push_back(it->get());
  }
  return all;
}

TqbxComponent* TqbxComponent::Report() const {
  for (const TqbxComponent* p = this; p; p = p->FParent) {
    if (p->IsReport()) return const_cast<TqbxComponent*>(p);
  }
  return nullptr;
}

TqbxComponent* TqbxComponent::Page() const {
  for (const TqbxComponent* p = this; p; p = p->FParent) {
    if (p->IsPage()) return const_cast<TqbxComponent*>(p);
  }
  return nullptr;
}

void TqbxComponent::SetWidth(double value) {
  const double d = value - FWidth;
  FWidth = value;
  if (std::fabs(d) > 0.01 && !FObjects.empty()) ApplyAnchors(d, 0);
}

void TqbxComponent::SetHeight(double value) {
  const double d = value - FHeight;
  FHeight = value;
  if (std::fabs(d) > 0.01 && !FObjects.empty()) ApplyAnchors(0, d);
}

TqbxAnchorsSuspended::TqbxAnchorsSuspended() { ++anchors_suspended; }
TqbxAnchorsSuspended::~TqbxAnchorsSuspended() { --anchors_suspended; }
bool TqbxAnchorsSuspended::Active() { return anchors_suspended > 0; }

void TqbxComponent::ApplyAnchors(double dw, double dh) {
  if (anchors_suspended) return;
  // A resize inside the cascade only queues its own children's adjustment.
  if (pending_anchors) {
    pending_anchors->push_back({this, dw, dh});
    return;
  }
  std::vector<AnchorWork> pending{{this, dw, dh}};
  pending_anchors = &pending;
  struct Reset {
    ~Reset() { pending_anchors = nullptr; }
  } reset;
  while (!pending.empty()) {
    const AnchorWork work = pending.back();
    pending.pop_back();
    for (const auto& child : work.node->FObjects) {
      TqbxComponent* c = child.get();
      if (std::fabs(work.dw) > 0.01) {
        AdjustAxis(c->FAnchors, fraLeft, fraRight, work.dw, c->FLeft, c->FWidth,
                   [c](double v) { c->SetLeft(v); }, [c](double v) { c->SetWidth(v); });
      }
      if (std::fabs(work.dh) > 0.01) {
        AdjustAxis(c->FAnchors, fraTop, fraBottom, work.dh, c->FTop, c->FHeight,
                   [c](double v) { c->SetTop(v); }, [c](double v) { c->SetHeight(v); });
      }
    }
  }
}

void TqbxComponent::SetBounds(double left, double top, double width, double height) {
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
}

namespace {

std::atomic<uint64_t> geometry_stamp{1};

}  // namespace

void TqbxComponent::GeometryChanged() { geometry_stamp.fetch_add(1, std::memory_order_relaxed); }

// The absolute position is the parent's plus the own offset, summed from the top down; only the
// ancestors without a current cache entry are walked, so a whole tree costs O(1) per node.
const TqbxComponent& TqbxComponent::CachedAbsPosition() const {
  if (FAbsStamp == geometry_stamp.load(std::memory_order_relaxed)) return *this;
  return RefreshAbsPosition();
}

// Kept out of line: the current cache entry above needs no stack frame.
const TqbxComponent& TqbxComponent::RefreshAbsPosition() const {
  const uint64_t stamp = geometry_stamp.load(std::memory_order_relaxed);
  const auto offset_parent = [](const TqbxComponent& c) {
    return c.FParent && !c.FParent->IsDialogPage() ? c.FParent : nullptr;
  };
  thread_local std::vector<const TqbxComponent*> stale;
  stale.clear();
  for (const TqbxComponent* p = this; p && p->FAbsStamp != stamp; p = offset_parent(*p)) stale.push_back(p);
  for (auto it = stale.rbegin(); it != stale.rend(); ++it) {
    const TqbxComponent& c = **it;
    const TqbxComponent* parent = offset_parent(c);
    c.FAbsLeft = parent ? parent->FAbsLeft + c.FLeft : c.FLeft;
    c.FAbsTop = parent ? parent->FAbsTop + c.FTop : c.FTop;
    c.FAbsStamp = stamp;
  }
  return *this;
}

void TqbxComponent::SetFont(TqbxFont* value) {
  if (value) FFont->Assign(*value);
  FParentFont = false;
  FOwnFontImplied = false;
  FFontPending = false;
}

void TqbxComponent::SetParentFont(bool value) {
  if (value && FParent) FFont->Assign(*FParent->FFont);
  FParentFont = value;
  FOwnFontImplied = false;
  FFontPending = false;
}

void TqbxComponent::FontReadFromAttributes() {
  if (!FParentFont) return;
  if (!FParent) {
    FFontPending = true;
  } else if (!FFont->SameAs(*FParent->FFont)) {
    KeepOwnFont();
  }
}

void TqbxComponent::TakeFont(const TqbxFont& font) {
  FFont->Assign(font);
  KeepOwnFont();
}

void TqbxComponent::KeepOwnFont() {
  FFontPending = false;
  if (!FParentFont) return;
  FParentFont = false;
  FOwnFontImplied = true;
}

void TqbxComponent::RestoreFontLink(bool parent_font, bool own_font_implied) {
  FParentFont = parent_font;
  FOwnFontImplied = own_font_implied;
}


void TqbxComponent::FontChanged() {
  // The walk below reaches every descendant that follows its parent; their own notifications
  // during the walk have nothing to add.
  if (propagating_font) return;
  propagating_font = true;
  struct Reset {
    ~Reset() { propagating_font = false; }
  } reset;
  std::vector<TqbxComponent*> pending;
  for (const auto& child : FObjects) pending.push_back(child.get());
  while (!pending.empty()) {
    TqbxComponent* node = pending.back();
    pending.pop_back();
    if (!node->FParentFont) continue;
    node->FFont->Assign(*node->FParent->FFont);
    for (const auto& child : node->FObjects) pending.push_back(child.get());
  }
}

}  // namespace zavrik
