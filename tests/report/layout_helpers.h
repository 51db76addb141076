// Setting up the text layout the way a memo does, for tests.
#pragma once

#include "report/text/draw_text.h"

namespace zavrik::test {

struct LayoutSetup {
  FontRequest font;
  int width = 200, height = 10000;
  double line_spacing = 2;
  bool word_wrap = true, html = false, word_break = false, wysiwyg = true;
  int rotation = 0;
};

inline void Prepare(TqbxDrawText& layout, const LayoutSetup& s, StringView text, bool first_para_break = false) {
  const Rect rect{0, 0, s.width, s.height};
  layout.SetFont(s.font);
  layout.SetOptions(s.word_wrap, s.html, false, s.word_break, true, s.wysiwyg, s.rotation);
  layout.SetGaps(0, 0, s.line_spacing);
  layout.SetDimensions(1, 1, 1, rect, rect);
  layout.SetText(text, first_para_break);
}

inline std::vector<String> Lines(const TqbxDrawText& layout) {
  std::vector<String> lines;
  for (const auto& line : layout.Text()) lines.push_back(line.Text);
  return lines;
}

// The reference (600 dpi) width of a text in Arial 10 (or the given font).
inline long ReferenceWidth(StringView text, const FontRequest& font = {}) {
  const int fh = static_cast<int>(font.size * 600 / 72 + 0.5);
  std::vector<int32_t> advances(text.size());
  FaceFor(font.name, font.style)->Advances(fh).Measure(text, advances.data());
  long sum = 0;
  for (int32_t a : advances) sum += a;
  return sum;
}

}  // namespace zavrik::test
