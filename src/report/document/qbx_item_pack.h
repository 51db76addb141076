// The compact form of an element's children: names, attribute texts, values, flags and child
// counts in preorder, strings as length-prefixed UTF-8 (lone surrogates kept as three bytes), so
// unpacking gives the identical items. Prepared pages keep finished pages in this form.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/document/qbx_xml_item.h"

namespace zavrik {

// The children of `parent` (not `parent` itself) in compact form.
std::string PackItems(const TqbxXMLItem& parent);
// Appends the packed items to `parent`'s children.
void UnpackItems(std::string_view packed, TqbxXMLItem& parent);

// Packed items read without building them: names and attribute texts (values are skipped) with
// their child counts, in preorder, the strings decoded into one buffer. Damaged bytes throw.
struct PackedElement {
  StringView name;
  StringView text;
  size_t children = 0;
};
class PackedElements {
 public:
  explicit PackedElements(std::string_view packed);
  PackedElements(const PackedElements&) = delete;
  PackedElements& operator=(const PackedElements&) = delete;

  size_t Roots() const { return roots_; }  // the elements at the top
  const std::vector<PackedElement>& Elements() const { return elements_; }

 private:
  String buffer_;
  size_t roots_ = 0;
  std::vector<PackedElement> elements_;
};

}  // namespace zavrik
