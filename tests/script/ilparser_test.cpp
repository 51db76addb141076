// The grammar interpreter: loops, backtracking, output, errors, the depth bound, languages.
#include <gtest/gtest.h>

#include "core/error.h"
#include "parse_helpers.h"

namespace zavrik {
namespace {

using testing::ParseWith;
using testing::RegisterTestGrammar;

const char* const kIdentList =
    R"(<program><loop text=","><ident add="id" err="err1"/></loop><keyword text="END" err="err3"/></program>)";

TEST(GrammarLoops, SeparatedIterations) {
  RegisterTestGrammar(kIdentList);
  auto result = ParseWith(u"@T", u"a, b ,c end");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.tree,
            R"(<program><id text="a" pos="1:2"/><id text="b" pos="1:5"/><id text="c" pos="1:8"/>)"
            R"(<types><t type="integer"/></types></program>)");
}

TEST(GrammarLoops, FailedLastIterationKeepsItsError) {
  RegisterTestGrammar(kIdentList);
  EXPECT_EQ(ParseWith(u"@T", u"a, b, end").error, "1:7: Identifier expected");
  // A single failing iteration decides the loop alone.
  EXPECT_EQ(ParseWith(u"@T", u"end").error, "1:1: Identifier expected");
  // A mismatching separator ends the loop where the iteration ended.
  EXPECT_EQ(ParseWith(u"@T", u"a; end").error, "1:2: 'END' expected");
}

TEST(GrammarLoops, SkipAndTermClearTheTrailingError) {
  RegisterTestGrammar(
      R"(<program><loop text="," skip="1"><ident add="id" err="err1"/></loop><keyword text="END" err="err3"/></program>)");
  EXPECT_TRUE(ParseWith(u"@T", u"a, b, end").ok);
  RegisterTestGrammar(
      R"(<program><loop text=","><ident add="id" err="err1" term="1"/></loop><keyword text="END" err="err3"/></program>)");
  EXPECT_TRUE(ParseWith(u"@T", u"a, b, end").ok);
  // One iteration only: no clearing.
  EXPECT_FALSE(ParseWith(u"@T", u"end").ok);
}

TEST(GrammarLoops, OptionalLoopAndNoProgress) {
  RegisterTestGrammar(
      R"(<program><optionalloop><optional><ident add="id"/></optional></optionalloop><keyword text="END" err="err3"/></program>)");
  auto result = ParseWith(u"@T", u"a b end");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_NE(result.tree.find("<id text=\"a\""), std::string::npos);
  EXPECT_NE(result.tree.find("<id text=\"b\""), std::string::npos);
  EXPECT_TRUE(ParseWith(u"@T", u"end").ok);
}

TEST(GrammarBacktracking, SwitchAlternativesAndStaleLines) {
  // The first alternative emits a leaf and then fails; lines of failing parts stay unless a rule
  // definition with a node fails.
  RegisterTestGrammar(
      R"(<program><switch><sequence><ident add="x"/><char text=";"/></sequence>)"
      R"(<sequence><ident add="y"/><char text="."/></sequence></switch></program>)");
  EXPECT_EQ(ParseWith(u"@T", u"a.").tree,
            R"(<program><x text="a" pos="1:2"/><y text="a" pos="1:2"/><types><t type="integer"/></types></program>)");
  RegisterTestGrammar(
      R"(<program><switch><first/><sequence><ident add="y"/><char text="."/></sequence></switch></program>)"
      R"(<first node="f"><ident add="x"/><char text=";"/></first>)");
  EXPECT_EQ(ParseWith(u"@T", u"a.").tree,
            R"(<program><y text="a" pos="1:2"/><types><t type="integer"/></types></program>)");
}

TEST(GrammarOutput, NodeAddAddtextAndPositions) {
  RegisterTestGrammar(
      R"(<program><expression/><keyword text="END" node="stop"/></program>)"
      R"(<expression node="expr"><ident add="id"/><char text="+" add="op" addtext="&#60;plus&#62;"/>)"
      R"(<number add="n"/></expression>)");
  auto result = ParseWith(u"@T", u"\r\n  a +\r\n 12  END");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.tree,
            R"(<program><expr pos="2:3" pos1="3:4"><id text="a" pos="2:4"/>)"
            R"(<op text="&#60;plus&#62;" pos="2:6"/><n text="12" pos="3:4"/></expr>)"
            R"(<stop pos="3:6"/><types><t type="integer"/></types></program>)");
}

TEST(GrammarOutput, CharWithoutSkipAndCaseOfKeywords) {
  RegisterTestGrammar(
      R"(<program><char text=":"/><char text="=" skip="0" add="op"/><keyword text="BEGIN" add="k"/></program>)");
  EXPECT_TRUE(ParseWith(u"@T", u":= Begin").ok);
  EXPECT_FALSE(ParseWith(u"@T", u": = begin").ok);
  RegisterTestGrammar(
      R"(<program><keyword text="BEGIN" add="k"/></program>)", R"(<casesensitive text="1"/>)");
  EXPECT_FALSE(ParseWith(u"@T", u"Begin").ok);
  EXPECT_TRUE(ParseWith(u"@T", u"begin").ok);
}

TEST(GrammarOutput, AngleExpressionLinesEvenWhenEmpty) {
  RegisterTestGrammar(
      R"(<program><optional><char text="&#60;"/><frstring/></optional>)"
      R"(<char text="&#60;"/><char text="&#62;" add="gt"/></program>)");
  EXPECT_EQ(ParseWith(u"@T", u"<>").tree,
            R"(<program><dsgn pos="1:2"><node text="Get" pos="1:2"/><expr pos="1:2">)"
            R"(<string text="''" pos="1:2"/></expr></dsgn><gt text="&#62;" pos="1:3"/>)"
            R"(<types><t type="integer"/></types></program>)");
}

TEST(GrammarOutput, LeafTextsAreEscaped) {
  auto result = ParseWith(u"C++Script", u"{ x = \"a\\\"b<&>\\n\"; }");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_NE(result.tree.find(R"(<string text="'a&#34;b&#60;&#38;&#62;&#10;'")"), std::string::npos) << result.tree;
}

TEST(GrammarErrors, FirstErrorWinsAndUndefinedIdsRecordNothing) {
  RegisterTestGrammar(
      R"(<program><optional><ident err="err1"/><char text=";" err="err2"/></optional>)"
      R"(<keyword text="END" err="err3"/></program>)");
  // The optional part fails at ';' and records "';' expected"; END then fails too.
  EXPECT_EQ(ParseWith(u"@T", u"a\r\n  x").error, "2:3: ';' expected");
  RegisterTestGrammar(R"(<program><ident err="err99"/><switch err="err3"><char text="."/></switch></program>)");
  EXPECT_EQ(ParseWith(u"@T", u"1").error, "1:1: Syntax error");
  EXPECT_EQ(ParseWith(u"@T", u"a ;").error, "1:3: 'END' expected");
}

TEST(GrammarErrors, UndefinedRuleOnlyWhenReached) {
  RegisterTestGrammar(R"(<program><switch><ident/><nosuchrule/></switch></program>)");
  EXPECT_TRUE(ParseWith(u"@T", u"a").ok);
  try {
    ParseWith(u"@T", u"1");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Invalid language definition");
  }
  RegisterTestGrammar(R"(<program><parser/></program>)");
  EXPECT_THROW(ParseWith(u"@T", u"a"), Error);
}

TEST(GrammarErrors, MalformedGrammarAndUnknownLanguage) {
  qsRegisterLanguage(u"@Broken", "<language><program></language>");
  TqsParserOwner owner;
  TqsILParser parser(owner);
  try {
    parser.SelectLanguage(u"@Broken");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Invalid file format");
  }
  try {
    parser.SelectLanguage(u"Lisp");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Language 'Lisp' not found");
  }
}

TEST(GrammarDepth, RunawayRecursionEndsWithAnError) {
  RegisterTestGrammar(R"(<program><optional><ident/></optional><program/></program>)");
  // Each level reads one identifier; the bound is hit at the end of the text.
  EXPECT_EQ(ParseWith(u"@T", u"  a b").error, "1:6: Nesting too deep");
}

TEST(GrammarDepth, DeepPascalNesting) {
  const String deep_parens = u"begin x := " + String(10000, u'(') + u"1" + String(10000, u')') + u" end.";
  auto result = ParseWith(u"PascalScript", deep_parens);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find(": Nesting too deep"), std::string::npos) << result.error;

  String deep_blocks;
  for (int i = 0; i < 10000; ++i) deep_blocks += u"begin ";
  for (int i = 0; i < 10000; ++i) deep_blocks += u"end ";
  EXPECT_NE(ParseWith(u"PascalScript", deep_blocks + u".").error.find("Nesting too deep"), std::string::npos);

  // Far beyond real scripts still parses.
  const String parens = u"begin x := " + String(300, u'(') + u"1" + String(300, u')') + u" end.";
  EXPECT_TRUE(ParseWith(u"PascalScript", parens).ok);
  String blocks;
  for (int i = 0; i < 300; ++i) blocks += u"begin ";
  for (int i = 0; i < 300; ++i) blocks += u"end ";
  EXPECT_TRUE(ParseWith(u"PascalScript", blocks + u".").ok);
}

TEST(GrammarDepth, NamesInDeepBlocksParseInLinearTime) {
  // Wrapping a rule's node once moved all output after it: 432 levels of blocks around 6,392
  // statements took over a minute.
  String text = String(432, u'{');
  for (int i = 0; i < 6392; ++i) text += u" _";
  const auto result = ParseWith(u"JScript", text + String(432, u'}'));
  ASSERT_TRUE(result.ok) << result.error;
  const std::string outer = R"(<program><compoundstmt pos="1:1"><compoundstmt pos="1:2"><compoundstmt pos="1:3">)";
  EXPECT_EQ(result.tree.substr(0, outer.size()), outer);
  EXPECT_EQ(ParseWith(u"JScript", text + String(6784, u'}')).error, "1:13649: Statement expected");
}

TEST(Languages, RegistryOrderHidesAtNames) {
  RegisterTestGrammar(kIdentList);
  const std::vector<String> names = qsGetLanguageList();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], u"PascalScript");
  EXPECT_EQ(names[1], u"C++Script");
  EXPECT_EQ(names[2], u"BasicScript");
  EXPECT_EQ(names[3], u"JScript");
  for (const String& name : names) EXPECT_NE(name[0], u'@');
  EXPECT_EQ(qsGetGrammar(u"pascalscript")->Name(), u"PascalScript");
}

TEST(Languages, SettingsReachTheScanner) {
  TqsParserOwner owner;
  TqsILParser parser(owner);
  parser.SelectLanguage(u"BasicScript");
  EXPECT_FALSE(parser.Parser().SkipEOL());
  EXPECT_EQ(parser.Parser().SkipChar(), u"_");
  EXPECT_EQ(parser.Parser().CommentLine2(), u"rem");
  EXPECT_EQ(parser.Parser().CommentBlock1(), u"/\\,/\\");
  EXPECT_FALSE(parser.NeedDeclareVars());
  EXPECT_TRUE(parser.Parser().IsKeyWord(u"WEND"));
  parser.SelectLanguage(u"C++Script");
  EXPECT_TRUE(parser.Parser().CaseSensitive());
  EXPECT_TRUE(parser.Parser().SpecStrChar());
  EXPECT_EQ(parser.Parser().StringQuotes(), u"\"");
  EXPECT_EQ(parser.Parser().HexSequence(), u"0x");
  EXPECT_TRUE(parser.NeedDeclareVars());
  EXPECT_EQ(parser.Grammar()->Types().Count(), 5);
}

TEST(LanguageDirective, SelectsTheGrammarAndKeepsPositions) {
  auto result = ParseWith(u"PascalScript", u"#language BasicScript\r\nx = 1\r\n");
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_NE(result.tree.find(R"(<compoundstmt pos="2:1">)"), std::string::npos) << result.tree;
  EXPECT_NE(result.tree.find(R"(<decimal type="extended"/>)"), std::string::npos);
  EXPECT_EQ(ParseWith(u"PascalScript", u"#language BasicScript\r\nx = \r\n").error, "2:5: Expression expected");
  // Not a directive: the text goes to the selected grammar as it is.
  EXPECT_EQ(ParseWith(u"PascalScript", u"#lang BasicScript\r\n").error, "1:1: 'BEGIN' expected");
  try {
    ParseWith(u"PascalScript", u"#language Lisp\r\nx");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Language 'Lisp' not found");
  }
}

TEST(LanguageBasics, MinimalProgramsOfEachGrammar) {
  EXPECT_TRUE(ParseWith(u"PascalScript", u"begin end.").ok);
  EXPECT_TRUE(ParseWith(u"C++Script", u"{}").ok);
  EXPECT_TRUE(ParseWith(u"JScript", u"").ok);
  EXPECT_TRUE(ParseWith(u"BasicScript", u"x = 1\r\n").ok);
  EXPECT_EQ(ParseWith(u"BasicScript", u"x = 1").error, "1:6: End of line expected");
  EXPECT_EQ(ParseWith(u"BasicScript", u"If a Then\r\nb = 1\r\nEnd If").error, "3:7: End of line expected");
  EXPECT_TRUE(ParseWith(u"PascalScript", u"If A Then B := 1").ok == false);
  EXPECT_TRUE(ParseWith(u"PascalScript", u"BEGIN If A Then B := 1 END.").ok);
  EXPECT_EQ(ParseWith(u"C++Script", u"{ IF (a) b = 1; }").error, "1:10: ';' expected");
}

}  // namespace
}  // namespace zavrik
