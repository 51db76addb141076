#include "report/model/views/qbx_shape_view.h"

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

PenStyle PenStyleOf(TqbxFrameStyle style) {
  switch (style) {
    case fsDash: return PenStyle::kDash;
    case fsDot:
    case fsAltDot:
    case fsSquare: return PenStyle::kDot;
    case fsDashDot: return PenStyle::kDashDot;
    case fsDashDotDot: return PenStyle::kDashDotDot;
    default: return PenStyle::kSolid;
  }
}

zavrik::BrushStyle HatchOf(TqbxBrushStyle style) { return static_cast<zavrik::BrushStyle>(style); }

}  // namespace

const EnumType& ShapeKindType() {
  static const EnumType type{u"skRectangle", u"skRoundRectangle", u"skEllipse", u"skTriangle",
                             u"skDiamond",   u"skDiagonal1",      u"skDiagonal2"};
  return type;
}

TqbxShapeView::TqbxShapeView() { SetComponentStyle(ComponentStyle() & ~csDefaultDiff); }

const ClassInfo& TqbxShapeView::StaticClass() {
  using C = TqbxShapeView;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxShapeView", &TqbxView::StaticClass(), &New<TqbxShapeView>, JoinProps({
      FillProps(),
      {
          Prop(u"Curve", &C::Curve, &C::SetCurve).Default(0),
          Prop(u"Shape", &C::Shape, &C::SetShape).Enum(ShapeKindType()).Default(skRectangle),
      },
  })); });
  return info;
}

void TqbxShapeView::Outline() {
  Canvas& c = *FCanvas;
  switch (FShape) {
    case skRectangle: c.Rectangle({FX, FY, FX1 + 1, FY1 + 1}); break;
    case skRoundRectangle: {
      const int e = FCurve != 0 ? Round(FCurve * FScaleX * 10) : std::min(FDX, FDY) / 4;
      c.RoundRect({FX, FY, FX1 + 1, FY1 + 1}, e, e);
      break;
    }
    case skEllipse: c.Ellipse({FX, FY, FX1 + 1, FY1 + 1}); break;
    case skTriangle: {
      const Point p[] = {{FX1, FY1}, {FX, FY1}, {FX + FDX / 2, FY}};
      c.Polygon(p);
      break;
    }
    case skDiamond: {
      const Point p[] = {{FX + FDX / 2, FY}, {FX1, FY + FDY / 2}, {FX + FDX / 2, FY1}, {FX, FY + FDY / 2}};
      c.Polygon(p);
      break;
    }
    case skDiagonal1: StrokeWideLine(FX, FY1, FX1, FY, FFrameWidth); break;
    case skDiagonal2: StrokeWideLine(FX, FY, FX1, FY1, FFrameWidth); break;
  }
}

void TqbxShapeView::DrawShape(double scale_x, double scale_y, double offset_x, double offset_y) {
  CalcDeviceRect(*FCanvas, scale_x, scale_y, offset_x, offset_y);
  Canvas& c = *FCanvas;
  const TqbxFrame& frame = *Frame();
  const bool pen = frame.Color() != kNone;
  c.SetPen(Pen{.color = ColorToRgb(static_cast<zavrik::Color>(frame.Color())), .width = FFrameWidth,
               .style = pen ? PenStyleOf(frame.Style()) : PenStyle::kClear});
  const bool special_fill = FillType() != ftBrush && IsClosedShape();
  // Gradient and glass fills are painted clipped to the shape, then the outline goes on top.
  auto outline = [&] {
    if (special_fill) {
      const Brush kept = c.CurrentBrush();
      c.Save();
      c.BeginPath();
      Outline();
      c.EndPath();
      c.ClipToPath();
      PaintBackground();
      c.Restore();
      c.SetBrush({kept.color, zavrik::BrushStyle::kClear});
    }
    Outline();
  };
  if (BrushStyle() == bsSolid) {
    c.SetBrush(Color() == kNone ? Brush{clWhite, zavrik::BrushStyle::kClear}
                                : Brush{ColorToRgb(static_cast<zavrik::Color>(Color())), zavrik::BrushStyle::kSolid});
    outline();
    return;
  }
  if (Color() != kNone) {
    c.SetBrush({ColorToRgb(static_cast<zavrik::Color>(Color())), zavrik::BrushStyle::kSolid});
    outline();
  }
  c.SetBrush({ColorToRgb(static_cast<zavrik::Color>(frame.Color())),
              BrushStyle() == bsClear ? zavrik::BrushStyle::kClear : HatchOf(BrushStyle())});
  outline();
}

void TqbxShapeView::Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  FCanvas = &canvas;
  canvas.Save();
  if (Frame()->Style() != fsDouble) {
    DrawShape(scale_x, scale_y, offset_x, offset_y);
    canvas.Restore();
    return;
  }
  // A double outline: the shape once solid, then again inside it.
  Frame()->SetStyle(fsSolid);
  DrawShape(scale_x, scale_y, offset_x, offset_y);
  const double left = Left(), top = Top(), width = Width(), height = Height();
  const double fw = Frame()->Width();
  struct Shrink {
    double left, top, width, height;
  };
  Shrink s{2 * fw, 2 * fw, 4 * fw, 4 * fw};
  if (FShape == skTriangle) s = {4 * fw, 4 * fw, 8 * fw, 6 * fw};
  if (FShape == skDiamond) s = {3 * fw, 3 * fw, 6 * fw, 6 * fw};
  if (!IsClosedShape()) s = {2 * fw, 0, 0, 0};
  SetLeft(left + s.left);
  SetTop(top + s.top);
  SetWidth(width - s.width);
  SetHeight(height - s.height);
  DrawShape(scale_x, scale_y, offset_x, offset_y);
  Frame()->SetStyle(fsDouble);
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
  canvas.Restore();
}

String TqbxShapeView::Diff(const TqbxComponent* other) const {
  const auto* o = dynamic_cast<const TqbxShapeView*>(other);
  if (!o) return TqbxView::Diff(other);
  String out = TqbxView::Diff(o);
  DiffInt(out, u"Shape", FShape, o->FShape);
  return out;
}

}  // namespace zavrik
