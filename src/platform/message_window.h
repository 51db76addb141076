// The message window: without a desktop its title and text go to standard error as one block,
// and the call returns at once.
#pragma once

#include <cstdio>

#include "core/ustring.h"

namespace zavrik {

void ShowMessage(StringView title, StringView text, std::FILE* out = stderr);

}  // namespace zavrik
