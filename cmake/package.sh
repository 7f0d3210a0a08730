#!/bin/bash
# Writes the release packages: one OUT_DIR/<name>-<version>-<width>.zip for
# each WIDTH=DIST_DIR given (win64=dist, win32=dist32), each with every shipped
# file of its DIST_DIR (everything but tools/) inside one folder
# <name>-<version>/, the readme beside them, and one SHA256SUMS of all.
# The name and version come from the build's package.env.
# Usage: package.sh OUT_DIR PACKAGE_ENV WIDTH=DIST_DIR [WIDTH=DIST_DIR]
set -euo pipefail
usage="usage: package.sh OUT_DIR PACKAGE_ENV WIDTH=DIST_DIR [WIDTH=DIST_DIR]"
out=${1:?$usage}
env_file=${2:?$usage}
shift 2
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
# shellcheck source=/dev/null
. "$env_file"
: "${CB_PACKAGE_NAME:?not in $env_file}" "${CB_VERSION:?not in $env_file}"
base="$CB_PACKAGE_NAME-$CB_VERSION"

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
rm -f "$out/$CB_PACKAGE_NAME"-*-win64.zip "$out/$CB_PACKAGE_NAME"-*-win32.zip "$out/SHA256SUMS" "$out/Readme.txt"
sums=()
readme=
for pair in "$@"; do
  width=${pair%%=*}
  case "$width" in win32 | win64) ;; *) echo "package.sh: '$pair' names no width (win32= or win64=)" >&2; exit 2 ;; esac
  dist=$(cd "${pair#*=}" && pwd)
  zip="$base-$width.zip"
  rm -rf "${stage:?}/$width"
  mkdir -p "$stage/$width/$base"
  (cd "$dist" && find . -path ./tools -prune -o -type f -print | sed 's|^\./||' | sort) >"$stage/$width.files"
  [ -s "$stage/$width.files" ] || { echo "package.sh: nothing to ship in $dist" >&2; exit 1; }
  while read -r f; do
    mkdir -p "$stage/$width/$base/$(dirname "$f")"
    cp -p "$dist/$f" "$stage/$width/$base/$f"
  done <"$stage/$width.files"
  sed "s|^|$base/|" "$stage/$width.files" >"$stage/$width.entries"
  (cd "$stage/$width" && cmake -E tar cf "$out/$zip" --format=zip --files-from="$stage/$width.entries")
  # One readme beside the packages: every width ships the same text.
  if [ -z "$readme" ]; then
    readme="$dist/Readme.txt"
  elif ! cmp -s "$readme" "$dist/Readme.txt"; then
    echo "package.sh: $readme and $dist/Readme.txt differ" >&2
    exit 1
  fi
  sums+=("$zip")
  echo "$out/$zip: $(wc -l <"$stage/$width.files") files, $(stat -c %s "$out/$zip") bytes"
done
cp "$readme" "$out/Readme.txt"
(cd "$out" && sha256sum "${sums[@]}" Readme.txt >SHA256SUMS)
