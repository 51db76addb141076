#include "report/text/draw_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/text/hyphenation.h"
#include "report/layout_helpers.h"

namespace zavrik {
namespace {

using test::Lines;
using test::LayoutSetup;
using test::Prepare;
using test::ReferenceWidth;
using ::testing::ElementsAre;

TEST(DrawTextMeasure, LineHeightsFollowTheReferenceEmHeight) {
  TqbxDrawText layout;
  Prepare(layout, {}, u"one\ntwo\nthree");
  EXPECT_EQ(layout.FontHeight(), 83);
  EXPECT_NEAR(layout.LineHeight(), 15.28, 1e-9);
  EXPECT_NEAR(layout.TextHeight(), 13.28, 1e-9);
  ASSERT_EQ(layout.Text().size(), 3u);
  EXPECT_NEAR(layout.CalcHeight(), 45.84, 1e-9);

  LayoutSetup negative;
  negative.line_spacing = -3;
  Prepare(layout, negative, u"one\ntwo");
  EXPECT_NEAR(layout.CalcHeight(), 2 * (13.28 - 3) + 3, 1e-9);

  // Above 12 pt the cell height's surplus over the em height is added once.
  LayoutSetup large;
  large.font.size = 20;
  large.line_spacing = 0;
  Prepare(layout, large, u"x");
  const int fh = 167, cell = FaceFor(u"Arial", 0)->CellHeight(fh);
  ASSERT_GT(cell, fh);
  EXPECT_NEAR(layout.CalcHeight(), fh / 6.25 + (cell - fh) / 6.25, 1e-9);
}

TEST(DrawTextMeasure, UnusedSpaceAndWidth) {
  TqbxDrawText layout;
  LayoutSetup twelve;
  twelve.font.size = 12;
  twelve.line_spacing = 0;
  twelve.height = 31;  // 32 / 16 is exactly two lines
  Prepare(layout, twelve, u"a\nb");
  EXPECT_DOUBLE_EQ(layout.UnusedSpace(), 0.0001);
  twelve.height = 40;
  Prepare(layout, twelve, u"a");
  EXPECT_DOUBLE_EQ(layout.UnusedSpace(), 41 - 2 * 16);
  twelve.height = 10;
  Prepare(layout, twelve, u"a");
  EXPECT_DOUBLE_EQ(layout.UnusedSpace(), 0);

  Prepare(layout, {}, u"Wide\nW");
  EXPECT_DOUBLE_EQ(layout.CalcWidth(), ReferenceWidth(u"Wide") / 6.25);
  Prepare(layout, {}, u"");
  EXPECT_EQ(layout.CalcWidth(), 0);
  EXPECT_EQ(layout.CalcHeight(), 0);
}

TEST(DrawTextOptions, RotationIsKeptModulo360) {
  TqbxDrawText layout;
  layout.SetOptions(true, false, true, false, true, true, 450);
  EXPECT_EQ(layout.Rotation, 90);
  EXPECT_EQ(layout.Options, 128 + 4);
  layout.SetOptions(true, false, false, false, false, true, -90);
  EXPECT_EQ(layout.Rotation, 270);
  EXPECT_EQ(layout.Options, 0);
}

TEST(DrawTextMarkup, EmptyMarkupIsOneSpace) {
  TqbxDrawText layout;
  LayoutSetup html;
  html.html = true;
  Prepare(layout, html, u"<b></b>");
  EXPECT_THAT(Lines(layout), ElementsAre(u" "));
  EXPECT_EQ(layout.Text()[0].Flags, 3);
  EXPECT_EQ(layout.HTMLTags().Lines[0].size(), 1u);
}

// With markup off a tag is text, and the records count positions as the markup parser does.
TEST(DrawTextMarkup, MarkupOffKeepsTagsAsTextAndCountsPositions) {
  TqbxHTMLTagsList parser;
  parser.Reset(clBlack, 10, kFontBold);
  parser.AllowTags = false;
  String first = u"a<b>c";
  const TqbxHTMLTags tags = parser.ExpandHTMLTags(first);
  EXPECT_EQ(first, u"a<b>c");
  ASSERT_EQ(tags.size(), 5u);
  for (size_t i = 0; i < tags.size(); ++i) {
    EXPECT_EQ(tags[i].Position, 1 + static_cast<int>(i));
    EXPECT_TRUE(tags[i].Default);
    EXPECT_EQ(tags[i].Style, kFontBold);
    EXPECT_EQ(tags[i].Size, 10);
  }
  String empty;
  const TqbxHTMLTags space = parser.ExpandHTMLTags(empty);  // after "a<b>c" and its line break
  EXPECT_EQ(empty, u" ");
  ASSERT_EQ(space.size(), 1u);
  EXPECT_EQ(space[0].Position, 8);
  String kept;
  EXPECT_TRUE(parser.ExpandHTMLTags(kept, true).empty());
  EXPECT_EQ(kept, u"");
  EXPECT_EQ(parser.Position, 12);
}

TEST(DrawTextMarkup, FontColours) {
  TqbxDrawText layout;
  LayoutSetup html;
  html.html = true;
  Prepare(layout, html, u"A<font color=\"#00FF00\">B</font>C");
  EXPECT_THAT(Lines(layout), ElementsAre(u"ABC"));
  const TqbxHTMLTags& tags = layout.HTMLTags().Lines[0];
  EXPECT_EQ(tags[0].Color, 0u);
  EXPECT_EQ(tags[1].Color, 65280u);
  EXPECT_EQ(tags[2].Color, 0u);
  EXPECT_TRUE(tags[0].Default);
  EXPECT_FALSE(tags[1].Default);
  EXPECT_FALSE(tags[2].Default);
  EXPECT_EQ(tags[1].Position, 24);

  Prepare(layout, html, u"<font color=\"#FF0000\">r</font><font color=red>R</font><FONT COLOR=clRed>x</font>");
  EXPECT_THAT(Lines(layout), ElementsAre(u"rR<FONT COLOR=clRed>x"));
  EXPECT_EQ(layout.HTMLTags().Lines[0][0].Color, 255u);
  EXPECT_EQ(layout.HTMLTags().Lines[0][1].Color, 255u);

  // An unknown colour leaves the opening tag as text; the closing tag is still markup.
  Prepare(layout, html, u"A<font color=nosuch>B</font>C");
  EXPECT_THAT(Lines(layout), ElementsAre(u"A<font color=nosuch>BC"));
  Prepare(layout, html, u"<font color=\"#GG0000\">x");
  EXPECT_THAT(Lines(layout), ElementsAre(u"<font color=\"#GG0000\">x"));
  Prepare(layout, html, u"<font color=BtnFace>x</font>");
  EXPECT_EQ(layout.HTMLTags().Lines[0][0].Color, 0xFF00000Fu);
}

TEST(DrawTextMarkup, MismatchedCloseReopensInnerTags) {
  TqbxDrawText layout;
  LayoutSetup html;
  html.html = true;
  Prepare(layout, html, u"<b>x<i>y</b>z</i>w");
  EXPECT_THAT(Lines(layout), ElementsAre(u"xyzw"));
  const TqbxHTMLTags& tags = layout.HTMLTags().Lines[0];
  EXPECT_EQ(tags[0].Style, kFontBold);
  EXPECT_EQ(tags[1].Style, kFontBold | kFontItalic);
  EXPECT_EQ(tags[2].Style, kFontItalic);
  EXPECT_EQ(tags[3].Style, 0);
  // Positions count the source text only, not the re-opening tags.
  EXPECT_EQ(tags[0].Position, 4);
  EXPECT_EQ(tags[1].Position, 8);
  EXPECT_EQ(tags[2].Position, 13);
  EXPECT_EQ(tags[3].Position, 18);
}

TEST(DrawTextMarkup, SubscriptsAndStyleCarryOver) {
  TqbxDrawText layout;
  LayoutSetup html;
  html.html = true;
  Prepare(layout, html, u"H<sub>2</sub>O<sup>3</sup><u>a\nb</u><strike>s</strike>");
  const auto& first = layout.HTMLTags().Lines[0];
  EXPECT_EQ(first[1].Size, 7);  // round(10 / 1.5)
  EXPECT_EQ(first[1].AddY, 1);
  EXPECT_EQ(first[1].SubType, ssSubscript);
  EXPECT_TRUE(first[1].Small);
  EXPECT_EQ(first[3].SubType, ssSuperscript);
  EXPECT_EQ(first[3].AddY, 0);
  EXPECT_EQ(first[2].Size, 10);
  const auto& second = layout.HTMLTags().Lines[1];
  EXPECT_EQ(second[0].Style, kFontUnderline);  // the open <u> continues on the next source line
  EXPECT_EQ(second[1].Style, kFontStrikeOut);
  EXPECT_EQ(DeleteTags(u"<b>a</b>\r\n<font color=red>b</font> <x>"), u"a\r\nb <x>");
}

TEST(DrawTextWrap, ParagraphsAndFlags) {
  TqbxDrawText layout;
  LayoutSetup narrow;
  narrow.width = 60;
  Prepare(layout, narrow, u"one two three four\n\nfive\n");
  EXPECT_THAT(Lines(layout), ElementsAre(u"one two", u"three four", u" ", u"five"));
  std::vector<int> flags;
  for (const auto& line : layout.Text()) flags.push_back(line.Flags);
  EXPECT_THAT(flags, ElementsAre(1, 2, 3, 3));
  EXPECT_EQ(layout.PlainText, u"one two three four\r\n \r\nfive\r\n");
  EXPECT_EQ(layout.GetWrappedText(), u"one two\r\nthree four\r\n \r\nfive");
  layout.SetParaBreaks(true, true);
  EXPECT_EQ(layout.Text().front().Flags, 0);
  EXPECT_EQ(layout.Text().back().Flags, 1);

  LayoutSetup unwrapped = narrow;
  unwrapped.word_wrap = false;
  Prepare(layout, unwrapped, u"one two three four");
  EXPECT_THAT(Lines(layout), ElementsAre(u"one two three four"));
}

TEST(DrawTextWrap, LinesFollowEachTextOnAReusedLayout) {
  TqbxDrawText layout;
  LayoutSetup wide;
  wide.width = 400;
  Prepare(layout, wide, u"a first text, longer than the lines after it");
  Prepare(layout, wide, u"ab\rc\r\n\r\nd");
  EXPECT_THAT(Lines(layout), ElementsAre(u"ab", u"c", u" ", u"d"));
  EXPECT_EQ(layout.PlainText, u"ab\r\nc\r\n \r\nd\r\n");
  Prepare(layout, wide, u"x\r");
  EXPECT_THAT(Lines(layout), ElementsAre(u"x"));
  Prepare(layout, wide, u"\r\n");
  EXPECT_THAT(Lines(layout), ElementsAre(u" "));
  EXPECT_EQ(layout.PlainText, u" \r\n");
  LayoutSetup markup = wide;
  markup.html = true;
  Prepare(layout, markup, u"<b>bold</b> and plain\nnext");
  EXPECT_THAT(Lines(layout), ElementsAre(u"bold and plain", u"next"));
}

TEST(DrawTextWrap, LongWordsAndWideCharacters) {
  TqbxDrawText layout;
  LayoutSetup narrow;
  narrow.width = 30;
  const String word(12, u'W');
  Prepare(layout, narrow, word);
  const long limit = 30 * 25 / 4;  // round(30 x 6.25)
  ASSERT_GT(layout.Text().size(), 1u);
  for (size_t i = 0; i + 1 < layout.Text().size(); ++i) {
    const String& line = layout.Text()[i].Text;
    EXPECT_LE(ReferenceWidth(line), limit) << i;
    EXPECT_GT(ReferenceWidth(line + u"W"), limit) << i;  // broken at the last fitting character
  }
  LayoutSetup tiny;
  tiny.width = 3;
  Prepare(layout, tiny, u"WiW");
  EXPECT_THAT(Lines(layout), ElementsAre(u"W", u"i", u"W"));
  // A character outside the basic plane (two UTF-16 units) is never parted, alone on a line or at
  // a break inside a word.
  const String bold_a = u"\U0001D400", bold_b = u"\U0001D401";
  Prepare(layout, tiny, bold_a + bold_b);
  EXPECT_THAT(Lines(layout), ElementsAre(bold_a, bold_b));
  for (int width = 10; width <= 40; ++width) {
    LayoutSetup some;
    some.width = width;
    Prepare(layout, some, u"W" + bold_a + bold_b + bold_a + bold_b + u"W" + bold_a);
    for (const auto& line : layout.Text()) {
      ASSERT_FALSE(line.Text.empty()) << width;
      EXPECT_FALSE(line.Text.front() >= 0xDC00 && line.Text.front() <= 0xDFFF) << width;
      EXPECT_FALSE(line.Text.back() >= 0xD800 && line.Text.back() <= 0xDBFF) << width;
    }
  }
}

TEST(DrawTextWrap, NowrapSpansDoNotBreak) {
  TqbxDrawText layout;
  LayoutSetup narrow;
  narrow.width = 60;
  narrow.html = true;
  Prepare(layout, narrow, u"one <nowrap>two three</nowrap> four");
  ASSERT_GE(layout.Text().size(), 2u);
  EXPECT_EQ(layout.Text()[0].Text, u"one");
}

TEST(DrawTextWrap, WrappedLinesFitAndAreFull) {
  TqbxDrawText layout;
  LayoutSetup prose;
  prose.width = 150;
  const String text =
      u"Съешь же ещё этих мягких французских булок, да выпей чаю. Широкая электрификация южных губерний даст "
      u"мощный толчок подъёму сельского хозяйства. В чащах юга жил бы цитрус? Да, но фальшивый экземпляр!";
  Prepare(layout, prose, text);
  const long limit = 150 * 25 / 4;
  const auto& lines = layout.Text();
  String joined;
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(ReferenceWidth(lines[i].Text), limit) << i;
    if (i + 1 < lines.size()) {
      const String& next = lines[i + 1].Text;
      EXPECT_GT(ReferenceWidth(lines[i].Text + u" " + next.substr(0, next.find(u' '))), limit) << i;
    }
    joined += (i ? u" " : u"") + lines[i].Text;
  }
  EXPECT_EQ(joined, text);
}

TEST(Hyphenation, RussianRules) {
  EXPECT_THAT(HyphenPoints(u"ПРОГРАММА"), ElementsAre(3, 4, 7));
  EXPECT_THAT(HyphenPoints(u"МОЛОКО"), ElementsAre(2, 4));
  EXPECT_TRUE(HyphenPoints(u"КОТ").empty());
  EXPECT_TRUE(HyphenPoints(u"").empty());
  EXPECT_THAT(HyphenPoints(u"ВОЙНА"), ElementsAre(3));  // no break before Й
  EXPECT_EQ(UpperRussian(u"прогёр Ab"), u"ПРОГЁР AB");
}

TEST(DrawTextWrap, WordBreakHyphenates) {
  TqbxDrawText layout;
  LayoutSetup narrow;
  narrow.width = 45;
  narrow.word_break = true;
  Prepare(layout, narrow, u"программа программа");
  ASSERT_GE(layout.Text().size(), 2u);
  const String& first = layout.Text()[0].Text;
  ASSERT_EQ(first.back(), u'-');
  const String part = first.substr(0, first.size() - 1);
  EXPECT_TRUE(part == u"про" || part == u"прог" || part == u"програм") << StringToUtf8(first);
  EXPECT_EQ(layout.HTMLTags().Lines[0].size(), first.size());  // the hyphen has a style record
}

TEST(DrawTextSplit, BetweenParagraphs) {
  TqbxDrawText layout;
  LayoutSetup two;
  two.height = 31;  // two lines of 15.28
  Prepare(layout, two, u"one\ntwo\nthree\nfour");
  bool para_break = true;
  EXPECT_EQ(layout.GetOutBoundsText(para_break), u"three\r\nfour\r\n");
  EXPECT_FALSE(para_break);
  EXPECT_EQ(layout.Text().size(), 2u);
  EXPECT_EQ(layout.GetInBoundsText(), u"one\r\ntwo\r\n");

  Prepare(layout, two, u"one\ntwo");
  EXPECT_EQ(layout.GetOutBoundsText(para_break), u"");
  EXPECT_EQ(layout.GetInBoundsText(), u"one\r\ntwo\r\n");
}

TEST(DrawTextSplit, InsideAParagraph) {
  TqbxDrawText layout;
  LayoutSetup narrow;
  narrow.width = 60;
  narrow.height = 31;
  Prepare(layout, narrow, u"one two three four five six seven");
  ASSERT_GT(layout.Text().size(), 2u);
  const String second = layout.Text()[1].Text;
  bool para_break = false;
  const String rest = layout.GetOutBoundsText(para_break);
  EXPECT_TRUE(para_break);
  EXPECT_NE(rest.front(), u' ');
  EXPECT_EQ(layout.GetInBoundsText() + rest, u"one two three four five six seven\r\n");
  EXPECT_EQ(layout.GetInBoundsText().find(second), 8u);

  // With markup the remainder restores the style of its first character.
  narrow.html = true;
  Prepare(layout, narrow, u"one two <i><b>three four five</b></i> six seven");
  const String styled = layout.GetOutBoundsText(para_break);
  EXPECT_EQ(styled.substr(0, 28), u"<font color=\"#000000\"><i><b>") << StringToUtf8(styled);
}

// Laying out only what a split needs gives the same part, remainder and paragraph break as laying
// out the whole text: markup open across lines, empty lines, every kind of line break, a line
// of markup only after the edge, and rectangles that hold none, some or all of the lines.
TEST(DrawTextSplit, LayingOutOnlyThePartGivesTheSameSplit) {
  const std::vector<String> texts = {
      u"one\ntwo\nthree\nfour",
      u"<b>bold starts here\r\nand goes on</b> plain\r\rafter an empty line\n\nlast",
      u"a long paragraph that wraps over several lines of the narrow rectangle\r\nnext",
      u"first\r\nsecond\r\n<b></b>\r\n<i></i>\r\nfifth <i>italic</i>\r\n",
      u"single",
  };
  TqbxDrawText whole, part;
  for (const bool html : {false, true}) {
    for (const int height : {0, 16, 31, 47, 200}) {
      for (const bool last_para_break : {false, true}) {
        for (const String& text : texts) {
          LayoutSetup setup;
          setup.width = 90;
          setup.height = height;
          setup.html = html;
          Prepare(whole, setup, text, true);
          Prepare(part, setup, u"", true);
          part.SetTextToSplit(text, true);
          whole.SetParaBreaks(true, last_para_break);
          part.SetParaBreaks(true, last_para_break);
          bool whole_break = false, part_break = true;
          const std::string context = StringToUtf8(text) + " html " + std::to_string(html) + " height " +
                                 std::to_string(height);
          EXPECT_EQ(part.GetOutBoundsText(part_break), whole.GetOutBoundsText(whole_break)) << context;
          EXPECT_EQ(part_break, whole_break) << context;
          EXPECT_EQ(part.GetInBoundsText(), whole.GetInBoundsText()) << context;
          EXPECT_EQ(Lines(part), Lines(whole)) << context;
          for (size_t i = 0; i < part.Text().size() && i < whole.Text().size(); ++i)
            EXPECT_EQ(part.Text()[i].Flags, whole.Text()[i].Flags) << context << " line " << i;
          EXPECT_EQ(part.UnusedSpace(), whole.UnusedSpace()) << context;
        }
      }
    }
  }
}

TEST(SpreadIncrements, HalvesRecursively) {
  std::vector<int> five(5, 0);
  SpreadIncrements(five, 1, 1);
  EXPECT_THAT(five, ElementsAre(0, 1, 0, 0, 0));
  std::vector<int> four(4, 0);
  SpreadIncrements(four, 3, -1);
  EXPECT_THAT(four, ElementsAre(-1, 0, -1, -1));
  std::vector<int> one(1, 0);
  SpreadIncrements(one, 1, 1);
  EXPECT_THAT(one, ElementsAre(1));
  std::vector<int> empty;
  SpreadIncrements(empty, 3, 1);
}

}  // namespace
}  // namespace zavrik
