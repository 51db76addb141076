// The program's allocation functions: every C++ allocation is counted against the memory limit
// (core/memory_budget.h), and one that would pass it raises OutOfMemory instead of growing the
// process. Linked into the zavrik program only.
#include <malloc.h>

#include <cstdlib>
#include <new>

#include "core/memory_budget.h"

namespace {

void* Allocate(size_t size, size_t alignment) {
  if (size == 0) size = 1;
  if (!zavrik::MemoryAvailable(size)) return nullptr;
  void* p = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    p = std::malloc(size);
  } else if (posix_memalign(&p, alignment, size) != 0) {
    p = nullptr;
  }
  if (p) zavrik::CountAllocated(malloc_usable_size(p));
  return p;
}

void* AllocateOrThrow(size_t size, size_t alignment) {
  void* p = Allocate(size, alignment);
  if (!p) throw zavrik::OutOfMemory();
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  zavrik::CountReleased(malloc_usable_size(p));
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
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
