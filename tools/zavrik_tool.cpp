// zavrik-tool COMMAND ARGS...: the developer and template-author companion.
#include <cstdio>
#include <cstring>
#include <exception>

#include "commands.h"

namespace {

void PrintUsage() {
  std::fputs(
      "Usage: zavrik-tool COMMAND ARGS...\n"
      "  parse [--lang NAME] FILE   print the syntax tree of a script (default PascalScript)\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 1;
  }
  try {
    if (std::strcmp(argv[1], "parse") == 0) return zavrik::tool::ParseCommand(argc - 2, argv + 2);
    PrintUsage();
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  } catch (...) {
    std::fputs("Unknown failure\n", stderr);
    return 1;
  }
}
