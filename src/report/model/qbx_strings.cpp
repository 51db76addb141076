#include "report/model/qbx_strings.h"

namespace zavrik {

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TStrings", &Object::StaticClass(), &New<TStrings>, {}); });
  return info;
}

String TStrings::Text() const {
  size_t size = 0;
  for (const String& line : FLines) size += line.size() + 2;
  String text;
  text.reserve(size);
  for (const String& line : FLines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

void TStrings::SetText(StringView text) {
  // The lines already held keep their buffers.
  size_t count = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    const StringView line = text.substr(start, end - start);
    if (count < FLines.size()) FLines[count].assign(line);
    else FLines.emplace_back(line);
    ++count;
    if (end < text.size() && text[end] == u'\r') ++end;
    if (end < text.size() && text[end] == u'\n') ++end;
    start = end;
  }
  FLines.resize(count);
}

}  // namespace zavrik
