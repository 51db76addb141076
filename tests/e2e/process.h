// Runs a program as a child process and captures its output.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zavrik::test {

struct ProcessResult {
  int exit_code = -1;  // -1 when the child did not exit normally
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

}  // namespace zavrik::test
