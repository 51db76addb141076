// The page selection of an export: "1,3-5", "4-" (to the last page), numbers 1-based, spaces
// ignored, empty for every page. A range whose second number is the smaller selects nothing.
#pragma once

#include <set>

#include "core/ustring.h"

namespace zavrik {

class TqbxPageSelection {
 public:
  // Items that are not numbers or ranges of numbers raise "'x' is not a valid integer value".
  TqbxPageSelection(StringView text, int page_count);
  // True for every page when the text was empty.
  bool Contains(int page_no) const { return FAll || FPages.count(page_no) > 0; }
  bool All() const { return FAll; }
  const std::set<int>& Pages() const { return FPages; }

 private:
  bool FAll = false;
  std::set<int> FPages;
};

}  // namespace zavrik
