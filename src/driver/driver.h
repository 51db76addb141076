// The command-line run: arguments, template fetch, output and exit codes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "driver/data_module.h"

namespace zavrik::driver {

inline constexpr const char* kUsage = "Usage: zavrik <DatabasePath> <ReportName> <ID>";

// Runs the program on its arguments (without the program name). Every outcome is one write on
// out ending with CR LF; the result is the exit code.
int Run(const std::vector<std::string>& args, Tdm& dm, std::ostream& out);

// Writes one text followed by CR LF and flushes.
void WriteLine(std::ostream& out, std::string_view text);

}  // namespace zavrik::driver
