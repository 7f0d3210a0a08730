#!/bin/bash
# Builds one libFuzzer target of a portable core with clang, in a build tree of
# its own (build/fuzz, configured with CB_FUZZ=ON), and runs it.
# Usage: cmake/fuzz.sh TARGET [SECONDS] [more libFuzzer options]
# The corpus grows in build/fuzz/corpus/TARGET; a dictionary TARGET's source
# folder holds as <name>.dict is used when present; findings land in
# build/fuzz/findings/.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: fuzz.sh TARGET [SECONDS] [libFuzzer options]}
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
build="$here/build/fuzz"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCB_FUZZ=ON >/dev/null
cmake --build "$build" --target "$target" -j2
binary=$(find "$build" -name "$target" -type f -perm -u+x | head -1)
dict=$(find "$here" -path "$here/build" -prune -o -name "${target#aux_}.dict" -print | head -1)
mkdir -p "$build/corpus/$target" "$build/findings"
cd "$build/findings"
exec "$binary" -max_total_time="$seconds" -jobs=1 -workers=1 -print_final_stats=1 \
  -artifact_prefix="$build/findings/" ${dict:+-dict="$dict"} "$@" "$build/corpus/$target"
