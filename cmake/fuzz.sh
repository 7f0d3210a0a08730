#!/bin/bash
# Builds the libFuzzer harnesses (fuzz/) with the fuzz preset and runs each.
#   fuzz.sh           a fixed number of runs with a fixed seed over the seed
#                     corpus: deterministic, a few seconds each (make test)
#   fuzz.sh SECONDS   open-ended for SECONDS each, growing a working corpus in
#                     build/fuzz/corpus/ (make fuzz SECONDS=N)
# A finding stops the run; the input that shows it is saved as crash-* in
# build/fuzz/findings/.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-}
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz --target fuzz_harnesses || exit 1
findings="$here/build/fuzz/findings"
mkdir -p "$findings"
failed=0
for harness in "$here"/build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$harness")
  seeds="$here/fuzz/corpus/$name"
  # A harness may come with a dictionary of the tokens its input format uses.
  dict=()
  [ -f "$here/fuzz/$name.dict" ] && dict=(-dict="$here/fuzz/$name.dict")
  # A harness whose every input costs milliseconds (a filter designed per
  # input) names a smaller fixed run count in fuzz/<harness>.runs.
  fixed=30000
  [ -f "$here/fuzz/$name.runs" ] && fixed=$(cat "$here/fuzz/$name.runs")
  if [ -z "$seconds" ]; then
    # New inputs go to the first folder named: an empty one that is thrown
    # away, so the run is the same every time and the seeds stay as they are.
    scratch=$(mktemp -d)
    out=$("$harness" "${dict[@]}" -runs="$fixed" -seed=1 -artifact_prefix="$findings/$name-" "$scratch" "$seeds" 2>&1)
    rm -rf "$scratch"
  else
    work="$here/build/fuzz/corpus/$name"
    mkdir -p "$work"
    out=$("$harness" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/$name-" \
          "$work" "$seeds" 2>&1)
  fi
  rc=$?
  runs=$(printf '%s\n' "$out" | sed -n 's/^stat::number_of_executed_units: *//p; s/^Done \([0-9]*\) runs.*/\1/p' | tail -1)
  if [ $rc -ne 0 ]; then
    printf '%s\n' "$out" | tail -30
    echo "FAIL $name"
    failed=1
  else
    echo "ok   $name (${runs:-?} runs)"
  fi
done
exit $failed
