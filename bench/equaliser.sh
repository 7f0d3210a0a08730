#!/bin/bash
# Times the equaliser plug-in through the command-line host against sox's fir
# effect with the same 255 taps and against a plain copy, on one large stereo
# 16-bit WAV, and prints the ratios. Also shows the host's peak memory on a
# short and on the long file (it must not grow with the file's length).
#
# Usage: bench/equaliser.sh [WINDOWS_BUILD_DIR] [SECONDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with Equaliser.dll, dsphost.exe and
#                      equaliser_taps.exe built (default build/windows)
#   SECONDS            length of the test file (default 1200, about 200 MB)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/windows}" && pwd)
seconds=${2:-1200}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${EQ_BENCH_UNDER_XVFB:-}" ]; then
    export EQ_BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$build" "$seconds"
fi

if [ -f "$here/bench/common.sh" ]; then
    # shellcheck source=/dev/null
    source "$here/bench/common.sh"
fi

dll="$build/dist/Equaliser.dll"
host="$build/dist/tools/dsphost.exe"
taps_tool="$build/bench/equaliser_taps.exe"
for f in "$dll" "$host" "$taps_tool"; do
    [ -f "$f" ] || { echo "missing $f (build the Equaliser, dsphost and equaliser_taps targets)" >&2; exit 1; }
done

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
work=$(mktemp -d "${TMPDIR:-/tmp}/eqbench.XXXXXX")
cleanup() {
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1

winpath() { echo "Z:$1" | tr '/' '\\'; }

# Wall seconds, processor seconds (user + system) and peak resident memory
# in kB of a command. The machine may be shared: the processor time is the
# steadier figure, the wall time the one a user waits for.
timed() {
    local log="$work/time.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 </dev/null
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/{print $2}' "$log" |
        awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
    cpu=$(awk -F': ' '/User time/{u=$2} /System time/{s=$2} END {printf "%.2f", u + s}' "$log")
    peak=$(awk -F': ' '/Maximum resident set size/{print $2}' "$log")
}

# The "Rock" preset: boosts and cuts across the low and middle bands.
positions=(30 110 75 0 -25 0 20 30 30 0 0 0 0 0 0 0 0 0)
{
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Marrowby\\Tonvask\\tVC-DSP]"
    for band in "${!positions[@]}"; do
        printf '"EQ-Pos%d"=dword:%08x\n' "$band" $(( positions[band] & 0xFFFFFFFF ))
    done
} > "$work/positions.reg"
"$wine" regedit /S "$(winpath "$work/positions.reg")" </dev/null >/dev/null 2>&1

"$wine" "$taps_tool" 44100 "${positions[@]}" </dev/null 2>/dev/null | tr -d '\r' > "$work/taps.txt"
[ "$(wc -l < "$work/taps.txt")" -eq 255 ] || { echo "could not dump the taps" >&2; exit 1; }

echo "Making a ${seconds} s stereo 16-bit 44100 Hz WAV..."
sox -n -r 44100 -c 2 -b 16 "$work/in.wav" synth "$seconds" whitenoise vol 0.3
sox -n -r 44100 -c 2 -b 16 "$work/short.wav" synth 10 whitenoise vol 0.3
ls -l "$work/in.wav" | awk '{printf "input: %d bytes\n", $5}'

# Warm the file cache and Wine once.
cat "$work/in.wav" > /dev/null
timed "$wine" "$host" --quiet "$(winpath "$dll")" "$(winpath "$work/short.wav")" "$(winpath "$work/short-out.wav")"
short_peak=$peak

timed cp "$work/in.wav" "$work/copy.wav"
copy_wall=$wall copy_cpu=$cpu
timed sox "$work/in.wav" "$work/sox.wav" fir "$work/taps.txt"
sox_wall=$wall sox_cpu=$cpu sox_peak=$peak
timed "$wine" "$host" --quiet "$(winpath "$dll")" "$(winpath "$work/in.wav")" "$(winpath "$work/eq.wav")"
eq_wall=$wall eq_cpu=$cpu eq_peak=$peak

[ -s "$work/eq.wav" ] || { echo "dsphost wrote no output" >&2; exit 1; }
cmp -s "$work/in.wav" "$work/eq.wav" && { echo "dsphost output equals its input: the effect did not run" >&2; exit 1; }

printf '%-34s %8s %8s %10s\n' "" "wall s" "cpu s" "peak kB"
printf '%-34s %8s %8s %10s\n' "copy" "$copy_wall" "$copy_cpu" "-"
printf '%-34s %8s %8s %10s\n' "sox fir (255 taps)" "$sox_wall" "$sox_cpu" "$sox_peak"
printf '%-34s %8s %8s %10s\n' "dsphost Equaliser.dll" "$eq_wall" "$eq_cpu" "$eq_peak"
printf '%-34s %8s %8s %10s\n' "dsphost Equaliser.dll, 10 s file" "" "" "$short_peak"
awk -v e="$eq_wall" -v s="$sox_wall" -v c="$copy_wall" -v ec="$eq_cpu" -v sc="$sox_cpu" 'BEGIN {
    printf "ratio equaliser / sox, wall time:      %.2f (below 1: faster than sox)\n", e / s;
    printf "ratio equaliser / sox, processor time: %.2f\n", ec / sc;
    if (c > 0) printf "ratio equaliser / copy, wall time:     %.1f\n", e / c;
}'
