#!/bin/bash
# Runs a Windows build tree's tests under Wine of the tree's width on a
# virtual X display, with one persistent wine server.
# Usage: test-windows.sh BUILD_DIR [extra ctest arguments, e.g. -R Fader]
#
# A failure gets one second try only when it is Wine's own (its client lost
# the wine server, or a test process printed its passing verdict and then did
# not exit): cmake/test-retries.py decides, and every test that needed the
# second try is written with the reason to BUILD_DIR/Testing/retries.txt,
# which cmake/run-tests.sh prints at the end. A test that fails both tries,
# or fails in any other way, fails the run.
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:?usage: test-windows.sh BUILD_DIR [ctest args]}" && pwd)
shift
jobs=$(nproc 2>/dev/null || echo 2)
# shellcheck source=/dev/null
. "$dir/wine.env"
export WINEPREFIX="$dir/wineprefix" WINE_RUN="$CB_WINE_RUN"
runs="$dir/Testing/runs"
rm -rf "$runs"
mkdir -p "$runs"
: >"$dir/Testing/retries.txt"

run() { # run NAME ctest-args...: one ctest run, its console kept in NAME.log
  local name=$1
  shift
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    "$here/cmake/wine-session.sh" ctest --test-dir "$dir" --output-on-failure \
    --output-junit "$runs/$name.xml" "$@" 2>&1 | tee "$runs/$name.log"
  return "${PIPESTATUS[0]}"
}

run first -j"$jobs" "$@" && exit 0
[ -f "$runs/first.xml" ] || exit 1
echo "== Failed in the first run of $(basename "$dir"):"
python3 "$here/cmake/test-retries.py" select "$runs/first.xml" "$runs/first.log" "$runs/retry.txt"
own=$?
[ -s "$runs/retry.txt" ] || exit 1
# The second try runs the tests one at a time, with nothing beside them.
echo "== Second try (Wine's own failures only), one test at a time"
run second -j1 -R "$(cat "$runs/retry.txt")" "$@"
python3 "$here/cmake/test-retries.py" report "$runs/first.xml" "$runs/first.log" "$runs/second.xml" \
  "$dir/Testing/retries.txt"
again=$?
[ $own -eq 0 ] && [ $again -eq 0 ]
