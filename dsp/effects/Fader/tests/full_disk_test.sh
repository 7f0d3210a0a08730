#!/bin/bash
# A write that fails in the middle of the work makes Fader report failure.
# The raw file is sparse and lives on a full 64 KiB tmpfs, so reading it works
# but writing the faded samples back needs blocks the disk does not have.
# Usage: full_disk_test.sh WINE_RUN DSPHOST_EXE FADER_DLL
set -u
run=$1 host=$2 fader=$3
key='HKCU\Software\Marrowby\Tonvask\tVC-DSP'
if [ "$(id -u)" != 0 ]; then echo "needs root to mount a small tmpfs: skipped"; exit 77; fi
dir=$(mktemp -d /tmp/fader-full.XXXXXX)
if ! mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null; then
    rmdir "$dir"; echo "cannot mount a tmpfs: skipped"; exit 77
fi
cleanup() {
    "$run" reg delete "$key" /v Vol-Fade-In /f >/dev/null 2>&1
    umount "$dir" && rmdir "$dir"
}
trap cleanup EXIT
truncate -s 16000 "$dir/sparse.raw"
dd if=/dev/zero of="$dir/filler" bs=4k >/dev/null 2>&1
"$run" reg add "$key" /v Vol-Fade-In /t REG_DWORD /d 4294967295 /f >/dev/null 2>&1
"$run" reg delete "$key" /v Vol-Fade-Out /f >/dev/null 2>&1
"$run" "$host" --raw "$fader" "Z:$dir/sparse.raw" --channels 1 --rate 8000 --bits 16 --quiet
rc=$?
if [ $rc -ne 4 ]; then echo "FAIL: dsphost should exit 4 (plug-in failed), got $rc"; exit 1; fi
echo "OK: the failed write was reported as failure"
