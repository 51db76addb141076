#!/usr/bin/env bash
# Configures and builds one flavour of the project into build-<flavour>/.
#   release  optimised program and tools (default)
#   asan     tests with AddressSanitizer + UndefinedBehaviorSanitizer
#   bench    benchmarks at -O2
#   fuzz     libFuzzer targets (clang-14)
set -euo pipefail
cd "$(dirname "$0")/.."

flavour=${1:-release}
dir=build-$flavour
jobs=${ZAVRIK_JOBS:-2}
args=(-G Ninja -S . -B "$dir")
case "$flavour" in
  release) args+=(-DCMAKE_BUILD_TYPE=Release -DZAVRIK_TESTS=OFF) ;;
  asan)    args+=(-DCMAKE_BUILD_TYPE=Debug -DZAVRIK_SANITIZE=ON) ;;
  bench)   args+=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O2 -DZAVRIK_TESTS=OFF -DZAVRIK_BENCH=ON) ;;
  fuzz)    args+=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
                  -DZAVRIK_TESTS=OFF -DZAVRIK_FUZZ=ON) ;;
  *) echo "build.sh: unknown flavour '$flavour' (release, asan, bench, fuzz)" >&2; exit 2 ;;
esac

[ -f "$dir/build.ninja" ] || cmake "${args[@]}" >/dev/null
cmake --build "$dir" -j "$jobs"
