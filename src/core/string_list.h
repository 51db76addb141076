// An ordered list of text lines with the "name=value" lookups of a parameter list.
#pragma once

#include <vector>

#include "core/ustring.h"

namespace zavrik {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<String> lines) : lines_(lines) {}

  const std::vector<String>& Lines() const { return lines_; }
  size_t Count() const { return lines_.size(); }
  const String& operator[](size_t i) const { return lines_[i]; }
  void Add(String line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }

  // Index of the first line whose name (text before "=") equals name, ignoring ASCII case; -1 if
  // none.
  int IndexOfName(StringView name) const;
  // The text after the first "=" of the named line; empty when there is no such line.
  String Value(StringView name) const;
  // Replaces the named line's value, or appends "name=value".
  void SetValue(StringView name, StringView value);

  // The lines joined, each followed by CR LF.
  String Text() const;

 private:
  std::vector<String> lines_;
};

}  // namespace zavrik
