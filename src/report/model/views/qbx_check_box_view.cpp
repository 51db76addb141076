#include "report/model/views/qbx_check_box_view.h"

#include "core/error.h"
#include "core/rtti_props.h"
#include "core/variant_convert.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_evaluator.h"

namespace zavrik {
namespace {

constexpr double kDefaultSize = 5 * 3.77953;  // 5 mm

// A value as a check box's state; texts and other values that are no booleans count as false.
bool AsChecked(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return false;
  try {
    return VarToBoolean(value);
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

TqbxCheckBoxView::TqbxCheckBoxView() {
  SetWidth(kDefaultSize);
  SetHeight(kDefaultSize);
}

const ClassInfo& TqbxCheckBoxView::StaticClass() {
  using C = TqbxCheckBoxView;
  static const EnumType check_styles{u"csCross", u"csCheck", u"csLineCross", u"csPlus"};
  static const EnumType uncheck_styles{u"usEmpty", u"usCross", u"usLineCross", u"usMinus"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCheckBoxView", &TqbxView::StaticClass(), &New<TqbxCheckBoxView>, JoinProps({
      FillProps(),
      {
          Prop(u"CheckColor", &C::CheckColor, &C::SetCheckColor).Default(0),
          Prop(u"Checked", &C::Checked, &C::SetChecked).Default(1),
          Prop(u"CheckStyle", &C::CheckStyle, &C::SetCheckStyle).Enum(check_styles).Default(csCross),
          Prop(u"Expression", &C::Expression, &C::SetExpression),
          Prop(u"UncheckStyle", &C::UncheckStyle, &C::SetUncheckStyle).Enum(uncheck_styles).Default(usEmpty),
      },
  })); });
  return info;
}

void TqbxCheckBoxView::GetData() {
  TqbxView::GetData();
  if (auto* source = IsDataField() ? dynamic_cast<TqbxFieldSource*>(DataSet()) : nullptr) {
    FChecked = AsChecked(source->FieldValue(DataField()));
  } else if (!FExpression.empty()) {
    if (TqbxEvaluator* evaluator = EvaluatorOf(*this)) FChecked = AsChecked(evaluator->Calc(FExpression));
  }
}

void TqbxCheckBoxView::Draw(Canvas& canvas, double scale_x, double scale_y, double offset_x, double offset_y) {
  CalcDeviceRect(canvas, scale_x, scale_y, offset_x, offset_y);
  PaintBackground();
  DrawMark();
  PaintFrame();
}

void TqbxCheckBoxView::DrawMark() {
  Canvas& c = *FCanvas;
  const Rect r{FX, FY, FX1, FY1};
  const zavrik::Color color = ColorToRgb(static_cast<zavrik::Color>(FCheckColor));
  enum class Mark { kNone, kCross, kCheck, kLineCross, kPlus, kMinus } mark = Mark::kNone;
  if (FChecked) {
    mark = FCheckStyle == csCross ? Mark::kCross : FCheckStyle == csCheck ? Mark::kCheck
         : FCheckStyle == csLineCross ? Mark::kLineCross : Mark::kPlus;
  } else {
    mark = FUncheckStyle == usCross ? Mark::kCross : FUncheckStyle == usLineCross ? Mark::kLineCross
         : FUncheckStyle == usMinus ? Mark::kMinus : Mark::kNone;
  }
  c.Save();
  c.SetPen(Pen{.color = color, .width = 1});
  switch (mark) {
    case Mark::kNone: break;
    case Mark::kCross:
    case Mark::kCheck: {
      const char16_t symbol = mark == Mark::kCross ? kSymbolCross : kSymbolCheck;
      const int height = r.Height();
      c.IntersectClip(r);
      c.DrawSymbol(symbol, r.left + (r.Width() - Canvas::SymbolWidth(symbol, height)) / 2, r.top, height, color);
      break;
    }
    case Mark::kLineCross:
      StrokeWideLine(r.left, r.top, r.right, r.bottom, FFrameWidth);
      StrokeWideLine(r.left, r.bottom, r.right, r.top, FFrameWidth);
      break;
    case Mark::kPlus:
    case Mark::kMinus: {
      const int m = r.top + r.Height() / 2, center = r.left + r.Width() / 2;
      StrokeWideLine(r.left + 3, m, r.right - 2, m, FFrameWidth);
      if (mark == Mark::kPlus) StrokeWideLine(center, r.top + 3, center, r.bottom - 2, FFrameWidth);
      break;
    }
  }
  c.Restore();
}

}  // namespace zavrik
