// Difference texts: the attributes in which a printed object differs from its source copy, each
// as ` Name="value"`, written only when the values differ.
#pragma once

#include <cstdint>

#include "core/ustring.h"

namespace zavrik {

void DiffAttr(String& out, StringView name, StringView value);
// Each writes when `value` != `other`; booleans as True/False, floats in the template form,
// strings escaped.
void DiffInt(String& out, StringView name, int64_t value, int64_t other);
void DiffBool(String& out, StringView name, bool value, bool other);
void DiffFloat(String& out, StringView name, double value, double other);
void DiffString(String& out, StringView name, const String& value, const String& other);

}  // namespace zavrik
