// Drawing the wrapped lines on a device canvas.
#include <cmath>
#include <cstdlib>

#include "core/numeric.h"
#include "report/text/draw_text.h"

namespace zavrik {
namespace {

int Round(double value) { return static_cast<int>(RoundHalfEven(value)); }

// Adds amount (any sign) to the elements of range: equal shares, the remainder spread.
void Distribute(std::span<int> range, int amount) {
  if (range.empty() || amount == 0) return;
  const int count = static_cast<int>(range.size());
  const int steps = std::abs(amount), sign = amount < 0 ? -1 : 1;
  if (steps < count) return SpreadIncrements(range, steps, sign);
  const int share = steps / count;
  for (int& value : range) value += share * sign;
  SpreadIncrements(range, steps - count * share, sign);
}

bool IsSpace(char16_t ch) { return ch == u' ' || ch == 0xA0; }

}  // namespace

// One step goes to the middle element; more steps are halved between the two halves, recursively.
void SpreadIncrements(std::span<int> range, int count, int step) {
  if (count <= 0 || range.empty()) return;
  const size_t half = std::max<size_t>(1, range.size() / 2);
  if (count == 1) {
    range[half - 1] += step;
    return;
  }
  std::span<int> first = range.first(half), second = range.subspan(half);
  if (second.empty()) second = first;
  SpreadIncrements(first, count / 2, step);
  SpreadIncrements(second, count - count / 2, step);
}

DeviceFont TqbxDrawText::DeviceFontOf(const TqbxHTMLTag& tag) const {
  DeviceFont device;
  device.font = font_;
  device.font.style = tag.Style;
  device.font.color = MonoFont ? clBlack : tag.Color;
  device.font.size = tag.Size;
  device.pixel_height = Round(tag.Size * ScaleY * 96 / 72);
  device.escapement = Rotation * 10;
  return device;
}

void TqbxDrawText::DrawLine(Canvas& canvas, size_t index, double x, double y, int width, TqbxHAlign align,
                            double angle) {
  const String& line = Text_[index].Text;
  const TqbxHTMLTags& tags = HTMLTags_.Lines[index];
  if (line.empty()) return;
  const size_t count = line.size();
  const int ref_spacing = Round(CharSpacing * k);
  const int dev_spacing = Round(CharSpacing * ScaleX);

  MeasureLine(line, tags, ref_spacing, advances_);
  long reference = 0;
  for (size_t i = 0; i < count; ++i) reference += advances_[i];

  std::vector<int> device(count);
  for (size_t start = 0; start < count;) {
    size_t end = start + 1;
    while (end < count && tags[end].Size == tags[start].Size && tags[end].Style == tags[start].Style) ++end;
    const DeviceFont font = DeviceFontOf(tags[start]);
    FaceFor(font.font.name, font.font.style)->Advances(font.pixel_height).Measure(
        StringView(line).substr(start, end - start), device.data() + start);
    start = end;
  }
  long total = 0;
  for (int& advance : device) total += advance += dev_spacing;

  const int target = Wysiwyg ? Round((reference - ref_spacing) / k * ScaleX) : static_cast<int>(total) - dev_spacing;
  int difference = target + dev_spacing - static_cast<int>(total);
  double start = 0;
  const bool rotated = Rotation != 0;
  const bool slanted = (font_.style & (kFontBold | kFontItalic)) != 0;
  std::vector<int> spaces;
  for (size_t i = 0; i < count; ++i) {
    if (IsSpace(line[i])) spaces.push_back(static_cast<int>(i));
  }
  if (align == haBlock && spaces.empty()) align = haLeft;
  switch (align) {
    case haLeft: break;
    case haRight: start = width - target + 1 - (slanted && !rotated ? 2 : 1); break;
    case haCenter: start = Round((width - target) / 2.0); break;
    case haBlock: {
      difference = std::abs(width) + dev_spacing - static_cast<int>(total);
      const int s = static_cast<int>(spaces.size());
      const int share = difference / s, rest = difference % s;
      for (int i = 0; i < s; ++i) device[spaces[i]] += share + (i < std::abs(rest) ? (rest < 0 ? -1 : 1) : 0);
      difference = 0;
      break;
    }
  }
  Distribute(device, difference);

  const double cos_a = std::cos(angle), sin_a = std::sin(angle);
  const Rect* clip = (Options & 4) ? &ScaledRect : nullptr;
  double along = start;
  for (size_t run = 0; run < count;) {
    size_t end = run + 1;
    while (end < count && tags[end].Default) ++end;
    const DeviceFont font = DeviceFontOf(tags[run]);
    canvas.SetFont(font);
    const double down = tags[run].AddY ? Round(tags[run].AddY * tags[run].Size * ScaleY) : 0;
    const int px = Round(x + along * cos_a + down * sin_a);
    const int py = Round(y - along * sin_a + down * cos_a);
    const std::span<const int> advances(device.data() + run, end - run);
    canvas.TextOut(px, py, StringView(line).substr(run, end - run), advances, clip);
    for (int advance : advances) along += advance;
    run = end;
  }
}

void TqbxDrawText::DrawText(Canvas& canvas, TqbxHAlign h_align, TqbxVAlign v_align,
                            TqbxUnderlinesTextMode underlines) {
  if (Text_.empty() && underlines == ulmNone) return;
  const int n = static_cast<int>(Text_.size());
  const int dh = Round(FontSize * ScaleY * 96 / 72);
  const int line_gap = Round(LineSpacing * ScaleY);
  const int a = dh + line_gap;
  const int block = Round((LineSpacing * k * n + fh_ * n) / k * ScaleY);

  std::vector<int> steps(n > 1 ? n - 1 : 0, a);
  if (Wysiwyg && n > 1) Distribute(steps, block - n * a);

  const Rect& r = ScaledRect;
  const double angle = Rotation * M_PI / 180;
  const bool quarter = Rotation % 90 == 0;
  const bool sideways = Rotation == 90 || Rotation == 270;
  int line_width = sideways ? r.Height() : r.Width();
  double x = r.left, y = r.top;
  int free_height = (sideways ? r.Width() : r.Height()) - block;
  if (LineSpacing < 0 && v_align != vaTop) free_height -= std::abs(Round(2 * LineSpacing));
  int offset = v_align == vaBottom ? free_height : v_align == vaCenter ? Round(free_height / 2.0) : 0;
  if (Rotation == 90) x = r.left, y = r.bottom;
  else if (Rotation == 180) x = r.right, y = r.bottom;
  else if (Rotation == 270) x = r.right, y = r.top;
  else if (!quarter) {
    // Other angles: the block's box, as wide as its widest line (the rectangle's width at most),
    // is centred in the rectangle, so that a text that fits there stays inside it.
    line_width = std::min(r.Width(), static_cast<int>(std::ceil(CalcWidth() * ScaleX)));
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    x = cx - line_width / 2.0 * std::cos(angle) - block / 2.0 * std::sin(angle);
    y = cy + line_width / 2.0 * std::sin(angle) - block / 2.0 * std::cos(angle);
    offset = 0;
  }
  x += Round(std::sin(angle) * offset);
  y += Round(std::cos(angle) * offset);

  const double first_top = y;
  const int gap = Round(ParagraphGap * ScaleX);
  for (int i = 0; i < n; ++i) {
    TqbxHAlign align = h_align;
    double lx = x, ly = y;
    int width = line_width;
    const uint8_t flags = Text_[i].Flags;
    if ((flags & kFirstLineOfParagraph) && (align == haLeft || align == haBlock)) {
      lx += gap * std::cos(angle);
      ly -= gap * std::sin(angle);
      width -= gap;
    }
    if (align == haBlock && (flags & kLastLineOfParagraph)) align = RTLReading ? haRight : haLeft;
    DrawLine(canvas, i, lx, ly, width, align, angle);
    if (i < n - 1) {
      x += Round(std::sin(angle) * steps[i]);
      y += Round(std::cos(angle) * steps[i]);
    }
  }

  if (underlines == ulmNone || Rotation != 0 || a <= 0) return;
  const auto rule = [&](double top) {
    const int ry = Round(top) + a - line_gap;
    if (ry >= r.top && ry <= r.bottom) canvas.Line({r.left, ry}, {r.right, ry});
  };
  if (n == 0) {
    for (double top = r.top; top + a - line_gap <= r.bottom; top += a) rule(top);
    return;
  }
  double top = first_top;
  for (int i = 0; i < n; ++i) {
    const bool blank = Text_[i].Text.find_first_not_of(u' ') == String::npos;
    if (underlines != ulmUnderlinesText || !blank) rule(top);
    if (i < n - 1) top += steps[i];
  }
  if (underlines == ulmUnderlinesAll) {
    if (v_align != vaTop) {
      for (double above = first_top - a; above + a - line_gap >= r.top; above -= a) rule(above);
    }
    if (v_align != vaBottom) {
      for (double below = top + a; below + a - line_gap <= r.bottom; below += a) rule(below);
    }
  }
}

}  // namespace zavrik
