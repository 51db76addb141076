// Numeric attributes of prepared-document elements: integers in decimal, floats as templates
// write them ("." as separator). Absent or malformed values give the fallback.
#pragma once

#include "core/ustring.h"

namespace zavrik {

class TqbxXMLItem;

int IntProp(const TqbxXMLItem& item, StringView name, int fallback = 0);
double FloatProp(const TqbxXMLItem& item, StringView name, double fallback = 0);
void SetFloatProp(TqbxXMLItem& item, StringView name, double value);

}  // namespace zavrik
