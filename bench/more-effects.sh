#!/bin/bash
# Times SilenceRemover, ChannelMover, Dither16, Dither8 and Bits24 through the
# command-line host against the same work done by sox (silence, remix,
# dither -s, a plain bit-depth change) and against a plain copy, in one run,
# and prints the ratios. Each plug-in also runs on a 10 s file so its peak
# memory can be compared with the long file's: it must not grow with length.
#
# Usage: bench/more-effects.sh [WINDOWS_BUILD_DIR] [SECONDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with the five plug-ins and
#                      dsphost.exe built (default build/windows)
#   SECONDS            length of the test files (default 600)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/windows}" && pwd)
seconds=${2:-600}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${MORE_BENCH_UNDER_XVFB:-}" ]; then
    export MORE_BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$build" "$seconds"
fi

if [ -f "$here/bench/common.sh" ]; then
    # shellcheck source=/dev/null
    source "$here/bench/common.sh"
fi

host="$build/dist/tools/dsphost.exe"
for f in "$host" "$build"/dist/{SilenceRemover,ChannelMover,Dither16,Dither8,Bits24}.dll; do
    [ -f "$f" ] || { echo "missing $f (build the plug-ins and dsphost)" >&2; exit 1; }
done

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
work=$(mktemp -d "${TMPDIR:-/tmp}/morebench.XXXXXX")
cleanup() {
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1

winpath() { echo "Z:$1" | tr '/' '\\'; }

# Seconds of wall time of a command, its peak resident memory in kB.
timed() {
    local log="$work/time.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 </dev/null
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/{print $2}' "$log" |
        awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
    peak=$(awk -F': ' '/Maximum resident set size/{print $2}' "$log")
}

# Settings: both ends of the silence cut (4 percent, 50 ms), stereo to mono
# with "Added / Count" and no moves.
{
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Marrowby\\Tonvask\\tVC-DSP]"
    echo '"Silence-Remove-Level"=dword:fffffe70'
    echo '"Silence-DetectionThresholdms"=dword:00000032'
    echo '"Silence-Remove-Begin"=dword:ffffffff'
    echo '"Silence-Remove-NotEnd"=dword:00000000'
    echo '"ChannelMove-ChannelCount"=dword:00000001'
    echo '"ChannelMove-Downsample"=dword:00000000'
    echo '"ChannelMove-ch-from-0"=dword:00000000'
    echo '"ChannelMove-ch-to-0"=dword:00000000'
} > "$work/settings.reg"
"$wine" regedit /S "$(winpath "$work/settings.reg")" </dev/null >/dev/null 2>&1

echo "Making ${seconds} s stereo 44100 Hz WAVs (16 and 24 bit; noise with 2 s of silence at each end)..."
make_wav() {  # bits seconds file
    sox -n -r 44100 -c 2 -b "$1" "$work/core-$1.wav" synth "$2" whitenoise vol 0.3
    sox "$work/core-$1.wav" "$3" pad 2 2
    rm -f "$work/core-$1.wav"
}
make_wav 16 "$seconds" "$work/in16.wav"
make_wav 24 "$seconds" "$work/in24.wav"
make_wav 16 10 "$work/short16.wav"
make_wav 24 10 "$work/short24.wav"
ls -l "$work/in16.wav" | awk '{printf "16-bit input: %d bytes\n", $5}'
cat "$work"/in16.wav "$work"/in24.wav > /dev/null  # warm the file cache

timed cp "$work/in16.wav" "$work/copy.wav"
copy_wall=$wall
rm -f "$work/copy.wav"

results=()
# name  plugin  input  sox-arguments (after "sox IN OUT")
bench() {
    local name=$1 dll=$2 bits=$3
    shift 3
    local in="$work/in$bits.wav" short="$work/short$bits.wav"
    timed "$wine" "$host" "$(winpath "$build/dist/$dll")" "$(winpath "$short")" "$(winpath "$work/short-out.wav")"
    local short_peak=$peak
    timed "$wine" "$host" "$(winpath "$build/dist/$dll")" "$(winpath "$in")" "$(winpath "$work/out.wav")"
    local plug_wall=$wall plug_peak=$peak
    [ -s "$work/out.wav" ] || { echo "dsphost wrote no output for $dll" >&2; exit 1; }
    cmp -s "$in" "$work/out.wav" && { echo "$dll left its input unchanged: the effect did not run" >&2; exit 1; }
    timed sox "$in" "$@"
    local sox_wall=$wall
    rm -f "$work/out.wav" "$work/sox.wav" "$work/short-out.wav"
    results+=("$name|$dll|$plug_wall|$sox_wall|$plug_peak|$short_peak")
}

bench "silence (both ends)" SilenceRemover.dll 16 "$work/sox.wav" silence 1 0.05 4% reverse silence 1 0.05 4% reverse
bench "stereo to mono"      ChannelMover.dll   16 "$work/sox.wav" remix 1,2
bench "24 to 16 bit dither" Dither16.dll       24 -b 16 "$work/sox.wav" dither -s
bench "16 to 8 bit dither"  Dither8.dll        16 -b 8 "$work/sox.wav" dither -s
bench "16 to 24 bit"        Bits24.dll         16 -b 24 "$work/sox.wav"

printf '\n%-22s %-20s %9s %9s %9s %9s %12s %12s\n' effect plug-in "host s" "sox s" "host/sox" "host/copy" "peak kB" "peak 10s kB"
for r in "${results[@]}"; do
    IFS='|' read -r name dll plug sox peak short <<< "$r"
    awk -v n="$name" -v d="$dll" -v p="$plug" -v s="$sox" -v c="$copy_wall" -v k="$peak" -v q="$short" 'BEGIN {
        printf "%-22s %-20s %9.2f %9.2f %9.2f %9.1f %12d %12d\n", n, d, p, s, (s > 0 ? p / s : 0), (c > 0 ? p / c : 0), k, q
    }'
done
printf '%-22s %-20s %9.2f\n' "plain copy" "cp" "$copy_wall"
