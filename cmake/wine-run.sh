#!/bin/sh
# Runs a Windows program under Wine with the build tree's own prefix.
# CTest and gtest_discover_tests call this as CMAKE_CROSSCOMPILING_EMULATOR.
# The prefix lives beside the build tree's CMakeCache.txt (found from the
# current directory upwards), or where WINEPREFIX already points.
if [ -z "$WINEPREFIX" ]; then
    d=$(pwd)
    while [ "$d" != "/" ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
    if [ -f "$d/CMakeCache.txt" ]; then
        WINEPREFIX="$d/wineprefix"
    else
        WINEPREFIX="$(pwd)/wineprefix"
    fi
    export WINEPREFIX
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=wine64
exec "$WINE64" "$@"
