#!/bin/bash
# Runs a command in a Wine prefix whose only fixed drives are the folders
# given, so a program that searches the fixed drives sees only them. C: stays
# (as a network drive), Z: (the Unix root) becomes a network drive, every
# other drive letter is removed. The prefix is made when missing; the drive
# table is rewritten only when it changes, since the wine server reads it when
# it starts. The server lingers three seconds after the last program.
#
# Usage: wine-drives.sh PREFIX LETTER=FOLDER... -- COMMAND [ARGS...]
#   e.g. wine-drives.sh build/x-prefix d=/tmp/tree -- cmake/wine-run.sh prog.exe
# WINE_RUN names the Wine of the prefix's width (default cmake/wine-run.sh,
# 64-bit; cmake/wine32-run.sh for 32-bit).
# Commands that share one prefix must not run at the same time.
set -u
prefix=${1:?usage: wine-drives.sh PREFIX LETTER=FOLDER... -- COMMAND [ARGS...]}
shift
drives=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    drives+=("$1")
    shift
done
[ "${1:-}" = "--" ] && shift
mkdir -p "$prefix"
export WINEPREFIX=$(cd "$prefix" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
run=${WINE_RUN:-$(dirname "$0")/wine-run.sh}
wine() { "$run" "$@"; }
server() { "$run" --wineserver "$@"; }
stamp="$WINEPREFIX/fixed-drives.stamp"
quiet() { "$@" </dev/null >/dev/null 2>&1; }

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "${drives[*]}" ]; then
    quiet server -k
    quiet server -w
    quiet wine wineboot -i
    reg="$WINEPREFIX/fixed-drives.reg"
    {
        printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"c:"="network"\n"z:"="network"\n'
        for d in "${drives[@]}"; do printf '"%s:"="hd"\n' "${d%%=*}"; done
    } >"$reg"
    quiet wine regedit /S "Z:$(echo "$reg" | tr / '\\')"
    quiet server -k
    quiet server -w
    for link in "$WINEPREFIX"/dosdevices/?:; do
        case "$(basename "$link")" in c: | z:) ;; *) rm -f "$link" ;; esac
    done
    for d in "${drives[@]}"; do
        ln -sfn "$(cd "${d#*=}" && pwd)" "$WINEPREFIX/dosdevices/${d%%=*}:"
    done
    echo "${drives[*]}" >"$stamp"
fi

# Output sent away, so the server's services hold no handle on the caller's pipes.
quiet server -p3
quiet wine wineboot
exec "$@"
