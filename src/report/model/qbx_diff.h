// Difference texts: the attributes in which a printed object differs from its source copy, each
// as ` Name="value"`, written only when the values differ.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/ustring.h"

namespace zavrik {

// An attribute name, possibly in two parts (`Fill` and `.BackColor`), joined only when written.
struct DiffName {
  template <size_t N>
  DiffName(const char16_t (&name)[N]) : Head(name, N - 1) {}  // a literal: its length is known
  DiffName(StringView name) : Head(name) {}
  DiffName(const String& name) : Head(name) {}
  DiffName(StringView head, StringView tail) : Head(head), Tail(tail) {}
  StringView Head, Tail;
};

void DiffAttr(String& out, DiffName name, StringView value);
// The attribute of a value: integers in decimal, floats in the template form, strings escaped.
void DiffIntAttr(String& out, DiffName name, int64_t value);
void DiffFloatAttr(String& out, DiffName name, double value);
void DiffStringAttr(String& out, DiffName name, const String& value);

// Each writes when `value` != `other`; booleans as True/False. The comparison is inline: most
// values equal their source's.
inline void DiffInt(String& out, DiffName name, int64_t value, int64_t other) {
  if (value != other) DiffIntAttr(out, name, value);
}
inline void DiffBool(String& out, DiffName name, bool value, bool other) {
  if (value != other) DiffAttr(out, name, value ? u"True" : u"False");
}
inline void DiffFloat(String& out, DiffName name, double value, double other) {
  if (value != other) DiffFloatAttr(out, name, value);
}
inline void DiffString(String& out, DiffName name, const String& value, const String& other) {
  if (value != other) DiffStringAttr(out, name, value);
}

}  // namespace zavrik
