#!/bin/bash
# Times SilenceInserter, Grabber, Reverser, MinLength, Quietener and Trimmer
# through the command-line host against the same work done by sox (pad, trim,
# reverse, pad, vol, trim) and against a plain copy, in one run, and prints
# the ratios. Each plug-in also runs on a 10 s file so its peak memory can be
# compared with the long file's: it must not grow with the file's length.
#
# Usage: bench/basic-effects.sh [WINDOWS_BUILD_DIR] [SECONDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with the six plug-ins and
#                      dsphost.exe built (default build/windows)
#   SECONDS            length of the test file (default 600, about 100 MB)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${2:-600}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${BASIC_BENCH_UNDER_XVFB:-}" ]; then
    export BASIC_BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "${1:-$here/build/windows}" "$seconds"
fi

# shellcheck source=common.sh
source "$here/bench/common.sh"
bench_setup "${1:-$here/build/windows}" basic-effects
for dll in SilenceInserter Grabber Reverser MinLength Quietener Trimmer; do
    [ -f "$build/dist/$dll.dll" ] || { echo "missing $build/dist/$dll.dll (build the six plug-ins)" >&2; exit 1; }
done

# The same work sox does below: 2 s of silence at each end; 60 s kept from
# 30 s in; a minimum length 10 s past the file's end; 50 percent quieter;
# 5 s trimmed off each end.
settings=(Silence-LenStart-mSec=2000 Silence-Len-mSec=2000
          Sound-Grabber-Len=60000 Sound-Grabber-Position=30000 Sound-Grabber-FromEnd=0
          Min-Len-mSec=$(( (seconds + 10) * 1000 )) Vol-Quiet-PCLessenBy=50
          Trim-Begin-Len=5000 Trim-End-Len=5000)
store_settings "${settings[@]}"
trap 'clear_settings "${settings[@]%%=*}"; _bench_cleanup' EXIT

echo "Making a ${seconds} s stereo 44100 Hz 16-bit WAV and a 10 s one..."
make_wav "$work/in.wav" "$seconds"
make_wav "$work/short.wav" 10
ls -l "$work/in.wav" | awk '{printf "input: %d bytes\n", $5}'
cat "$work/in.wav" > /dev/null  # warm the file cache

timed cp "$work/in.wav" "$work/copy.wav"
copy_wall=$wall
rm -f "$work/copy.wav"

bench_table_header
# name  plugin  sox-arguments (after "sox IN OUT")
bench() {
    local name=$1 dll="$build/dist/$2"
    shift 2
    run_host "$dll" "$work/short.wav" "$work/short-out.wav"
    local short_peak=$peak
    run_host "$dll" "$work/in.wav" "$work/out.wav"
    local plug_wall=$wall plug_peak=$peak
    [ -s "$work/out.wav" ] || { echo "dsphost wrote no output for $dll" >&2; exit 1; }
    cmp -s "$work/in.wav" "$work/out.wav" && { echo "$dll left its input unchanged: the effect did not run" >&2; exit 1; }
    timed sox "$work/in.wav" "$work/sox.wav" "$@"
    local sox_wall=$wall
    # The same number of frames as sox's result (the samples are the tests' business).
    [ "$(soxi -s "$work/out.wav")" = "$(soxi -s "$work/sox.wav")" ] ||
        echo "note: $(basename "$dll") gave $(soxi -s "$work/out.wav") frames, sox $(soxi -s "$work/sox.wav")" >&2
    rm -f "$work/out.wav" "$work/sox.wav" "$work/short-out.wav"
    bench_table_row "$name" "$plug_wall" "$sox_wall" "$copy_wall" "$plug_peak" "$short_peak"
}

bench "SilenceInserter 2 s+2 s" SilenceInserter.dll pad 2 2
bench "Grabber 60 s from 30 s"  Grabber.dll         trim 30 60
bench "Reverser"                Reverser.dll        reverse
bench "MinLength +10 s"         MinLength.dll       pad 0 10
bench "Quietener 50 %"          Quietener.dll       vol 0.5
bench "Trimmer 5 s each end"    Trimmer.dll         trim 5 -5
