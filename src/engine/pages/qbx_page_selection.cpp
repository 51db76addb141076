#include "engine/pages/qbx_page_selection.h"

#include <algorithm>

#include "core/float_text.h"
#include "core/number_parse.h"

namespace zavrik {

TqbxPageSelection::TqbxPageSelection(StringView text, int page_count) {
  String compact;
  for (char16_t c : text) {
    if (c != u' ') compact.push_back(c);
  }
  if (compact.empty()) {
    FAll = true;
    return;
  }
  if (compact.back() == u'-') compact += IntToStr(page_count);
  size_t start = 0;
  while (start <= compact.size()) {
    size_t comma = compact.find(u',', start);
    if (comma == String::npos) comma = compact.size();
    const StringView item = StringView(compact).substr(start, comma - start);
    start = comma + 1;
    if (item.empty()) continue;
    const size_t dash = item.find(u'-', 1);
    if (dash == StringView::npos) {
      FPages.insert(StrToInt(item));
      continue;
    }
    // Only pages that can exist are kept, so a huge range costs nothing.
    const int from = std::max(StrToInt(item.substr(0, dash)), 1);
    const int to = std::min(StrToInt(item.substr(dash + 1)), page_count);
    for (int page = from; page <= to; ++page) FPages.insert(page);
  }
}

}  // namespace zavrik
