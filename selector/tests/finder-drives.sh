#!/bin/bash
# Runs a Windows test program in a Wine prefix of its own whose only fixed
# drives are test folders, so a search of the fixed drives sees exactly what a
# test put there:
#   D:, E:, F:   empty folders (emptied again before every run)
#   L:           a folder holding Loop\Back, a symbolic link to L:\ itself
# The program learns the letters from CB_FINDER_DRIVES ("DEFL").
#
# Usage: finder-drives.sh BUILD_DIR WINE_RUN PROGRAM [ARGS...]
#   WINE_RUN: the build's cmake/wine-run.sh or wine32-run.sh
# Tests run through this script share one prefix: give them one RESOURCE_LOCK.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: finder-drives.sh BUILD_DIR WINE_RUN PROGRAM [ARGS...]}" && pwd)
export WINE_RUN=${2:?usage: finder-drives.sh BUILD_DIR WINE_RUN PROGRAM [ARGS...]}
shift 2
root="$build/testtmp/finder-drives"
for l in d e f l; do
    rm -rf "${root:?}/$l"
    mkdir -p "$root/$l"
done
mkdir -p "$root/l/Loop"
ln -s .. "$root/l/Loop/Back"
export CB_FINDER_DRIVES=DEFL
exec "$here/cmake/wine-drives.sh" "$build/finder-wineprefix" d="$root/d" e="$root/e" f="$root/f" l="$root/l" \
    -- "$WINE_RUN" "$@"
