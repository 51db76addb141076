#!/usr/bin/env bash
# The test command: installs what is needed, builds with ASan+UBSan, starts a Firebird server for
# the tests that need one, runs ctest, runs each fuzz target briefly, stops the server.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh asan

pidfile=$(mktemp -t zavrik-firebird.XXXXXX.pid)
stop_server() { scripts/firebird-server.sh stop "$pidfile" || true; }
trap stop_server EXIT
scripts/firebird-server.sh start "$pidfile"

export ZAVRIK_SERVER=1
(cd build-asan && ctest -j "${ZAVRIK_JOBS:-2}" --output-on-failure --timeout 600)

# A few seconds of fuzzing per target; new inputs land in a scratch folder, not the corpus. A
# crash, an undefined behaviour report, a leak or an input taking over 10 s fails the run.
if [ "${ZAVRIK_SKIP_FUZZ:-0}" != 1 ]; then
  scripts/build.sh fuzz
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  scratch=$(mktemp -d)
  for target in build-fuzz/fuzz/fuzz_*; do
    name=${target##*/fuzz_}
    mkdir -p "$scratch/$name"
    "$target" -max_total_time="${ZAVRIK_FUZZ_SECONDS:-5}" -timeout=10 -print_final_stats=0 \
      "$scratch/$name" "fuzz/corpus/$name" 2>&1 | tail -n 1
  done
  rm -rf "$scratch"
fi
echo "test.sh: all tests passed"
