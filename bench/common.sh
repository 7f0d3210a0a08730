# Shared helpers for the plug-in benchmarks (source it from bench/<effect>.sh).
#
#   bench_setup BUILD_DIR NAME   checks dsphost.exe, makes a work folder under
#                                <repo>/build/bench/NAME.XXXXXX (removed at exit),
#                                starts one persistent wine server for BUILD_DIR's
#                                prefix (stopped at exit); sets: build host wine work
#   winpath PATH                 the path as a Wine program sees it (Z:\...)
#   make_wav FILE SECONDS [BITS] [CHANNELS] [RATE]
#                                white noise at 0.3 of full scale, made with sox
#   store_settings NAME=VALUE... writes numbers (DWORDs) to the plug-in key, through regedit
#   clear_settings NAME...       deletes those values again
#   timed COMMAND...             runs it (output discarded); sets wall (seconds) and
#                                peak (maximum resident set, kB) from /usr/bin/time -v
#   run_host PLUGIN.dll IN OUT   dsphost --quiet through Wine, timed
#   ratio A B                    A / B with two decimals ("-" when B is 0)
#   mb_per_s BYTES SECONDS       throughput
#   bench_table_header / bench_table_row NAME HOST SOX COPY PEAK SHORT_PEAK
#
# The benchmarks run under the build's own Wine prefix; nothing here touches
# another prefix or any file outside the work folder.

bench_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

winpath() { echo "Z:$1" | tr '/' '\\'; }

_bench_cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then "$wineserver" -k </dev/null >/dev/null 2>&1 || true; fi
    if [ -n "${work:-}" ] && [ -d "$work" ]; then rm -rf "$work"; fi
}

bench_setup() {
    build=$(cd "${1:?usage: bench_setup BUILD_DIR NAME}" && pwd)
    local name=${2:-bench}
    host="$build/dist/tools/dsphost.exe"
    [ -f "$host" ] || { echo "missing $host (build dsphost)" >&2; exit 1; }
    mkdir -p "$bench_root/build/bench"
    work=$(mktemp -d "$bench_root/build/bench/$name.XXXXXX")
    export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap _bench_cleanup EXIT
    "$wineserver" -p </dev/null >/dev/null 2>&1
    "$wine" wineboot </dev/null >/dev/null 2>&1
}

make_wav() {
    local file=$1 seconds=$2 bits=${3:-16} channels=${4:-2} rate=${5:-44100}
    sox -n -r "$rate" -c "$channels" -b "$bits" "$file" synth "$seconds" whitenoise vol 0.3
}

# Makes the long input ($work/in.wav, SECONDS long) and a 10 s one, warms the
# file cache and times a plain copy of the long one. Sets bytes and copy_wall.
prepare_inputs() {
  local seconds=$1
  echo "Making a ${seconds} s stereo 44100 Hz 16-bit WAV and a 10 s one in $work ..."
  make_wav "$work/in.wav" "$seconds"
  make_wav "$work/short.wav" 10
  bytes=$(stat -c %s "$work/in.wav")
  echo "input: $bytes bytes"
  cat "$work/in.wav" > /dev/null  # warm the file cache for everyone alike

  timed cp "$work/in.wav" "$work/copy.wav"
  copy_wall=$wall
  rm -f "$work/copy.wav"
}

_bench_reg() {
    local reg="$work/settings.reg"
    {
        echo "REGEDIT4"
        echo
        echo "[HKEY_CURRENT_USER\\Software\\Marrowby\\Tonvask\\tVC-DSP]"
        cat
    } > "$reg"
    "$wine" regedit /S "$(winpath "$reg")" </dev/null >/dev/null 2>&1
}

store_settings() {
    local kv
    for kv in "$@"; do
        printf '"%s"=dword:%08x\n' "${kv%%=*}" "$(( ${kv#*=} & 0xFFFFFFFF ))"
    done | _bench_reg
}

clear_settings() {
    local n
    for n in "$@"; do printf '"%s"=-\n' "$n"; done | _bench_reg
}

timed() {
    local log
    log=$(mktemp)
    /usr/bin/time -v -o "$log" "$@" >/dev/null 2>&1 </dev/null
    local rc=$?
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/{print $2}' "$log" |
        awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
    peak=$(awk -F': ' '/Maximum resident set size/{print $2}' "$log")
    rm -f "$log"
    return $rc
}

run_host() {
    timed "$wine" "$host" --quiet "$(winpath "$1")" "$(winpath "$2")" "$(winpath "$3")"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }

mb_per_s() { awk -v n="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.0f", n / s / 1e6; else printf "-" }'; }

bench_table_header() {
    printf '\n%-24s %9s %9s %9s %10s %10s %12s %14s\n' effect "host s" "sox s" "copy s" "host/sox" "host/copy" "peak kB" "peak small kB"
}

bench_table_row() {
    local name=$1 h=$2 s=$3 c=$4 p=$5 q=$6
    printf '%-24s %9.2f %9.2f %9.2f %10s %10s %12d %14d\n' "$name" "$h" "$s" "$c" "$(ratio "$h" "$s")" \
        "$(ratio "$h" "$c")" "$p" "$q"
}
