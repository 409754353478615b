#!/bin/bash
# Installs the Debian 12 packages Glyphwell needs.
#   scripts/install-deps.sh run    what building and running the program needs
#   scripts/install-deps.sh package  that, plus what `cpack -G DEB` needs
#   scripts/install-deps.sh test   all of that, plus what the tests, benchmarks and fuzz targets need
set -euo pipefail

build_and_run=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6printsupport6 libqt6svg6
  libfontconfig-dev libfreetype-dev libjpeg62-turbo-dev libcups2-dev libicu-dev
  fontconfig fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-utils
)
packaging=(dpkg-dev file)
tests=(
  desktop-file-utils appstream lintian xdg-utils man-db
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-wine fonts-urw-base35 python3-fonttools python3-brotli
  fonts-noto-core fonts-noto-cjk fonts-noto-color-emoji fonts-font-awesome
  xfonts-base fonts-terminus-otb
  poppler-utils cups-daemon cups-client cups-filters
  clang libclang-rt-14-dev llvm
)

packages=("${build_and_run[@]}")
case "${1:-run}" in
  package) packages+=("${packaging[@]}") ;;
  test) packages+=("${packaging[@]}" "${tests[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
