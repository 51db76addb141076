// Views, frames, fills and hyperlinks: template reading and writing rules, derived colours, the
// device rectangle and background, expressions in tags and hyperlinks, difference texts.
#include <gtest/gtest.h>

#include "platform/raster_canvas.h"
#include "report/model/serializer/qbx_serializer.h"
#include "view_helpers.h"

namespace zavrik::test {
namespace {

std::string SaveText(const TqbxComponent& root) {
  std::ostringstream out;
  root.SaveToStream(out);
  return out.str();
}

TEST(Frame, FrameLevelValueThenLineOverride) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"A\" Frame.Width=\"2\" Frame.LeftLine.Width=\"0.5\"/>"
      "<TtstView Name=\"B\" Frame.LeftLine.Width=\"0.5\" Frame.Width=\"2\"/>");
  const TqbxFrame& a = *Find<TtstView>(*report, u"A").Frame();
  EXPECT_EQ(a.LeftLine()->Width(), 0.5);
  for (auto* line : {a.TopLine(), a.RightLine(), a.BottomLine()}) EXPECT_EQ(line->Width(), 2);
  const TqbxFrame& b = *Find<TtstView>(*report, u"B").Frame();
  for (auto* line : {b.LeftLine(), b.TopLine(), b.RightLine(), b.BottomLine()}) EXPECT_EQ(line->Width(), 2);
}

TEST(Frame, LinesAreWrittenOnlyWhereTheyDifferAndRoundTrip) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"A\" Frame.Typ=\"5\" Frame.Width=\"2\" Frame.Color=\"255\" Frame.TopLine.Color=\"65280\" "
      "Frame.ShadowWidth=\"4\"/>");
  const std::string text = SaveText(*report);
  EXPECT_NE(text.find("Frame.Width=\"2\""), std::string::npos) << text;
  EXPECT_NE(text.find("Frame.TopLine.Color=\"65280\""), std::string::npos) << text;
  EXPECT_EQ(text.find("LeftLine"), std::string::npos) << text;
  EXPECT_EQ(text.find("ShadowWidth"), std::string::npos) << text;
  auto again = LoadEvalReport(text.substr(text.find("<TtstView")));
  EXPECT_TRUE(Find<TtstView>(*again, u"A").Frame()->SameAs(*Find<TtstView>(*report, u"A").Frame()));
}

TEST(Fill, FillTypeReplacesTheFillAndTemplatesKeepItsKind) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"G\" FillType=\"ftGlass\" Fill.Blend=\"0.25\" Fill.Hatch=\"True\"/>"
      "<TtstView Name=\"R\" FillType=\"ftGradient\" Fill.StartColor=\"0\" Fill.EndColor=\"255\"/>");
  auto& glass = Find<TtstView>(*report, u"G");
  ASSERT_EQ(glass.FillType(), ftGlass);
  EXPECT_EQ(static_cast<TqbxGlassFill*>(glass.Fill())->Color(), 8421504);  // grey when created
  const std::string text = SaveText(*report);
  EXPECT_NE(text.find("Fill.Color=\"8421504\""), std::string::npos) << text;  // written against white
  auto& gradient = Find<TtstView>(*report, u"R");
  EXPECT_EQ(gradient.Color(), 127);  // 255 * 127 / 255
  gradient.SetColor(5);              // changes neither gradient colour
  EXPECT_EQ(gradient.Color(), 127);
  EXPECT_EQ(gradient.BrushStyle(), bsClear);
  gradient.SetFillType(ftBrush);
  EXPECT_EQ(static_cast<TqbxBrushFill*>(gradient.Fill())->BackColor(), 0x1FFFFFFF);
  glass.SetFill(gradient.Fill());
  EXPECT_EQ(glass.FillType(), ftBrush);
}

TEST(Fill, DerivedGlassColours) {
  TqbxGlassFill glass;
  glass.SetColor(RgbColor(100, 0, 255));
  glass.SetBlend(0.5);
  EXPECT_EQ(glass.BlendColor(), static_cast<int32_t>(RgbColor(178, 128, 255)));  // 100 + round(77.5) = 178
  EXPECT_EQ(glass.HatchColor(), glass.BlendColor() - 0x060606);
}

TEST(Fill, DeviceDrawing) {
  RasterCanvas canvas(300, 100);
  TqbxGradientFill gradient;  // white to black, 256 vertical stripes
  gradient.Draw(canvas, 0, 0, 256, 10, 1, 1);
  EXPECT_EQ(canvas.Pixel(0, 5), clWhite);
  EXPECT_EQ(canvas.Pixel(255, 5), clBlack);
  EXPECT_EQ(canvas.Pixel(128, 5), RgbColor(127, 127, 127));  // 255 - round(255 * 128 / 255)
  TqbxGlassFill glass;  // grey, the top half blended towards white
  glass.Draw(canvas, 0, 20, 100, 40, 1, 1);
  EXPECT_EQ(canvas.Pixel(50, 25), static_cast<Color>(glass.BlendColor()));
  EXPECT_EQ(canvas.Pixel(50, 35), RgbColor(128, 128, 128));
  TqbxBrushFill clear;
  clear.SetStyle(bsClear);
  clear.Draw(canvas, 0, 50, 100, 60, 1, 1);  // no background colour, no hatch: nothing
  EXPECT_EQ(canvas.Pixel(50, 55), clWhite);
}

TEST(View, WideLinesAndDoubleFrames) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"V\" Left=\"20\" Top=\"20\" Width=\"40\" Height=\"40\" Frame.Typ=\"1\" Frame.Width=\"4\"/>"
      "<TtstView Name=\"D\" Left=\"20\" Top=\"70\" Width=\"40\" Height=\"20\" Frame.Typ=\"1\" Frame.Style=\"fsDouble\"/>");
  RasterCanvas canvas(100, 100);
  Find<TtstView>(*report, u"V").Draw(canvas, 1, 1, 0, 0);
  // Width 4: offsets -2 .. 1 around the left edge.
  EXPECT_EQ(canvas.Pixel(17, 30), clWhite);
  for (int x = 18; x <= 21; ++x) EXPECT_EQ(canvas.Pixel(x, 30), clBlack) << x;
  EXPECT_EQ(canvas.Pixel(22, 30), clWhite);
  Find<TtstView>(*report, u"D").Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(19, 80), clBlack);
  EXPECT_EQ(canvas.Pixel(20, 80), clWhite);
  EXPECT_EQ(canvas.Pixel(21, 80), clBlack);
}

TEST(View, UrlShorthands) {
  TtstView view;
  view.SetURL(u"@12");
  EXPECT_EQ(view.Hyperlink()->Kind(), hkPageNumber);
  EXPECT_EQ(view.Hyperlink()->Value(), u"12");
  view.SetURL(u"#top");
  EXPECT_EQ(view.Hyperlink()->Kind(), hkAnchor);
  EXPECT_EQ(view.Hyperlink()->Value(), u"top");
  view.SetURL(u"page.htm");
  EXPECT_EQ(view.Hyperlink()->Kind(), hkURL);
  EXPECT_EQ(view.Hyperlink()->Value(), u"page.htm");
  view.SetURL(u"");
  EXPECT_EQ(view.Hyperlink()->Value(), u"page.htm");
}

TEST(View, ShadowShrinksTheDeviceRectangle) {
  auto report = LoadEvalReport("<TtstView Name=\"V\" Left=\"10\" Top=\"20\" Width=\"100\" Height=\"50\" Frame.DropShadow=\"True\"/>");
  auto& view = Find<TtstView>(*report, u"V");
  RasterCanvas canvas(200, 100);
  view.CalcDeviceRect(canvas, 1, 1, 0, 0);
  EXPECT_EQ(view.DeviceRect(), (Rect{10, 20, 106, 66}));
}

TEST(View, BackgroundReachesTheMiddleOfFrameLines) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"V\" Left=\"10\" Top=\"10\" Width=\"20\" Height=\"20\" Color=\"255\" Frame.Typ=\"5\" "
      "Frame.Width=\"3\" Frame.Color=\"536870911\"/>");
  auto& view = Find<TtstView>(*report, u"V");
  RasterCanvas canvas(50, 50);
  view.Draw(canvas, 1, 1, 0, 0);
  // 2 pixels to the left (round(1.5)) and upwards, nothing to the right or below.
  EXPECT_EQ(canvas.Pixel(8, 8), clRed);
  EXPECT_EQ(canvas.Pixel(7, 8), clWhite);
  EXPECT_EQ(canvas.Pixel(8, 7), clWhite);
  EXPECT_EQ(canvas.Pixel(29, 29), clRed);
  EXPECT_EQ(canvas.Pixel(30, 29), clWhite);
  EXPECT_EQ(canvas.Pixel(29, 30), clWhite);
}

TEST(View, TagStrIsEvaluatedAndRestored) {
  auto report = LoadEvalReport("<TtstView Name=\"V\" TagStr=\"Total: [2+3]\"/>");
  auto& view = Find<TtstView>(*report, u"V");
  view.BeforePrint();
  view.GetData();
  EXPECT_EQ(view.TagStr(), u"Total: 5");
  EXPECT_EQ(report->Self, &view);
  view.AfterPrint();
  EXPECT_EQ(view.TagStr(), u"Total: [2+3]");
}

TEST(View, BracketsSkipQuotedText) {
  size_t end = 0;
  const String text = u"x [IIF(A, ']', 'x')] y";
  EXPECT_EQ(MatchBrackets(text, u"[", u"]", 2, end), u"IIF(A, ']', 'x')");
  EXPECT_EQ(end, 19u);
  EXPECT_EQ(MatchBrackets(u"[a [b] c] d", u"[", u"]", 0, end), u"a [b] c");
  EXPECT_EQ(end, 8u);
  EXPECT_EQ(MatchBrackets(u"<%a%>", u"<%", u"%>", 0, end), u"a");
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(MatchBrackets(u"[open", u"[", u"]", 0, end), u"ope");  // unbalanced: the last character is left out
  EXPECT_EQ(end, 4u);
  EXPECT_EQ(MatchBrackets(u"abc", u"[", u"]", 1, end), u"");
  EXPECT_EQ(end, 1u);
  // Only whole delimiters count, not their first characters.
  EXPECT_EQ(MatchBrackets(u"<%a<b%%>", u"<%", u"%>", 0, end), u"a<b%");
  EXPECT_EQ(end, 7u);
  EXPECT_EQ(MatchBrackets(u"<%a<%b%>%>c", u"<%", u"%>", 0, end), u"a<%b%>");
  EXPECT_EQ(end, 9u);
}

TEST(View, ExpandedTextIsNotScannedAgain) {
  auto report = LoadEvalReport("<TtstView Name=\"V\"/>");
  report->Values[u"A"] = Variant(String(u"[B]"));
  auto& view = Find<TtstView>(*report, u"V");
  EXPECT_EQ(view.ExpandBracketed(u"<[A]|[A]>"), u"<[B]|[B]>");
  EXPECT_EQ(report->Calls.size(), 2u);
}

TEST(View, HyperlinkExpressionsAreQuotedPerLanguage) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"V\" Hyperlink.Kind=\"hkDetailReport\" Hyperlink.Expression=\"A;B\"/>");
  report->Values[u"A"] = Variant(String(u"it's"));
  report->Values[u"B"] = Variant(String(u"say \"hi\""));
  auto& view = Find<TtstView>(*report, u"V");
  view.BeforePrint();
  view.GetData();
  EXPECT_EQ(view.Hyperlink()->Value(), u"'it''s';'say \"hi\"'");
  report->Language = u"C++Script";
  view.GetData();
  EXPECT_EQ(view.Hyperlink()->Value(), u"\"it's\";\"say \\\"hi\\\"\"");
  view.Hyperlink()->SetKind(hkURL);
  view.GetData();
  EXPECT_EQ(view.Hyperlink()->Value(), u"it's;say \"hi\"");
  view.AfterPrint();
  EXPECT_EQ(view.Hyperlink()->Value(), u"");
}

TEST(View, DifferenceTextAgainstADefaultView) {
  auto report = LoadEvalReport(
      "<TtstView Name=\"V\" Align=\"baClient\" Visibility=\"3\" TagStr=\"a&amp;b\" Frame.Typ=\"15\" Frame.Width=\"2\" "
      "Frame.LeftLine.Width=\"1\" FillType=\"ftGlass\" Hyperlink.Value=\"x\"/>");
  const String diff = Find<TtstView>(*report, u"V").Diff(nullptr);
  EXPECT_EQ(diff,
            u" Align=\"6\" Frame.Typ=\"15\" Frame.Width=\"2\" Frame.LeftLine.Width=\"1\" Visibility=\"3\""
            u" TagStr=\"a&#38;b\" FillType=\"2\" Fill.Color=\"8421504\" Fill.Blend=\"0.5\" Fill.Hatch=\"False\""
            u" Fill.Orientation=\"1\" Hyperlink.Value=\"x\"");
  TtstView same;
  EXPECT_EQ(same.Diff(&same), u"");
}

TEST(View, VectorPictureStartsAtTheViewsCorner) {
  auto report = LoadEvalReport("<TtstView Name=\"V\" Left=\"50\" Top=\"40\" Width=\"30\" Height=\"20\" Color=\"255\" Frame.Typ=\"15\"/>");
  auto& view = Find<TtstView>(*report, u"V");
  const std::vector<uint8_t> with_fill = view.GetVectorGraphic(true);
  const std::vector<uint8_t> without_fill = view.GetVectorGraphic(false);
  EXPECT_GT(with_fill.size(), without_fill.size());
  RasterCanvas canvas(100, 100);
  view.Draw(canvas, 1, 1, 0, 0);  // the flags are cleared again: the frame is drawn
  EXPECT_EQ(canvas.Pixel(50, 40), clBlack);
  EXPECT_EQ(view.DeviceRect(), (Rect{50, 40, 80, 60}));
}

TEST(View, MirroringExchangesFrameSides) {
  TtstView view;
  view.Frame()->SetTyp(ftLeft | ftTop);
  view.Frame()->LeftLine()->SetWidth(3);
  view.MirrorContent(mcmRTLAppearance);
  EXPECT_EQ(view.Frame()->Typ(), ftRight | ftTop);
  EXPECT_EQ(view.Frame()->RightLine()->Width(), 3);
  EXPECT_EQ(view.Frame()->LeftLine()->Width(), 1);
}

}  // namespace
}  // namespace zavrik::test
