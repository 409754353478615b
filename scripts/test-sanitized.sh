#!/bin/bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan and
# runs every test through CTest with no display. Any report stops the test process, so it
# fails; leaks are reported too, apart from the libraries' own (scripts/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
generator=(-G Ninja)
[ -f build-asan/CMakeCache.txt ] && generator=()
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DBUILD_TESTING=ON -DGLYPHWELL_BENCHMARKS=OFF >/dev/null
cmake --build build-asan
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: with Debian 12's glibc, GCC 12's leak checker otherwise
# crashes reading the thread-local storage of libraries loaded at run time.
# fast_unwind_on_malloc=0: whole allocation stacks through the libraries, which are
# built without frame pointers, so a suppression matches only their own allocations.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:intercept_tls_get_addr=0:fast_unwind_on_malloc=0:suppressions=$PWD/scripts/asan.supp"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure "$@"
