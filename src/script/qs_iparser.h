// TqsParser: the character-level scanner of the script engine. It holds one source text and a
// position and reads, on request, one token of the kind asked for; the grammar-driven parser
// decides which kind comes next and backtracks by resetting Position.
#pragma once

#include <bitset>
#include <set>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

struct TqsPoint {
  int X = 0;
  int Y = 0;
};

// A set of single-byte characters; characters above 255 are never members.
using TqsIdentifierCharset = std::bitset<256>;

class TqsParser {
 public:
  TqsParser();

  // Empties the keyword list and the text and restores every default setting.
  void Clear();
  // The identifier characters become exactly the characters of `chars` (low 8 bits of each).
  void ConstructCharset(StringView chars);
  void AddKeyword(StringView keyword);
  bool IsKeyWord(StringView word) const;

  // Skips white space, line continuations and comments; sets LastPosition.
  void SkipSpaces();
  // Skips white space, then a run of line-end characters; true when there was one.
  bool GetEOL();
  // A word that is not a keyword (empty for a keyword, the position then after the word).
  String GetIdent();
  // Any word, reserved or not.
  String GetWord();
  // One punctuation character at the position, without skipping white space.
  String GetChar();
  // An unsigned number; a hexadecimal prefix other than "$" is rewritten to "$".
  String GetNumber();
  // A string literal made of quoted pieces and #codes, returned as its value in apostrophes.
  String GetString();
  // The raw text of an angle-bracket expression; called just after the '<'.
  String GetFRString();
  // "line:column" of Position.
  String GetXYPosition() const;
  // The position of column X in line Y (1-based), or -1 when the line does not exist.
  int GetPlainPosition(TqsPoint point) const;

  // Settings (defaults as after Clear).
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value) { FCaseSensitive = value; }
  const String& CommentBlock1() const { return FCommentBlock1; }
  void SetCommentBlock1(StringView value);
  const String& CommentBlock2() const { return FCommentBlock2; }
  void SetCommentBlock2(StringView value);
  const String& CommentLine1() const { return FCommentLine1; }
  void SetCommentLine1(StringView value) { FCommentLine1 = value; }
  const String& CommentLine2() const { return FCommentLine2; }
  void SetCommentLine2(StringView value) { FCommentLine2 = value; }
  const String& HexSequence() const { return FHexSequence; }
  void SetHexSequence(StringView value) { FHexSequence = value; }
  const TqsIdentifierCharset& IdentifierCharset() const { return FIdentifierCharset; }
  void SetIdentifierCharset(const TqsIdentifierCharset& value) { FIdentifierCharset = value; }
  const String& SkipChar() const { return FSkiPChar; }
  void SetSkipChar(StringView value) { FSkiPChar = value; }
  bool SkipEOL() const { return FSkipEOL; }
  void SetSkipEOL(bool value) { FSkipEOL = value; }
  bool SkipSpace() const { return FSkipSpace; }
  void SetSkipSpace(bool value) { FSkipSpace = value; }
  const String& StringQuotes() const { return FStringQuotes; }
  void SetStringQuotes(StringView value) { FStringQuotes = value; }
  bool SpecStrChar() const { return FSpecStrChar; }
  void SetSpecStrChar(bool value) { FSpecStrChar = value; }
  bool UseY() const { return FUseY; }
  void SetUseY(bool value) { FUseY = value; }

  // The source text (without the terminator); setting it rewinds to position 1.
  StringView Text() const { return StringView(FText).substr(0, FSize); }
  void SetText(StringView text);
  int Position() const { return FPosition; }
  void SetPosition(int position) { FPosition = FLastPosition = position; }
  int LastPosition() const { return FLastPosition; }
  int Size() const { return FSize; }

 private:
  // The character at a 1-based position; the terminator (0) outside the text.
  char16_t At(int position) const {
    return position >= 1 && position <= FSize ? FText[position - 1] : char16_t(0);
  }
  bool StartsWithAt(int position, StringView prefix) const;
  bool InCharset(char16_t c) const { return c < 256 && FIdentifierCharset[c]; }
  // Skips one comment at the position, if any; true when one was skipped.
  bool SkipComment();
  bool LineCommentAt(StringView introducer) const;
  String ReadWord();
  // Unsigned integer (decimal, or hexadecimal after HexSequence) at `pos`, advanced past it.
  bool ScanUnsigned(int& pos) const;
  bool ScanReal(int& pos) const;
  bool ScanQuotedPiece(int& pos, String& value) const;
  bool ScanCharCode(int& pos, String& value) const;

  bool FCaseSensitive;
  String FCommentBlock1, FCommentBlock11, FCommentBlock12;
  String FCommentBlock2, FCommentBlock21, FCommentBlock22;
  String FCommentLine1, FCommentLine2;
  String FHexSequence;
  TqsIdentifierCharset FIdentifierCharset;
  std::vector<String> FKeywords;     // exact forms, in the order added
  std::set<String> FLowerKeywords;   // ASCII lower-cased, for the case-insensitive lookup
  int FLastPosition;
  int FPosition;
  int FSize;
  String FSkiPChar;
  bool FSkipEOL;
  bool FSkipSpace;
  String FStringQuotes;
  String FText;  // the text followed by one NUL
  bool FUseY;
  std::vector<int> FYList;  // 0, then the position of every line feed
  bool FSpecStrChar;
};

// "line:column" back to a point (Y = line, X = column); an empty text gives (0, 0). Digits that
// do not form a number give 0.
TqsPoint PosToPoint(StringView position);

}  // namespace zavrik
