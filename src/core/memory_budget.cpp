#include "core/memory_budget.h"

#include <atomic>

namespace zavrik {
namespace {

std::atomic<size_t> g_limit{0};
std::atomic<size_t> g_allocated{0};

}  // namespace

void SetMemoryLimit(size_t bytes) { g_limit.store(bytes, std::memory_order_relaxed); }

size_t MemoryLimit() { return g_limit.load(std::memory_order_relaxed); }

size_t AllocatedBytes() { return g_allocated.load(std::memory_order_relaxed); }

void CountAllocated(size_t bytes) { g_allocated.fetch_add(bytes, std::memory_order_relaxed); }

void CountReleased(size_t bytes) { g_allocated.fetch_sub(bytes, std::memory_order_relaxed); }

bool MemoryAvailable(size_t bytes) {
  const size_t limit = MemoryLimit();
  if (limit == 0) return true;
  const size_t held = AllocatedBytes();
  return held <= limit && bytes <= limit - held;
}

void CheckMemoryGrowth(size_t bytes) {
  if (!MemoryAvailable(bytes)) throw OutOfMemory();
}

}  // namespace zavrik
