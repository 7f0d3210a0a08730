#!/bin/bash
# Reverses one WAV through dsphost and Reverser.dll and the same WAV with
# `sox IN OUT reverse`, and compares the samples of the two results.
# Usage: reverse_like_sox.sh WINE_RUN DIST_DIR WORK_DIR   (WINE_RUN: the build's
# cmake/wine-run.sh or wine32-run.sh; WINEPREFIX set by the caller)
set -euo pipefail
wine=$1
dist=$2
work=$3/reverse_like_sox
rm -rf "$work" && mkdir -p "$work"
command -v sox >/dev/null || { echo "sox is not installed"; exit 1; }

check() {  # channels bits seconds
  local in="$work/in-$1-$2.wav" ours="$work/ours-$1-$2.wav" theirs="$work/theirs-$1-$2.wav"
  sox -n -r 44100 -c "$1" -b "$2" "$in" synth "$3" whitenoise vol 0.5
  "$wine" "$dist/tools/dsphost.exe" --quiet "$dist/Reverser.dll" "Z:$in" "Z:$ours" </dev/null
  sox "$in" "$theirs" reverse
  sox "$ours" -t raw "$ours.raw"
  sox "$theirs" -t raw "$theirs.raw"
  [ -s "$ours.raw" ] || { echo "empty result for $1 channels, $2 bits"; exit 1; }
  cmp "$ours.raw" "$theirs.raw"
  echo "same samples: $1 channels, $2 bits, $3 s ($(stat -c %s "$ours.raw") bytes)"
}
check 2 16 2.5
check 1 8 1.3
check 2 24 3.01
rm -rf "$work"
