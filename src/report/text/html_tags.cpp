#include "report/text/html_tags.h"

#include <array>
#include <optional>

#include "core/numeric.h"
#include "report/text/named_colors.h"

namespace zavrik {
namespace {

constexpr std::array<const char16_t*, 7> kSimpleTags = {u"b", u"i", u"u", u"strike", u"sub", u"sup", u"nowrap"};
constexpr StringView kFontPrefix = u"<font color=";

bool StartsWithText(StringView text, size_t at, StringView prefix) {
  return text.size() - at >= prefix.size() && SameTextAscii(text.substr(at, prefix.size()), prefix);
}

int HexDigit(char16_t ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// "#RRGGBB" in double quotes, or a colour name without its "cl" prefix.
std::optional<Color> ParseColorValue(StringView value) {
  if (value.size() >= 4 && value.front() == '"' && value.back() == '"' && value[1] == '#') {
    const StringView hex = value.substr(2, value.size() - 3);
    if (hex.empty() || hex.size() > 6) return std::nullopt;
    uint32_t rgb = 0;
    for (char16_t ch : hex) {
      const int digit = HexDigit(ch);
      if (digit < 0) return std::nullopt;
      rgb = rgb * 16 + digit;
    }
    return RgbColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  }
  return FindNamedColor(u"cl" + String(value));
}

FontStyles StyleOfTag(StringView name) {
  if (name == u"b") return kFontBold;
  if (name == u"i") return kFontItalic;
  if (name == u"u") return kFontUnderline;
  if (name == u"strike") return kFontStrikeOut;
  return 0;
}

}  // namespace

void TqbxHTMLTagsList::Reset(zavrik::Color def_color, int def_size, FontStyles def_style) {
  DefColor = Color = def_color;
  DefSize = Size = def_size;
  DefStyle = Style = def_style;
  AddY = 0;
  DontWRAP = false;
  SubStyle = ssNormal;
  Position = 1;
  stack_.clear();
  Lines.clear();
}

TqbxHTMLTag TqbxHTMLTagsList::Record() const {
  TqbxHTMLTag tag;
  tag.Position = Position;
  tag.Size = Size;
  tag.AddY = AddY;
  tag.Style = Style;
  tag.Color = Color;
  tag.Small = Size != DefSize;
  tag.DontWRAP = DontWRAP;
  tag.SubType = SubStyle;
  return tag;
}

void TqbxHTMLTagsList::Open(const String& name, StringView text) {
  stack_.push_back({name, String(text)});
  if (name == u"sub" || name == u"sup") {
    Size = static_cast<int>(RoundHalfEven(DefSize / 1.5));
    AddY = name == u"sub" ? 1 : 0;
    SubStyle = name == u"sub" ? ssSubscript : ssSuperscript;
  } else if (name == u"nowrap") {
    DontWRAP = true;
  } else {
    Style |= StyleOfTag(name);
  }
}

// Pops the open tags down to the matching one; those above it are re-opened by inserting their
// text after the closing tag, where the parser reads them next.
void TqbxHTMLTagsList::Close(const String& name, String& line, size_t after) {
  if (name == u"sub" || name == u"sup") {
    Size = DefSize;
    AddY = 0;
    SubStyle = ssNormal;
  } else if (name == u"nowrap") {
    DontWRAP = false;
  } else if (name == u"font") {
    Color = DefColor;
  } else {
    Style &= ~StyleOfTag(name);
  }
  size_t match = stack_.size();
  while (match > 0 && stack_[match - 1].name != name) --match;
  if (match == 0) return;
  String reopen;
  for (size_t i = match; i < stack_.size(); ++i) reopen += stack_[i].text;
  stack_.resize(match - 1);
  line.insert(after, reopen);
}

size_t TqbxHTMLTagsList::ApplyTag(String& line, size_t at) {
  for (const char16_t* simple : kSimpleTags) {
    const String name = simple;
    if (StartsWithText(line, at, u"<" + name + u">")) {
      Open(name, line.substr(at, name.size() + 2));
      return name.size() + 2;
    }
    if (StartsWithText(line, at, u"</" + name + u">")) {
      Close(name, line, at + name.size() + 3);
      return name.size() + 3;
    }
  }
  if (StartsWithText(line, at, u"</font>")) {
    Close(u"font", line, at + 7);
    return 7;
  }
  if (StartsWithText(line, at, kFontPrefix)) {
    const size_t end = line.find(u'>', at);
    if (end == String::npos) return 0;
    size_t value_start = at + kFontPrefix.size();
    while (value_start < end && line[value_start] == ' ') ++value_start;
    const auto color = ParseColorValue(StringView(line).substr(value_start, end - value_start));
    if (!color) return 0;
    Open(u"font", StringView(line).substr(at, end + 1 - at));
    Color = *color;
    return end + 1 - at;
  }
  return 0;
}

TqbxHTMLTags TqbxHTMLTagsList::ExpandHTMLTags(String& line, bool keep_empty) {
  if (!AllowTags) {
    // Without markup every character keeps the current style; only the positions advance.
    TqbxHTMLTags tags(line.size(), Record());
    for (size_t i = 0; i < tags.size(); ++i) tags[i].Position += static_cast<int>(i);
    Position += static_cast<int>(line.size());
    if (line.empty() && !keep_empty) {
      line = u" ";
      tags.push_back(Record());
    }
    Position += 2;
    return tags;
  }
  TqbxHTMLTags tags;
  tags.reserve(line.size());
  String visible;
  visible.reserve(line.size());
  // Tag texts inserted for re-opening are not part of the source and do not move Position.
  size_t inserted = 0;
  for (size_t at = 0; at < line.size();) {
    if (AllowTags && line[at] == '<') {
      const size_t before = line.size();
      const size_t length = ApplyTag(line, at);
      if (length > 0) {
        const size_t added = line.size() - before;
        const size_t from_source = length > inserted ? length - inserted : 0;
        inserted = (inserted > length ? inserted - length : 0) + added;
        Position += static_cast<int>(from_source);
        at += length;
        continue;
      }
    }
    tags.push_back(Record());
    visible.push_back(line[at]);
    if (inserted > 0) --inserted; else ++Position;
    ++at;
  }
  if (visible.empty() && !keep_empty) {
    visible = u" ";
    tags.push_back(Record());
  }
  for (size_t i = 0; i < tags.size(); ++i) {
    TqbxHTMLTag& tag = tags[i];
    if (!AllowTags) {
      tag.Default = true;
    } else if (i == 0) {
      tag.Default = tag.Style == DefStyle && tag.Color == DefColor && tag.Size == DefSize;
    } else {
      const TqbxHTMLTag& prev = tags[i - 1];
      tag.Default = tag.Size == prev.Size && tag.Style == prev.Style && tag.Color == prev.Color &&
                    tag.AddY == prev.AddY && tag.DontWRAP == prev.DontWRAP;
    }
  }
  Position += 2;
  line = std::move(visible);
  return tags;
}

String DeleteTags(StringView text) {
  TqbxHTMLTagsList parser;
  String result;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == StringView::npos) end = text.size();
    String line(text.substr(start, end - start));
    parser.ExpandHTMLTags(line, true);
    result += line;
    if (end == text.size()) break;
    const size_t next = text.substr(end, 2) == u"\r\n" ? end + 2 : end + 1;
    result += text.substr(end, next - end);
    start = next;
  }
  return result;
}

}  // namespace zavrik
