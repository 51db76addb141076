// Variant add, compare and copy for integers, doubles and short strings. Every benchmark reports
// the heap allocations per operation (counted by the replaced global operator new).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/variant.h"
#include "core/variant_compare.h"
#include "core/variant_ops.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// operator new is replaced on top of malloc; GCC cannot see that the pair matches.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace zavrik {
namespace {

class AllocationCounter {
 public:
  explicit AllocationCounter(benchmark::State& state) : state_(state), start_(g_allocations) {}
  ~AllocationCounter() {
    state_.counters["allocs/op"] = benchmark::Counter(
        static_cast<double>(g_allocations - start_), benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& state_;
  long start_;
};

void BM_AddIntegers(benchmark::State& state) {
  Variant a(int32_t{12345}), b(int32_t{678});
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarAdd(a, b));
  }
}
BENCHMARK(BM_AddIntegers);

void BM_AddDoubles(benchmark::State& state) {
  Variant a(1.25), b(2.5);
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarAdd(a, b));
  }
}
BENCHMARK(BM_AddDoubles);

void BM_AddIntegerAndDouble(benchmark::State& state) {
  Variant a(int32_t{3}), b(2.5);
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarAdd(a, b));
  }
}
BENCHMARK(BM_AddIntegerAndDouble);

void BM_AddShortStrings(benchmark::State& state) {
  Variant a(u"Итого"), b(u": ");
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarAdd(a, b));
  }
}
BENCHMARK(BM_AddShortStrings);

void BM_CompareIntegers(benchmark::State& state) {
  Variant a(int32_t{12345}), b(int32_t{678});
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarLess(a, b));
  }
}
BENCHMARK(BM_CompareIntegers);

void BM_CompareDoubles(benchmark::State& state) {
  Variant a(1.25), b(2.5);
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarLess(a, b));
  }
}
BENCHMARK(BM_CompareDoubles);

void BM_CompareShortStrings(benchmark::State& state) {
  Variant a(u"Петров"), b(u"Петрова");
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(VarLess(a, b));
  }
}
BENCHMARK(BM_CompareShortStrings);

void BM_CopyInteger(benchmark::State& state) {
  Variant a(int32_t{12345});
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    Variant copy = a;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyInteger);

void BM_CopyDouble(benchmark::State& state) {
  Variant a(1.25);
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    Variant copy = a;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyDouble);

void BM_CopyShortString(benchmark::State& state) {
  Variant a(u"Итого");
  AllocationCounter count(state);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    Variant copy = a;
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_CopyShortString);

}  // namespace
}  // namespace zavrik
