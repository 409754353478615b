#!/bin/sh
# The measurements at scale behind the README's "Performance" table, on a tree of
# COUNT synthetic families (plus three named in Japanese, Greek and Arabic) with
# Debian's DejaVu and Liberation, as on any desktop. Prints the load beside each run:
# the numbers mean little on a busy machine.
#
#   scripts/bench-scale.sh BUILD [TREE] [COUNT]
#
# BUILD is a build folder with the benchmarks (-DBUILD_TESTING=ON); TREE is written
# when missing (default /tmp/glyphwell-tree-COUNT, COUNT 10000). With STARTUP_BENCH
# set to a start-up timer (startup-bench FONTDIR RUNS CMD...), the program's start is
# timed as well, and GNOME Fonts' and Font Manager's when they are installed (see
# NOTO_TREE and PEERS below).
set -eu
build=$(cd "$1" && pwd)
count=${3:-10000}
tree=${2:-/tmp/glyphwell-tree-$count}
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -d "$tree" ]; then
    /usr/bin/python3 "$here/make-font-tree.py" "$count" "$tree" --scripts
    ln -s /usr/share/fonts/truetype/dejavu "$tree/dejavu"
    ln -s /usr/share/fonts/truetype/liberation "$tree/liberation"
    # Bitmap faces, a face in four files, collections and a variable font.
    for folder in /usr/share/fonts/X11/misc /usr/share/fonts/opentype/terminus \
        /usr/share/fonts-font-awesome/fonts /usr/share/fonts/opentype/noto; do
        [ -d "$folder" ] && ln -s "$folder" "$tree/$(basename "$folder")"
    done
    /usr/bin/python3 "$here/make-variable-font.py" "$tree/GlyphwellVar.ttf"
fi

run() {
    echo "== $* ($(uptime | sed 's/.*load/load/'))"
    GLYPHWELL_BENCH_FONTS="$tree" QT_QPA_PLATFORM=offscreen "$@" 2>&1 | grep -E '^BM_|Maximum resident|Elapsed' || true
}

# First draw of names in other scripts: each run finds no fallback decided yet.
for filter in 'FirstDraw' 'NameView'; do
    run "$build/bench/ScriptNamesBench" --benchmark_filter="$filter"
done
run "$build/bench/CatalogueBench" --benchmark_filter='RegistryViewFontconfig|FaceListFontconfig'
run "$build/bench/PreviewBench" --benchmark_filter='FaceListPageDownReal|FaceListScrollThroughReal|FindKeystrokeReal'
run /usr/bin/time -v "$build/bench/PrintBench" --benchmark_filter='PrintAllFirst'

if [ -n "${STARTUP_BENCH:-}" ]; then
    # NOTO_TREE: a second tree to time the starts on, e.g. Debian's Noto with DejaVu
    # and Liberation; PEERS=0 times Glyphwell alone.
    for over in "$tree" ${NOTO_TREE:-}; do
        for program in "$build/glyphwell" gnome-font-viewer font-manager; do
            [ "${PEERS:-1}" = 0 ] && [ "$program" != "$build/glyphwell" ] && continue
            if command -v "$program" >/dev/null; then
                echo "== start of $program over $over ($(uptime | sed 's/.*load/load/'))"
                "$STARTUP_BENCH" "$over" 3 "$program" | tail -1
            fi
        done
    done
fi
