// TqsParser: the token readers.
#include "script/qs_iparser.h"

#include <cstdint>

namespace zavrik {
namespace {

bool IsDecimal(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHex(char16_t c) {
  return IsDecimal(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

unsigned HexValue(char16_t c) {
  if (IsDecimal(c)) return c - u'0';
  return (c | 0x20) - u'a' + 10;
}

bool IsPunctuation(char16_t c) {
  return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) ||
         (c >= 123 && c <= 126);
}

// Control characters end a string literal; tab is allowed.
bool IsStringBreaker(char16_t c) { return c < 32 && c != 9; }

String ReplaceAll(StringView text, StringView from, StringView to) {
  String out;
  size_t start = 0;
  for (size_t at = text.find(from); at != StringView::npos; at = text.find(from, start)) {
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace

String TqsParser::ReadWord() {
  SkipSpaces();
  const char16_t first = At(FPosition);
  if (FPosition > FSize || !((InCharset(first) && !IsDecimal(first)) || first >= 127)) return String();
  while (FPosition <= FSize && (InCharset(At(FPosition)) || At(FPosition) >= 127)) ++FPosition;
  return FText.substr(FLastPosition - 1, FPosition - FLastPosition);
}

String TqsParser::GetWord() { return ReadWord(); }

String TqsParser::GetIdent() {
  String word = ReadWord();
  if (!word.empty() && IsKeyWord(word)) return String();
  return word;
}

String TqsParser::GetChar() {
  if (FPosition > FSize || !IsPunctuation(At(FPosition))) return String();
  return String(1, At(FPosition++));
}

bool TqsParser::ScanUnsigned(int& pos) const {
  const int start = pos;
  if (StartsWithAt(pos, FHexSequence)) {
    pos += static_cast<int>(FHexSequence.size());
    const int digits = pos;
    while (pos <= FSize && IsHex(At(pos))) ++pos;
    if (pos > digits) return true;
  } else {
    while (pos <= FSize && IsDecimal(At(pos))) ++pos;
    if (pos > start) return true;
  }
  pos = start;
  return false;
}

bool TqsParser::ScanReal(int& pos) const {
  const int start = pos;
  if (!ScanUnsigned(pos)) return false;
  if (At(pos) == u'.') {
    const int digits = ++pos;
    while (pos <= FSize && IsDecimal(At(pos))) ++pos;
    if (pos == digits) {
      pos = start;
      return false;
    }
  }
  if (At(pos) == u'E' || At(pos) == u'e') {
    int exponent = pos + 1;
    if (At(exponent) == u'+' || At(exponent) == u'-') ++exponent;
    const int digits = exponent;
    while (exponent <= FSize && IsDecimal(At(exponent))) ++exponent;
    if (exponent > digits) pos = exponent;
  }
  return true;
}

String TqsParser::GetNumber() {
  SkipSpaces();
  int pos = FPosition;
  if (!ScanReal(pos) && !ScanUnsigned(pos)) return String();
  FPosition = pos;
  const StringView number = StringView(FText).substr(FLastPosition - 1, FPosition - FLastPosition);
  if (FHexSequence.empty() || FHexSequence == u"$") return String(number);
  return ReplaceAll(number, FHexSequence, u"$");
}

bool TqsParser::ScanQuotedPiece(int& pos, String& value) const {
  if (FStringQuotes.empty() || At(pos) != FStringQuotes[0] || pos > FSize) return false;
  const char16_t quote = FStringQuotes[0];
  String piece;
  int p = pos + 1;
  for (;;) {
    const char16_t c = At(p);
    if (p > FSize || IsStringBreaker(c)) return false;
    if (FSpecStrChar && c == u'\\') {
      const char16_t e = At(++p);
      if (p > FSize || IsStringBreaker(e)) return false;
      ++p;
      if (e == u'n' || e == u'N') {
        piece.push_back(10);
      } else if (e == u'r' || e == u'R') {
        piece.push_back(13);
      } else if (e == u'x' || e == u'X') {
        uint32_t code = 0;
        const int digits = p;
        for (; p <= FSize && IsHex(At(p)); ++p) code = (code << 4) | HexValue(At(p));
        if (p > digits) piece.push_back(static_cast<char16_t>(code & 0xFFFF));
      } else {
        piece.push_back(e);
      }
    } else if (c == quote) {
      if (!FSpecStrChar && At(p + 1) == quote && p + 1 <= FSize) {
        piece.push_back(quote);
        p += 2;
      } else {
        pos = p + 1;
        value += piece;
        return true;
      }
    } else {
      piece.push_back(c);
      ++p;
    }
  }
}

bool TqsParser::ScanCharCode(int& pos, String& value) const {
  if (At(pos) != u'#' || pos > FSize) return false;
  int p = pos + 1;
  const int digits = p;
  if (!ScanUnsigned(p)) return false;
  uint32_t code = 0;
  int first = digits;
  if (StartsWithAt(first, FHexSequence)) {
    first += static_cast<int>(FHexSequence.size());
    for (int i = first; i < p; ++i) code = (code << 4) | HexValue(At(i));
  } else {
    for (int i = first; i < p; ++i) code = code * 10 + (At(i) - u'0');
  }
  value.push_back(static_cast<char16_t>(code & 0xFFFF));
  pos = p;
  return true;
}

String TqsParser::GetString() {
  SkipSpaces();
  String value;
  bool any = false;
  while (ScanQuotedPiece(FPosition, value) || ScanCharCode(FPosition, value)) any = true;
  if (!any) return String();
  return u"'" + value + u"'";
}

String TqsParser::GetFRString() {
  if (FPosition < 1 || FPosition > FSize + 1) return String();
  const int start = FPosition;
  int depth = 1;
  bool in_single = false, in_double = false;
  for (; FPosition <= FSize; ++FPosition) {
    const char16_t c = At(FPosition);
    if (!in_single && !in_double) {
      if (c == u'<' || c == u'[') ++depth;
      if (c == u'>' || c == u']') --depth;
      if (depth == 0) break;
    }
    if (c == u'"' && !in_single) in_double = !in_double;
    if (c == u'\'' && !in_double) in_single = !in_single;
  }
  return FText.substr(start - 1, FPosition - start);
}

}  // namespace zavrik
