// Text to date values by the settings' conventions: the day, month and year in the order of the
// short date format, separated by the date separator ("31.12.2024", "31.12.24", "31.12" for the
// current year), and the time as h:nn[:ss[.zzz]] with an optional AM/PM marker.
#pragma once

#include <optional>

#include "core/format_settings.h"

namespace zavrik {

std::optional<double> ParseDate(StringView text, const FormatSettings& fs = DefaultFormatSettings());
std::optional<double> ParseTime(StringView text, const FormatSettings& fs = DefaultFormatSettings());
// A date optionally followed by blanks and a time, or a time alone.
std::optional<double> ParseDateTime(StringView text,
                                    const FormatSettings& fs = DefaultFormatSettings());

// Fail with "'%s' is not a valid date", "... time" and "... date and time".
double StrToDate(StringView text, const FormatSettings& fs = DefaultFormatSettings());
double StrToTime(StringView text, const FormatSettings& fs = DefaultFormatSettings());
double StrToDateTime(StringView text, const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
