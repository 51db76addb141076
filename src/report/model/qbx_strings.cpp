#include "report/model/qbx_strings.h"

namespace zavrik {

const ClassInfo& TStrings::StaticClass() {
  static const ClassInfo info(u"TStrings", &Object::StaticClass(), &New<TStrings>, {});
  return info;
}

String TStrings::Text() const {
  String text;
  for (const String& line : FLines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

void TStrings::SetText(StringView text) {
  FLines.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    FLines.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == u'\r') ++end;
    if (end < text.size() && text[end] == u'\n') ++end;
    start = end;
  }
}

}  // namespace zavrik
