// What the hyperlink of a view points to in the PDF: an address (written as a PDF string) or a
// prepared page with a position.
#pragma once

#include <optional>
#include <string>

#include "core/ustring.h"

namespace zavrik {
class TqbxView;
class TqbxCustomPreviewPages;
}  // namespace zavrik

namespace zavrik::pdf {

struct PdfLinkTarget {
  std::string address;  // empty for a page target
  int page = -1;        // 0-based prepared page; -1 for none
  double top = 0;       // report pixels on that page
};

// The target of a view's hyperlink; none for an empty value, an unknown anchor or kinds without a
// PDF target. A page number that is not a positive number gives page -1 (no exported page).
// `pages` resolves anchors (none without prepared pages).
std::optional<PdfLinkTarget> LinkTarget(const TqbxView& view, TqbxCustomPreviewPages* pages);

// An address as a PDF string: "(text)" for printable ASCII with balanced parentheses, otherwise
// "<hex>" of the UTF-16 units; backslashes doubled.
std::string PdfAddress(StringView value);

}  // namespace zavrik::pdf
