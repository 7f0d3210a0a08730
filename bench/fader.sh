#!/bin/bash
# Times Fader.dll (both fades on, 6 s each) through the command-line host on a
# large WAV against `sox IN OUT fade t 6 0 6` and a plain `cp`, in one run, and
# prints the ratios; then compares the host's peak memory on a 10 s file with
# the large file's (it must not grow with the file).
#
# Usage: bench/fader.sh [WINDOWS_BUILD_DIR] [SECONDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with Fader.dll and dsphost.exe
#                      (default build/windows)
#   SECONDS            length of the stereo 44100 Hz 16-bit test file
#                      (default 3000: about 529 MB)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/common.sh
source "$here/bench/common.sh"
seconds=${2:-3000}
bench_setup "${1:-$here/build/windows}" fader
fader="$build/dist/Fader.dll"
[ -f "$fader" ] || { echo "missing $fader (build Fader)" >&2; exit 1; }

names=(Vol-Fade-In Vol-Fade-InLength Vol-Fade-Out Vol-Fade-OutLength)
store_settings Vol-Fade-In=-1 Vol-Fade-InLength=6000 Vol-Fade-Out=-1 Vol-Fade-OutLength=6000
trap 'clear_settings "${names[@]}"; _bench_cleanup' EXIT

prepare_inputs "$seconds"

run_host "$fader" "$work/short.wav" "$work/short-out.wav"
short_peak=$peak
run_host "$fader" "$work/in.wav" "$work/out.wav"
host_wall=$wall host_peak=$peak
[ -s "$work/out.wav" ] || { echo "dsphost wrote no output" >&2; exit 1; }
cmp -s "$work/in.wav" "$work/out.wav" && { echo "Fader left the file unchanged: the effect did not run" >&2; exit 1; }

timed sox "$work/in.wav" "$work/sox.wav" fade t 6 0 6
sox_wall=$wall

ours=$(soxi -s "$work/out.wav")
theirs=$(soxi -s "$work/sox.wav")
[ "$ours" = "$theirs" ] || echo "note: Fader gave $ours frames, sox $theirs" >&2
# The middle must be untouched and both ends faded: compare a stretch of each with the input.
middle_in=$(sox "$work/in.wav" -n trim 100 1 stat 2>&1 | awk '/RMS     amplitude/{print $3}')
middle_out=$(sox "$work/out.wav" -n trim 100 1 stat 2>&1 | awk '/RMS     amplitude/{print $3}')
start_out=$(sox "$work/out.wav" -n trim 0 0.5 stat 2>&1 | awk '/RMS     amplitude/{print $3}')
start_sox=$(sox "$work/sox.wav" -n trim 0 0.5 stat 2>&1 | awk '/RMS     amplitude/{print $3}')
echo "RMS of 1 s in the middle: input $middle_in, Fader $middle_out; first 0.5 s: Fader $start_out, sox $start_sox"

bench_table_header
bench_table_row "fade in+out 6 s (Fader)" "$host_wall" "$sox_wall" "$copy_wall" "$host_peak" "$short_peak"
echo
echo "throughput: host $(mb_per_s "$bytes" "$host_wall") MB/s, sox $(mb_per_s "$bytes" "$sox_wall") MB/s, cp $(mb_per_s "$bytes" "$copy_wall") MB/s"
echo "ratios: host/sox $(ratio "$host_wall" "$sox_wall"), host/cp $(ratio "$host_wall" "$copy_wall")"
echo "peak memory of the host process: 10 s file ${short_peak} kB, ${seconds} s file ${host_peak} kB"
