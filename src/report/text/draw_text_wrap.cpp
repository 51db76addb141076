// Wrapping one source line into lines of the reference width.
#include "report/text/draw_text.h"
#include "report/text/hyphenation.h"

namespace zavrik {
namespace {

constexpr StringView kWordEnds = u" .,-;";

// The number of characters of the word (starting at start) to put before a hyphen, or 0 when no
// hyphenation point lies before the first fits characters.
size_t HyphenatedPart(StringView line, size_t start, size_t fits) {
  size_t end = line.find_first_of(kWordEnds, start);
  if (end == StringView::npos) end = line.size();
  const std::vector<int> points = HyphenPoints(UpperRussian(line.substr(start, end - start)));
  size_t part = 0;
  for (int p : points) {
    if (static_cast<size_t>(p) < fits) part = p;
  }
  return part;
}

// Whether a break before position i would part a character written as a surrogate pair.
bool InsidePair(StringView line, size_t i) {
  return i > 0 && i < line.size() && line[i - 1] >= 0xD800 && line[i - 1] <= 0xDBFF &&
         line[i] >= 0xDC00 && line[i] <= 0xDFFF;
}

}  // namespace

void TqbxDrawText::WrapLine(String& line, int first_width, int spacing, int width) {
  TqbxHTMLTags tags = HTMLTags_.ExpandHTMLTags(line);
  if (line.size() < 2 || !WordWrap) {
    AddLine(line, std::move(tags));
    return;
  }
  MeasureLine(line, tags, spacing, advances_);
  if (cumulative_.size() < line.size()) cumulative_.resize(std::max<size_t>(line.size(), 32768));
  long total = 0;
  for (size_t i = 0; i < line.size(); ++i) cumulative_[i] = static_cast<int>(total += advances_[i]);
  if (total < first_width) {
    AddLine(line, std::move(tags));
    return;
  }

  const auto line_tags = [&tags](size_t from, size_t to) {
    return TqbxHTMLTags(tags.begin() + from, tags.begin() + to);
  };
  // The characters that fit from start on, for a line already using `used`.
  const auto fitting = [this, &line](size_t start, long used, int limit) {
    size_t count = 0;
    while (start + count < line.size() && cumulative_[start + count] - used <= limit) ++count;
    return count;
  };

  size_t from = 0, space = 0;
  long used = 0;
  int limit = first_width;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == ' ' && !tags[i].DontWRAP) space = i;
    while (i < line.size() && cumulative_[i] - used > limit) {
      size_t next;
      if (space > from) {
        next = space + 1;
        size_t part = 0;
        if (WordBreak) part = HyphenatedPart(line, space + 1, fitting(space + 1, used, limit));
        if (part > 0) {
          next = space + 1 + part;
          TqbxHTMLTags taken = line_tags(from, next);
          taken.push_back(taken.back());
          AddLine(line.substr(from, next - from) + u"-", std::move(taken));
        } else {
          AddLine(StringView(line).substr(from, space - from), line_tags(from, space));
        }
      } else if (i == from || (i == from + 1 && InsidePair(line, i))) {
        // A character alone, wider than the line (both halves of a pair).
        next = InsidePair(line, from + 1) ? from + 2 : from + 1;
        AddLine(StringView(line).substr(from, next - from), line_tags(from, next));
      } else {
        const size_t part = WordBreak ? HyphenatedPart(line, from, i - from) : 0;
        next = part > 0 ? from + part : i;
        if (InsidePair(line, next)) next = next - 1 > from ? next - 1 : next + 1;
        TqbxHTMLTags taken = line_tags(from, next);
        if (part > 0) taken.push_back(taken.back());
        AddLine(line.substr(from, next - from) + (part > 0 ? u"-" : u""), std::move(taken));
      }
      used = cumulative_[next - 1];
      from = space = next;
      limit = width;
      if (next > i) break;
    }
  }
  // Nothing left after the last break (a final wide character or space) adds no empty line.
  if (from < line.size()) AddLine(StringView(line).substr(from), line_tags(from, line.size()));
}

}  // namespace zavrik
