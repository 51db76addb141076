// TqsParser: settings, text, white space and comments, positions.
#include "script/qs_iparser.h"

#include <algorithm>

namespace zavrik {
namespace {

// Splits "opener,closer" at the first comma; without a comma there is no closer.
void SplitCommentBlock(StringView value, String& opener, String& closer) {
  const size_t comma = value.find(u',');
  opener = value.substr(0, comma);
  closer = comma == StringView::npos ? String() : String(value.substr(comma + 1));
}

int ParseDigits(StringView digits) {
  long long value = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return 0;
    value = std::min(value * 10 + (c - u'0'), 0x7FFFFFFFLL);
  }
  return static_cast<int>(value);
}

}  // namespace

TqsParser::TqsParser() { Clear(); }

void TqsParser::Clear() {
  FCaseSensitive = false;
  SetCommentBlock1(u"{,}");
  SetCommentBlock2(u"(*,*)");
  FCommentLine1 = u"//";
  FCommentLine2.clear();
  FHexSequence = u"$";
  ConstructCharset(u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  FKeywords.clear();
  FLowerKeywords.clear();
  FSkiPChar.clear();
  FSkipEOL = true;
  FSkipSpace = true;
  FStringQuotes = u"'";
  FUseY = true;
  FSpecStrChar = false;
  SetText(u"");
  FYList.clear();
}

void TqsParser::SetCommentBlock1(StringView value) {
  FCommentBlock1 = value;
  SplitCommentBlock(value, FCommentBlock11, FCommentBlock12);
}

void TqsParser::SetCommentBlock2(StringView value) {
  FCommentBlock2 = value;
  SplitCommentBlock(value, FCommentBlock21, FCommentBlock22);
}

void TqsParser::ConstructCharset(StringView chars) {
  FIdentifierCharset.reset();
  for (char16_t c : chars) FIdentifierCharset.set(c & 0xFF);
}

void TqsParser::AddKeyword(StringView keyword) {
  FKeywords.emplace_back(keyword);
  FLowerKeywords.insert(AsciiLower(keyword));
}

bool TqsParser::IsKeyWord(StringView word) const {
  if (!FCaseSensitive) return FLowerKeywords.count(AsciiLower(word)) != 0;
  return std::find(FKeywords.begin(), FKeywords.end(), word) != FKeywords.end();
}

void TqsParser::SetText(StringView text) {
  FText.assign(text);
  FText.push_back(0);
  FSize = static_cast<int>(text.size());
  FPosition = FLastPosition = 1;
  if (!FUseY) return;
  FYList.assign(1, 0);
  for (int i = 0; i < FSize; ++i) {
    if (FText[i] == 10) FYList.push_back(i + 1);
  }
}

bool TqsParser::StartsWithAt(int position, StringView prefix) const {
  if (prefix.empty() || position < 1 || position > FSize) return false;
  return StringView(FText).substr(position - 1, prefix.size()) == prefix;
}

// A word introducer (BasicScript's "rem") starts a comment only as a whole word, so that names
// such as `remark` stay names.
bool TqsParser::LineCommentAt(StringView introducer) const {
  if (!StartsWithAt(FPosition, introducer)) return false;
  if (!InCharset(introducer.back())) return true;
  return !InCharset(At(FPosition + static_cast<int>(introducer.size()))) &&
         !(InCharset(introducer.front()) && InCharset(At(FPosition - 1)));
}

bool TqsParser::SkipComment() {
  // An introducer on the very last character is not seen.
  if (FPosition >= FSize) return false;
  const String* line = LineCommentAt(FCommentLine1)   ? &FCommentLine1
                       : LineCommentAt(FCommentLine2) ? &FCommentLine2
                                                      : nullptr;
  if (line) {
    // With significant line ends a comment after code leaves its line end as a token.
    const bool keep_line_end = !FSkipEOL && FPosition > 1 && At(FPosition - 1) != 10;
    FPosition += static_cast<int>(line->size());
    while (FPosition <= FSize && At(FPosition) != 10 && !(keep_line_end && At(FPosition) == 13)) {
      ++FPosition;
    }
    return true;
  }
  const String* closer = nullptr;
  int opener_length = 0;
  if (!FCommentBlock12.empty() && StartsWithAt(FPosition, FCommentBlock11)) {
    closer = &FCommentBlock12;
    opener_length = static_cast<int>(FCommentBlock11.size());
  } else if (!FCommentBlock22.empty() && StartsWithAt(FPosition, FCommentBlock21)) {
    closer = &FCommentBlock22;
    opener_length = static_cast<int>(FCommentBlock21.size());
  }
  if (!closer) return false;
  FPosition += opener_length;
  while (FPosition <= FSize && !StartsWithAt(FPosition, *closer)) ++FPosition;
  if (FPosition <= FSize) FPosition += static_cast<int>(closer->size());
  FPosition = std::min(FPosition, FSize + 1);
  return true;
}

void TqsParser::SkipSpaces() {
  // Each continuation character asks for the line end after it to be skipped once the white
  // space behind it is done (iteratively, so long runs of them cannot exhaust the stack).
  int pending_line_ends = 0;
  for (;;) {
    while (FPosition <= FSize && At(FPosition) <= 32 && !(At(FPosition) == 13 && !FSkipEOL)) {
      ++FPosition;
    }
    if (FPosition <= FSize && !FSkiPChar.empty() && At(FPosition) == FSkiPChar[0]) {
      ++FPosition;
      ++pending_line_ends;
      continue;
    }
    if (SkipComment()) continue;
    if (pending_line_ends > 0) {
      --pending_line_ends;
      while (At(FPosition) == 13 || At(FPosition) == 10) ++FPosition;
      continue;
    }
    break;
  }
  FLastPosition = FPosition;
}

bool TqsParser::GetEOL() {
  SkipSpaces();
  if (At(FPosition) != 13 && At(FPosition) != 10) return false;
  while (At(FPosition) == 13 || At(FPosition) == 10) ++FPosition;
  return true;
}

String TqsParser::GetXYPosition() const {
  int line = 1;
  int line_start = 0;
  if (!FYList.empty()) {
    line = static_cast<int>(std::lower_bound(FYList.begin(), FYList.end(), FPosition) - FYList.begin());
    line = std::max(line, 1);
    line_start = FYList[line - 1];
  }
  const std::string text = std::to_string(line) + ":" + std::to_string(FPosition - line_start);
  return String(text.begin(), text.end());
}

int TqsParser::GetPlainPosition(TqsPoint point) const {
  if (point.Y < 1 || point.Y > static_cast<int>(FYList.size())) return -1;
  return point.X + FYList[point.Y - 1];
}

TqsPoint PosToPoint(StringView position) {
  TqsPoint point;
  if (position.empty()) return point;
  const size_t colon = position.find(u':');
  point.Y = ParseDigits(position.substr(0, colon));
  if (colon != StringView::npos) point.X = ParseDigits(position.substr(colon + 1, 255));
  return point;
}

}  // namespace zavrik
