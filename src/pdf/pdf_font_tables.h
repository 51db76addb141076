// Per-family rules of PDF text: styles drawn by simulation, the size correction of a few
// monospaced families, families whose ligatures are undone, and the Arial family's special cases.
#pragma once

#include "core/ustring.h"
#include "platform/font_request.h"

namespace zavrik::pdf {

// The bold and italic bits of `style` that the family draws by simulation (exact names).
FontStyles SimulatedStyles(StringView family, FontStyles style);

// The factor applied to the text size of a family at a point size (1 for most).
double FontSizeCorrection(StringView family, int size);

// Families whose lines are converted character by character when shaping joined characters.
bool IsLigatureFree(StringView family);

// Family names that begin with "Arial".
bool IsArialFamily(StringView family);

}  // namespace zavrik::pdf
