#!/bin/bash
# Builds the Debian package build-package/glyphwell_VERSION_ARCH.deb: installs what
# building and packaging need, builds the program alone (no tests or benchmarks) and
# runs CPack. Install it with: sudo apt-get install ./build-package/glyphwell_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh package
generator=(-G Ninja)
[ -f build-package/CMakeCache.txt ] && generator=() # keep the generator the folder was made with
cmake -S . -B build-package "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DGLYPHWELL_BENCHMARKS=OFF >/dev/null
cmake --build build-package --target glyphwell
rm -f build-package/glyphwell_*.deb
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/glyphwell_*.deb
