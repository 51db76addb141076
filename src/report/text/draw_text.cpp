#include "report/text/draw_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numeric.h"

namespace zavrik {
namespace {

int Round(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

TqbxDrawText::TqbxDrawText() { SetFont(FontRequest{}); }

TqbxDrawText& TqbxDrawText::Global() {
  static TqbxDrawText instance;
  return instance;
}

void TqbxDrawText::SetFont(const FontRequest& font) {
  const int old_fh = fh_;
  const bool same_family = font_.name == font.name;
  font_ = font;
  FontSize = Round(font.size);
  if (MonoFont) font_.color = clBlack;
  fh_ = Round(FontSize * static_cast<double>(DefPPI) / 72);
  // The tables depend on the family and the pixel height only (the slot is the style).
  if (!same_family || fh_ != old_fh) reference_tables_.fill(nullptr);
}

void TqbxDrawText::SetOptions(bool word_wrap, bool html_tags, bool rtl_reading, bool word_break, bool clipped,
                              bool wysiwyg, int rotation) {
  WordWrap = word_wrap;
  HTMLTags_.AllowTags = html_tags;
  RTLReading = rtl_reading;
  WordBreak = word_break;
  Wysiwyg = wysiwyg;
  Options = (rtl_reading ? 128 : 0) + (clipped ? 4 : 0);
  Rotation = rotation % 360;
  if (Rotation < 0) Rotation += 360;
}

void TqbxDrawText::SetGaps(double paragraph_gap, double char_spacing, double line_spacing) {
  ParagraphGap = paragraph_gap;
  CharSpacing = char_spacing;
  LineSpacing = line_spacing;
}

void TqbxDrawText::SetDimensions(double scale_x, double scale_y, double print_scale, const Rect& original_rect,
                                 const Rect& scaled_rect) {
  ScaleX = scale_x;
  ScaleY = scale_y;
  PrintScale = print_scale;
  OriginalRect = original_rect;
  ScaledRect = scaled_rect;
}

const AdvanceTable& TqbxDrawText::ReferenceAdvances(FontStyles style) {
  const int slot = style & (kFontBold | kFontItalic);
  if (!reference_tables_[slot]) reference_tables_[slot] = &FaceFor(font_.name, slot)->Advances(fh_);
  return *reference_tables_[slot];
}

int TqbxDrawText::CellHeight() const {
  return FaceFor(font_.name, font_.style & (kFontBold | kFontItalic))->CellHeight(fh_);
}

void TqbxDrawText::MeasureLine(StringView line, const TqbxHTMLTags& tags, int spacing, std::vector<int>& advances) {
  if (advances.size() < line.size()) advances.resize(std::max<size_t>(line.size(), 32768));
  const FontStyles base = font_.style;
  for (size_t start = 0; start < line.size();) {
    const FontStyles style = start < tags.size() ? tags[start].Style : base;
    size_t end = start + 1;
    while (end < line.size() && (end < tags.size() ? tags[end].Style : base) == style) ++end;
    ReferenceAdvances(style).Measure(line.substr(start, end - start), advances.data() + start);
    start = end;
  }
  for (size_t i = 0; i < line.size(); ++i) {
    int advance = advances[i] + spacing;
    if (i < tags.size() && tags[i].SubType != ssNormal) advance = Round(advance / 1.5);
    advances[i] = advance;
  }
}

double TqbxDrawText::LineHeight() const { return fh_ / k + LineSpacing; }

double TqbxDrawText::TextHeight() const { return fh_ / k; }

double TqbxDrawText::CalcHeight() const {
  if (Text_.empty()) return 0;
  double height = Text_.size() * (fh_ / k + LineSpacing);
  if (LineSpacing < 0) height += -LineSpacing;
  if (FontSize > 12) {
    const int extra = CellHeight() - fh_;
    if (extra > 0) height += extra / k;
  }
  return height;
}

double TqbxDrawText::CalcWidth() {
  double widest = 0;
  const int gap = Round(ParagraphGap * k);
  for (size_t i = 0; i < Text_.size(); ++i) {
    const String& line = Text_[i].Text;
    MeasureLine(line, HTMLTags_.Lines[i], 0, advances_);
    long width = 0;
    for (size_t c = 0; c < line.size(); ++c) width += advances_[c];
    width += Round(line.size() * CharSpacing * k);
    if (Text_[i].Flags & kFirstLineOfParagraph) width += gap;
    widest = std::max(widest, width / k);
  }
  return widest;
}

double TqbxDrawText::UnusedSpace() const {
  const double height = OriginalRect.Height() + 1;
  const double line = fh_ / k + LineSpacing;
  if (line <= 0) return 0;
  const double n = std::trunc(height / line);
  if (n == 0) return 0;
  const double rest = height - n * line;
  return rest == 0 ? 0.0001 : rest;
}

void TqbxDrawText::SetText(StringView text, bool first_para_break) {
  LayOut(text, first_para_break, std::numeric_limits<size_t>::max());
}

void TqbxDrawText::SetTextToSplit(StringView text, bool first_para_break) {
  LayOut(text, first_para_break, LinesInBounds());
}

size_t TqbxDrawText::LinesInBounds() const {
  const double line_height = fh_ / k + LineSpacing;
  if (line_height <= 0) return std::numeric_limits<size_t>::max();
  return static_cast<size_t>(std::max(0.0, std::trunc((OriginalRect.Height() + 1) / line_height)));
}

bool TqbxDrawText::DroppedLineHasCharacter(size_t line_limit) const {
  for (size_t i = line_limit; i < Text_.size(); ++i)
    if (!HTMLTags_.Lines[i].empty()) return true;
  return false;
}

void TqbxDrawText::LayOut(StringView text, bool first_para_break, size_t line_limit) {
  PlainText.clear();
  Text_.clear();
  HTMLTags_.Reset(font_.color, FontSize, font_.style);
  if (text.empty()) return;
  const bool rotated = (Rotation >= 90 && Rotation < 180) || (Rotation >= 270 && Rotation < 360);
  const int w = rotated ? OriginalRect.Height() : OriginalRect.Width();
  const int spacing = Round(CharSpacing * k);
  const int width = Round(w * k);
  const int paragraph_width = Round((w - ParagraphGap) * k);
  // Source lines at CR LF, LF or CR, an empty one as a space; a final line break adds no line.
  PlainText.reserve(text.size() + 2);
  bool enough_wrapped = false;  // the rest only joins PlainText
  for (size_t start = 0, i = 0; start < text.size(); ++i) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == StringView::npos) end = text.size();
    const StringView source = end == start ? StringView(u" ") : text.substr(start, end - start);
    PlainText += source;
    PlainText += u"\r\n";
    if (!enough_wrapped) {
      line_.assign(source);
      const size_t first = Text_.size();
      WrapLine(line_, i == 0 && first_para_break ? width : paragraph_width, spacing, width);
      Text_[first].Flags |= kFirstLineOfParagraph;
      Text_.back().Flags |= kLastLineOfParagraph;
      enough_wrapped = Text_.size() > line_limit && DroppedLineHasCharacter(line_limit);
    }
    if (end == text.size()) break;
    start = text.substr(end, 2) == u"\r\n" ? end + 2 : end + 1;
  }
}

void TqbxDrawText::SetParaBreaks(bool first_para_break, bool last_para_break) {
  if (Text_.empty()) return;
  if (first_para_break) Text_.front().Flags &= ~kFirstLineOfParagraph;
  if (last_para_break) Text_.back().Flags &= ~kLastLineOfParagraph;
}

String TqbxDrawText::GetWrappedText() const {
  String text;
  for (size_t i = 0; i < Text_.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += Text_[i].Text;
  }
  return text;
}

void TqbxDrawText::AddLine(StringView text, TqbxHTMLTags tags) {
  Text_.push_back({String(text), 0});
  HTMLTags_.Lines.push_back(std::move(tags));
}

}  // namespace zavrik
