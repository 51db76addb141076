// The run's memory budget: the bytes the program holds (counted by the program's allocation
// functions when it installs them), a limit, and the check that growing values make first.
#pragma once

#include <cstddef>
#include <new>

namespace zavrik {

// Raised when an allocation would take the program past its memory limit. Not an Error: no
// handler of the report or the script takes it for an ordinary failure.
class OutOfMemory : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "Out of memory"; }
};

// 0 (the default) means no limit.
void SetMemoryLimit(size_t bytes);
size_t MemoryLimit();

// The bytes currently held, as counted by CountAllocated / CountReleased.
size_t AllocatedBytes();
void CountAllocated(size_t bytes);
void CountReleased(size_t bytes);

// Whether `bytes` more would stay within the limit.
bool MemoryAvailable(size_t bytes);
// Raises OutOfMemory unless `bytes` more stay within the limit.
void CheckMemoryGrowth(size_t bytes);

}  // namespace zavrik
