#include "report/model/views/qbx_line_view.h"

#include <cmath>

#include "core/numeric.h"
#include "core/rtti_props.h"
#include "report/model/qbx_diff.h"

namespace zavrik {
namespace {

constexpr int32_t kNone = 0x1FFFFFFF;

int Round(double value) {
  const double r = RoundHalfEven(value);
  if (!(r == r)) return 0;
  return static_cast<int>(std::clamp(r, -1e9, 1e9));
}

bool Between(double v, double a, double b) { return !((a < v && b < v) || (a > v && b > v)); }

}  // namespace

TqbxArrowHead ArrowHeadOf(double tx, double ty, double ox, double oy, double l, double w) {
  TqbxArrowHead a;
  if (std::abs(tx - ox) > 8) {
    const double k = (ty - oy) / (tx - ox);
    const double c = (tx * oy - ty * ox) / (tx - ox);
    // Where the line meets the circle of radius l around the tip.
    const double qa = 1 + k * k, qb = 2 * (k * (c - ty) - tx);
    const double qc = tx * tx + (c - ty) * (c - ty) - l * l;
    const double root = std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc));
    double x = (-qb + root) / (2 * qa);
    if (!Between(x, tx, ox)) x = (-qb - root) / (2 * qa);
    const double y = c + k * x;
    const double phi = std::atan(k);
    a.base_x = x, a.base_y = y;
    a.wing1_x = x + std::sin(phi) * w, a.wing1_y = y - std::cos(phi) * w;
    a.wing2_x = x - std::sin(phi) * w, a.wing2_y = y + std::cos(phi) * w;
  } else {
    double y = ty - l;
    if (!Between(y, ty, oy)) y = ty + l;
    a.base_x = tx, a.base_y = y;
    a.wing1_x = tx - w, a.wing1_y = y;
    a.wing2_x = tx + w, a.wing2_y = y;
  }
  return a;
}

TqbxCustomLineView::TqbxCustomLineView() { SetComponentStyle(ComponentStyle() & ~csDefaultDiff); }

const ClassInfo& TqbxCustomLineView::StaticClass() {
  using C = TqbxCustomLineView;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomLineView", &TqbxStretcheable::StaticClass(), &New<TqbxCustomLineView>, {
      Prop(u"ArrowEnd", &C::ArrowEnd, &C::SetArrowEnd).Default(0),
      Prop(u"ArrowLength", &C::ArrowLength, &C::SetArrowLength).Default(20),
      Prop(u"ArrowSolid", &C::ArrowSolid, &C::SetArrowSolid).Default(0),
      Prop(u"ArrowStart", &C::ArrowStart, &C::SetArrowStart).Default(0),
      Prop(u"ArrowWidth", &C::ArrowWidth, &C::SetArrowWidth).Default(5),
      Prop(u"Color", &C::LineColor, &C::SetLineColor).Default(kNone),
      Prop(u"Diagonal", &C::Diagonal, &C::SetDiagonal).Default(0),
  }); });
  return info;
}

const ClassInfo& TqbxLineView::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxLineView", &TqbxCustomLineView::StaticClass(), &New<TqbxLineView>, {}); });
  return info;
}

void TqbxCustomLineView::MakeStraight() {
  if (FDiagonal) return;
  if (Width() <= Height()) {
    SetWidth(0);
    Frame()->SetTyp(ftLeft);
  } else {
    SetHeight(0);
    Frame()->SetTyp(ftTop);
  }
}

void TqbxCustomLineView::Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  MakeStraight();
  CalcDeviceRect(canvas, scale_x, scale_y, offset_x, offset_y);
  const TqbxFrame& frame = *Frame();
  Brush brush{ColorToRgb(static_cast<zavrik::Color>(frame.Color())), zavrik::BrushStyle::kClear};
  if (!FDiagonal) {
    PaintFrame();
    if (frame.Style() == fsSolid) brush.style = zavrik::BrushStyle::kSolid;
  } else if (frame.Color() != kNone && frame.Width() != 0) {
    canvas.Save();
    const bool styled = frame.Style() != fsSolid && frame.Style() != fsDouble;
    canvas.SetPen(Pen{.color = ColorToRgb(static_cast<zavrik::Color>(frame.Color())), .width = 1,
                      .style = styled ? PenStyle::kDash : PenStyle::kSolid});
    StrokeWideLine(FX, FY, FX1, FY1, FFrameWidth);
    canvas.Restore();
    if (FColor != kNone) brush.style = zavrik::BrushStyle::kSolid;
  }
  if (!(FArrowStart || FArrowEnd) || frame.Color() == kNone) return;
  canvas.Save();
  canvas.SetBrush(brush);
  canvas.SetPen(Pen{.color = ColorToRgb(static_cast<zavrik::Color>(frame.Color())),
                    .width = std::max(1, Round(frame.Width() * scale_x))});
  if (FArrowStart) DrawArrowHead(FX, FY, FX1, FY1);
  if (FArrowEnd) DrawArrowHead(FX1, FY1, FX, FY);
  canvas.Restore();
}

void TqbxCustomLineView::DrawArrowHead(int tip_x, int tip_y, int other_x, int other_y) {
  const TqbxArrowHead a = ArrowHeadOf(tip_x, tip_y, other_x, other_y, FArrowLength * FScaleX, FArrowWidth * FScaleX);
  const Point tip{tip_x, tip_y}, w1{Round(a.wing1_x), Round(a.wing1_y)}, w2{Round(a.wing2_x), Round(a.wing2_y)};
  if (FArrowSolid) {
    const Point polygon[] = {tip, w1, w2, tip};
    FCanvas->Polygon(polygon);
  } else {
    const Point polyline[] = {w1, tip, w2};
    FCanvas->Polyline(polyline);
  }
}

std::vector<uint8_t> TqbxCustomLineView::GetVectorGraphic(bool draw_fill) {
  // The picture's origin is the top-left corner: lines running left or up are turned around.
  const double left = Left(), top = Top();
  const bool flip_x = Width() < 0, flip_y = Height() < 0;
  if (flip_x) SetLeft(left + Width()), SetWidth(-Width());
  if (flip_y) SetTop(top + Height()), SetHeight(-Height());
  std::vector<uint8_t> picture = TqbxView::GetVectorGraphic(draw_fill);
  SetLeft(left);
  SetTop(top);
  // Draw may have straightened the line; the sizes keep what it left, with their sign back.
  if (flip_x) SetWidth(-Width());
  if (flip_y) SetHeight(-Height());
  return picture;
}

String TqbxCustomLineView::Diff(const TqbxComponent* other) const {
  const auto* o = dynamic_cast<const TqbxCustomLineView*>(other);
  if (!o) return TqbxView::Diff(other);
  String out = TqbxView::Diff(o);
  DiffBool(out, u"Diagonal", FDiagonal, o->FDiagonal);
  DiffBool(out, u"ArrowEnd", FArrowEnd, o->FArrowEnd);
  DiffInt(out, u"ArrowLength", FArrowLength, o->FArrowLength);
  DiffBool(out, u"ArrowSolid", FArrowSolid, o->FArrowSolid);
  DiffBool(out, u"ArrowStart", FArrowStart, o->FArrowStart);
  DiffInt(out, u"ArrowWidth", FArrowWidth, o->FArrowWidth);
  return out;
}

}  // namespace zavrik
