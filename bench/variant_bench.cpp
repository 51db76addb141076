// Variant add, compare and copy for integers, doubles and short strings. Every benchmark reports
// the heap allocations per operation (counted by the replaced global operator new).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "allocation_count.h"
#include "core/variant.h"
#include "core/variant_compare.h"
#include "core/variant_ops.h"


namespace zavrik {
namespace {

class AllocationCounter {
 public:
  explicit AllocationCounter(benchmark::State& state) : state_(state), start_(AllocationCount()) {}
  ~AllocationCounter() {
    state_.counters["allocs/op"] = benchmark::Counter(
        static_cast<double>(AllocationCount() - start_), benchmark::Counter::kAvgIterations);
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
