// The command-line run: arguments, template fetch, output and exit codes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "driver/data_module.h"

namespace zavrik::driver {

inline constexpr const char* kUsage = "Usage: zavrik <DatabasePath> <ReportName> <ID>";

// Runs the program on its arguments (without the program name). Every outcome is one write on
// out ending with CR LF; the result is the exit code. When the PDF's text cannot be written, the
// reason goes to `err` and the exit code is 1. `start_up`, when given, is done first on the
// thread that prepares the run while the database attaches.
int Run(const std::vector<std::string>& args, Tdm& dm, std::ostream& out, std::ostream& err,
        void (*start_up)() = nullptr);

// Writes one text followed by CR LF and flushes. The result is 0 when every byte was written,
// otherwise the error number of the failure (EIO when the stream gives none).
int WriteLine(std::ostream& out, std::string_view text);

}  // namespace zavrik::driver
