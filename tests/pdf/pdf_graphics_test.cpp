// Fill and frame operators, and the page rectangle they are drawn on.
#include "pdf/pdf_graphics.h"

#include <gtest/gtest.h>

#include "core/rtti.h"
#include "core/variant.h"
#include "report/model/qbx_page.h"

namespace zavrik::pdf {
namespace {

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) ++n;
  return n;
}

const PdfRect kRect{10, 100, 50, 20};

std::string Frame(const TqbxFrame& frame, const PdfRect& rect = kRect) {
  std::string out;
  WriteFrame(out, frame, rect);
  return out;
}

TEST(PdfFrame, BlackSolidLinesInBottomLeftTopRightOrder) {
  TqbxFrame frame;
  frame.SetTyp(ftLeft | ftRight | ftTop | ftBottom);
  const std::string line = "[] 0 d\r\n0.75 w\r\n2 J\r\n0 0 0 RG\r\n";
  EXPECT_EQ(Frame(frame), "q\r\n" + line + "10.00 20.00 m\r\n50.00 20.00 l\r\nS\r\n" + line +
                              "10.00 20.00 m\r\n10.00 100.00 l\r\nS\r\n" + line +
                              "10.00 100.00 m\r\n50.00 100.00 l\r\nS\r\n" + line +
                              "50.00 20.00 m\r\n50.00 100.00 l\r\nS\r\n" + "Q\r\n");
}

TEST(PdfFrame, LinesWithoutColourOrWidthOrSideAreLeftOut) {
  TqbxFrame frame;
  EXPECT_EQ(Frame(frame), "q\r\nQ\r\n");
  frame.SetTyp(ftTop | ftBottom);
  frame.TopLine()->SetColor(0x1FFFFFFF);
  frame.BottomLine()->SetWidth(0.005);
  EXPECT_EQ(Frame(frame), "q\r\nQ\r\n");
}

TEST(PdfFrame, ColourFormAndDashPatternOfTheLineStyle) {
  TqbxFrame frame;
  frame.SetTyp(ftTop);
  frame.SetColor(0x0A0A0A);
  frame.SetStyle(fsDash);
  frame.SetWidth(2);
  const std::string out = Frame(frame);
  EXPECT_NE(out.find("[12.00 ] 0 d\r\n1.50 w\r\n2 J\r\n0.03 0.03 0.03 RG\r\n"), std::string::npos);
  frame.SetColor(0xFF80FF);  // 255, 128, 255
  EXPECT_NE(Frame(frame).find("1 0.50 1 RG"), std::string::npos);
}

TEST(PdfFrame, DashPatterns) {
  EXPECT_EQ(DashPattern(fsSolid, 1), "[] 0 d");
  EXPECT_EQ(DashPattern(fsDouble, 1), "[] 0 d");
  EXPECT_EQ(DashPattern(fsDash, 0.005), "[] 0 d");
  EXPECT_EQ(DashPattern(fsDot, 1), "[2.00 6.00 ] 0 d");
  EXPECT_EQ(DashPattern(fsDashDot, 1), "[6.00 6.00 2.00 6.00 ] 0 d");
  EXPECT_EQ(DashPattern(fsDashDotDot, 0.5), "[3.00 3.00 1.00 3.00 1.00 3.00 ] 0 d");
  EXPECT_EQ(DashPattern(fsAltDot, 1), "[2.00 ] 0 d");
  EXPECT_EQ(DashPattern(fsSquare, 1), "[2.00 2.00 ] 0 d");
}

TEST(PdfFrame, DoubleLineIsDrawnTwiceWithOffsets) {
  TqbxFrame frame;
  frame.SetTyp(ftLeft);
  frame.SetStyle(fsDouble);
  frame.SetWidth(2);
  const std::string out = Frame(frame);
  EXPECT_EQ(Count(out, " m\r\n"), 2);
  // o = -1: start x and y and end x move by +1, end y by -1; then o = +2.
  EXPECT_NE(out.find("11.00 21.00 m\r\n11.00 99.00 l\r\n"), std::string::npos);
  EXPECT_NE(out.find("8.00 18.00 m\r\n8.00 102.00 l\r\n"), std::string::npos);
}

TEST(PdfFrame, DropShadowStrips) {
  TqbxFrame frame;
  frame.SetDropShadow(true);
  frame.SetShadowColor(0);
  EXPECT_EQ(Frame(frame),
            "q\r\n0.75 w\r\n0 0 0 rg\r\n0 0 0 RG\r\n"
            "50.75 97.00 2.25 -80.00 re\r\nB\r\n"
            "13.00 17.00 40.00 2.25 re\r\nB\r\nQ\r\n");
}

std::string Fill(const TqbxCustomFill& fill) {
  std::string out;
  WriteFill(out, fill, kRect);
  return out;
}

TEST(PdfFill, BrushSolidAndClear) {
  TqbxBrushFill brush;
  EXPECT_EQ(Fill(brush), "");
  brush.SetBackColor(0x00FF80);  // red 128, green 255
  EXPECT_EQ(Fill(brush), "q\r\n0.502 1 0 rg\r\n10 100 40 -80 re\r\nf\r\nQ\r\n");
  brush.SetStyle(bsClear);
  EXPECT_EQ(Fill(brush), "q\r\n0.502 1 0 rg\r\n10 100 40 -80 re\r\nf\r\nQ\r\n");
}

TEST(PdfFill, HatchLinesAreClippedToThePath) {
  TqbxBrushFill brush;
  brush.SetStyle(bsCross);
  brush.SetForeColor(0xFF);
  const std::string out = Fill(brush);
  EXPECT_EQ(out.find("q\r\n[] 0 d\r\n1 0 0 RG\r\n0.563 w\r\n0 J\r\n10 100 40 -80 re\r\nW\r\nn\r\n"),
            0u);
  // 40 points = 53.33 px: 7 vertical lines from 2.67 px in; 80 points = 106.67 px: 14 lines.
  EXPECT_EQ(Count(out, " m\r\n"), 7 + 14);
  EXPECT_NE(out.find("12 100 m\r\n12 20 l\r\n"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 6), "S\r\nQ\r\n");
  brush.SetStyle(bsDiagCross);
  const std::string diagonal = Fill(brush);
  EXPECT_GT(Count(diagonal, " m\r\n"), 14);
  EXPECT_EQ(Count(diagonal, " m\r\n") % 2, 0);
}

TEST(PdfFill, GradientStrokesOneLinePerColourStep) {
  TqbxGradientFill gradient;  // white to black, left to right
  const std::string out = Fill(gradient);
  EXPECT_EQ(Count(out, " RG\r\n"), 256);
  EXPECT_NE(out.find("0.282 w\r\n1 1 1 RG\r\n10 100 m\r\n10 20 l\r\nS\r\n"), std::string::npos);
  EXPECT_NE(out.find("0 0 0 RG\r\n50 100 m\r\n50 20 l\r\nS\r\nQ\r\n"), std::string::npos);
  gradient.SetStartColor(0x1FFFFFFF);
  gradient.SetEndColor(0x1FFFFFFF);
  EXPECT_EQ(Fill(gradient), "");
}

TEST(PdfFill, GlassFillsItsHalf) {
  TqbxGlassFill glass;
  glass.SetColor(0x808080);
  glass.SetOrientation(foVertical);
  const std::string out = Fill(glass);
  EXPECT_EQ(out.find("q\r\n0.502 0.502 0.502 rg\r\n10 100 40 -80 re\r\nf\r\n"), 0u);
  EXPECT_NE(out.find("10 20 20 80 re\r\nf\r\nQ\r\n"), std::string::npos);
  glass.SetOrientation(foHorizontal);
  EXPECT_NE(Fill(glass).find("10 60 40 40 re\r\nf\r\n"), std::string::npos);
  glass.SetColor(0x1FFFFFFF);
  EXPECT_EQ(Fill(glass), "");
}

TEST(PdfPage, RectangleInsideTheMarginsSwapsOnMirroredOddPages) {
  TqbxReportPage page;
  page.SetLeftMargin(10);
  page.SetRightMargin(20);
  page.SetTopMargin(5);
  page.SetBottomMargin(15);
  const PdfPageGeometry g = PageGeometry(page);
  EXPECT_DOUBLE_EQ(g.width, 595.5);
  EXPECT_DOUBLE_EQ(g.height, 842.25);
  EXPECT_DOUBLE_EQ(g.left_offset, 0.5);
  EXPECT_DOUBLE_EQ(g.Y(100), 842.25 - 0.25 - 75);
  PdfRect r = PageRectangle(page, g, 1);
  EXPECT_NEAR(r.left, 10 * kPointsPerMm + 0.5, 1e-9);
  EXPECT_NEAR(r.right, 595.5 - 20 * kPointsPerMm + 0.5, 1e-9);
  EXPECT_NEAR(r.top, 842.25 - 5 * kPointsPerMm, 1e-9);
  EXPECT_NEAR(r.bottom, 15 * kPointsPerMm, 1e-9);
  page.ClassType().FindProp(u"MirrorMargins")->set(page, Variant(true));
  EXPECT_NEAR(PageRectangle(page, g, 0).left, 10 * kPointsPerMm + 0.5, 1e-9);
  r = PageRectangle(page, g, 1);
  EXPECT_NEAR(r.left, 20 * kPointsPerMm + 0.5, 1e-9);
  EXPECT_NEAR(r.right, 595.5 - 10 * kPointsPerMm + 0.5, 1e-9);
}

TEST(PdfPage, BackgroundInPageColourForm) {
  std::string out;
  WritePageBackground(out, 0x0A00FF, kRect);
  EXPECT_EQ(out, "q\r\n1 0 0.03 rg\r\n10.00 20.00 40.00 80.00 re\r\nf\r\nQ\r\n");
}

}  // namespace
}  // namespace zavrik::pdf
