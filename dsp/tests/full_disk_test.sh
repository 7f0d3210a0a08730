#!/bin/bash
# Every plug-in on a full disk: the input lies on a small tmpfs with no room
# left beside it. The rule is the fault table's: dsphost exits 0 with the
# complete result (the same plug-in's result on a roomy disk), or 4 (the
# plug-in failed) with the input byte for byte as it was and nothing left
# beside it. TagSetter answers 1 and never touches the file.
# Usage: full_disk_test.sh WINE_RUN DSPHOST_EXE DIST_DIR
set -u
run=$1 host=$2 dist=$3
key='HKCU\Software\Marrowby\Tonvask\tVC-DSP'
if [ "$(id -u)" != 0 ]; then echo "needs root to mount a small tmpfs: skipped"; exit 77; fi
work=$(mktemp -d /tmp/dsp-full.XXXXXX)
full="$work/full"
mkdir -p "$full"
if ! mount -t tmpfs -o size=512k tmpfs "$full" 2>/dev/null; then
    rm -rf "$work"; echo "cannot mount a tmpfs: skipped"; exit 77
fi
names=()
set_number() { "$run" reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; names+=("$1"); }
cleanup() {
    for n in "${names[@]}"; do "$run" reg delete "$key" /v "$n" /f >/dev/null 2>&1; done
    umount "$full"; rm -rf "$work"
}
trap cleanup EXIT

# What makes each plug-in change the test file (as in the fault table).
set_number ChannelMove-ChannelCount 1
for band in $(seq 0 17); do set_number "EQ-Pos$band" $(( band % 2 ? 120 : 4294967176 )); done
set_number Vol-Fade-In 4294967295; set_number Vol-Fade-InLength 500
set_number Sound-Grabber-Len 1000; set_number Sound-Grabber-Position 100; set_number Sound-Grabber-FromEnd 0
set_number Min-Len-mSec 10000
set_number Vol-Quiet-PCLessenBy 50
set_number Silence-LenStart-mSec 100; set_number Silence-Len-mSec 100
set_number Trim-Begin-Len 100; set_number Trim-End-Len 100
set_number Silence-Remove-Begin 4294967295 # both cuts: the kept middle goes through a sibling

# An eighth of a second of silence, five eighths of noise and a quarter of
# silence (stereo 16-bit or 24-bit at 8000 Hz: whole frames either way).
head -c 6000 /dev/zero > "$work/audio.raw"
head -c 30000 /dev/urandom >> "$work/audio.raw"
head -c 12000 /dev/zero >> "$work/audio.raw"

failed=0
while read -r plugin bits; do
    ref="$work/ref.raw"
    cp "$work/audio.raw" "$ref"
    "$run" "$host" --raw "$dist/$plugin" "Z:$ref" --channels 2 --rate 8000 --bits "$bits" --quiet >/dev/null 2>&1
    if [ $? -ne 0 ]; then echo "FAIL $plugin: no result on a roomy disk"; failed=1; continue; fi

    rm -rf "${full:?}"/*
    cp "$work/audio.raw" "$full/audio.raw"
    dd if=/dev/zero of="$full/filler" bs=4k >/dev/null 2>&1 # fill the rest of the disk
    "$run" "$host" --raw "$dist/$plugin" "Z:$full/audio.raw" --channels 2 --rate 8000 --bits "$bits" --quiet \
        >/dev/null 2>&1
    rc=$?
    left=$(cd "$full" && ls -A | tr '\n' ' ')
    if [ "$plugin" = TagSetter.dll ]; then
        cmp -s "$full/audio.raw" "$work/audio.raw" && [ $rc -eq 0 ] || { echo "FAIL $plugin: touched the file"; failed=1; }
    elif [ $rc -eq 0 ]; then
        cmp -s "$full/audio.raw" "$ref" || { echo "FAIL $plugin: success without the complete result"; failed=1; }
    elif [ $rc -eq 4 ]; then
        cmp -s "$full/audio.raw" "$work/audio.raw" || { echo "FAIL $plugin: failed and changed the input"; failed=1; }
    else
        echo "FAIL $plugin: dsphost exit $rc"; failed=1
    fi
    if [ "$left" != "audio.raw filler " ]; then echo "FAIL $plugin: left beside the input: $left"; failed=1; fi
    echo "$plugin: exit $rc"
done <<'LIST'
Bits24.dll 16
ChannelMover.dll 16
Dither16.dll 24
Dither8.dll 16
Equaliser.dll 16
Fader.dll 16
Grabber.dll 16
MinLength.dll 16
Quietener.dll 16
Reverser.dll 16
SilenceInserter.dll 16
SilenceRemover.dll 16
TagSetter.dll 16
Trimmer.dll 16
LIST
exit $failed
