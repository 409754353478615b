#!/bin/bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a bounded time
# from its seed corpus in fuzz/corpus/<what>/. A crash, leak or sanitizer report fails.
#   scripts/fuzz.sh [SECONDS] [what ...]     60 seconds each, every target, by default
# New inputs go to build-fuzz/corpus/<what>/, crashes to build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=($(ls fuzz/corpus))

scripts/install-deps.sh test
generator=(-G Ninja)
[ -f build-fuzz/CMakeCache.txt ] && generator=()
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${generator[@]}" "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHWELL_FUZZ=ON -DBUILD_TESTING=OFF \
  -DGLYPHWELL_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

unset DISPLAY
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:suppressions=$PWD/scripts/asan.supp"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
mkdir -p build-fuzz/artifacts
for what in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$what"
  echo "fuzz_$what: $seconds s"
  log="build-fuzz/fuzz_$what.log"
  if ! "build-fuzz/fuzz/fuzz_$what" -max_total_time="$seconds" -max_len=8192 -timeout=25 \
    -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$what-" \
    "build-fuzz/corpus/$what" "fuzz/corpus/$what" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzz_$what failed; the input is in build-fuzz/artifacts/" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log"
done
