// The scanner: white space and comments, every token reader, positions.
#include <gtest/gtest.h>

#include "script/qs_iparser.h"

namespace zavrik {
namespace {

TqsParser ScannerOn(StringView text) {
  TqsParser parser;
  parser.SetText(text);
  return parser;
}

// Reads GetChar tokens with SkipSpaces before each, and numbers and words between them.
std::vector<String> TokensOf(TqsParser& parser) {
  std::vector<String> tokens;
  for (;;) {
    parser.SkipSpaces();
    String token = parser.GetWord();
    if (token.empty()) token = parser.GetNumber();
    if (token.empty()) token = parser.GetChar();
    if (token.empty()) return tokens;
    tokens.push_back(token);
  }
}

TEST(ScannerSpaces, CommentsOfAllKindsVanish) {
  TqsParser parser = ScannerOn(u"x := 5 { note } + (* other *) 6 // rest");
  EXPECT_EQ(TokensOf(parser), (std::vector<String>{u"x", u":", u"=", u"5", u"+", u"6"}));
  EXPECT_EQ(parser.Position(), parser.Size() + 1);
}

TEST(ScannerSpaces, CommentIntroducerOnTheLastCharacterIsNotSeen) {
  TqsParser parser = ScannerOn(u"a {");
  parser.SetCommentBlock1(u"{,}");
  EXPECT_EQ(parser.GetWord(), u"a");
  parser.SkipSpaces();
  EXPECT_EQ(parser.GetChar(), u"{");
  // An unterminated block comment consumes the rest of the text.
  parser.SetText(u"a { b");
  parser.GetWord();
  parser.SkipSpaces();
  EXPECT_EQ(parser.Position(), 6);
  // A block comment setting without a closer is no comment.
  parser.SetText(u"<a");
  parser.SetCommentBlock1(u"<");
  parser.SkipSpaces();
  EXPECT_EQ(parser.Position(), 1);
}

TEST(ScannerSpaces, CommentsDoNotNest) {
  TqsParser parser = ScannerOn(u"{ a { b } c }");
  EXPECT_EQ(parser.GetWord(), u"c");
}

TEST(ScannerSpaces, SignificantLineEndsAndComments) {
  TqsParser parser = ScannerOn(u"a ' note\r\n' whole line\r\nb");
  parser.SetSkipEOL(false);
  parser.SetCommentLine1(u"'");
  EXPECT_EQ(parser.GetWord(), u"a");
  // A comment after code leaves its line end as a token ...
  EXPECT_TRUE(parser.GetEOL());
  // ... one that fills its line vanishes with its line end.
  EXPECT_EQ(parser.GetWord(), u"b");
}

TEST(ScannerSpaces, LineContinuation) {
  TqsParser parser = ScannerOn(u"a _\r\nb");
  parser.SetSkipEOL(false);
  parser.SetSkipChar(u"_");
  EXPECT_EQ(parser.GetWord(), u"a");
  EXPECT_FALSE(parser.GetEOL());
  EXPECT_EQ(parser.GetWord(), u"b");
  parser.SetText(u"Dim _x");
  EXPECT_EQ(parser.GetWord(), u"Dim");
  EXPECT_EQ(parser.GetWord(), u"x");
  // Long runs of continuation characters are fine.
  parser.SetText(String(100000, u'_') + u"z");
  EXPECT_EQ(parser.GetWord(), u"z");
}

TEST(ScannerSpaces, RemCommentIsACaseSensitiveWholeWord) {
  TqsParser parser = ScannerOn(u"rem note\r\nRem");
  parser.SetSkipEOL(false);
  parser.SetCommentLine2(u"rem");
  parser.SkipSpaces();
  EXPECT_EQ(parser.Position(), 11);  // a whole-line comment vanishes with its line end
  EXPECT_EQ(parser.GetWord(), u"Rem");
  parser.SetText(u"x rem note\r\ny");
  EXPECT_EQ(parser.GetWord(), u"x");
  EXPECT_TRUE(parser.GetEOL());  // after code the line end stays
  EXPECT_EQ(parser.GetWord(), u"y");
  // A name that begins with the word is a name.
  parser.SetText(u"remark = 1");
  parser.SkipSpaces();
  EXPECT_EQ(parser.Position(), 1);
  EXPECT_EQ(parser.GetWord(), u"remark");
}

TEST(ScannerWords, KeywordsAndIdentifiers) {
  TqsParser parser = ScannerOn(u"begin BEGIN Begin Сумма _a1 9x");
  parser.AddKeyword(u"begin");
  EXPECT_EQ(parser.GetIdent(), u"");
  EXPECT_EQ(parser.Position(), 6);  // after the keyword
  parser.SetPosition(1);
  EXPECT_EQ(parser.GetWord(), u"begin");
  EXPECT_EQ(parser.GetIdent(), u"");
  EXPECT_EQ(parser.GetIdent(), u"");
  EXPECT_EQ(parser.GetIdent(), u"Сумма");
  EXPECT_EQ(parser.GetIdent(), u"_a1");
  EXPECT_EQ(parser.GetIdent(), u"");
  EXPECT_EQ(parser.Position(), 29);  // a digit cannot start a word
  parser.SetCaseSensitive(true);
  EXPECT_TRUE(parser.IsKeyWord(u"begin"));
  EXPECT_FALSE(parser.IsKeyWord(u"Begin"));
}

TEST(ScannerWords, ConstructCharset) {
  TqsParser parser = ScannerOn(u"ab-c d");
  parser.ConstructCharset(u"abc-");
  EXPECT_EQ(parser.GetWord(), u"ab-c");
  EXPECT_EQ(parser.GetWord(), u"");  // 'd' is no identifier character now
}

TEST(ScannerChars, OnlyPunctuationAndNoSkipping) {
  TqsParser parser = ScannerOn(u" ;");
  EXPECT_EQ(parser.GetChar(), u"");
  parser.SetText(u"a");
  EXPECT_EQ(parser.GetChar(), u"");
  parser.SetText(u"~");
  EXPECT_EQ(parser.GetChar(), u"~");
  EXPECT_EQ(parser.GetChar(), u"");  // the terminator
}

struct NumberCase {
  const char16_t* text;
  const char16_t* hex;
  const char16_t* token;
  int position_after;
};

TEST(ScannerNumbers, RealsIntegersAndHex) {
  const NumberCase cases[] = {
      {u"12.5e-3", u"$", u"12.5e-3", 8}, {u"12.e3", u"$", u"12", 3},  {u"1..5", u"$", u"1", 2},
      {u"$FF", u"$", u"$FF", 4},         {u"0x1F", u"0x", u"$1F", 5}, {u"0", u"0x", u"0", 2},
      {u"3E+", u"$", u"3", 2},           {u"7e9x", u"$", u"7e9", 4},  {u"$", u"$", u"", 1},
      {u"-1", u"$", u"", 1},             {u"1.5", u"$", u"1.5", 4},   {u"0x", u"0x", u"", 1},
  };
  for (const NumberCase& c : cases) {
    TqsParser parser = ScannerOn(c.text);
    parser.SetHexSequence(c.hex);
    EXPECT_EQ(parser.GetNumber(), c.token) << StringToUtf8(c.text);
    EXPECT_EQ(parser.Position(), c.position_after) << StringToUtf8(c.text);
  }
}

TEST(ScannerStrings, PiecesCodesAndDoubling) {
  TqsParser parser = ScannerOn(u"'It''s'#33 x");
  EXPECT_EQ(parser.GetString(), u"'It's!'");
  EXPECT_EQ(parser.Position(), 11);
  parser.SetText(u"#13#$0A'a'");
  EXPECT_EQ(parser.GetString(), u"'\r\na'");
  parser.SetText(u"'' ''");
  EXPECT_EQ(parser.GetString(), u"''");  // pieces must be adjacent
  EXPECT_EQ(parser.Position(), 3);
}

TEST(ScannerStrings, BackslashEscapes) {
  TqsParser parser = ScannerOn(u"\"a\\tb\" \"\\x41\\n\" \"\\\\\\\"\" \"\\x\"");
  parser.SetStringQuotes(u"\"");
  parser.SetSpecStrChar(true);
  EXPECT_EQ(parser.GetString(), u"'atb'");
  EXPECT_EQ(parser.GetString(), u"'A\n'");
  EXPECT_EQ(parser.GetString(), u"'\\\"'");
  EXPECT_EQ(parser.GetString(), u"''");
  // No doubling with escapes on: "a""b" is two pieces.
  parser.SetText(u"\"a\"\"b\"");
  EXPECT_EQ(parser.GetString(), u"'ab'");
}

TEST(ScannerStrings, UnterminatedOrBrokenLiteralIsNoString) {
  for (const char16_t* text : {u"'abc\r\ndef'", u"'abc", u"'a\x01'", u"#", u"#x"}) {
    TqsParser parser = ScannerOn(text);
    EXPECT_EQ(parser.GetString(), u"") << StringToUtf8(text);
    EXPECT_EQ(parser.Position(), 1) << StringToUtf8(text);
  }
  TqsParser parser = ScannerOn(u"'a\tb'");
  EXPECT_EQ(parser.GetString(), u"'a\tb'");  // tab is allowed
  parser.SetText(u"\"ab\\");
  parser.SetStringQuotes(u"\"");
  parser.SetSpecStrChar(true);
  EXPECT_EQ(parser.GetString(), u"");  // escape at the end of the text
}

TEST(ScannerFrString, NestingAndQuotes) {
  TqsParser parser = ScannerOn(u"<a<b>c[1]>rest");
  parser.SetPosition(2);
  EXPECT_EQ(parser.GetFRString(), u"a<b>c[1]");
  EXPECT_EQ(parser.Position(), 10);
  parser.SetText(u"<'>'>");
  parser.SetPosition(2);
  EXPECT_EQ(parser.GetFRString(), u"'>'");
  parser.SetText(u"<\"'>\"x");
  parser.SetPosition(2);
  EXPECT_EQ(parser.GetFRString(), u"\"'>\"x");  // unterminated: up to the end
}

TEST(ScannerPositions, LinesAndColumns) {
  TqsParser parser = ScannerOn(u"ab\r\ncd");
  parser.SetPosition(5);
  EXPECT_EQ(parser.GetXYPosition(), u"2:1");
  parser.SetPosition(4);
  EXPECT_EQ(parser.GetXYPosition(), u"1:4");
  parser.SetPosition(7);
  EXPECT_EQ(parser.GetXYPosition(), u"2:3");
  EXPECT_EQ(parser.GetPlainPosition({1, 2}), 5);
  EXPECT_EQ(parser.GetPlainPosition({1, 3}), -1);
  EXPECT_EQ(parser.GetPlainPosition({1, 0}), -1);
  const TqsPoint point = PosToPoint(u"12:34");
  EXPECT_EQ(point.Y, 12);
  EXPECT_EQ(point.X, 34);
  EXPECT_EQ(PosToPoint(u"").X, 0);
}

TEST(ScannerSettings, ClearRestoresDefaults) {
  TqsParser parser;
  parser.SetText(u"abc");
  parser.SetPosition(3);
  parser.SetCommentBlock1(u"/*,*/");
  parser.SetSkipEOL(false);
  parser.AddKeyword(u"abc");
  parser.Clear();
  EXPECT_EQ(parser.Text(), u"");
  EXPECT_EQ(parser.Position(), 1);
  EXPECT_EQ(parser.CommentBlock1(), u"{,}");
  EXPECT_TRUE(parser.SkipEOL());
  EXPECT_FALSE(parser.IsKeyWord(u"abc"));
}

}  // namespace
}  // namespace zavrik
