#!/bin/bash
# Times every effect through dsphost against sox and a plain copy, one script
# per family of effects, each printing its own table of ratios.
# Usage: bench/run-all.sh [WINDOWS_BUILD_DIR] [SECONDS]
# The Windows build must have the plug-ins, dsphost and equaliser_taps built.
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/windows}
status=0
for script in fader.sh equaliser.sh basic-effects.sh more-effects.sh; do
  echo "==== $script"
  if [ -n "$2" ]; then "$here/$script" "$build" "$2"; else "$here/$script" "$build"; fi || status=1
done
exit $status
