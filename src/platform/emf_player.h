// Playing an enhanced metafile onto a canvas, its frame stretched to a target rectangle.
#pragma once

#include <cstdint>
#include <span>

#include "platform/canvas.h"

namespace zavrik {

// Plays the records the recorder writes (and the common drawing records of other producers);
// other record types are passed over. Raises Error on a malformed stream.
void PlayEmf(std::span<const uint8_t> stream, Canvas& canvas, const Rect& target);

}  // namespace zavrik
