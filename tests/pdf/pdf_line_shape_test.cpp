// Line and shape views in the page content: strokes, dash patterns, double lines, arrow heads,
// shape paths, fills clipped to shapes, and outlines.
#include <gtest/gtest.h>

#include "pdf/pdf_page_fixture.h"
#include "report/model/views/qbx_line_view.h"
#include "report/model/views/qbx_shape_view.h"

namespace zavrik::pdf {
namespace {

using namespace test;

// The band lies at y 100: a view at (x, y) on it is at (x × 0.75, 842.25 − (100 + y) × 0.75).
template <class T>
T& Add(Page& p, double left, double top, double width, double height) {
  auto& view = TqbxComponent::CreateIn<T>(*p.band);
  view.SetBounds(left, top, width, height);
  return view;
}

std::string ContentOf(Page& p) {
  const std::string pdf = ExportUncompressed({&p});
  EXPECT_EQ(QpdfCheck(pdf), 0);
  return FirstContent(pdf);
}

TEST(PdfLines, StraightLinesWithTheirStyles) {
  Page p;
  Add<TqbxLineView>(p, 10, 20, 200, 3);  // made horizontal
  auto& dashed = Add<TqbxLineView>(p, 300, 0, 0, 50);
  dashed.Frame()->SetStyle(fsDash);
  dashed.Frame()->SetWidth(2);
  auto& twin = Add<TqbxLineView>(p, 10, 40, 200, 0);
  twin.Frame()->SetStyle(fsDouble);
  auto& none = Add<TqbxLineView>(p, 10, 60, 200, 0);
  none.Frame()->SetColor(0x1FFFFFFF);
  const std::string content = ContentOf(p);
  EXPECT_TRUE(Contains(content, "q\r\n[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n7.50 752.25 m\r\n157.50 752.25 l\r\nS\r\nQ\r\n"))
      << content;
  EXPECT_TRUE(Contains(content, "[12.00 ] 0 d\r\n0 0 0 RG\r\n1.50 w\r\n225.00 767.25 m\r\n225.00 729.75 l\r\nS\r\n"));
  EXPECT_TRUE(Contains(content, "7.50 738.25 m\r\n157.50 738.25 l\r\nS\r\n0 0 0 RG\r\n0.75 w\r\n"
                                "7.50 736.25 m\r\n157.50 736.25 l\r\nS\r\n"));
  EXPECT_FALSE(Contains(content, "722.25 m"));  // no colour: nothing drawn
}

TEST(PdfLines, DiagonalLinesAndArrowHeads) {
  Page p;
  auto& down = Add<TqbxLineView>(p, 400, 0, 0, 100);
  down.SetArrowEnd(true);
  auto& solid = Add<TqbxLineView>(p, 500, 0, 0, 100);
  solid.SetArrowStart(true);
  solid.SetArrowSolid(true);
  solid.Frame()->SetColor(255);
  auto& diagonal = Add<TqbxLineView>(p, 0, 0, 40, 40);
  diagonal.SetDiagonal(true);
  diagonal.Frame()->SetStyle(fsDash);
  const std::string content = ContentOf(p);
  EXPECT_TRUE(Contains(content, "300.00 767.25 m\r\n300.00 692.25 l\r\nS\r\n"
                                "[] 0 d\r\n296.25 707.25 m\r\n300.00 692.25 l\r\n303.75 707.25 l\r\nS\r\nQ\r\n"))
      << content;
  EXPECT_TRUE(Contains(content, "[] 0 d\r\n371.25 752.25 m\r\n375.00 767.25 l\r\n378.75 752.25 l\r\n"
                                "1 j\r\n1.00 0.00 0.00 rg\r\nb\r\n"));
  // A diagonal line is always solid.
  EXPECT_TRUE(Contains(content, "q\r\n[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n0.00 767.25 m\r\n30.00 737.25 l\r\nS\r\nQ\r\n"));
}

// A diagonal line 6 units off vertical: the head lies along the line, its wings perpendicular to
// it (not level, as for a vertical line).
TEST(PdfLines, AnArrowOnANearlyVerticalLineFollowsTheLine) {
  Page p;
  auto& line = Add<TqbxLineView>(p, 0, 0, 6, 80);
  line.SetDiagonal(true);
  line.SetArrowEnd(true);
  const std::string content = ContentOf(p);
  // Tip (6, 80); the line's direction towards the other end is (-0.075, -0.997): the base lies 20
  // units along it at (4.504, 60.056), the wings 5 units to either side at (-0.482, 60.430) and
  // (9.490, 59.682); in points × 0.75, y down from 767.25.
  EXPECT_TRUE(Contains(content, "-0.36 721.93 m\r\n4.50 707.25 l\r\n7.12 722.49 l\r\nS\r\n")) << content;
}

TEST(PdfShapes, FilledAndOutlinedPaths) {
  Page p;
  auto& rect = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  rect.SetColor(clRed);
  rect.Frame()->SetColor(0xFF0000);
  auto& triangle = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  triangle.SetShape(skTriangle);
  triangle.Frame()->SetColor(0x1FFFFFFF);
  triangle.SetColor(clRed);
  auto& ellipse = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  ellipse.SetShape(skEllipse);
  auto& diamond = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  diamond.SetShape(skDiamond);
  auto& round = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  round.SetShape(skRoundRectangle);
  auto& diagonal = Add<TqbxShapeView>(p, 0, 0, 40, 40);
  diagonal.SetShape(skDiagonal1);
  const std::string content = ContentOf(p);
  EXPECT_TRUE(Contains(content, "q\r\n1 0 0 rg\r\n7.5 759.75 75 -37.5 re\r\nf\r\nQ\r\n"
                                "q\r\n[] 0 d\r\n0 0 1 RG\r\n0.75 w\r\n7.5 759.75 75 -37.5 re\r\nS\r\nQ\r\n"))
      << content;
  // The triangle is filled along its path and, without a frame colour, not outlined.
  EXPECT_TRUE(Contains(content, "q\r\n1 0 0 rg\r\n45 759.75 m\r\n82.5 722.25 l\r\n7.5 722.25 l\r\n45 759.75 l\r\nf\r\nQ\r\n"));
  EXPECT_FALSE(Contains(content, "82.5 722.25 l\r\n7.5 722.25 l\r\n45 759.75 l\r\nS"));
  EXPECT_TRUE(Contains(content, "0 0 0 RG\r\n0.75 w\r\n82.5 741 m\r\n82.5 730.645 65.711 722.25 45 722.25 c\r\n"));
  EXPECT_TRUE(Contains(content, "45 759.75 m\r\n82.5 741 l\r\n45 722.25 l\r\n7.5 741 l\r\n45 759.75 l\r\nS\r\n"));
  // Curve 0 counts as 2: corners of radius 7.48 pixels.
  EXPECT_TRUE(Contains(content, "13.11 722.25 m\r\n76.89 722.25 l\r\n79.695 722.25 82.5 725.055 82.5 727.86 c\r\n"));
  EXPECT_TRUE(Contains(content, "q\r\n[] 0 d\r\n0 0 0 RG\r\n0.75 w\r\n0.00 737.25 m\r\n30.00 767.25 l\r\nS\r\nQ\r\n"));
  EXPECT_EQ(Count(content, " c\r\n"), 8);  // the ellipse and the rounded rectangle
}

TEST(PdfShapes, GradientFillClippedToTheShape) {
  Page p;
  auto& ellipse = Add<TqbxShapeView>(p, 10, 10, 100, 50);
  ellipse.SetShape(skEllipse);
  ellipse.SetFillType(ftGradient);
  static_cast<TqbxGradientFill*>(ellipse.Fill())->SetStartColor(clRed);
  static_cast<TqbxGradientFill*>(ellipse.Fill())->SetEndColor(clWhite);
  const std::string content = ContentOf(p);
  EXPECT_TRUE(Contains(content, "q\r\n82.5 741 m\r\n"));
  EXPECT_TRUE(Contains(content, "82.5 741 c\r\nW\r\nn\r\n[] 0 d\r\n0 J\r\n")) << content;
}

}  // namespace
}  // namespace zavrik::pdf
