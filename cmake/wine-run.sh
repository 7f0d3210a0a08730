#!/bin/sh
# Runs a Windows program under Wine with the build tree's own prefix.
# CTest and gtest_discover_tests call this as CMAKE_CROSSCOMPILING_EMULATOR
# of the 64-bit build; wine32-run.sh is the same for the 32-bit build.
# The prefix lives beside the build tree's CMakeCache.txt (found from the
# current directory upwards), or where WINEPREFIX already points.
#
# Usage: wine-run.sh PROGRAM [ARGS...]     a Windows program
#        wine-run.sh --wineserver [ARGS...] the prefix's wine server (-p, -k, -w)
here=$(cd "$(dirname "$0")" && pwd)
width=${CB_WINE_WIDTH:-64}
if [ -z "$WINEPREFIX" ]; then
    d=$(pwd)
    while [ "$d" != "/" ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
    if [ -f "$d/CMakeCache.txt" ]; then
        WINEPREFIX="$d/wineprefix"
    else
        WINEPREFIX="$(pwd)/wineprefix"
    fi
fi
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ "$width" = 64 ]; then
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=wine64
    if [ "$1" = --wineserver ]; then
        shift
        exec /usr/lib/wine/wineserver "$@"
    fi
    exec "$wine" "$@"
fi

# 32-bit: Wine of that width, on the host or in the root wine32-root.sh keeps.
export WINEARCH=win32
root=$("$here/wine32-root.sh") || exit 125
program=/usr/lib/wine/wine
if [ "$1" = --wineserver ]; then
    shift
    program=/usr/lib/wine/wineserver
fi
if [ "$root" = / ]; then
    exec "$program" "$@"
fi
# The root's own /usr, with the host's devices, /tmp (the wine server's socket
# and the X display's), the work tree, the prefix and the current folder at
# their own paths, so Z: shows the same files to both widths.
top=$(cd "$here/.." && pwd)
set -- "$program" "$@"
for dir in "$WINEPREFIX" "$(pwd)"; do
    case "$dir" in
    "$top"/* | /tmp/*) ;; # visible already
    *)
        mkdir -p "$dir"
        set -- --bind "$dir" "$dir" "$@"
        ;;
    esac
done
set -- --bind "$top" "$top" "$@"
exec bwrap --bind "$root" / --dev-bind /dev /dev --proc /proc --ro-bind /sys /sys --bind /tmp /tmp \
    --chdir "$(pwd)" "$@"
