// Files the subcommands read.
#pragma once

#include <string>

namespace zavrik::tool {

// The whole file; "Cannot open file "<file>"" when it cannot be opened.
std::string ReadFile(const std::string& file);

}  // namespace zavrik::tool
