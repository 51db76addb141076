// Runs a program as a child process and captures its output.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zavrik::test {

struct ProcessResult {
  int exit_code = -1;  // -1 when the child did not exit normally
  int signal = 0;      // the signal that ended the child, if one did
  double seconds = 0;  // wall-clock time until the child ended
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

// Runs `script` with /bin/sh; "$0" is `program` and "$1"... are `args`. The script may set
// variables, redirect descriptors and `exec "$0" "$@"` (so the program's own end is reported).
ProcessResult RunShell(const std::string& script, const std::string& program,
                       const std::vector<std::string>& args);

}  // namespace zavrik::test
