#include "platform/text_record_canvas.h"

#include "platform/font_face.h"

namespace zavrik {

void TextRecordCanvas::TextOut(int x, int y, StringView text, std::span<const int> advances,
                               const Rect* clip) {
  std::vector<int32_t> own(text.size());
  if (advances.size() < text.size()) MeasureRun(font_, text, own.data());
  int length = 0;
  for (size_t i = 0; i < text.size(); ++i) length += i < advances.size() ? advances[i] : own[i];
  records_.push_back({x, y, String(text), clip != nullptr, false, length, font_});
}

}  // namespace zavrik
