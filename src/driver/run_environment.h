// What a run takes from its environment: the limits and the date of reproducible output.
//   ZAVRIK_MEMORY_LIMIT  bytes, or a number with K, M or G; 0 for none. Default: half the
//                        machine's memory.
//   ZAVRIK_TIME_LIMIT    seconds (a decimal number); unset or 0 for none.
//   SOURCE_DATE_EPOCH    seconds since 1970-01-01 UTC: the PDF's dates, and a file identifier
//                        derived from its content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zavrik::driver {

struct RunEnvironment {
  size_t memory_limit = 0;  // bytes, 0 for none
  double time_limit = 0;    // seconds, 0 for none
  std::optional<int64_t> source_date_epoch;
};

// Reads the variables; a value that is not usable raises an Error naming the variable.
RunEnvironment ReadRunEnvironment();

// Half the physical memory, or of the container's memory limit (cgroup v2) when that is lower.
size_t DefaultMemoryLimit();

// "1048576", "512K", "64M", "2G" (K, M, G are powers of 1024, either case); none when malformed
// or too large.
std::optional<size_t> ParseByteSize(std::string_view text);

// Sets the memory limit and, with a time limit, starts the clock: when it runs out before the run
// has written its result, "Error: Time limit exceeded" goes to standard output and the process
// ends with exit code 1.
void ApplyRunLimits(const RunEnvironment& environment);

// Called before the run writes its one result. Once the time limit has taken the output, this
// waits for the process to end and never returns.
void ClaimOutput();

// Ends the process with "Error: Out of memory" on standard output and exit code 1 when an
// allocation failure reaches std::terminate (a noexcept function or a destructor).
void InstallOutOfMemoryTerminate();

}  // namespace zavrik::driver
