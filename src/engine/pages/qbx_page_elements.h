// The object elements of a prepared page to rebuild, in preorder with their child counts: read
// from the page element's loaded children, or straight from its packed bytes, which then stay
// packed (nothing to unpack now and pack again later).
#pragma once

#include <optional>
#include <vector>

#include "core/ustring.h"
#include "report/document/qbx_item_pack.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

struct PageElement {
  StringView name;
  StringView text;
  size_t children = 0;
  TqbxXMLItem* item = nullptr;  // the loaded element; none when read from packed bytes
};

class PageElements {
 public:
  explicit PageElements(TqbxXMLItem& page);
  PageElements(const PageElements&) = delete;
  PageElements& operator=(const PageElements&) = delete;

  size_t Roots() const { return roots_; }
  const std::vector<PageElement>& Elements() const { return elements_; }
  // The index after the element at `index` and all its descendants.
  size_t AfterSubtree(size_t index) const;

 private:
  std::optional<PackedElements> packed_;
  std::vector<PageElement> elements_;
  size_t roots_ = 0;
};

}  // namespace zavrik
