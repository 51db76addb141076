// The script engine side by side with Lua 5.4 (the Debian lua5.4 interpreter, timing itself with
// os.clock): a numeric loop of 10,000,000 iterations, building a string from 1,000,000 pieces,
// recursive fib(30), and 1,000,000 element updates of an array. Both sides measure processor
// time. Each benchmark reports our time, Lua's time ("lua_s"), the ratio ("ours_per_lua") and our
// heap allocations per loop iteration ("allocs/iter").
#include <benchmark/benchmark.h>

#include <atomic>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "allocation_count.h"
#include "core/variant_convert.h"
#include "script/qs_iinterpreter.h"


namespace zavrik {
namespace {

struct Program {
  const char* pascal;
  const char* lua;
  long iterations;  // loop iterations, for the allocation count
};

const Program kNumericLoop{
    "var i, s: Integer;\nbegin\n  s := 0;\n  for i := 1 to 10000000 do s := s + i * 2 mod 7;\n"
    "  ShowMessage(IntToStr(s));\nend.",
    "local s = 0 for i = 1, 10000000 do s = s + i * 2 % 7 end assert(s > 0)", 10000000};
const Program kStringBuild{
    "var i: Integer; s: String;\nbegin\n  s := '';\n  for i := 1 to 1000000 do s := s + 'ab';\n"
    "  ShowMessage(IntToStr(Length(s)));\nend.",
    "local t = {} for i = 1, 1000000 do t[#t + 1] = 'ab' end local s = table.concat(t) "
    "assert(#s == 2000000)",
    1000000};
const Program kFib{
    "function Fib(n: Integer): Integer;\nbegin\n  if n < 2 then Result := n\n"
    "  else Result := Fib(n - 1) + Fib(n - 2);\nend;\nvar r: Integer;\nbegin\n  r := Fib(30);\nend.",
    "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end "
    "assert(fib(30) == 832040)",
    1};

// Element writes into an array variable: in place, no copy (arrays copy only when shared).
const Program kArrayFill{
    "var a: array[1..1000] of Integer; i, k: Integer;\nbegin\n  for k := 1 to 1000 do\n"
    "    for i := 1 to 1000 do a[i] := a[i] + i * k;\nend.",
    "local a = {} for i = 1, 1000 do a[i] = 0 end for k = 1, 1000 do for i = 1, 1000 do "
    "a[i] = a[i] + i * k end end assert(a[1] > 0)",
    1000000};

// Processor time, as Lua's os.clock measures it, so that a loaded machine favours neither side.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Lua's own measurement of the program, in seconds; negative when lua5.4 cannot run.
double LuaSeconds(const char* program) {
  const std::string command = std::string("lua5.4 -e \"local t0 = os.clock() ") + program +
                              " io.write(os.clock() - t0)\"";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[64] = {};
  const size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
  const int status = pclose(pipe);
  if (status != 0 || n == 0) return -1;
  return std::atof(buffer);
}

void RunSideBySide(benchmark::State& state, const Program& program) {
  TqsScript script(&qsGlobalUnit());
  script.SetText(Utf8ToString(program.pascal));
  if (!script.Compile()) {
    state.SkipWithError(StringToUtf8(script.ErrorPos + u": " + script.ErrorMsg).c_str());
    return;
  }
  double ours = 0, lua = 0;
  long allocations = 0;
  for (auto _ : state) {
    const long before = AllocationCount();
    const double start = CpuSeconds();
    script.Execute();
    const double elapsed = CpuSeconds() - start;
    allocations += AllocationCount() - before;
    state.SetIterationTime(elapsed);
    ours += elapsed;
    const double l = LuaSeconds(program.lua);
    if (l < 0) {
      state.SkipWithError("lua5.4 is not available (scripts/setup.sh installs it)");
      return;
    }
    lua += l;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["lua_s"] = lua / runs;
  state.counters["ours_s"] = ours / runs;
  state.counters["ours_per_lua"] = lua > 0 ? ours / lua : 0;
  state.counters["allocs/iter"] =
      static_cast<double>(allocations) / runs / static_cast<double>(program.iterations);
}

void BM_NumericLoop(benchmark::State& state) { RunSideBySide(state, kNumericLoop); }
void BM_StringBuild(benchmark::State& state) { RunSideBySide(state, kStringBuild); }
void BM_Fib30(benchmark::State& state) { RunSideBySide(state, kFib); }
void BM_ArrayFill(benchmark::State& state) { RunSideBySide(state, kArrayFill); }

BENCHMARK(BM_NumericLoop)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StringBuild)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fib30)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrayFill)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zavrik
