#!/bin/bash
# Runs a Windows build tree's tests under Wine on a virtual X display.
# Usage: test-windows.sh BUILD_DIR [extra ctest arguments, e.g. -R Fader]
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(cd "${1:?usage: test-windows.sh BUILD_DIR [ctest args]}" && pwd)
shift
jobs=$(nproc 2>/dev/null || echo 2)
export WINEPREFIX="$dir/wineprefix"
# A test that fails is run once more before it counts as failed: on a loaded
# machine Wine itself now and then drops a process's connection to its server
# ("wine client error: ... Connection reset by peer"), which has nothing to do
# with the code under test. A real fault fails both times.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  "$here/cmake/wine-session.sh" ctest --test-dir "$dir" --output-on-failure -j"$jobs" --repeat until-pass:2 "$@"
