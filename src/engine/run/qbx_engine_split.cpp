// Band splitting: a band too tall for the rest of the page is printed in parts over as many pages
// (or columns) as it needs. Stretchable objects print their content part by part; objects beside
// a split one print with the first part, objects below it move to the last part.
#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "engine/run/qbx_engine.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"
#include "report/model/views/qbx_subreport_view.h"

namespace zavrik {

namespace {

constexpr double kEpsilon = 0.0001;
// More parts than any real band needs: ends a split that makes no progress.
constexpr int kMaxParts = 10000;
// A height that holds the whole content of a stretchable object.
constexpr double kWholeContent = 1000000;

bool OverlapsHorizontally(const TqbxComponent& a, const TqbxComponent& b) {
  return b.Left() < a.Left() + a.Width() - kEpsilon && b.Left() + b.Width() > a.Left() + kEpsilon;
}

// The objects of one part are the band's visible children while it is recorded; the others are
// hidden for the moment.
class TqbxPartVisibility {
 public:
  TqbxPartVisibility(const std::vector<TqbxComponent*>& all,
                     const std::unordered_set<TqbxComponent*>& part) {
    for (TqbxComponent* object : all) {
      if (part.count(object) || !object->Visible()) continue;
      object->SetVisible(false);
      FHidden.push_back(object);
    }
  }
  ~TqbxPartVisibility() {
    for (TqbxComponent* object : FHidden) object->SetVisible(true);
  }
  TqbxPartVisibility(const TqbxPartVisibility&) = delete;
  TqbxPartVisibility& operator=(const TqbxPartVisibility&) = delete;

 private:
  std::vector<TqbxComponent*> FHidden;
};

}  // namespace

bool TqbxEngine::NeedsSplit(const TqbxBand& band) {
  if (band.AllowSplit() && !Keeping) return true;
  const double height = band.Height();
  if (Keeping && CurY - KeepCurY + height > PageHeight - HeaderHeight(false) - FooterHeight())
    return true;
  return height > PageHeight - FooterHeight() + kEpsilon;
}

void TqbxEngine::SplitBand(TqbxBand& band) {
  // Bands kept together with this one cannot move with it: the keep ends here.
  if (Keeping) BreakAllKeep();
  TqbxAnchorsSuspended anchors;
  band.DisposeFillMemo();
  // The objects to place, in order; the band's whole list stays as it is.
  std::vector<TqbxComponent*> all;
  for (const auto& child : band.Objects()) all.push_back(child.get());
  std::vector<TqbxComponent*> remaining;
  // Subreports take no room: their pages run after the band.
  for (TqbxComponent* object : all)
    if (object->Visible() && !dynamic_cast<TqbxSubreport*>(object)) remaining.push_back(object);
  if (remaining.empty()) {
    // Nothing to divide: the band prints whole.
    RecordBand(band, false);
    return;
  }
  for (TqbxComponent* object : remaining) {
    if (auto* stretcheable = object->AsStretcheable()) {
      stretcheable->InitPart();
      stretcheable->SaveHeight = stretcheable->Height();
      stretcheable->SavedTop = stretcheable->Top();
    }
  }

  for (int part_number = 0; !remaining.empty() && part_number < kMaxParts; ++part_number) {
    if (Report.Terminated) break;
    const double free_space = FreeSpace();
    // A part on an otherwise empty page that still places nothing would never end: what is left
    // prints as it is, cut at the page edge.
    const bool page_empty = CurY <= FPageBodyTop + kEpsilon;
    std::unordered_set<TqbxComponent*> part;
    std::unordered_set<TqbxComponent*> moved;
    std::vector<TqbxComponent*> left_over;
    // Objects starting above the page edge that could not be placed, with their tops before.
    std::vector<std::pair<TqbxComponent*, double>> blocked;
    bool placed_any = false;

    // Moves the objects below `above`'s new bottom down by `amount`, each once per part.
    auto move_below = [&](const TqbxComponent& above, double amount, size_t from) {
      const double bottom = above.Top() + above.Height();
      for (size_t j = from; j < remaining.size(); ++j) {
        TqbxComponent* other = remaining[j];
        if (moved.count(other) || other->Top() < bottom - kEpsilon) continue;
        if (!OverlapsHorizontally(above, *other)) continue;
        other->SetTop(other->Top() + amount);
        moved.insert(other);
      }
    };

    for (size_t i = 0; i < remaining.size(); ++i) {
      TqbxComponent* object = remaining[i];
      auto* stretcheable = object->AsStretcheable();
      if (stretcheable && object->Top() < free_space) {
        stretcheable->SavedTop = object->Top();
        object->SetHeight(free_space - object->Top());
        const double unused = stretcheable->DrawPart();
        if (!stretcheable->HasNextDataPart(free_space)) {
          object->SetHeight(stretcheable->SaveHeight);
          part.insert(object);
          placed_any = true;
          continue;
        }
        move_below(*object, unused, i + 1);
        if (std::fabs(unused - object->Height()) <= kEpsilon) {
          blocked.emplace_back(object, object->Top());
          object->SetTop(free_space);
          object->SetHeight(stretcheable->SaveHeight);
        } else {
          part.insert(object);
          placed_any = true;
          stretcheable->SaveHeight = stretcheable->SaveHeight - object->Height() + unused;
        }
        left_over.push_back(object);
        continue;
      }
      if (free_space >= object->Top() + object->Height()) {
        if (stretcheable) object->SetHeight(stretcheable->SaveHeight);
        part.insert(object);
        placed_any = true;
        continue;
      }
      if (object->Top() < free_space && object->Height() > GetPageHeight() - FooterHeight()) {
        // Taller than any page: printed once from where it starts, cut at the page edge.
        part.insert(object);
        placed_any = true;
        continue;
      }
      if (object->Top() < free_space) {
        const double shift = free_space - object->Top();
        blocked.emplace_back(object, object->Top());
        object->SetTop(free_space);
        move_below(*object, shift, i + 1);
      }
      left_over.push_back(object);
    }

    if (!placed_any && page_empty && (!blocked.empty() || free_space <= kEpsilon)) {
      // Nothing fits even on an empty page: what is stuck prints now, cut at the page edge.
      if (blocked.empty())
        for (TqbxComponent* object : left_over) blocked.emplace_back(object, object->Top());
      for (const auto& [object, top] : blocked) {
        object->SetTop(top);
        if (auto* stretcheable = object->AsStretcheable()) {
          // All of the rest of its content goes into this part.
          object->SetHeight(kWholeContent);
          const double unused = stretcheable->DrawPart();
          object->SetHeight(std::max(stretcheable->SaveHeight, kWholeContent - unused + 2));
        }
        part.insert(object);
        left_over.erase(std::find(left_over.begin(), left_over.end(), object));
      }
      placed_any = true;
    }
    remaining = left_over;
    const bool last_part = remaining.empty();

    double height = 0;
    for (TqbxComponent* object : part) height = std::max(height, object->Top() + object->Height());
    band.SetHeight(height);
    if (last_part) {
      for (TqbxComponent* object : part) {
        if (object->Align() == baBottom) object->SetTop(height - object->Height());
        auto* stretcheable = object->AsStretcheable();
        if (stretcheable && stretcheable->StretchMode() == smMaxHeight)
          object->SetHeight(height - object->Top());
      }
    }
    band.SetLeft(CurX);
    band.SetTop(CurY);
    if (!part.empty()) {
      TqbxPartVisibility visibility(all, part);
      // The background covers this part only.
      if (FinalPass) band.CreateFillMemo();
      try {
        Pages().AddObject(band);
      } catch (...) {
        band.DisposeFillMemo();
        throw;
      }
      band.DisposeFillMemo();
      // A memo's next part continues the paragraph this one ended in.
      for (TqbxComponent* object : part)
        if (auto* memo = dynamic_cast<TqbxCustomMemoView*>(object)) memo->HandOverParaBreaks();
      CurY += height;
    }
    CurBand = &band;
    if (last_part) break;

    NewColumn();
    for (TqbxComponent* object : remaining) {
      object->SetTop(object->Top() - free_space);
      auto* stretcheable = object->AsStretcheable();
      if (stretcheable && !placed_any) object->SetTop(stretcheable->SavedTop);
      if (object->Top() < 0) object->SetTop(0);
      if (stretcheable) object->SetHeight(stretcheable->SaveHeight);
    }
  }
}

}  // namespace zavrik
