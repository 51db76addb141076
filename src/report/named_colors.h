// The colour names of the markup's <font color=...>: the basic, extra, special and system colours.
#pragma once

#include <optional>

#include "core/ustring.h"
#include "platform/color.h"

namespace zavrik {

// The colour of a name such as "clRed" (compared without regard to ASCII case).
std::optional<Color> FindNamedColor(StringView name);

}  // namespace zavrik
