// A list of text lines as a reflected sub-object (the report's script text, a memo's lines).
// Templates store it as one attribute `Name.Text`.
#pragma once

#include <vector>

#include "core/rtti.h"

namespace zavrik {

class TStrings : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  const std::vector<String>& Lines() const { return FLines; }
  int Count() const { return static_cast<int>(FLines.size()); }
  void Add(String line) { FLines.push_back(std::move(line)); }
  void Clear() { FLines.clear(); }
  // Copies the lines into the buffers this list already holds.
  void AssignLines(const std::vector<String>& lines) { FLines = lines; }
  // Every line followed by CR LF.
  String Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty line.
  void SetText(StringView text);

 private:
  std::vector<String> FLines;
};

}  // namespace zavrik
