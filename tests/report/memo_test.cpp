// The memo: expressions with formats (per expression, inline), formatting of the four kinds,
// zeros, repeated values, highlights, delimiters, rotation, macros and the template forms of
// formats and highlights.
#include <gtest/gtest.h>

#include "core/float_text.h"
#include "platform/raster_canvas.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_variables.h"
#include "view_helpers.h"

namespace zavrik::test {
namespace {

std::string SaveText(const TqbxComponent& root) {
  std::ostringstream out;
  root.SaveToStream(out);
  return out.str();
}

String Printed(TqbxCustomMemoView& memo) {
  memo.BeforePrint();
  memo.GetData();
  const String text = memo.Text();
  memo.AfterPrint();
  return text;
}

TEST(Memo, OneFormatPerExpressionTheLastForTheRest) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"One\" Text=\"Total: [A] of [B]\" DisplayFormat.Kind=\"fkNumeric\" DisplayFormat.FormatStr=\"%2.1f\"/>"
      "<TqbxMemoView Name=\"Two\" Text=\"Total: [A] of [B]\"><Formats><item Kind=\"fkNumeric\" FormatStr=\"%2.1f\"/>"
      "<item Kind=\"fkNumeric\" FormatStr=\"%2.3f\"/></Formats></TqbxMemoView>"
      "<TqbxMemoView Name=\"Three\" Text=\"Total: [A] of [B]\"><Formats><item Kind=\"fkNumeric\" FormatStr=\"%2.1f\"/>"
      "<item Kind=\"fkNumeric\" FormatStr=\"%2.3f\"/><item Kind=\"fkBoolean\" FormatStr=\"x,y\"/></Formats></TqbxMemoView>");
  report->Values[u"A"] = Variant(1.5);
  report->Values[u"B"] = Variant(2.0);
  EXPECT_EQ(Printed(Find<TqbxMemoView>(*report, u"One")), u"Total: 1,5 of 2,0");
  EXPECT_EQ(Printed(Find<TqbxMemoView>(*report, u"Two")), u"Total: 1,5 of 2,000");
  EXPECT_EQ(Printed(Find<TqbxMemoView>(*report, u"Three")), u"Total: 1,5 of 2,000");
  EXPECT_EQ(Find<TqbxMemoView>(*report, u"Three").Text(), u"Total: [A] of [B]");  // restored
}

TEST(Memo, InlineFormatsChooseTheirOwnSeparator) {
  auto report = LoadEvalReport("<TqbxMemoView Name=\"M\" Text=\"[Price #n%2.2f]|[Price #n%2,2f]|[Price]\"/>");
  report->Values[u"Price"] = Variant(1234.5);
  EXPECT_EQ(Printed(Find<TqbxMemoView>(*report, u"M")), u"1234.50|1234,50|1234,5");
}

TEST(Memo, InlineFormatsFollowTheTextFromRowToRow) {
  auto report = LoadEvalReport("<TqbxMemoView Name=\"M\" Text=\"[Price #n%2.2f]\"/>");
  report->Values[u"Price"] = Variant(1234.5);
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  EXPECT_EQ(Printed(memo), u"1234.50");
  // Scripts may give the memo another text between rows; the formats come from the new text.
  memo.Memo()->SetText(u"[Price #n%2,1f]");
  EXPECT_EQ(Printed(memo), u"1234,5");
  for (int width = 1; width <= 40; ++width) {
    const String format = u"n%" + IntToStr(width) + u".3f";
    memo.Memo()->SetText(u"[Price #" + format + u"] [Price]");
    EXPECT_EQ(Printed(memo), FormatData(Variant(1234.5), ParseInlineFormat(format)) + u" 1234,5") << width;
  }
  memo.Memo()->SetText(u"[Price #n%2.2f]");
  EXPECT_EQ(Printed(memo), u"1234.50");
}

TEST(Memo, LinesAndTextAfterLongerAndShorterTexts) {
  TStrings lines;
  lines.SetText(u"one\r\ntwo\nthree");
  lines.SetText(u"a");
  EXPECT_EQ(lines.Lines(), std::vector<String>{u"a"});
  lines.SetText(u"b\r\rc\r\n");
  EXPECT_EQ(lines.Lines(), (std::vector<String>{u"b", u"", u"c"}));
  EXPECT_EQ(lines.Text(), u"b\r\n\r\nc\r\n");
  lines.SetText(u"");
  EXPECT_EQ(lines.Count(), 0);
  EXPECT_EQ(lines.Text(), u"");
  // The memo's text leaves out one final line break only.
  TqbxMemoView memo;
  EXPECT_EQ(memo.Text(), u"");
  memo.Memo()->SetText(u"x\r\ny");
  EXPECT_EQ(memo.Text(), u"x\r\ny");
  memo.Memo()->SetText(u"a\r\n\r\n");
  EXPECT_EQ(memo.Text(), u"a\r\n");
  memo.Memo()->SetText(u"\r\n");
  EXPECT_EQ(memo.Text(), u"");
}

TEST(Memo, TextInPlaceFollowsTheLines) {
  TqbxMemoView memo;
  String buffer = u"left over";
  EXPECT_EQ(memo.TextIn(buffer), u"");
  memo.SetMemoText(u"one line of some length");
  StringView text = memo.TextIn(buffer);
  EXPECT_EQ(text, u"one line of some length");
  EXPECT_EQ(text.data(), memo.Memo()->Lines().front().data());  // viewed, not copied
  memo.SetMemoText(u"x\r\nyz\r\n");
  EXPECT_EQ(memo.TextIn(buffer), u"x\r\nyz");
  EXPECT_EQ(buffer, u"x\r\nyz");
  memo.SetMemoText(u"a\rb");
  EXPECT_EQ(memo.TextIn(buffer), u"a\r\nb");  // the buffer is joined afresh
  EXPECT_EQ(memo.Text(), u"a\r\nb");
}

TEST(Memo, FormatKinds) {
  TqbxFormat boolean;
  boolean.Kind = fkBoolean;
  boolean.FormatStr = u"Да,Нет";
  EXPECT_EQ(FormatData(Variant(true), boolean), u"Да");
  EXPECT_EQ(FormatData(Variant(false), boolean), u"Нет");
  EXPECT_EQ(FormatData(Variant::Null(), boolean), u"");
  TqbxFormat date;
  date.Kind = fkDateTime;
  date.FormatStr = u"dd.mm.yyyy";
  EXPECT_EQ(FormatData(Variant(45658.0), date), u"01.01.2025");
  TqbxFormat number;
  number.Kind = fkNumeric;
  number.FormatStr = u"#,##0.00";
  number.ThousandSeparator = u" ";
  EXPECT_EQ(FormatData(Variant(1234567.891), number), u"1 234 567,89");
  number.FormatStr = u"%d";
  EXPECT_EQ(FormatData(Variant(String(u"abc")), number), u"abc");  // formatting error: the plain text
}

TEST(Memo, HideZerosOnlyForNumbers) {
  auto report = LoadEvalReport("<TqbxMemoView Name=\"M\" Text=\"[Z]\" HideZeros=\"True\"/>");
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  report->Values[u"Z"] = Variant(int32_t{0});
  EXPECT_EQ(Printed(memo), u"");
  report->Values[u"Z"] = Variant(String(u"0"));
  EXPECT_EQ(Printed(memo), u"0");
}

TEST(Memo, SuppressRepeatedValues) {
  auto report = LoadEvalReport("<TqbxMemoView Name=\"M\" Text=\"[V]\" SuppressRepeated=\"True\"/>");
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  std::vector<String> printed;
  for (const char16_t* v : {u"A", u"A", u"B", u"A"}) {
    report->Values[u"V"] = Variant(String(v));
    printed.push_back(Printed(memo));
  }
  EXPECT_EQ(printed, (std::vector<String>{u"A", u"", u"B", u"A"}));
}

TEST(Memo, OnlyTheFirstTrueHighlightAppliesAndIsUndone) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"M\" Text=\"x\"><Highlights>"
      "<item Condition=\"T1\" Font.Color=\"255\" Fill.BackColor=\"65280\"/>"
      "<item Condition=\"T2\" Font.Color=\"16711680\" Visible=\"False\"/></Highlights></TqbxMemoView>");
  report->Values[u"T1"] = Variant(true);
  report->Values[u"T2"] = Variant(true);
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  memo.BeforePrint();
  memo.GetData();
  EXPECT_EQ(memo.Font()->Color(), 255);
  EXPECT_EQ(memo.Color(), 65280);
  EXPECT_TRUE(memo.Visible());
  memo.AfterPrint();
  EXPECT_EQ(memo.Font()->Color(), 0);
  EXPECT_EQ(memo.Color(), 0x1FFFFFFF);
}

TEST(Memo, OtherDelimitersAndPageMacros) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"M\" ExpressionDelimiters=\"&lt;%,%&gt;\" Text=\"&lt;%1+1%&gt; [1+1]\"/>"
      "<TqbxMemoView Name=\"P\" Text=\"Page of [TOTALPAGES#] [copyname#]\"/>");
  EXPECT_EQ(Printed(Find<TqbxMemoView>(*report, u"M")), u"2 [1+1]");
  auto& page = Find<TqbxMemoView>(*report, u"P");
  page.GetData();
  EXPECT_EQ(page.Text(), u"Page of [TotalPages#] [CopyName#]");
  page.TotalPages = 7;
  page.CopyNo = 1;
  const String text = page.Text();
  page.ExtractMacros();
  EXPECT_EQ(page.Text(), u"Page of 7 ");  // no process-wide CopyName1
  qbxGlobalVariables().Set(u"CopyName1", Variant(String(u"Копия")));
  qbxGlobalVariables().Set(u"CopyName2", Variant(String(u"Вторая")));
  page.SetMemoText(text);
  page.ExtractMacros();
  EXPECT_EQ(page.Text(), u"Page of 7 Копия");
  qbxGlobalVariables().DeleteVariable(u"CopyName1");
  qbxGlobalVariables().DeleteVariable(u"CopyName2");
}

TEST(Memo, AppliedFontsCutTheLinkToTheBandFontUntilRestored) {
  auto report = LoadEvalReport(
      "<TqbxReportTitle Name=\"B\" Font.Name=\"Courier New\">"
      "<TqbxMemoView Name=\"M\" Text=\"x\" Highlight.Condition=\"T\" Highlight.Font.Color=\"255\"/>"
      "</TqbxReportTitle>");
  report->Values[u"T"] = Variant(true);
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  ASSERT_TRUE(memo.ParentFont());
  memo.BeforePrint();
  memo.GetData();
  EXPECT_FALSE(memo.ParentFont());
  EXPECT_EQ(memo.Font()->Name(), u"Arial");
  EXPECT_EQ(memo.Font()->Color(), 255);
  // The prepared-page form carries the cut link, so the rebuilt memo keeps the highlight's font.
  EXPECT_NE(memo.Diff(nullptr).find(u"ParentFont"), String::npos);
  memo.AfterPrint();
  EXPECT_TRUE(memo.ParentFont());
  EXPECT_EQ(memo.Font()->Name(), u"Courier New");
  EXPECT_EQ(memo.Font()->Color(), 0);
}


TEST(Memo, RotationAndReducedAngle) {
  TqbxMemoView memo;
  memo.SetRotation(450);
  EXPECT_EQ(memo.Rotation(), 90);
  memo.SetRotation(-90);
  EXPECT_EQ(memo.ReducedAngle(), 270);
  memo.SetUnderlines(true);
  EXPECT_EQ(memo.UnderlinesTextMode(), ulmUnderlinesAll);
  memo.SetUnderlinesTextMode(ulmUnderlinesText);
  memo.SetUnderlines(true);
  EXPECT_EQ(memo.UnderlinesTextMode(), ulmUnderlinesText);
}

TEST(Memo, TemplateFormsOfFormatsAndHighlights) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"A\" Text=\"a\" DisplayFormat.Kind=\"fkNumeric\" Highlight.Condition=\"X\" GapX=\"2\"/>"
      "<TqbxMemoView Name=\"B\" Text=\"b\"><Formats><item/><item Kind=\"fkBoolean\"/></Formats>"
      "<Highlights><item Condition=\"X\"/><item Condition=\"Y\"/></Highlights></TqbxMemoView>"
      "<TqbxMemoView Name=\"C\" Text=\"c\" Highlight.Condition=\" \"/>");
  const std::string text = SaveText(*report);
  EXPECT_NE(text.find("DisplayFormat.Kind=\"fkNumeric\""), std::string::npos) << text;
  EXPECT_NE(text.find("Highlight.Condition=\"X\""), std::string::npos) << text;
  EXPECT_NE(text.find("<Formats>"), std::string::npos) << text;
  EXPECT_NE(text.find("<Highlights>"), std::string::npos) << text;
  EXPECT_EQ(text.find("Memo.Text"), std::string::npos) << text;
  EXPECT_EQ(text.find("GapX"), std::string::npos) << text;
  EXPECT_EQ(text.find("Highlight.Condition=\" \""), std::string::npos) << text;
  auto again = LoadEvalReport(text.substr(text.find("<TqbxMemoView")));
  EXPECT_EQ(SaveText(*again), text);
  EXPECT_EQ(Find<TqbxMemoView>(*again, u"B").Formats().size(), 2u);
}

TEST(Memo, MemoDotTextIsReadButNeverWritten) {
  auto report = LoadEvalReport("<TqbxMemoView Name=\"M\" Memo.Text=\"a&#13;&#10;b\"/>");
  EXPECT_EQ(Find<TqbxMemoView>(*report, u"M").Text(), u"a\r\nb");
  const std::string text = SaveText(*report);
  EXPECT_EQ(text.find("Memo.Text"), std::string::npos) << text;
  EXPECT_NE(text.find("Text=\"a&#13;&#10;b\""), std::string::npos) << text;
}

TEST(Memo, HighlightConditionsSeeThePrintedValue) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"M\" Text=\"[A]\" Highlight.Condition=\"Value\" Highlight.Font.Color=\"255\"/>");
  report->Values[u"A"] = Variant(true);
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  memo.BeforePrint();
  memo.GetData();
  EXPECT_EQ(memo.Font()->Color(), 255);
  memo.AfterPrint();
}

TEST(Memo, DifferenceTextCarriesTheText) {
  TqbxMemoView source, printed;
  printed.SetMemoText(u"a\r\nb\r\n");
  printed.HAlign = haCenter;
  printed.FirstParaBreak = true;
  EXPECT_EQ(printed.Diff(&source), u" HAlign=\"2\" u=\"a&#13;&#10;b\" FirstParaBreak=\"1\"");
  EXPECT_EQ(source.Diff(&source), u" u=\"\"");
}

TEST(MemoLayout, TwentyPixelMemoSplitsOneLinePerPart) {
  TqbxMemoView memo;
  memo.SetBounds(0, 0, 200, 20);
  memo.SetMemoText(u"one\r\ntwo\r\nthree");
  memo.InitPart();
  std::vector<String> parts;
  double unused = 0;
  for (int i = 0; i < 5 && !memo.PartMemo.empty(); ++i) {
    unused = memo.DrawPart();
    parts.push_back(memo.Text());
  }
  EXPECT_EQ(parts, (std::vector<String>{u"one", u"two", u"three"}));
  EXPECT_NEAR(unused, 2 + (20 - (83 / 6.25 + 2)), 1e-9);  // 2 * GapY + the unused space
}

TEST(MemoLayout, HeightWidthAndTextRectangle) {
  TqbxMemoView memo;
  memo.SetBounds(10, 5, 100, 40);
  memo.Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
  memo.Frame()->SetWidth(3);
  EXPECT_EQ(memo.ComputeTextRect(1, 1, 0, 0), (Rect{10 + 1 + 2, 5 + 1 + 1, 10 + 100 - 2 - 2 + 1, 5 + 40 - 2 - 1 + 1}));
  memo.SetMemoText(u"a\r\nb");
  EXPECT_EQ(memo.CalcHeight(), 35);  // round(2 + 1 + 1.5 + 2 * 15.28)
  memo.SetRotation(90);
  const double rotated_width = memo.CalcWidth();
  memo.SetRotation(0);
  EXPECT_EQ(rotated_width, 37);  // round(4 + 1 + 1.5 + 2 * 15.28): the text height across
  EXPECT_GT(memo.CalcWidth(), 4);
}

TEST(MemoLayout, AutoWidthKeepsTheRightEdge) {
  auto report = LoadEvalReport(
      "<TqbxMemoView Name=\"M\" Left=\"300\" Width=\"100\" Height=\"20\" AutoWidth=\"True\" HAlign=\"haRight\" Text=\"W\"/>");
  auto& memo = Find<TqbxMemoView>(*report, u"M");
  const double width = memo.CalcWidth();
  RasterCanvas canvas(500, 50);
  memo.Draw(canvas, 1, 1, 0, 0);
  EXPECT_NEAR(memo.Width(), width, 1);
  EXPECT_NEAR(memo.Left() + memo.Width(), 400, 1e-9);
}

}  // namespace
}  // namespace zavrik::test
