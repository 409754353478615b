#!/bin/bash
# Installs what Glyphwell needs, builds it and starts it. With no display it starts
# the program under Xvfb, waits for its window, saves a screenshot to
# glyphwell-screenshot.png (or the file given as the first argument) and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
shot=${1:-glyphwell-screenshot.png}

scripts/install-deps.sh run
generator=(-G Ninja)
[ -f build/CMakeCache.txt ] && generator=() # keep the generator the build folder was made with
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target glyphwell

if [ -n "${DISPLAY:-}" ]; then
  exec build/glyphwell
fi

started=$(scripts/start-xvfb.sh) || exit 1
eval "$started"
export DISPLAY
build/glyphwell &
program=$!
trap 'kill "$program" "$XVFB_PID" 2>/dev/null || true' EXIT
for _ in $(seq 600); do
  xdotool search --onlyvisible --name '^Glyphwell$' >/dev/null 2>&1 && break
  kill -0 "$program" 2>/dev/null || { echo "Glyphwell ended before its window appeared" >&2; exit 1; }
  sleep 0.1
done
xdotool search --onlyvisible --name '^Glyphwell$' >/dev/null 2>&1 ||
  { echo "the Glyphwell window did not appear" >&2; exit 1; }
sleep 1 # let the first paint finish
import -window root "$shot"
echo "Glyphwell started under Xvfb; screenshot saved to $shot"
