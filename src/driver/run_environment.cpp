#include "driver/run_environment.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <limits>
#include <new>
#include <string>
#include <thread>

#include "core/error.h"
#include "core/memory_budget.h"

namespace zavrik::driver {
namespace {

enum OutputOwner { kNobody, kRun, kClock };
std::atomic<int> g_output_owner{kNobody};
std::terminate_handler g_previous_terminate = nullptr;

// Writes the line with the plain system call (no locks, no allocation) and ends the process.
[[noreturn]] void EndWith(std::string_view line) {
  for (size_t done = 0; done < line.size();) {
    const ssize_t n = ::write(STDOUT_FILENO, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::_exit(1);
}

[[noreturn]] void WaitForTheEnd() {
  for (;;) ::pause();
}

Error Unusable(const char* variable, const char* value, const char* expected) {
  return Error(std::string(variable) + ": '" + value + "' is not " + expected);
}

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

std::optional<size_t> ParseByteSize(std::string_view text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits > 19 || text.size() > digits + 1) return std::nullopt;
  unsigned shift = 0;
  if (text.size() > digits) {
    switch (text[digits]) {
      case 'k': case 'K': shift = 10; break;
      case 'm': case 'M': shift = 20; break;
      case 'g': case 'G': shift = 30; break;
      default: return std::nullopt;
    }
  }
  const unsigned long long value = std::stoull(std::string(text.substr(0, digits)));
  if (value > (std::numeric_limits<size_t>::max() >> shift)) return std::nullopt;
  return static_cast<size_t>(value) << shift;
}

size_t DefaultMemoryLimit() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return 0;
  size_t memory = static_cast<size_t>(pages) * static_cast<size_t>(page_size);
  // A container's memory limit (cgroup v2) is the machine the run sees.
  std::ifstream cgroup("/sys/fs/cgroup/memory.max");
  std::string text;
  if (cgroup >> text) {
    if (const auto bytes = ParseByteSize(text); bytes && *bytes > 0) memory = std::min(memory, *bytes);
  }
  return memory / 2;
}

RunEnvironment ReadRunEnvironment() {
  RunEnvironment environment;
  environment.memory_limit = DefaultMemoryLimit();
  if (const char* value = Variable("ZAVRIK_MEMORY_LIMIT")) {
    const auto bytes = ParseByteSize(value);
    if (!bytes) throw Unusable("ZAVRIK_MEMORY_LIMIT", value, "a size (bytes, or a number with K, M or G)");
    environment.memory_limit = *bytes;
  }
  if (const char* value = Variable("ZAVRIK_TIME_LIMIT")) {
    char* end = nullptr;
    const double seconds = std::strtod(value, &end);
    if (*end || !(seconds >= 0) || seconds > 1e9 || value[0] < '0' || value[0] > '9')
      throw Unusable("ZAVRIK_TIME_LIMIT", value, "a number of seconds");
    environment.time_limit = seconds;
  }
  if (const char* value = Variable("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(value, &end, 10);
    // Up to the year 9999, the last the PDF date form holds.
    if (*end || errno || seconds < 0 || seconds > 253402300799LL || value[0] < '0' || value[0] > '9')
      throw Unusable("SOURCE_DATE_EPOCH", value, "a number of seconds since 1970");
    environment.source_date_epoch = seconds;
  }
  return environment;
}

void ApplyRunLimits(const RunEnvironment& environment) {
  SetMemoryLimit(environment.memory_limit);
  if (environment.time_limit <= 0) return;
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(environment.time_limit));
  std::thread([deadline] {
    std::this_thread::sleep_until(deadline);
    int expected = kNobody;
    if (g_output_owner.compare_exchange_strong(expected, kClock))
      EndWith("Error: Time limit exceeded\r\n");
  }).detach();
}

void ClaimOutput() {
  int expected = kNobody;
  if (!g_output_owner.compare_exchange_strong(expected, kRun) && expected == kClock)
    WaitForTheEnd();
}

void InstallOutOfMemoryTerminate() {
  g_previous_terminate = std::set_terminate([] {
    if (const std::exception_ptr current = std::current_exception()) {
      try {
        std::rethrow_exception(current);
      } catch (const std::bad_alloc&) {
        int expected = kNobody;
        if (!g_output_owner.compare_exchange_strong(expected, kRun) && expected == kClock)
          WaitForTheEnd();
        EndWith("Error: Out of memory\r\n");
      } catch (...) {
      }
    }
    g_previous_terminate ? g_previous_terminate() : std::abort();
  });
}

}  // namespace zavrik::driver
