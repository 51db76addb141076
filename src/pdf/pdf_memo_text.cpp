#include "pdf/pdf_memo_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/numeric.h"
#include "pdf/pdf_font.h"
#include "pdf/pdf_format.h"
#include "pdf/pdf_graphics.h"
#include "pdf/pdf_text_style.h"
#include "pdf/pdf_vector_text.h"
#include "pdf/pdf_view_rects.h"
#include "platform/color.h"
#include "report/text/html_tags.h"
#include "report/model/views/qbx_memo.h"

namespace zavrik::pdf {
namespace {

// Bounds the ruled lines of absurdly tall views.
constexpr int kMaxRules = 10000;

// The memo's font, options and gaps, as the memo sets the layout up for its own drawing.
void SetUpLayout(TqbxDrawText& layout, const TqbxCustomMemoView& memo) {
  layout.SetFont(memo.Font()->ToFontRequest());
  layout.SetOptions(memo.WordWrap, memo.AllowHTMLTags, memo.RTLReading, memo.WordBreak,
                    memo.Clipped, memo.Wysiwyg, memo.ReducedAngle());
  layout.SetGaps(memo.ParagraphGap, memo.CharSpacing, memo.LineSpacing);
  layout.UseDefaultCharset = memo.UseDefaultCharset;
  layout.MonoFont = false;
}

// Source lines as the layout counts them: a final line break adds no line.
size_t SourceLineCount(StringView text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size();) {
    ++count;
    const size_t end = text.find_first_of(u"\r\n", i);
    if (end == StringView::npos) break;
    i = text.substr(end, 2) == u"\r\n" ? end + 2 : end + 1;
  }
  return count;
}

bool IsBlank(StringView line) {
  return std::all_of(line.begin(), line.end(), [](char16_t c) { return c == u' '; });
}

// Appends "x y" in F2 and the rest of the operator line.
void PointOp(std::string& out, double x, double y, std::string_view op) {
  AppendF2(out, x);
  out += ' ';
  AppendF2(out, y);
  Op(out, op);
}

// The flags of the wrapped lines: when wrapping added no lines, only the first line starts a
// paragraph and every line ends one.
std::vector<uint8_t> LineFlags(const std::vector<TqbxWrappedLine>& lines, StringView text) {
  std::vector<uint8_t> flags;
  const bool unwrapped = lines.size() == SourceLineCount(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    uint8_t f = lines[i].Flags;
    if (unwrapped) f = (i == 0 ? f & kFirstLineOfParagraph : 0) | kLastLineOfParagraph;
    flags.push_back(f);
  }
  return flags;
}

class MemoTextWriter {
 public:
  MemoTextWriter(PdfPageContent& page, const TqbxCustomMemoView& memo)
      : page_(page), out_(page.out), g_(page.geometry), memo_(memo) {}

  void Write() {
    const PdfRect object = ObjectRect(memo_, g_), clip = ClipRect(memo_, g_);
    const std::string clip_path = RectPath(clip);
    WriteFill(out_, *memo_.Fill(), clip, clip_path);
    Op(out_, "q");
    Op(out_, clip_path);
    Op(out_, "W");
    Op(out_, "n");
    {
      TqbxLayoutLock layout;
      SetUpLayout(*layout, memo_);
      const Rect rect = memo_.ComputeTextRect(1, 1, 0, 0);
      layout->SetDimensions(1, 1, 1, rect, rect);
      String joined;
      const StringView text = memo_.TextIn(joined);
      layout->SetText(text, memo_.FirstParaBreak);
      layout->SetParaBreaks(memo_.FirstParaBreak, memo_.LastParaBreak);
      line_height_ = layout->LineHeight();
      if (memo_.Underlines()) Rules(object);
      const std::vector<TqbxWrappedLine>& lines = layout->Text();
      if (!lines.empty()) {
        style_ = page_.styles.Of(*memo_.Font());
        font_ = style_.font;
        const std::vector<uint8_t> flags = LineFlags(lines, text);
        for (size_t i = 0; i < lines.size(); ++i)
          if (!IsBlank(lines[i].Text)) Line(lines[i].Text, flags[i], i, lines.size());
      }
    }
    Op(out_, "Q");
    WriteFrame(out_, *memo_.Frame(), object);
  }

 private:
  // The ruled lines of the Underlines option, one per line height.
  void Rules(const PdfRect& object) {
    if (!(line_height_ > 0)) return;
    const TqbxFrame& frame = *memo_.Frame();
    const double count = std::min<double>(std::trunc(memo_.Height() / line_height_), kMaxRules);
    const std::string color = ColorA(ColorToRgb(static_cast<uint32_t>(frame.Color())));
    for (int k = 1; k <= count; ++k) {
      const std::string y =
          F2(g_.Y(memo_.AbsTop() + memo_.GapY + 1 + k * line_height_ - memo_.LineSpacing));
      Op(out_, color + " RG");
      Op(out_, F2(frame.Width() * kPointsPerPixel) + " w");
      Op(out_, F2(object.left) + " " + y + " m");
      Op(out_, F2(object.right) + " " + y + " l");
      Op(out_, "S");
    }
  }

  double Baseline(size_t i, size_t n) const {
    double t = memo_.AbsTop() + memo_.GapY - style_.points * 0.1;
    const double h = memo_.Height() - memo_.ShadowSize() - 2 * memo_.GapY;
    const double ls = memo_.LineSpacing;
    switch (memo_.VAlign) {
      case vaBottom:
        return t + h - ls - (static_cast<double>(n) - i - 1) * line_height_;
      case vaCenter:
        t += (h - n * line_height_) / 2;
        [[fallthrough]];
      default:
        return t + (i + 1) * line_height_ - ls;
    }
  }

  void Line(const String& text, uint8_t flags, size_t i, size_t n) {
    const double p = (flags & kFirstLineOfParagraph) ? memo_.ParagraphGap : 0;
    const double available = memo_.Width() - memo_.ShadowSize() - 2 * memo_.GapX - p;
    const PdfGlyphRun& run = font_->SoftRemapString(text, memo_.RTLReading);
    // Operands go straight into the content; Op ends each line with its operator.
    Op(out_, "BT");
    out_ += style_.resource;
    out_ += ' ';
    out_ += style_.size;
    Op(out_, " Tf");
    Op(out_, "[] 0 d");
    out_ += ColorA(style_.color);
    Op(out_, " rg");
    const bool justified = memo_.HAlign == haBlock && !(flags & kLastLineOfParagraph) &&
                           run.spaces > 0 && style_.points > 0;
    const double width = justified ? available : style_.points * run.width / kPointsPerPixel / 1000;
    const double b = memo_.AbsLeft() + memo_.GapX + p;
    double x0 = b;
    if (memo_.HAlign == haRight || (memo_.HAlign == haBlock && memo_.RTLReading))
      x0 = b + available - width;
    else if (memo_.HAlign == haCenter)
      x0 = b + (available - width) / 2;
    const double x = g_.X(x0), y = g_.Y(Baseline(i, n));
    PointOp(out_, x, y, " Td");
    if (style_.italic_simulated) Op(out_, "1 0 0.25 1 " + F3t(x) + " " + F3t(y) + " Tm");
    if (style_.bold_simulated)
      Op(out_, "2 Tr " + F2(style_.points / 35.0) + " w " + ColorB(style_.color) + " RG");
    if (justified) {
      const double j =
          (run.width - available * kPointsPerPixel * 1000 / style_.points) / run.spaces;
      Op(out_, JustifiedGlyphs(run, font_->SpaceGlyph(), j));
    } else {
      out_ += '<';
      AppendGlyphHex(out_, run.glyphs, 0, run.glyphs.size());
      Op(out_, "> Tj");
    }
    Op(out_, "ET");
    if (style_.bold_simulated) Op(out_, "0 Tr");
    const double length = width * kPointsPerPixel;
    if (style_.underline) {
      const double under = y - style_.points * 0.12;
      Op(out_, "[] 0 d");
      Op(out_, ColorA(style_.color) + " RG");
      Op(out_, F2(style_.points * 0.08) + " w");
      PointOp(out_, x, under, " m");
      PointOp(out_, x + length, under, " l");
      Op(out_, "S");
    }
    if (style_.strike_out) {
      const double through = y + style_.points * 0.28;
      Op(out_, ColorA(style_.color) + " RG");
      Op(out_, F2(style_.points * 0.08) + " w");
      PointOp(out_, x, through, " m");
      PointOp(out_, x + length, through, " l");
      Op(out_, "S");
    }
  }

  PdfPageContent& page_;
  std::string& out_;
  const PdfPageGeometry& g_;
  const TqbxCustomMemoView& memo_;
  double line_height_ = 0;
  PdfTextStyle style_;
  TqbxPDFFont* font_ = nullptr;
};

}  // namespace

bool IsPlainText(const TqbxCustomMemoView& memo) {
  if (memo.Rotation() != 0 || memo.CharSpacing != 0) return false;
  if (!memo.AllowHTMLTags) return true;
  const String text = memo.Text();
  return DeleteTags(text) == text;
}

void WriteMemoText(PdfPageContent& page, TqbxCustomMemoView& memo) {
  if (memo.GapX >= 0 && memo.GapY >= 0) return MemoTextWriter(page, memo).Write();
  const std::vector<VectorTextRecord> records = memo.GetVectorCanvas();
  // The background stays, as on every text path.
  WriteFill(page.out, *memo.Fill(), ClipRect(memo, page.geometry));
  WriteVectorTexts(page, memo, *memo.Font(), records);
  WriteFrame(page.out, *memo.Frame(), ObjectRect(memo, page.geometry));
}

}  // namespace zavrik::pdf
