// Splitting a laid-out text where its rectangle ends.
#include <cmath>
#include <cstdio>

#include "report/text/draw_text.h"

namespace zavrik {
namespace {

// The tags that give the first character of a continued text its style back.
String RestoringTags(const TqbxHTMLTag& tag) {
  String tags;
  if (tag.Style & kFontBold) tags = u"<b>" + tags;
  if (tag.Style & kFontItalic) tags = u"<i>" + tags;
  if (tag.Style & kFontUnderline) tags = u"<u>" + tags;
  if (tag.Style & kFontStrikeOut) tags = u"<strike>" + tags;
  if (tag.SubType == ssSubscript) tags = u"<sub>" + tags;
  if (tag.SubType == ssSuperscript) tags = u"<sup>" + tags;
  const Color rgb = ColorToRgb(tag.Color);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
  return u"<font color=\"#" + Utf8ToString(hex) + u"\">" + tags;
}

}  // namespace

String TqbxDrawText::GetOutBoundsText(bool& para_break) {
  para_break = false;
  if (Text_.empty()) return String();
  const size_t n = std::min(Text_.size(), LinesInBounds());
  if (n >= Text_.size()) return String();

  // The first character of the dropped lines (a dropped line may be empty).
  const TqbxHTMLTag* first = nullptr;
  for (size_t i = n; i < Text_.size() && !first; ++i) {
    if (!HTMLTags_.Lines[i].empty()) first = &HTMLTags_.Lines[i].front();
  }
  const TqbxHTMLTag restore = first ? *first : TqbxHTMLTag{};
  const size_t cut = first ? std::min<size_t>(first->Position - 1, PlainText.size()) : PlainText.size();

  const bool kept_ends_with_hyphen = n > 0 && !Text_[n - 1].Text.empty() && Text_[n - 1].Text.back() == u'-';
  if (n > 0 && !(Text_[n - 1].Flags & kLastLineOfParagraph)) para_break = true;
  Text_.resize(n);
  HTMLTags_.Lines.resize(n);

  String rest = PlainText.substr(cut);
  PlainText.resize(cut);
  if (WordBreak && kept_ends_with_hyphen) PlainText += u"-";
  if (para_break && !rest.empty() && rest.front() == u' ') rest.erase(0, 1);
  if (HTMLTags_.AllowTags && first) rest = RestoringTags(restore) + rest;
  return rest;
}

}  // namespace zavrik
