#!/bin/sh
# Runs a Windows program under 32-bit Wine with the build tree's own prefix:
# the CMAKE_CROSSCOMPILING_EMULATOR of the 32-bit build. See wine-run.sh.
CB_WINE_WIDTH=32 exec "$(dirname "$0")/wine-run.sh" "$@"
