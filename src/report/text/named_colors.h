// The colour names of the markup's <font color=...>: the basic, extra, special and system colours.
#pragma once

#include <functional>
#include <optional>

#include "core/ustring.h"
#include "platform/color.h"

namespace zavrik {

// The colour of a name such as "clRed" (compared without regard to ASCII case).
std::optional<Color> FindNamedColor(StringView name);

// Every colour name with its colour, in the table's order.
void ForEachNamedColor(const std::function<void(StringView name, Color color)>& visit);

}  // namespace zavrik
