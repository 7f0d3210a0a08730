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
build=$(cd "${1:-$here/build/windows}" && pwd)
seconds=${2:-600}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${BASIC_BENCH_UNDER_XVFB:-}" ]; then
    export BASIC_BENCH_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$build" "$seconds"
fi

if [ -f "$here/bench/common.sh" ]; then
    # shellcheck source=/dev/null
    source "$here/bench/common.sh"
fi

host="$build/dist/tools/dsphost.exe"
for f in "$host" "$build"/dist/{SilenceInserter,Grabber,Reverser,MinLength,Quietener,Trimmer}.dll; do
    [ -f "$f" ] || { echo "missing $f (build the six plug-ins and dsphost)" >&2; exit 1; }
done

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
work=$(mktemp -d "${TMPDIR:-/tmp}/basicbench.XXXXXX")
cleanup() {
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1

declare -F winpath >/dev/null || winpath() { echo "Z:$1" | tr '/' '\\'; }

# Seconds of wall time of a command, its peak resident memory in kB.
declare -F timed >/dev/null || timed() {
    local log="$work/time.log"
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 </dev/null
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/{print $2}' "$log" |
        awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
    peak=$(awk -F': ' '/Maximum resident set size/{print $2}' "$log")
}

# Settings, the same work sox does below: 2 s of silence at each end; 60 s
# kept from 30 s in; a minimum length 10 s past the file's end; 50 percent
# quieter; 5 s trimmed off each end.
hex() { printf 'dword:%08x' "$1"; }
{
    echo "REGEDIT4"
    echo
    echo "[HKEY_CURRENT_USER\\Software\\Marrowby\\Tonvask\\tVC-DSP]"
    echo "\"Silence-LenStart-mSec\"=$(hex 2000)"
    echo "\"Silence-Len-mSec\"=$(hex 2000)"
    echo "\"Sound-Grabber-Len\"=$(hex 60000)"
    echo "\"Sound-Grabber-Position\"=$(hex 30000)"
    echo "\"Sound-Grabber-FromEnd\"=$(hex 0)"
    echo "\"Min-Len-mSec\"=$(hex $(( (seconds + 10) * 1000 )))"
    echo "\"Vol-Quiet-PCLessenBy\"=$(hex 50)"
    echo "\"Trim-Begin-Len\"=$(hex 5000)"
    echo "\"Trim-End-Len\"=$(hex 5000)"
} > "$work/settings.reg"
"$wine" regedit /S "$(winpath "$work/settings.reg")" </dev/null >/dev/null 2>&1

echo "Making a ${seconds} s stereo 44100 Hz 16-bit WAV and a 10 s one..."
sox -n -r 44100 -c 2 -b 16 "$work/in.wav" synth "$seconds" whitenoise vol 0.3
sox -n -r 44100 -c 2 -b 16 "$work/short.wav" synth 10 whitenoise vol 0.3
ls -l "$work/in.wav" | awk '{printf "input: %d bytes\n", $5}'
cat "$work/in.wav" > /dev/null  # warm the file cache

timed cp "$work/in.wav" "$work/copy.wav"
copy_wall=$wall
rm -f "$work/copy.wav"

results=()
# name  plugin  sox-arguments (after "sox IN OUT")
bench() {
    local name=$1 dll=$2
    shift 2
    timed "$wine" "$host" --quiet "$(winpath "$build/dist/$dll")" "$(winpath "$work/short.wav")" "$(winpath "$work/short-out.wav")"
    local short_peak=$peak
    timed "$wine" "$host" --quiet "$(winpath "$build/dist/$dll")" "$(winpath "$work/in.wav")" "$(winpath "$work/out.wav")"
    local plug_wall=$wall plug_peak=$peak
    [ -s "$work/out.wav" ] || { echo "dsphost wrote no output for $dll" >&2; exit 1; }
    cmp -s "$work/in.wav" "$work/out.wav" && { echo "$dll left its input unchanged: the effect did not run" >&2; exit 1; }
    timed sox "$work/in.wav" "$work/sox.wav" "$@"
    local sox_wall=$wall
    # Same length as sox's result (the samples themselves are checked by the tests).
    local ours theirs
    ours=$(soxi -s "$work/out.wav")
    theirs=$(soxi -s "$work/sox.wav")
    [ "$ours" = "$theirs" ] || echo "note: $dll gave $ours frames, sox $theirs" >&2
    rm -f "$work/out.wav" "$work/sox.wav" "$work/short-out.wav"
    results+=("$name|$dll|$plug_wall|$sox_wall|$plug_peak|$short_peak")
}

bench "2 s silence each end" SilenceInserter.dll pad 2 2
bench "keep 60 s from 30 s"  Grabber.dll         trim 30 60
bench "reverse"              Reverser.dll        reverse
bench "pad to length + 10 s" MinLength.dll       pad 0 10
bench "50 percent quieter"   Quietener.dll       vol 0.5
bench "trim 5 s each end"    Trimmer.dll         trim 5 -5

printf '\n%-22s %-20s %9s %9s %9s %9s %12s %12s\n' effect plug-in "host s" "sox s" "host/sox" "host/copy" "peak kB" "peak 10s kB"
for r in "${results[@]}"; do
    IFS='|' read -r name dll plug sox peak short <<< "$r"
    awk -v n="$name" -v d="$dll" -v p="$plug" -v s="$sox" -v c="$copy_wall" -v k="$peak" -v q="$short" 'BEGIN {
        printf "%-22s %-20s %9.2f %9.2f %9.2f %9.1f %12d %12d\n", n, d, p, s, (s > 0 ? p / s : 0), (c > 0 ? p / c : 0), k, q
    }'
done
printf '%-22s %-20s %9.2f\n' "plain copy" "cp" "$copy_wall"
