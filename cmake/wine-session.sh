#!/bin/bash
# Runs a command with one persistent wine server (and its services) for a
# Windows build tree's prefix, then shuts the server down.
# Usage: wine-session.sh COMMAND [ARGS...]
# WINE_RUN names the Wine of the tree's width (default cmake/wine-run.sh).
# When the tree has tools/desktop_holder.exe, it holds Wine's desktop for the
# whole run: a test program that exits while the desktop process is ending
# otherwise waits in its exit until some other program starts.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
run=${WINE_RUN:-$here/cmake/wine-run.sh}
# Output sent away: otherwise the services keep the caller's output pipe open
# and ctest never finishes.
"$run" --wineserver -p </dev/null >/dev/null 2>&1
"$run" wineboot </dev/null >/dev/null 2>&1
holder="$(dirname "$WINEPREFIX")/dist/tools/desktop_holder.exe"
[ -f "$holder" ] && "$run" "$holder" </dev/null >/dev/null 2>&1 &
"$@"
rc=$?
"$run" --wineserver -k </dev/null >/dev/null 2>&1
exit $rc
