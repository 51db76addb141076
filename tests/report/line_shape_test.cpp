// Line, shape and check-box views: straightening, arrow heads, device drawing, check-box states
// from fields and expressions, and their difference texts.
#include <gtest/gtest.h>

#include "platform/raster_canvas.h"
#include "report/model/qbx_band.h"
#include "report/model/views/qbx_check_box_view.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_line_view.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_report.h"
#include "report/model/views/qbx_shape_view.h"

namespace zavrik::test {
namespace {

TEST(LineView, StraightLinesAreMadeVerticalOrHorizontal) {
  TqbxLineView wide, tall, square;
  wide.SetBounds(0, 0, 100, 3);
  tall.SetBounds(0, 0, 3, 100);
  square.SetBounds(0, 0, 50, 50);
  for (TqbxLineView* line : {&wide, &tall, &square}) line->MakeStraight();
  EXPECT_EQ(wide.Height(), 0);
  EXPECT_EQ(wide.Frame()->Typ(), ftTop);
  EXPECT_EQ(tall.Width(), 0);
  EXPECT_EQ(tall.Frame()->Typ(), ftLeft);
  EXPECT_EQ(square.Width(), 0);
  EXPECT_EQ(square.Frame()->Typ(), ftLeft);
  TqbxLineView diagonal;
  diagonal.SetDiagonal(true);
  diagonal.SetBounds(0, 0, 100, 3);
  diagonal.MakeStraight();
  EXPECT_EQ(diagonal.Height(), 3);
}

TEST(LineView, ArrowHeads) {
  // A vertical line: the base ArrowLength above the bottom end, the wings horizontal.
  TqbxArrowHead a = ArrowHeadOf(10, 100, 10, 0, 20, 5);
  EXPECT_DOUBLE_EQ(a.base_y, 80);
  EXPECT_DOUBLE_EQ(a.wing1_x, 5);
  EXPECT_DOUBLE_EQ(a.wing2_x, 15);
  EXPECT_DOUBLE_EQ(a.wing1_y, 80);
  // At the top end the base lies below the tip.
  a = ArrowHeadOf(10, 0, 10, 100, 20, 5);
  EXPECT_DOUBLE_EQ(a.base_y, 20);
  // A horizontal line: the base on the line, between the ends.
  a = ArrowHeadOf(100, 50, 0, 50, 20, 5);
  EXPECT_NEAR(a.base_x, 80, 1e-9);
  EXPECT_NEAR(a.base_y, 50, 1e-9);
  EXPECT_NEAR(a.wing1_y, 45, 1e-9);
  EXPECT_NEAR(a.wing2_y, 55, 1e-9);
  // A diagonal: the base at the arrow's length from the tip along the line.
  a = ArrowHeadOf(0, 0, 30, 40, 10, 5);
  EXPECT_NEAR(a.base_x, 6, 1e-9);
  EXPECT_NEAR(a.base_y, 8, 1e-9);
}

TEST(LineView, DrawnWithTheFrame) {
  TqbxLineView line;
  line.SetBounds(10, 20, 80, 2);
  line.Frame()->SetColor(clRed);
  line.Frame()->SetWidth(3);
  line.SetArrowEnd(true);
  line.SetArrowSolid(true);
  RasterCanvas canvas(120, 60);
  line.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(line.Height(), 0);
  EXPECT_EQ(canvas.Pixel(40, 20), clRed);
  EXPECT_EQ(canvas.Pixel(40, 24), clWhite);
  EXPECT_EQ(canvas.Pixel(80, 17), clRed);  // inside the solid head near the end
  TqbxLineView diagonal;
  diagonal.SetDiagonal(true);
  diagonal.SetBounds(0, 0, 50, 50);
  diagonal.Frame()->SetColor(clBlack);
  RasterCanvas c2(60, 60);
  diagonal.Draw(c2, 1, 1, 0, 0);
  EXPECT_EQ(c2.Pixel(25, 25), clBlack);
  EXPECT_EQ(c2.Pixel(40, 10), clWhite);
}

TEST(LineView, DiffNamesTheArrowAttributes) {
  TqbxLineView line, source;
  EXPECT_EQ(line.Diff(&source), u"");
  line.SetDiagonal(true);
  line.SetArrowEnd(true);
  line.SetArrowLength(30);
  line.SetArrowSolid(true);
  line.SetArrowStart(true);
  line.SetArrowWidth(7);
  EXPECT_EQ(line.Diff(&source), u" Diagonal=\"True\" ArrowEnd=\"True\" ArrowLength=\"30\" ArrowSolid=\"True\" "
                                u"ArrowStart=\"True\" ArrowWidth=\"7\"");
  EXPECT_FALSE(line.ComponentStyle() & csDefaultDiff);
}

TEST(ShapeView, EveryKindFilledOnTheDevice) {
  for (int kind = skRectangle; kind <= skDiamond; ++kind) {
    TqbxShapeView shape;
    shape.SetShape(static_cast<TqbxShapeKind>(kind));
    shape.SetBounds(0, 0, 60, 40);
    shape.SetColor(clRed);
    shape.Frame()->SetColor(clBlack);
    RasterCanvas canvas(70, 50);
    shape.Draw(canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas.Pixel(30, 25), clRed) << kind;
    if (kind == skEllipse || kind == skDiamond || kind == skTriangle) EXPECT_EQ(canvas.Pixel(2, 2), clWhite) << kind;
  }
  TqbxShapeView diagonal;
  diagonal.SetShape(skDiagonal1);
  diagonal.SetBounds(0, 0, 40, 40);
  diagonal.Frame()->SetColor(clBlack);
  RasterCanvas canvas(50, 50);
  diagonal.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(20, 20), clBlack);
  EXPECT_EQ(canvas.Pixel(5, 5), clWhite);
}

TEST(ShapeView, GradientFillClippedToTheShape) {
  TqbxShapeView shape;
  shape.SetShape(skEllipse);
  shape.SetBounds(0, 0, 60, 60);
  shape.SetFillType(ftGradient);
  static_cast<TqbxGradientFill*>(shape.Fill())->SetStartColor(clRed);
  static_cast<TqbxGradientFill*>(shape.Fill())->SetEndColor(clRed);
  RasterCanvas canvas(70, 70);
  shape.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(30, 30), clRed);
  EXPECT_EQ(canvas.Pixel(3, 3), clWhite);
}

TEST(ShapeView, DoubleFrameDrawsTwiceAndRestoresTheView) {
  TqbxShapeView shape;
  shape.SetBounds(10, 10, 60, 60);
  shape.Frame()->SetColor(clBlack);
  shape.Frame()->SetStyle(fsDouble);
  RasterCanvas canvas(90, 90);
  shape.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(10, 40), clBlack);
  EXPECT_EQ(canvas.Pixel(12, 40), clBlack);
  EXPECT_EQ(canvas.Pixel(11, 40), clWhite);
  EXPECT_EQ(shape.Left(), 10);
  EXPECT_EQ(shape.Width(), 60);
  EXPECT_EQ(shape.Frame()->Style(), fsDouble);
}

TEST(ShapeView, DiffNamesTheShape) {
  TqbxShapeView shape, source;
  shape.SetShape(skDiamond);
  EXPECT_EQ(shape.Diff(&source), u" Shape=\"4\"");
}

struct CheckBoxReport {
  CheckBoxReport() {
    RegisterReportClasses();
    auto& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
    auto& band = TqbxComponent::CreateIn<TqbxMasterData>(page);
    box = &TqbxComponent::CreateIn<TqbxCheckBoxView>(band);
    report.OnCalc = [this](StringView) { return value; };
  }
  TqbxReport report;
  TqbxCheckBoxView* box;
  Variant value;
};

TEST(CheckBox, DefaultsAndTheExpression) {
  CheckBoxReport r;
  EXPECT_TRUE(r.box->Checked());
  EXPECT_NEAR(r.box->Width(), 18.89765, 1e-9);
  EXPECT_TRUE(r.box->ComponentStyle() & csDefaultDiff);
  r.box->SetExpression(u"<Paid>");
  r.value = Variant(false);
  r.box->GetData();
  EXPECT_FALSE(r.box->Checked());
  r.value = Variant(true);
  r.box->GetData();
  EXPECT_TRUE(r.box->Checked());
  r.value = Variant::Null();
  r.box->GetData();
  EXPECT_FALSE(r.box->Checked());
  r.value = Variant(1);
  r.box->GetData();
  EXPECT_TRUE(r.box->Checked());
}

// Dark pixels of the box's drawing.
int DarkPixels(TqbxCheckBoxView& box) {
  RasterCanvas canvas(40, 40);
  box.SetBounds(5, 5, 30, 30);
  box.SetCheckColor(clBlack);
  box.Draw(canvas, 1, 1, 0, 0);
  int dark = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) dark += canvas.Pixel(x, y) == clBlack;
  return dark;
}

TEST(CheckBox, MarksOfEveryStyle) {
  TqbxCheckBoxView box;
  for (int style = csCross; style <= csPlus; ++style) {
    box.SetChecked(true);
    box.SetCheckStyle(static_cast<TqbxCheckStyle>(style));
    EXPECT_GT(DarkPixels(box), 20) << "check style " << style;
  }
  box.SetChecked(false);
  box.SetUncheckStyle(usEmpty);
  EXPECT_EQ(DarkPixels(box), 0);
  for (int style = usCross; style <= usMinus; ++style) {
    box.SetUncheckStyle(static_cast<TqbxUncheckStyle>(style));
    EXPECT_GT(DarkPixels(box), 20) << "uncheck style " << style;
  }
  // Minus: one horizontal line through the middle, nothing at the top.
  box.SetUncheckStyle(usMinus);
  RasterCanvas canvas(40, 40);
  box.Draw(canvas, 1, 1, 0, 0);
  EXPECT_EQ(canvas.Pixel(20, 20), clBlack);
  EXPECT_EQ(canvas.Pixel(20, 10), clWhite);
}

}  // namespace
}  // namespace zavrik::test
