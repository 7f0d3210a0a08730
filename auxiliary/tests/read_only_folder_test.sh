#!/bin/bash
# The real recorder in a program folder that cannot be written: the folder is
# a read-only bind mount (as root; without root the test is skipped), and the
# fault test AuxReadOnlyFolder drives the program in it.
# Usage: read_only_folder_test.sh WINE_RUN FAULT_TESTS_EXE DIST_DIR TOOLS_DIR
set -u
run=$1 tests=$2 dist=$3 tools=$4
if [ "$(id -u)" != 0 ]; then echo "needs root to mount a folder read-only: skipped"; exit 77; fi
work=$(mktemp -d /tmp/aux-readonly.XXXXXX)
folder="$work/Tonvask"
mkdir -p "$folder/Compression/skin" "$folder/help"
cp "$dist/Auxiliary.exe" "$folder/"
cp "$dist/Compression/skin/"* "$folder/Compression/skin/"
cp "$dist/Help/"*.bmp "$folder/help/"
cp "$tools/RecasterStandin.exe" "$folder/Recaster.exe"
if ! mount --bind "$folder" "$folder" 2>/dev/null; then
    rm -rf "$work"; echo "cannot bind-mount a folder: skipped"; exit 77
fi
trap 'umount "$folder"; rm -rf "$work"' EXIT
if ! mount -o remount,ro,bind "$folder" 2>/dev/null; then echo "cannot mount a folder read-only: skipped"; exit 77; fi
if touch "$folder/probe" 2>/dev/null; then echo "the read-only mount takes writes: skipped"; exit 77; fi
AUX_READ_ONLY_FOLDER="Z:$(printf '%s' "$folder" | tr / '\\')\\" \
    "$run" "$tests" --gtest_filter='AuxReadOnlyFolder.*' 2>&1 | tee "$work/out.txt"
rc=${PIPESTATUS[0]}
grep -q '\[  PASSED  \] 1 test' "$work/out.txt" || { echo "the test did not run to its end in the folder"; exit 1; }
exit "$rc"
