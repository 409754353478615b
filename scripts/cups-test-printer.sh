#!/bin/bash
# A real CUPS scheduler with a PDF queue "GlyphwellPDF" as the system's default
# printer, for the end-to-end print tests. Run as root on Debian 12. Every job ends as
# a PDF file (Qt's PDF passed through CUPS' pdftopdf filter) at $GLYPHWELL_PRINT_PDF,
# each job replacing the last.
#
#   scripts/cups-test-printer.sh start   prints the pid of the scheduler it started,
#                                        nothing when one was running already
#   scripts/cups-test-printer.sh stop    stops the scheduler that start started
set -euo pipefail

queue=GlyphwellPDF
pdf=${GLYPHWELL_PRINT_PDF:-/tmp/glyphwell-cups/print.pdf}
pid_file=${GLYPHWELL_CUPSD_PID:-/tmp/glyphwell-cupsd.pid}
log=${GLYPHWELL_CUPSD_LOG:-/tmp/glyphwell-cupsd.log}
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd

running() { lpstat -r 2>/dev/null | grep -qx 'scheduler is running'; }

start() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "cups-test-printer: needs root to run a scheduler" >&2
    exit 1
  fi
  local missing=()
  for package in cups-daemon cups-client cups-filters; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
  fi
  # The scheduler reads this when it starts: queues may write to files.
  grep -q '^FileDevice Yes' /etc/cups/cups-files.conf || echo 'FileDevice Yes' >> /etc/cups/cups-files.conf
  mkdir -p /run/cups "$(dirname "$pdf")"

  if ! running; then
    setsid /usr/sbin/cupsd -f >"$log" 2>&1 </dev/null &
    echo $! > "$pid_file"
    trap stop EXIT # a scheduler that never got its queue is not left behind
    for _ in $(seq 100); do running && break; sleep 0.1; done
    running || { echo "cups-test-printer: cupsd did not start" >&2; cat "$log" >&2; exit 1; }
  else
    rm -f "$pid_file" # not ours: stop leaves it running
  fi

  lpadmin -p "$queue" -E -v "file://$pdf" -P "$ppd" -o PageSize=A4 2>/dev/null
  lpadmin -d "$queue"
  for _ in $(seq 50); do lpstat -p "$queue" 2>/dev/null | grep -q 'is idle' && break; sleep 0.1; done
  lpstat -p "$queue" | grep -q 'is idle' || { echo "cups-test-printer: $queue is not ready" >&2; exit 1; }
  trap - EXIT
  [ -f "$pid_file" ] && cat "$pid_file"
  return 0
}

stop() {
  [ -f "$pid_file" ] || return 0
  local pid
  pid=$(cat "$pid_file")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$pid_file"
}

case "${1:-start}" in
start) start ;;
stop) stop ;;
*) echo "usage: $0 start|stop" >&2; exit 2 ;;
esac
