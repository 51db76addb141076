#include "pdf/pdf_link_target.h"

#include <cstdio>

#include "report/model/qbx_preview_pages.h"
#include "report/model/views/qbx_view.h"

namespace zavrik::pdf {
namespace {

StringView Trimmed(StringView text) {
  const size_t first = text.find_first_not_of(u" \t\r\n");
  if (first == StringView::npos) return {};
  return text.substr(first, text.find_last_not_of(u" \t\r\n") - first + 1);
}

bool IsPlainAscii(StringView text) {
  int depth = 0;
  for (char16_t c : text) {
    if (c < 32 || c > 126) return false;
    if (c == u'(') ++depth;
    if (c == u')' && --depth < 0) return false;
  }
  return depth == 0;
}

// A 1-based page number, or nothing when the text is not a positive number.
std::optional<int> PageNumber(StringView text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 9) return std::nullopt;
  int n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  if (n < 1) return std::nullopt;
  return n;
}

// A page that is no positive number is no exported page: the link keeps its rectangle only.
PdfLinkTarget PageTarget(StringView number) {
  const std::optional<int> page = PageNumber(number);
  return PdfLinkTarget{{}, page ? *page - 1 : -1, 0};
}

std::optional<PdfLinkTarget> AnchorTarget(StringView name, TqbxCustomPreviewPages* pages) {
  if (!pages || name.empty()) return std::nullopt;
  const std::optional<TqbxAnchorPosition> anchor = pages->AnchorPosition(String(name));
  if (!anchor) return std::nullopt;
  return PdfLinkTarget{{}, anchor->Page, static_cast<double>(anchor->Top)};
}

PdfLinkTarget AddressTarget(StringView value) { return {PdfAddress(Trimmed(value)), -1, 0}; }

}  // namespace

std::string PdfAddress(StringView value) {
  std::string text;
  if (IsPlainAscii(value)) {
    text = "(";
    for (char16_t c : value) text += static_cast<char>(c);
    text += ")";
  } else {
    text = "<";
    char buffer[8];
    for (char16_t c : value) {
      std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(c));
      text += buffer;
    }
    text += ">";
  }
  std::string escaped;
  for (char c : text) {
    escaped += c;
    if (c == '\\') escaped += c;
  }
  return escaped;
}

std::optional<PdfLinkTarget> LinkTarget(const TqbxView& view, TqbxCustomPreviewPages* pages) {
  const TqbxHyperlink& link = *view.Hyperlink();
  const String& value = link.Value();
  if (Trimmed(value).empty()) return std::nullopt;
  switch (link.Kind()) {
    case hkURL:
      return AddressTarget(value);
    case hkAnchor:
      return AnchorTarget(value, pages);
    case hkPageNumber:
      return PageTarget(value);
    default:
      return std::nullopt;
  }
}

}  // namespace zavrik::pdf
