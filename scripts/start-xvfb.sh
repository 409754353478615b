#!/bin/bash
# Starts Xvfb on a display it picks itself (-displayfd) and prints, for the caller to
# eval, `DISPLAY=:N XVFB_PID=P`. -noreset keeps the server up when its last client
# leaves: without it, the server resets when a readiness probe disconnects, and a
# program connecting during the reset fails to open the display. Waits up to 60 s
# for the server; when it fails, prints Xvfb's own error and exits 1.
#   eval "$(scripts/start-xvfb.sh [EXTRA XVFB ARGUMENTS...])"
set -euo pipefail
number=$(mktemp)
log=$(mktemp)
trap 'rm -f "$number" "$log"' EXIT
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$number" 2>"$log" </dev/null >/dev/null &
pid=$!
for _ in $(seq 600); do
  if grep -qx '[0-9]\+' "$number"; then
    echo "DISPLAY=:$(head -1 "$number") XVFB_PID=$pid"
    exit 0
  fi
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "Xvfb could not start a display:" >&2
    sed 's/^/  /' "$log" >&2
    exit 1
  fi
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
echo "Xvfb did not open a display within 60 s:" >&2
sed 's/^/  /' "$log" >&2
exit 1
