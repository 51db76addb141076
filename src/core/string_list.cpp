#include "core/string_list.h"

namespace zavrik {

int StringList::IndexOfName(StringView name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const size_t eq = lines_[i].find(u'=');
    if (eq != String::npos && SameTextAscii(StringView(lines_[i]).substr(0, eq), name))
      return static_cast<int>(i);
  }
  return -1;
}

String StringList::Value(StringView name) const {
  const int i = IndexOfName(name);
  if (i < 0) return String();
  return lines_[i].substr(lines_[i].find(u'=') + 1);
}

void StringList::SetValue(StringView name, StringView value) {
  String line = String(name) + u"=" + String(value);
  const int i = IndexOfName(name);
  if (i < 0)
    lines_.push_back(std::move(line));
  else
    lines_[i] = std::move(line);
}

String StringList::Text() const {
  String text;
  for (const auto& line : lines_) text += line + u"\r\n";
  return text;
}

}  // namespace zavrik
