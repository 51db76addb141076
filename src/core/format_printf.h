// printf-style formatting: "%" [index ":"] ["-"] [width] ["." precision] type, where index, width
// and precision may be "*" (taken from the next argument) and type is one of
//   d  integer, precision = minimum digits        u  the same, unsigned
//   x  hexadecimal integer, upper case             p  a reference as 16 hexadecimal digits
//   e  "-d.ddddE+ddd", precision = digits (15)     f  fixed, precision = decimals (2)
//   g  general form, precision = digits (15)       n  fixed with thousands grouping (2)
//   m  money in the settings' currency format      s  text, precision = maximum length
// and "%%" is a percent sign. After "%3:s" the following directives continue with argument 4.
#pragma once

#include <span>

#include "core/format_settings.h"
#include "core/variant.h"

namespace zavrik {

// Fails with "Format '%s' invalid or incompatible with argument" and "No argument for format
// '%s'" (naming the directive) when the directive and the argument do not fit together.
String Format(StringView format, std::span<const Variant> args,
              const FormatSettings& fs = DefaultFormatSettings());

}  // namespace zavrik
