// The compact form of an element's children: names, attribute texts, values, flags and child
// counts in preorder, strings as length-prefixed UTF-8 (lone surrogates kept as three bytes), so
// unpacking gives the identical items. Prepared pages keep finished pages in this form.
#pragma once

#include <string>
#include <string_view>

#include "report/document/qbx_xml_item.h"

namespace zavrik {

// The children of `parent` (not `parent` itself) in compact form.
std::string PackItems(const TqbxXMLItem& parent);
// Appends the packed items to `parent`'s children.
void UnpackItems(std::string_view packed, TqbxXMLItem& parent);

}  // namespace zavrik
