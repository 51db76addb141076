// The program's allocation functions: every C++ allocation is counted against the memory limit
// (core/memory_budget.h), and one that would pass it raises OutOfMemory instead of growing the
// process. Linked into the zavrik program only.
#include <malloc.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <new>

#include "core/memory_budget.h"

#ifdef ZAVRIK_JEMALLOC
extern "C" size_t nallocx(size_t size, int flags);
#endif

namespace {

// Each thread keeps its own running difference and hands it to the shared count only when it
// passes kBatch either way: the shared atomic is touched once per kBatch bytes, not per call.
// The count may lag the truth by kBatch per thread, far below any sensible limit.
constexpr long kBatch = 256 * 1024;
thread_local long t_unflushed = 0;

void Flush() {
  if (t_unflushed > 0) zavrik::CountAllocated(static_cast<size_t>(t_unflushed));
  else zavrik::CountReleased(static_cast<size_t>(-t_unflushed));
  t_unflushed = 0;
}

#ifdef ZAVRIK_JEMALLOC
// jemalloc's size classes with its usual build settings: 8, multiples of 16 up to 128, then four
// classes per doubling.
size_t SizeClass(size_t size) noexcept {
  if (size <= 8) return 8;
  if (size <= 128) return (size + 15) & ~size_t{15};
  const size_t spacing = size_t{1} << (std::bit_width(size - 1) - 3);
  return (size + spacing - 1) & ~(spacing - 1);
}

// Whether the linked jemalloc has those classes; false (nallocx asked) until the check has run.
bool CheckSizeClasses() noexcept {
  for (size_t size : {1, 8, 9, 17, 128, 129, 200, 4097, 70000, 5000000})
    if (SizeClass(size) != nallocx(size, 0)) return false;
  return true;
}
const bool g_size_classes_known = CheckSizeClasses();
#endif

// The usable size of a plain allocation `p` of `size` bytes. With jemalloc it follows from the size
// class, without the lookup malloc_usable_size makes.
size_t PlainSize([[maybe_unused]] void* p, [[maybe_unused]] size_t size) noexcept {
#ifdef ZAVRIK_JEMALLOC
  return g_size_classes_known ? SizeClass(size) : nallocx(size, 0);
#else
  return malloc_usable_size(p);
#endif
}

void* Allocate(size_t size, size_t alignment) {
  if (size == 0) size = 1;
  // Small requests are checked with the batch they complete.
  if ((size >= static_cast<size_t>(kBatch) || t_unflushed + static_cast<long>(size) >= kBatch) &&
      !zavrik::MemoryAvailable(size + static_cast<size_t>(std::max(t_unflushed, 0L)))) {
    return nullptr;
  }
  void* p = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    p = std::malloc(size);
  } else if (posix_memalign(&p, alignment, size) != 0) {
    p = nullptr;
  }
  if (p) {
    t_unflushed += static_cast<long>(alignment <= alignof(std::max_align_t) ? PlainSize(p, size)
                                                                              : malloc_usable_size(p));
    if (t_unflushed >= kBatch) Flush();
  }
  return p;
}

void* AllocateOrThrow(size_t size, size_t alignment) {
  void* p = Allocate(size, alignment);
  if (!p) throw zavrik::OutOfMemory();
  return p;
}

void Forget(size_t bytes) noexcept {
  t_unflushed -= static_cast<long>(bytes);
  if (t_unflushed <= -kBatch) Flush();
}

void Release(void* p) noexcept {
  if (!p) return;
  Forget(malloc_usable_size(p));
  std::free(p);
}

// A sized release of a plain allocation of `size` bytes.
void ReleaseSized(void* p, size_t size) noexcept {
  if (!p) return;
  Forget(PlainSize(p, size == 0 ? 1 : size));
  std::free(p);
}

constexpr size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new[](size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kPlain); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kPlain); }
void* operator new(size_t size, std::align_val_t a) {
  return AllocateOrThrow(size, static_cast<size_t>(a));
}
void* operator new[](size_t size, std::align_val_t a) {
  return AllocateOrThrow(size, static_cast<size_t>(a));
}
void* operator new(size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<size_t>(a));
}
void* operator new[](size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<size_t>(a));
}

void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t size) noexcept { ReleaseSized(p, size); }
void operator delete[](void* p, size_t size) noexcept { ReleaseSized(p, size); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
