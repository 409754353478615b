#!/bin/bash
# Installs the build and test dependencies, builds everything and runs every test
# through CTest, with no display (Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
generator=(-G Ninja)
[ -f build/CMakeCache.txt ] && generator=() # keep the generator the build folder was made with
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure "$@"
