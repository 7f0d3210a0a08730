#!/bin/bash
# Times Equaliser.dll (the "Rock" preset) through the command-line host on a
# large stereo 16-bit WAV against `sox IN OUT fir COEFFS` with the same 255
# taps (dumped by equaliser_taps.exe from the engine's own filter design) and
# a plain `cp`, in one run, and prints the ratios, in wall time and in
# processor time (the steadier figure on a shared machine). Checks that both
# filters agree (the host's output, 382 frames late, against sox's) and
# compares the host's peak memory on a 10 s file with the large file's (it
# must not grow with the file).
#
# Usage: bench/equaliser.sh [WINDOWS_BUILD_DIR] [SECONDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with Equaliser.dll, dsphost.exe and
#                      equaliser_taps.exe built (default build/windows)
#   SECONDS            length of the stereo 44100 Hz 16-bit test file
#                      (default 1200: about 212 MB)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/common.sh
source "$here/bench/common.sh"
seconds=${2:-1200}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${EQ_BENCH_UNDER_XVFB:-}" ]; then
    export EQ_BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "${1:-$here/build/windows}" "$seconds"
fi

bench_setup "${1:-$here/build/windows}" equaliser
dll="$build/dist/Equaliser.dll"
taps_tool="$build/bench/equaliser_taps.exe"
for f in "$dll" "$taps_tool"; do
    [ -f "$f" ] || { echo "missing $f (build Equaliser and equaliser_taps)" >&2; exit 1; }
done

# Processor seconds (user + system) of a command, besides wall and peak.
timed_cpu() {
    local log="$work/cpu.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 </dev/null
    cpu=$(awk -F': ' '/User time/{u=$2} /System time/{s=$2} END {printf "%.2f", u + s}' "$log")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/{print $2}' "$log" |
        awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
    peak=$(awk -F': ' '/Maximum resident set size/{print $2}' "$log")
}

# The "Rock" preset: boosts and cuts across the low and middle bands.
positions=(30 110 75 0 -25 0 20 30 30 0 0 0 0 0 0 0 0 0)
names=()
settings=()
for band in "${!positions[@]}"; do
    names+=("EQ-Pos$band")
    settings+=("EQ-Pos$band=${positions[band]}")
done
store_settings "${settings[@]}"
trap 'clear_settings "${names[@]}"; _bench_cleanup' EXIT

"$wine" "$taps_tool" 44100 "${positions[@]}" </dev/null 2>/dev/null | tr -d '\r' > "$work/taps.txt"
[ "$(wc -l < "$work/taps.txt")" -eq 255 ] || { echo "could not dump the taps" >&2; exit 1; }

prepare_inputs "$seconds"

run_host "$dll" "$work/short.wav" "$work/short-out.wav"
short_peak=$peak
timed_cpu "$wine" "$host" --quiet "$(winpath "$dll")" "$(winpath "$work/in.wav")" "$(winpath "$work/out.wav")"
host_wall=$wall host_cpu=$cpu host_peak=$peak
[ -s "$work/out.wav" ] || { echo "dsphost wrote no output" >&2; exit 1; }
cmp -s "$work/in.wav" "$work/out.wav" && { echo "Equaliser left the file unchanged: the effect did not run" >&2; exit 1; }

timed_cpu sox "$work/in.wav" "$work/sox.wav" fir "$work/taps.txt"
sox_wall=$wall sox_cpu=$cpu

# sox's fir output is aligned on the filter's centre; ours lags the input by
# 382 frames. Shifted, the two differ by rounding only (1/32768 is one step).
sox "$work/out.wav" "$work/shifted.wav" trim 382s
diff=$(sox -m -v 1 "$work/shifted.wav" -v -1 "$work/sox.wav" -n trim 0 60 stat 2>&1 |
    awk '/Maximum amplitude/{print $3; exit}')
rm -f "$work/shifted.wav" "$work/sox.wav"
echo "largest difference from sox over the first 60 s, output shifted by 382 frames: $diff of full scale"

bench_table_header
bench_table_row "equaliser, Rock preset" "$host_wall" "$sox_wall" "$copy_wall" "$host_peak" "$short_peak"
echo
echo "processor time: host $host_cpu s, sox $sox_cpu s"
echo "throughput: host $(mb_per_s "$bytes" "$host_wall") MB/s, sox $(mb_per_s "$bytes" "$sox_wall") MB/s"
echo "ratios: host/sox $(ratio "$host_wall" "$sox_wall") (wall), $(ratio "$host_cpu" "$sox_cpu") (processor); host/cp $(ratio "$host_wall" "$copy_wall")"
