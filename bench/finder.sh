#!/bin/bash
# Times Cuebinder's game-directory finder on a generated tree of directories
# against `find` on the same tree, in one run, and prints directories per
# second and their ratio; then how long a stop request (as a Cancel click
# sends it) takes to end a running search, and how often the label moved.
# The finder runs in a Wine prefix of its own whose only fixed drive is D:,
# mapped to the tree (cmake/wine-drives.sh), on a virtual X display.
#
# Usage: bench/finder.sh [WINDOWS_BUILD_DIR] [TOP]
#   WINDOWS_BUILD_DIR  a windows-preset build with finder_bench.exe (default build/windows)
#   TOP                folders at the top: the tree has TOP x 40 x 32 leaves
#                      (default 40: 52,841 directories)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/common.sh
source "$here/bench/common.sh"
build=$(cd "${1:-$here/build/windows}" && pwd)
top=${2:-40}
bench="$build/bench/finder_bench.exe"
[ -f "$bench" ] || { echo "missing $bench (build finder_bench)" >&2; exit 1; }
mkdir -p "$here/build/bench"
work=$(mktemp -d "$here/build/bench/finder.XXXXXX")
trap 'rm -rf "$work"' EXIT
tree="$work/tree"

echo "Making a tree of $top x 40 x 32 folders (two files in each middle folder, two markers) ..."
python3 - "$tree" "$top" <<'PY'
import os, sys
root, top = sys.argv[1], int(sys.argv[2])
for a in range(top):
    for b in range(40):
        mid = f"{root}/a{a:03d}/b{b:02d}"
        for c in range(32):
            os.makedirs(f"{mid}/c{c:02d}")
        for name in ("notes.txt", "data.bin"):
            open(f"{mid}/{name}", "w").close()
open(f"{root}/a{top // 3:03d}/b13/c05/WONAuth.dll", "w").close()
open(f"{root}/a{top - 1:03d}/b02/wonauth.dll", "w").close()
PY
dirs=$(find "$tree" -type d | wc -l)
echo "tree: $dirs directories"

# Warm the cache for both, then time find, best of three.
find "$tree" >/dev/null
find_best=
for _ in 1 2 3; do
    timed find "$tree" -name WONAuth.dll
    if [ -z "$find_best" ] || awk -v a="$wall" -v b="$find_best" 'BEGIN { exit !(a < b) }'; then find_best=$wall; fi
done

out="$work/finder.txt"
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    "$here/cmake/wine-drives.sh" "$build/finder-bench-wineprefix" d="$tree" -- \
    "$wine" "$bench" "D:\\" >"$out" 2>&1 || { cat "$out"; exit 1; }
tr -d '\r' <"$out" >"$out.unix"
get() { awk -F= -v k="$1" '$1 == k { print $2; exit }' "$out.unix"; }
seen=$(get directories) secs=$(get seconds) results=$(get results)
[ "$seen" = "$dirs" ] || echo "note: the finder entered $seen directories, find counted $dirs" >&2
[ "$results" = 2 ] || { echo "the finder found $results markers, not 2:" >&2; cat "$out.unix" >&2; exit 1; }

rate() { awk -v n="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.0f", n / s; else printf "-" }'; }
finder_rate=$(rate "$seen" "$secs")
find_rate=$(rate "$dirs" "$find_best")
printf '\n%-28s %12s %10s %14s\n' "" directories seconds "dirs/second"
printf '%-28s %12s %10.3f %14s\n' "find (best of 3)" "$dirs" "$find_best" "$find_rate"
printf '%-28s %12s %10.3f %14s\n' "PathFinder (best of 2)" "$seen" "$secs" "$finder_rate"
bare=$(get bare_directories) bare_secs=$(get bare_seconds)
printf '%-28s %12s %10.3f %14s\n' "bare walk (best of 2)" "$bare" "$bare_secs" "$(rate "$bare" "$bare_secs")"
echo
echo "finder/find rate: $(ratio "$finder_rate" "$find_rate")   (goal: at least 0.50)"
echo "finder/bare walk rate: $(ratio "$finder_rate" "$(rate "$bare" "$bare_secs")")   (what the finder adds to listing the directories)"
echo "label updates: $(get label_updates), longest gap between them: $(get longest_gap_ms) ms"
echo "longest time from a stop request to the end of the search (3 tries): $(get worst_stop_ms) ms (goal: under 100)"
