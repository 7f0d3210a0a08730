#!/bin/bash
# Runs a Windows test program in a Wine prefix of its own whose only fixed
# drives are test folders, so a search of the fixed drives sees exactly what a
# test put there:
#   D:, E:, F:   empty folders (emptied again before every run)
#   L:           a folder holding Loop\Back, a symbolic link to L:\ itself
# C: and Z: are network drives in that prefix. The program learns the letters
# from CB_FINDER_DRIVES ("DEFL").
#
# Usage: finder-drives.sh BUILD_DIR PROGRAM [ARGS...]
# Tests run through this script share one prefix: give them one RESOURCE_LOCK.
set -u
build=$(cd "${1:?usage: finder-drives.sh BUILD_DIR PROGRAM [ARGS...]}" && pwd)
shift
export WINEPREFIX="$build/finder-wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export CB_FINDER_DRIVES=DEFL
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
root="$build/testtmp/finder-drives"
stamp="$WINEPREFIX/finder-drives.stamp"
quiet() { "$@" </dev/null >/dev/null 2>&1; }

# The drive table and drive types are read when the wine server starts, so
# they are set once, with the server stopped before and after.
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$root" ]; then
    quiet "$server" -k
    quiet "$server" -w
    quiet "$wine" wineboot -i
    reg="$build/testtmp/finder-drives.reg"
    mkdir -p "$build/testtmp"
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n"c:"="network"\n"z:"="network"\n"d:"="hd"\n"e:"="hd"\n"f:"="hd"\n"l:"="hd"\n' >"$reg"
    quiet "$wine" regedit /S "Z:$(echo "$reg" | tr / '\\')"
    quiet "$server" -k
    quiet "$server" -w
    for link in "$WINEPREFIX"/dosdevices/?:; do
        case "$(basename "$link")" in c: | z:) ;; *) rm -f "$link" ;; esac
    done
    for l in d e f l; do
        mkdir -p "$root/$l"
        ln -sfn "$root/$l" "$WINEPREFIX/dosdevices/$l:"
    done
    echo "$root" >"$stamp"
fi

# Fresh drive contents for every run.
for l in d e f l; do
    rm -rf "${root:?}/$l"
    mkdir -p "$root/$l"
done
mkdir -p "$root/l/Loop"
ln -s .. "$root/l/Loop/Back"

# The server lingers a few seconds after the last program, so runs that follow
# each other share it; its services get no handle on our output.
quiet "$server" -p3
quiet "$wine" wineboot
exec "$wine" "$@"
