// Floats as text by picture: "0" digit, "#" optional digit, "." decimal point, "," thousands
// grouping, "E+0"/"E-0"/"e+0"/"e-0" exponents, '...' and "..." literals, and up to three sections
// separated by ";" for positive, negative and zero values. Digits round halves away from zero.
#pragma once

#include "core/format_settings.h"

namespace zavrik {

String FormatFloat(StringView format, double value,
                   const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
