// Date values as text by picture: d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss
// z zzz t tt c am/pm a/p ampm, "/" and ":" for the settings' separators, quoted literals.
// "m" right after an hour specifier means minutes. An empty picture is "c".
#pragma once

#include "core/format_settings.h"

namespace zavrik {

String FormatDateTime(StringView format, double value,
                      const FormatSettings& fs = DefaultFormatSettings());

// The short date, the long time, and both (the time only when it is not midnight).
String DateToStr(double value, const FormatSettings& fs = DefaultFormatSettings());
String TimeToStr(double value, const FormatSettings& fs = DefaultFormatSettings());
String DateTimeToStr(double value, const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
