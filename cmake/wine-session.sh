#!/bin/bash
# Runs a command with one persistent wine server (and its services) for the
# Windows build tree's prefix, then shuts the server down.
# Usage: wine-session.sh COMMAND [ARGS...]
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Output sent away: otherwise the services keep the caller's output pipe open
# and ctest never finishes.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
"$@"
rc=$?
/usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1
exit $rc
