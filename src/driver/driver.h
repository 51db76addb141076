// The command-line run: arguments, template fetch, output and exit codes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "driver/data_module.h"

namespace zavrik::driver {

inline constexpr const char* kUsage = "Usage: zavrik <DatabasePath> <ReportName> <ID>";

// What the program adds to a run at two points; each may be absent.
struct RunHooks {
  // Done first on the thread that prepares the run while the database attaches.
  void (*start_up)() = nullptr;
  // Done on the thread that releases the database once the report is prepared, after the data
  // module's connection is detached.
  void (*data_released)() = nullptr;
};

// Runs the program on its arguments (without the program name). Every outcome is one write on
// out ending with CR LF; the result is the exit code. When the PDF's text cannot be written, the
// reason goes to `err` and the exit code is 1. Once the report is prepared, the data module's
// transactions are rolled back and its connection detached on another thread while the pages are
// exported.
int Run(const std::vector<std::string>& args, Tdm& dm, std::ostream& out, std::ostream& err,
        const RunHooks& hooks = {});

// Writes one text followed by CR LF and flushes. The result is 0 when every byte was written,
// otherwise the error number of the failure (EIO when the stream gives none).
int WriteLine(std::ostream& out, std::string_view text);

}  // namespace zavrik::driver
