#include "tool_files.h"

#include <fstream>
#include <iterator>

#include "core/error.h"

namespace zavrik::tool {

std::string ReadFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot open file \"" + file + "\"");
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace zavrik::tool
