// How database fields show themselves in reports: display texts and widths.
#pragma once

#include "core/ustring.h"

namespace zavrik::data {

class Field;

// Null gives ""; text BLOBs "(MEMO)", other BLOBs "(BLOB)"; booleans "True"/"False"; dates by
// the short date format, times by the long time format, timestamps by both (the time left out at
// midnight), numbers in the process's format settings; text as it is.
String FieldDisplayText(const Field& field);
// Characters: the declared size of text fields, a fixed width per kind for the others.
int FieldDisplayWidth(const Field& field);

}  // namespace zavrik::data
