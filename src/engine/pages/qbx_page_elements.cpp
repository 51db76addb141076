#include "engine/pages/qbx_page_elements.h"

#include "core/error.h"

namespace zavrik {

PageElements::PageElements(TqbxXMLItem& page) {
  if (page.Packed() && !page.Loaded) {
    const PackedElements& packed = packed_.emplace(page.PackedBytes());
    roots_ = packed.Roots();
    elements_.reserve(packed.Elements().size());
    for (const PackedElement& element : packed.Elements())
      elements_.push_back({element.name, element.text, element.children, nullptr});
    return;
  }
  roots_ = static_cast<size_t>(page.Count());
  // Preorder without recursion: objects may nest thousands of levels deep.
  std::vector<std::pair<TqbxXMLItem*, int>> pending{{&page, 0}};
  while (!pending.empty()) {
    auto& [item, next] = pending.back();
    if (next >= item->Count()) {
      pending.pop_back();
      continue;
    }
    TqbxXMLItem& child = item->Items(next++);
    elements_.push_back({child.Name(), child.Text(), static_cast<size_t>(child.Count()), &child});
    if (child.Count() > 0) pending.emplace_back(&child, 0);
  }
}

size_t PageElements::AfterSubtree(size_t index) const {
  size_t left = 1;  // elements of the subtree still to pass
  while (left > 0) {
    if (index >= elements_.size()) throw Error(u"The prepared page's objects are incomplete");
    left += elements_[index++].children;
    --left;
  }
  return index;
}

}  // namespace zavrik
