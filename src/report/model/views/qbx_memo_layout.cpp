// The memo's geometry and text layout: the text rectangle, measuring, automatic width, splitting
// across pages and drawing.
#include "core/numeric.h"
#include "report/text/html_tags.h"
#include "report/model/views/qbx_memo.h"

namespace zavrik {
namespace {

int Round(double value) { return static_cast<int>(std::clamp(RoundHalfEven(value), -1e9, 1e9)); }

constexpr Rect kUnbounded{0, 0, 10000, 10000};

bool IsQuarterTurn(int angle) { return angle == 90 || angle == 270; }

}  // namespace

Rect TqbxCustomMemoView::ComputeTextRect(double sx, double sy, double ox, double oy) const {
  const TqbxFrame& frame = *Frame();
  const int typ = frame.Typ();
  const double w = frame.Width(), s = frame.ShadowSize();
  const int x = Round(ox + sx * AbsLeft()), y = Round(oy + sy * AbsTop());
  Rect r;
  r.left = x + (typ & ftLeft ? Round((sx * w - 1) / 2) : 0) + Round(sx * GapX);
  r.top = y + (typ & ftTop ? Round((sy * w - 1) / 2) : 0) + Round(sy * GapY);
  r.right = x + Round(sx * (Width() - s)) - (typ & ftRight ? Round(sx * w / 2) : 0) - Round(sx * GapX) + 1;
  r.bottom = y + Round(sy * (Height() - s)) - (typ & ftBottom ? Round(sy * w / 2) : 0) - Round(sy * GapY) + 1;
  return r;
}

double TqbxCustomMemoView::VerticalExtra() const {
  const TqbxFrame& f = *Frame();
  return 2 * GapY + (f.Typ() & ftTop ? (f.Width() - 1) / 2 : 0) + (f.Typ() & ftBottom ? f.Width() / 2 : 0) + f.ShadowSize();
}

double TqbxCustomMemoView::HorizontalExtra() const {
  const TqbxFrame& f = *Frame();
  return 2 * GapX + (f.Typ() & ftLeft ? (f.Width() - 1) / 2 : 0) + (f.Typ() & ftRight ? f.Width() / 2 : 0) + f.ShadowSize();
}

void TqbxCustomMemoView::SetUpLayout(TqbxDrawText& layout) const {
  layout.SetFont(Font()->ToFontRequest());
  layout.SetOptions(WordWrap, AllowHTMLTags, RTLReading, WordBreak, Clipped, Wysiwyg, ReducedAngle());
  layout.SetGaps(ParagraphGap, CharSpacing, LineSpacing);
  layout.UseDefaultCharset = UseDefaultCharset;
  layout.MonoFont = FDrawAsMask;
}

void TqbxCustomMemoView::MeasureUnbounded(double& width, double& height) const {
  TqbxLayoutLock layout;
  SetUpLayout(*layout);
  layout->SetDimensions(1, 1, 1, kUnbounded, kUnbounded);
  layout->SetText(Text());
  width = layout->CalcWidth();
  height = layout->CalcHeight();
}

double TqbxCustomMemoView::CalcHeight() {
  const bool quarter = IsQuarterTurn(ReducedAngle());
  TqbxLayoutLock layout;
  SetUpLayout(*layout);
  const Rect rect = quarter || AutoWidth ? kUnbounded : ComputeTextRect(1, 1, 0, 0);
  layout->SetDimensions(1, 1, 1, rect, rect);
  layout->SetText(Text());
  return Round(VerticalExtra() + (quarter ? layout->CalcWidth() : layout->CalcHeight()));
}

double TqbxCustomMemoView::CalcWidth() {
  const bool quarter = IsQuarterTurn(ReducedAngle());
  TqbxLayoutLock layout;
  SetUpLayout(*layout);
  const Rect rect = quarter ? ComputeTextRect(1, 1, 0, 0) : kUnbounded;
  layout->SetDimensions(1, 1, 1, rect, rect);
  layout->SetText(Text());
  return Round(HorizontalExtra() + (quarter ? layout->CalcHeight() : layout->CalcWidth()));
}

void TqbxCustomMemoView::ApplyAutoWidth() {
  double width = 0, height = 0;
  MeasureUnbounded(width, height);
  const double old_width = Width();
  const double new_width = HorizontalExtra() + (IsQuarterTurn(ReducedAngle()) ? height : width);
  if (HAlign == haRight) SetLeft(Left() + old_width - new_width);
  else if (HAlign == haCenter) SetLeft(Left() + (old_width - new_width) / 2);
  SetWidth(new_width);
  if (Parent()) Parent()->AlignChildren(false, 0);
}

void TqbxCustomMemoView::CalcDeviceRect(Canvas& canvas, double sx, double sy, double ox, double oy) {
  if (AutoWidth) ApplyAutoWidth();
  TqbxStretcheable::CalcDeviceRect(canvas, sx, sy, ox, oy);
  ScaledRect = ComputeTextRect(sx, sy, ox, oy);
  TextRect = ComputeTextRect(1, 1, 0, 0);
}

void TqbxCustomMemoView::InitPart() {
  PartMemo = MemoText();
  FirstParaBreak = false;
  LastParaBreak = false;
}

double TqbxCustomMemoView::DrawPart() {
  TqbxLayoutLock layout;
  SetMemoText(PartMemo);
  SetUpLayout(*layout);
  TextRect = ComputeTextRect(1, 1, 0, 0);
  layout->SetDimensions(1, 1, 1, TextRect, TextRect);
  layout->SetTextToSplit(Text(), FirstParaBreak);
  layout->SetParaBreaks(FirstParaBreak, LastParaBreak);
  bool para_break = false;
  PartMemo = layout->GetOutBoundsText(para_break);
  SetMemoText(layout->GetInBoundsText());
  LastParaBreak = para_break;
  const double unused = layout->UnusedSpace();
  return unused == 0 ? Height() : 2 * GapY + unused;
}

String TqbxCustomMemoView::WrapText(bool wrap_words, std::vector<TqbxWrappedLine>* para_text) {
  TqbxLayoutLock layout;
  SetUpLayout(*layout);
  TextRect = ComputeTextRect(1, 1, 0, 0);
  layout->SetDimensions(1, 1, 1, TextRect, TextRect);
  layout->SetText(Text(), FirstParaBreak);
  layout->SetParaBreaks(FirstParaBreak, LastParaBreak);
  const String result = wrap_words ? layout->GetWrappedText() : DeleteTags(Text());
  if (para_text) {
    para_text->clear();
    for (size_t start = 0; start < result.size() || (start == result.size() && start > 0);) {
      size_t end = result.find(u"\r\n", start);
      if (end == String::npos) end = result.size();
      para_text->push_back({result.substr(start, end - start), 0});
      if (end == result.size()) break;
      start = end + 2;
    }
    const std::vector<TqbxWrappedLine>& lines = layout->Text();
    if (lines.size() == para_text->size()) {
      for (size_t i = 0; i < lines.size(); ++i) (*para_text)[i].Flags = lines[i].Flags;
    }
  }
  return result;
}

void TqbxCustomMemoView::Draw(Canvas& canvas, double sx, double sy, double ox, double oy) {
  CalcDeviceRect(canvas, sx, sy, ox, oy);
  PaintBackground();
  PaintFrame();
  ExtractMacros();
  TqbxLayoutLock layout;
  SetUpLayout(*layout);
  const bool scaled = sx != 1 || sy != 1 || ox != 0 || oy != 0;
  layout->SetDimensions(sx, sy, 1, TextRect, scaled ? ScaledRect : TextRect);
  layout->SetText(Text(), FirstParaBreak);
  layout->SetParaBreaks(FirstParaBreak, LastParaBreak);
  if (UnderlinesTextMode() != ulmNone && FRotation == 0) {
    canvas.SetPen(Pen{.color = ColorToRgb(static_cast<zavrik::Color>(Frame()->Color())), .width = FFrameWidth});
  }
  layout->DrawText(canvas, HAlign, VAlign, UnderlinesTextMode());
}

std::vector<VectorTextRecord> TqbxCustomMemoView::GetVectorCanvas() {
  std::vector<VectorTextRecord> records = TqbxStretcheable::GetVectorCanvas();
  for (VectorTextRecord& record : records) record.rtl = RTLReading;
  return records;
}

}  // namespace zavrik
