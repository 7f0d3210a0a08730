#!/bin/bash
# Runs a Windows test program in a Wine prefix of its own whose screen has
# 144 dpi (LogPixels in the prefix's registry, where Wine reads the DPI), so
# the shared prefix of every other test keeps its 96 dpi.
#
# Usage: high-dpi.sh BUILD_DIR WINE_RUN PROGRAM [ARGS...]
#   WINE_RUN: the build's cmake/wine-run.sh or wine32-run.sh
# Tests run through this script share one prefix: give them one RESOURCE_LOCK.
set -u
usage="usage: high-dpi.sh BUILD_DIR WINE_RUN PROGRAM [ARGS...]"
build=$(cd "${1:?$usage}" && pwd)
run=${2:?$usage}
shift 2
export WINEPREFIX="$build/dpi144-wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$WINEPREFIX/dpi.stamp"
quiet() { "$@" </dev/null >/dev/null 2>&1; }

if [ "$(cat "$stamp" 2>/dev/null)" != 144 ]; then
    mkdir -p "$WINEPREFIX"
    quiet "$run" wineboot -i
    for key in 'HKCU\Control Panel\Desktop' \
        'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        quiet "$run" reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f
    done
    # The wine server reads the DPI when it starts.
    quiet "$run" --wineserver -k
    quiet "$run" --wineserver -w
    echo 144 >"$stamp"
fi
exec "$run" "$@"
