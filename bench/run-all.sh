#!/bin/bash
# Times every effect that changes audio twice, and prints one table of ratios,
# all measured in this run:
#   - on the raw file: the plug-in's DSPWorkOnThisFile alone (timed inside
#     dsphost --raw, so Wine's start-up is left out) against sox doing the
#     same work on the same raw samples and `cp` of the raw file;
#   - through dsphost on a WAV: the whole dsphost process, as a user sees it,
#     against sox doing the same work on the WAV and `cp` of the WAV; and what
#     dsphost's two conversions (WAV to raw, raw to WAV) cost in copies, each
#     against `cp` of the bytes it converts.
# Speeds (x sox, x cp) are reference time / our time: above 1 is faster. The
# conversions are our time / cp time: 1 or less is at most one plain copy.
# Below the table, the same copy made by a Windows program (bench/win_copy,
# ReadFile and WriteFile) shows the floor under Wine: cp copies inside the
# kernel, which no Windows program can ask for.
# ffmpeg is the second peer on the raw file: the same work through its own
# filters (afir with the same 255 taps, volume, areverse, atrim, afade, apad,
# adelay, silenceremove, pan, aresample with dither), in the same run, as a
# column beside sox's. The script installs ffmpeg (apt-get) when it is
# missing; without it the column says why.
# Every figure is given twice: from processor time (user + system, plus the
# Wine server's share for whole dsphost runs; the steadier figure on a shared
# machine) and from wall time. Each time is the least of ROUNDS runs.
# TagSetter changes no audio and is left out. The family scripts beside this
# one (fader.sh, equaliser.sh, basic-effects.sh, more-effects.sh) still check
# the results against sox and the peak memory.
#
# The 32-bit build (build/windows32, or BENCH_BUILD32) adds two columns: its
# plug-in on the raw file against sox, and its speed against the 64-bit
# plug-in's (32/64: 1 is as fast). They are measured where this machine runs
# 32-bit programs; elsewhere the table says why they are missing.
#
# Usage: bench/run-all.sh [WINDOWS_BUILD_DIR] [SECONDS] [ROUNDS]
#   WINDOWS_BUILD_DIR  a windows-preset build with the plug-ins, dsphost and
#                      equaliser_taps built (default build/windows)
#   SECONDS            seconds of stereo 44100 Hz noise between 2 s of silence
#                      at each end (default 600: a 16-bit WAV of about 106 MB;
#                      the 24-bit one for Dither16 is half as large again)
#   ROUNDS             runs of every command (default 2)
# BENCH_ONLY=REGEX runs only the rows whose names match (grep -E).
# With the defaults a run takes about 6 to 8 minutes on a busy 2-core machine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${2:-600}
rounds=${3:-2}

# The host may open windows: give it a display.
if [ -z "${DISPLAY:-}" ] && [ -z "${RUN_ALL_UNDER_XVFB:-}" ]; then
    export RUN_ALL_UNDER_XVFB=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "${1:-$here/build/windows}" "$seconds" "$rounds"
fi

# shellcheck source=bench/common.sh
source "$here/bench/common.sh"
bench_setup "${1:-$here/build/windows}" run-all
taps_tool="$build/bench/equaliser_taps.exe"
[ -f "$taps_tool" ] || { echo "missing $taps_tool (build equaliser_taps)" >&2; exit 1; }
copy_tool="$build/bench/win_copy.exe"
[ -f "$copy_tool" ] || { echo "missing $copy_tool (build win_copy)" >&2; exit 1; }

# name | plug-in | input bits | sox output options for a raw file | for a WAV | sox effects
# [| sox's global options instead of -D]. sox is told not to dither (-D), as
# the plug-ins do not, except in the second Equaliser row, which times it as
# it runs by default, dithering its 16-bit output.
rows=(
    "Equaliser Rock|Equaliser|16|||fir $work/taps.txt"
    "Equaliser, sox dithers|Equaliser|16|||fir $work/taps.txt|-V2"
    "Fader 6 s in+out|Fader|16|||fade t 6 0 6"
    "SilenceInserter 2+2 s|SilenceInserter|16|||pad 2 2"
    "Grabber 60 s at 30 s|Grabber|16|||trim 30 60"
    "Reverser|Reverser|16|||reverse"
    "MinLength +10 s|MinLength|16|||pad 0 10"
    "Quietener 50 %|Quietener|16|||vol 0.5"
    "Trimmer 5 s each end|Trimmer|16|||trim 5 -5"
    "SilenceRemover ends|SilenceRemover|16|||silence 1 0.05 4% reverse silence 1 0.05 4% reverse"
    "ChannelMover to mono|ChannelMover|16|-c 1|-c 1|remix 1,2"
    "Dither16 24 to 16|Dither16|24|-b 16|-b 16|dither -s"
    "Dither8 16 to 8|Dither8|16|-b 8 -e unsigned-integer|-b 8|dither -s"
    "Bits24 16 to 24|Bits24|16|-b 24|-b 24|"
)
# ffmpeg doing the same work, row by row: filter graph # output sample format
# (raw s16le when empty), split by #. Fades and trims are given in seconds of the input
# (2 s of silence + SECONDS + 2 s).
length=$(( seconds + 4 ))
ffmpeg_rows=(
    "[0:a][1:a]afir=gtype=none:precision=float#"
    "[0:a][1:a]afir=gtype=none:precision=float#"
    "afade=t=in:d=6,afade=t=out:st=$(( length - 6 )):d=6#"
    "adelay=2s:all=1,apad=pad_dur=2#"
    "atrim=start=30:duration=60#"
    "areverse#"
    "apad=whole_dur=$(( length + 10 ))#"
    "volume=0.5#"
    "atrim=start=5:end=$(( length - 5 ))#"
    "silenceremove=start_periods=1:start_duration=0.05:start_threshold=0.04,areverse,silenceremove=start_periods=1:start_duration=0.05:start_threshold=0.04,areverse#"
    "pan=mono|c0=0.5*c0+0.5*c1#"
    "aresample=osf=s16:dither_method=shibata#"
    "aresample=osf=u8:dither_method=shibata#u8"
    "#s24le"
)
# Only the rows asked for.
if [ -n "${BENCH_ONLY:-}" ]; then
    kept=() kept_ff=()
    for i in "${!rows[@]}"; do
        IFS='|' read -r name _ <<< "${rows[i]}"
        if grep -qE -- "$BENCH_ONLY" <<< "$name"; then kept+=("${rows[i]}"); kept_ff+=("${ffmpeg_rows[i]}"); fi
    done
    rows=("${kept[@]}") ffmpeg_rows=("${kept_ff[@]}")
    [ "${#rows[@]}" -gt 0 ] || { echo "no row matches $BENCH_ONLY" >&2; exit 1; }
fi
for row in "${rows[@]}"; do
    IFS='|' read -r _ dll _ <<< "$row"
    [ -f "$build/dist/$dll.dll" ] || { echo "missing $build/dist/$dll.dll (build the plug-ins)" >&2; exit 1; }
done

# ffmpeg, the second peer: installed here when it is missing (the tests never
# need it).
why_ffmpeg=""
if ! command -v ffmpeg >/dev/null; then
    echo "Installing ffmpeg for the second peer column..."
    if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null; then
        why_ffmpeg="ffmpeg is not installed and apt-get cannot be run here"
    elif ! { apt-get install -y --no-install-recommends ffmpeg >/dev/null 2>&1 ||
             { apt-get update >/dev/null 2>&1 &&
               apt-get install -y --no-install-recommends ffmpeg >/dev/null 2>&1; }; }; then
        why_ffmpeg="apt-get could not install ffmpeg"
    fi
fi

# The 32-bit build, run through 32-bit Wine in a prefix of its own.
build32=${BENCH_BUILD32:-$here/build/windows32}
why32=""
if [ ! -f "$build32/dist/tools/dsphost.exe" ]; then
    why32="no 32-bit build in $build32 (make build)"
elif ! why32=$("$here/cmake/wine32-root.sh" check); then
    :
elif ! "$here/cmake/wine32-root.sh" >/dev/null; then
    why32="the 32-bit Wine could not be set up (cmake/wine32-root.sh)"
else
    why32=""
fi
wine32() { WINEPREFIX="$build32/wineprefix" "$here/cmake/wine32-run.sh" "$@"; }
if [ -z "$why32" ]; then
    wine32 --wineserver -p </dev/null >/dev/null 2>&1
    wine32 wineboot </dev/null >/dev/null 2>&1
fi

# The settings that make each plug-in do what sox does above.
eq_positions=(30 110 75 0 -25 0 20 30 30 0 0 0 0 0 0 0 0 0)
settings=(Vol-Fade-In=-1 Vol-Fade-InLength=6000 Vol-Fade-Out=-1 Vol-Fade-OutLength=6000
          Silence-LenStart-mSec=2000 Silence-Len-mSec=2000
          Sound-Grabber-Len=60000 Sound-Grabber-Position=30000 Sound-Grabber-FromEnd=0
          Min-Len-mSec=$(( (seconds + 4 + 10) * 1000 )) Vol-Quiet-PCLessenBy=50
          Trim-Begin-Len=5000 Trim-End-Len=5000
          Silence-Remove-Level=-400 Silence-DetectionThresholdms=50 Silence-Remove-Begin=-1
          Silence-Remove-NotEnd=0
          ChannelMove-ChannelCount=1 ChannelMove-Downsample=0 ChannelMove-ch-from-0=0 ChannelMove-ch-to-0=0)
for band in "${!eq_positions[@]}"; do settings+=("EQ-Pos$band=${eq_positions[band]}"); done
store_settings "${settings[@]}"
[ -n "$why32" ] || wine=wine32 store_settings "${settings[@]}"
stop32() {
    [ -n "$why32" ] && return
    wine=wine32 clear_settings "${settings[@]%%=*}"
    wine32 --wineserver -k </dev/null >/dev/null 2>&1 || true
}
trap 'clear_settings "${settings[@]%%=*}"; stop32; _bench_cleanup' EXIT

"$wine" "$taps_tool" 44100 "${eq_positions[@]}" </dev/null 2>/dev/null | tr -d '\r' > "$work/taps.txt"
[ "$(wc -l < "$work/taps.txt")" -eq 255 ] || { echo "could not dump the equaliser's taps" >&2; exit 1; }
# The same taps for ffmpeg's afir: a stereo stream of 32-bit floats, one tap
# per frame (sox's own converters would clip the centre tap, above 1).
perl -ne 'chomp; print pack("f<f<", $_, $_) if length' "$work/taps.txt" > "$work/taps.f32"

echo "Making ${seconds} s of stereo 44100 Hz noise with 2 s of silence at each end, 16 and 24 bit, WAV and raw..."
for bits in 16 24; do
    sox -n -r 44100 -c 2 -b "$bits" "$work/core.wav" synth "$seconds" whitenoise vol 0.3
    sox "$work/core.wav" "$work/in$bits.wav" pad 2 2
    sox "$work/in$bits.wav" -t raw "$work/in$bits.raw"
    rm -f "$work/core.wav"
done
cat "$work"/in* > /dev/null # warm the file cache for everyone alike

# The Wine server of this prefix, whose processor time a dsphost run also costs.
server=""
for pid in $(pgrep -f wineserver || true); do
    if tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$pid; fi
done
server_ticks() {
    if [ -n "$server" ] && [ -r "/proc/$server/stat" ]; then
        awk '{print $14 + $15}' "/proc/$server/stat"
    else
        echo 0
    fi
}
ticks_per_second=$(getconf CLK_TCK)

# measure COMMAND...: sets wall and cpu (seconds, the latter with the Wine
# server's share); the command's output is kept in $work/out.txt.
measure() {
    local before after real user sys
    before=$(server_ticks)
    local TIMEFORMAT='%3R %3U %3S'
    { time "$@" > "$work/out.txt" 2> "$work/err.txt" < /dev/null; } 2> "$work/time.txt" ||
        { echo "failed: $*" >&2; cat "$work/err.txt" >&2; exit 1; }
    after=$(server_ticks)
    read -r real user sys < "$work/time.txt"
    wall=$real
    cpu=$(awk -v u="$user" -v s="$sys" -v a="$before" -v b="$after" -v t="$ticks_per_second" \
        'BEGIN { printf "%.3f", u + s + (b - a) / t }')
}

# step NAME: the wall and processor seconds dsphost gave for a step ("w c").
step() {
    sed -n "s/.* $1 \([0-9.]*\) s (processor \([0-9.]*\) s).*/\1 \2/p" "$work/out.txt"
}

declare -A best
# keep KEY VALUE: the least value seen for KEY.
keep() {
    if [ -z "${best[$1]:-}" ] || awk -v a="$2" -v b="${best[$1]}" 'BEGIN { exit !(a < b) }'; then
        best[$1]=$2
    fi
}

# Speed: reference / ours, two decimals; "-" when ours is 0 or the reference was not measured.
speed() { awk -v r="$1" -v o="$2" 'BEGIN { if (o > 0 && r != "") printf "%.2f", r / o; else printf "-" }'; }

run_row() {
    local i=$1 name dll bits raw_opts wav_opts effects sox_opts
    IFS='|' read -r name dll bits raw_opts wav_opts effects sox_opts <<< "${rows[i]}"
    sox_opts=${sox_opts:--D}
    local plugin in_raw in_wav w c
    plugin=$(winpath "$build/dist/$dll.dll")
    in_raw="$work/in$bits.raw"
    in_wav="$work/in$bits.wav"
    # shellcheck disable=SC2086 # the options and effects are word lists
    {
        cp "$in_raw" "$work/work.raw"
        measure "$wine" "$host" --raw "$plugin" "$(winpath "$work/work.raw")" --channels 2 --rate 44100 \
            --bits "$bits" --quiet --timings
        read -r w c <<< "$(step effect)"
        keep "$i.raw.wall" "$w"; keep "$i.raw.cpu" "$c"
        cmp -s "$in_raw" "$work/work.raw" && { echo "$dll left the raw file unchanged" >&2; exit 1; }
        if [ -z "$why32" ]; then
            mv "$work/work.raw" "$work/work64.raw"
            cp "$in_raw" "$work/work.raw"
            measure wine32 "$build32/dist/tools/dsphost.exe" --raw "$(winpath "$build32/dist/$dll.dll")" \
                "$(winpath "$work/work.raw")" --channels 2 --rate 44100 --bits "$bits" --quiet --timings
            read -r w c <<< "$(step effect)"
            keep "$i.raw32.wall" "$w"; keep "$i.raw32.cpu" "$c"
            cmp -s "$work/work64.raw" "$work/work.raw" || { echo "$dll: 32-bit bytes differ from 64-bit" >&2; exit 1; }
            rm -f "$work/work64.raw"
        fi
        rm -f "$work/work.raw"

        measure sox $sox_opts -t raw -r 44100 -e signed-integer -b "$bits" -c 2 "$in_raw" \
            -t raw -e signed-integer -b "$bits" $raw_opts "$work/sox.raw" $effects
        keep "$i.soxraw.wall" "$wall"; keep "$i.soxraw.cpu" "$cpu"
        rm -f "$work/sox.raw"
        if [ -z "$why_ffmpeg" ]; then
            local ff_filter ff_format ff_inputs
            IFS='#' read -r ff_filter ff_format <<< "${ffmpeg_rows[i]}"
            ff_inputs=(-f "s${bits}le" -ar 44100 -ac 2 -i "$in_raw")
            [[ $ff_filter != *afir* ]] || ff_inputs+=(-f f32le -ar 44100 -ac 2 -i "$work/taps.f32")
            measure ffmpeg -hide_banner -loglevel error -nostdin -y "${ff_inputs[@]}" \
                ${ff_filter:+-filter_complex "$ff_filter"} -f "${ff_format:-s16le}" "$work/ffmpeg.raw"
            [ -s "$work/ffmpeg.raw" ] || { echo "ffmpeg wrote nothing for $name" >&2; exit 1; }
            keep "$i.ffraw.wall" "$wall"; keep "$i.ffraw.cpu" "$cpu"
            rm -f "$work/ffmpeg.raw"
        fi
        measure cp "$in_raw" "$work/copy.raw"
        keep "$i.cpraw.wall" "$wall"; keep "$i.cpraw.cpu" "$cpu"
        rm -f "$work/copy.raw"

        measure "$wine" "$host" --quiet --timings "$plugin" "$(winpath "$in_wav")" "$(winpath "$work/out.wav")"
        keep "$i.wav.wall" "$wall"; keep "$i.wav.cpu" "$cpu"
        read -r w c <<< "$(step wav-to-raw)"
        keep "$i.in.wall" "$w"; keep "$i.in.cpu" "$c"
        read -r w c <<< "$(step raw-to-wav)"
        keep "$i.out.wall" "$w"; keep "$i.out.cpu" "$c"
        [ -s "$work/out.wav" ] || { echo "dsphost wrote no output for $dll" >&2; exit 1; }
        measure cp "$work/out.wav" "$work/copy.wav"
        keep "$i.cpout.wall" "$wall"; keep "$i.cpout.cpu" "$cpu"
        rm -f "$work/out.wav" "$work/copy.wav"

        measure sox $sox_opts "$in_wav" $wav_opts "$work/sox.wav" $effects
        keep "$i.soxwav.wall" "$wall"; keep "$i.soxwav.cpu" "$cpu"
        rm -f "$work/sox.wav"
        measure cp "$in_wav" "$work/copy.wav"
        keep "$i.cpwav.wall" "$wall"; keep "$i.cpwav.cpu" "$cpu"
        rm -f "$work/copy.wav"
    }
}

started=$(date +%s)
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for round in $(seq "$rounds"); do
    echo "round $round of $rounds..."
    measure "$wine" "$host" --help
    keep start.wall "$wall"
    # The floor for dsphost's conversions: a Windows program's plain copy of
    # the 16-bit WAV (timed inside it), against cp of the same bytes.
    measure "$wine" "$copy_tool" "$(winpath "$work/in16.wav")" "$(winpath "$work/wincopy.wav")"
    keep wincopy.wall "$(sed -n 's/^copy \([0-9.]*\) s.*/\1/p' "$work/out.txt")"
    rm -f "$work/wincopy.wav"
    measure cp "$work/in16.wav" "$work/copy.wav"
    keep cpcopy.wall "$wall"
    rm -f "$work/copy.wav"
    for i in "${!rows[@]}"; do run_row "$i"; done
done

bytes16=$(stat -c %s "$work/in16.wav")
echo
echo "$(nproc) processors; load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after;" \
    "$rounds rounds in $(( $(date +%s) - started )) s; the least time of the rounds counts."
echo "Input: ${seconds} s + 4 s stereo 44100 Hz; 16-bit WAV $bytes16 bytes. Wine start-up of dsphost" \
    "(in every WAV figure): ${best[start.wall]} s wall."
echo "Each pair: from processor time, from wall time. Speeds: reference time / ours (above 1 is faster)."
echo "Conversions: our time / cp of the same bytes (1 or less is at most one plain copy)."
echo "A Windows program's plain copy of the 16-bit WAV under Wine (ReadFile/WriteFile, 1 MiB pieces):" \
    "${best[wincopy.wall]} s wall against cp's ${best[cpcopy.wall]} s, that is" \
    "$(speed "${best[wincopy.wall]}" "${best[cpcopy.wall]}") cp: no conversion under Wine can cost less."
[ -z "$why32" ] || echo "32-bit columns: not measured: $why32."
[ -z "$why_ffmpeg" ] || echo "ffmpeg column: not measured: $why_ffmpeg."
printf '\n%-22s | %-37s | %-23s | %-23s | %-23s\n' "" "plug-in on the raw file" "dsphost on a WAV" "dsphost's conversions" \
    "32-bit plug-in, raw file"
printf '%-22s | %-11s %-11s %-11s | %-11s %-11s | %-11s %-11s | %-11s %-11s\n' effect "x sox" "x ffmpeg" "x cp" "x sox" "x cp" \
    "WAV->raw" "raw->WAV" "x sox" "32/64"
printf '%s\n' "-----------------------+---------------------------------------+-------------------------+-------------------------+------------------------"
pair() { printf '%5s %5s' "$1" "$2"; }
for i in "${!rows[@]}"; do
    IFS='|' read -r name _ <<< "${rows[i]}"
    cells=()
    for ref in soxraw ffraw cpraw; do
        cells+=("$(pair "$(speed "${best[$i.$ref.cpu]}" "${best[$i.raw.cpu]}")" \
            "$(speed "${best[$i.$ref.wall]}" "${best[$i.raw.wall]}")")")
    done
    for ref in soxwav cpwav; do
        cells+=("$(pair "$(speed "${best[$i.$ref.cpu]}" "${best[$i.wav.cpu]}")" \
            "$(speed "${best[$i.$ref.wall]}" "${best[$i.wav.wall]}")")")
    done
    # Copies: ours / cp, the speed turned round.
    cells+=("$(pair "$(speed "${best[$i.in.cpu]}" "${best[$i.cpwav.cpu]}")" \
        "$(speed "${best[$i.in.wall]}" "${best[$i.cpwav.wall]}")")")
    cells+=("$(pair "$(speed "${best[$i.out.cpu]}" "${best[$i.cpout.cpu]}")" \
        "$(speed "${best[$i.out.wall]}" "${best[$i.cpout.wall]}")")")
    if [ -z "$why32" ]; then
        cells+=("$(pair "$(speed "${best[$i.soxraw.cpu]}" "${best[$i.raw32.cpu]}")" \
            "$(speed "${best[$i.soxraw.wall]}" "${best[$i.raw32.wall]}")")")
        cells+=("$(pair "$(speed "${best[$i.raw.cpu]}" "${best[$i.raw32.cpu]}")" \
            "$(speed "${best[$i.raw.wall]}" "${best[$i.raw32.wall]}")")")
    else
        cells+=("$(pair - -)" "$(pair - -)")
    fi
    printf '%-22s | %s %s %s | %s %s | %s %s | %s %s\n' "$name" "${cells[@]}"
done
if [ -z "$why_ffmpeg" ]; then
    echo
    echo "Where ffmpeg's result differs in kind from ours (its times are still for the same amount of work):"
    echo "  - Equaliser: afir keeps the filter's own lag of 127 frames (ours is 382: one block more) and rounds"
    echo "    the same 255 taps' output its own way; both rows are the same ffmpeg run (it never dithers here)."
    echo "  - Fader: afade's default curve is a linear ramp per frame; ours steps its gain per sample, so the"
    echo "    channels of one frame get slightly different gains."
    echo "  - SilenceInserter, Grabber, Reverser, MinLength, Trimmer: the same kind of result (bytes moved or"
    echo "    silence added), through ffmpeg's decode and encode of every sample."
    echo "  - Quietener: volume rounds to nearest (fixed point); ours drops the low bits toward minus infinity."
    echo "  - SilenceRemover: silenceremove finds sound by the RMS of a 20 ms window; ours counts loud samples"
    echo "    in a 50 ms window and keeps one window before the onset, so the cut points differ."
    echo "  - ChannelMover: pan mixes in floating point and rounds; ours sums and truncates toward zero."
    echo "  - Dither16, Dither8: aresample's shibata noise shaping and its own triangular dither, not our"
    echo "    error-feedback shaping with its own generator: the same depth, other noise."
    echo "  - Bits24: the same exact scaling, as a plain conversion (no filter)."
fi

# The seconds behind the ratios, for a closer look.
log="$bench_root/build/bench/run-all-seconds.txt"
for key in "${!best[@]}"; do echo "$key ${best[$key]}"; done | sort -V > "$log"
echo
echo "Seconds behind the ratios: $log"
