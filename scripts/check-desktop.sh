#!/bin/bash
# Checks Glyphwell as a desktop installs it, from a built build folder:
#   - `cmake --install` into a temporary prefix puts every file in its place;
#   - the desktop entry, the metainfo and the manual page pass their validators;
#   - in a private data home, the desktop entry is the default for font files;
#   - Xvfb started as the scripts start it says why when it cannot open a display, and
#     the program started without a display says so and exits 1;
#   - the installed binary, started from the prefix under Xvfb, shows its window
#     icon and opens its help page from share/glyphwell (the desktop's opener is a
#     recording stand-in);
#   - `cpack -G DEB` makes a package holding the same tree, with computed Depends,
#     on which lintian finds no error.
#   scripts/check-desktop.sh [BUILD-FOLDER]     (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
app_id=io.github.glyphwell.Glyphwell
work=$(mktemp -d)
passed=0
failed=0
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

check() { # NAME COMMAND...: runs a check, says how it went
  local name=$1
  shift
  if "$@" >"$work/out" 2>&1; then
    passed=$((passed + 1))
    echo "ok      $name"
  else
    failed=$((failed + 1))
    echo "FAILED  $name"
    sed 's/^/        /' "$work/out"
  fi
}

prefix=$work/prefix
expected_files() {
  cat <<EOF
bin/glyphwell
share/applications/$app_id.desktop
share/doc/glyphwell/changelog.gz
share/doc/glyphwell/copyright
share/glyphwell/Glyphwell Help.html
EOF
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x$size/apps/$app_id.png"
  done
  cat <<EOF
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/glyphwell.1.gz
share/metainfo/$app_id.metainfo.xml
EOF
}

installed_tree() {
  cmake --install "$build" --prefix "$prefix" >/dev/null || return 1
  diff <(expected_files | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort)
}
check "cmake --install puts every file in its place" installed_tree

check "desktop-file-validate" desktop-file-validate "$prefix/share/applications/$app_id.desktop"
check "appstreamcli validate --no-net" appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"
manual_page() {
  local warnings
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/glyphwell.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings"; return 1; }
}
check "man --warnings glyphwell(1)" manual_page

default_for_fonts() {
  local home=$work/mime
  mkdir -p "$home/data/applications" "$home/config" "$home/dirs"
  cp "$prefix/share/applications/$app_id.desktop" "$home/data/applications/"
  update-desktop-database "$home/data/applications" || return 1
  local type answer
  for type in font/ttf font/otf font/collection font/woff2; do
    answer=$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
      XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_DATA_DIRS="$home/dirs" \
      xdg-mime query default "$type")
    [ "$answer" = "$app_id.desktop" ] || { echo "$type: '$answer'"; return 1; }
  done
}
check "xdg-mime query default names the desktop entry for font files" default_for_fonts

# The installed binary as a user starts it: a private HOME, a display, and an
# xdg-open that records what it is asked to open.
run_installed() {
  local home=$work/home display wid started
  mkdir -p "$home/bin" "$home/.local/share/fonts" "$home/Documents"
  cat >"$home/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>"$home/opened"
EOF
  chmod +x "$home/bin/xdg-open"
  started=$(scripts/start-xvfb.sh) || return 1
  display=$(sed -n 's/^DISPLAY=\([^ ]*\) .*/\1/p' <<<"$started")
  pids+=("$(sed -n 's/.* XVFB_PID=//p' <<<"$started")")
  (cd / && exec env -u QT_QPA_PLATFORM -u XDG_CURRENT_DESKTOP HOME="$home" XDG_DATA_HOME="$home/.local/share" \
    XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home" PATH="$home/bin:$PATH" DISPLAY="$display" \
    "$prefix/bin/glyphwell") >"$home/log" 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do
    wid=$(DISPLAY=$display xdotool search --onlyvisible --name '^Glyphwell$' 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || { echo "no window"; cat "$home/log"; return 1; }
  # The window icon: our own icon, from 16 to 128 pixels (what X11 windows carry).
  DISPLAY=$display xprop -id "$wid" _NET_WM_ICON >"$home/icon" || return 1
  grep -q 'Icon (128 x 128)' "$home/icon" && grep -q 'Icon (16 x 16)' "$home/icon" ||
    { echo "window icon:"; head -3 "$home/icon"; return 1; }
  # The class the desktop entry's StartupWMClass names, so task bars match the two.
  DISPLAY=$display xprop -id "$wid" WM_CLASS | grep -q '"Glyphwell"$' || { echo "WM_CLASS"; return 1; }
  # "Help" of the main tool panel.
  sleep 0.5
  DISPLAY=$display xdotool mousemove --window "$wid" 725 540 click 1
  for _ in $(seq 100); do
    [ -s "$home/opened" ] && break
    sleep 0.1
  done
  local want="file://$prefix/share/glyphwell/Glyphwell%20Help.html"
  [ "$(cat "$home/opened" 2>/dev/null)" = "$want" ] ||
    { echo "opened '$(cat "$home/opened" 2>/dev/null)', wanted '$want'"; cat "$home/log"; return 1; }
}
check "the installed binary shows its icon and class and opens its help page" run_installed

# Xvfb that cannot open its display: the starter says why and fails.
xvfb_says_why() {
  local said
  if said=$(scripts/start-xvfb.sh -screen 0 1x1x3 2>&1); then
    echo "started: $said"
    return 1
  fi
  grep -q "Xvfb could not start a display" <<<"$said" && grep -q "Fatal server error" <<<"$said" ||
    { echo "said: $said"; return 1; }
}
check "start-xvfb.sh prints Xvfb's error when it cannot open a display" xvfb_says_why

# Without a display the program says so in one line and exits 1.
no_display() {
  local said status=0
  said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" "$prefix/bin/glyphwell" 2>&1) || status=$?
  [ "$status" = 1 ] && [ "$said" = "glyphwell: cannot open the display; set DISPLAY or WAYLAND_DISPLAY" ] ||
    { echo "status $status, said: $said"; return 1; }
}
check "without a display the program says so and exits 1" no_display

package() {
  rm -f "$build"/glyphwell_*.deb
  (cd "$build" && cpack -G DEB) >/dev/null || return 1
  deb=$(ls "$build"/glyphwell_*.deb) || return 1
  diff <(expected_files | sed 's|^|./usr/|' | sort) \
    <(dpkg-deb --contents "$deb" | grep -v '^d' | sed -E 's/^([^ ]+ +){5}//' | sort) || return 1
  local depends
  depends=$(dpkg-deb --field "$deb" Depends)
  echo "Depends: $depends"
  [[ "$depends" == *libqt6widgets6* && "$depends" == *libfontconfig1* && "$depends" == *libc6* ]]
}
check "cpack -G DEB holds the installed tree and computed Depends" package
lint() {
  lintian --fail-on error "$build"/glyphwell_*.deb
}
check "lintian finds no error in the package" lint

echo "desktop: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
