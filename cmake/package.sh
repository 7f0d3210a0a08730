#!/bin/bash
# Writes the release package: OUT_DIR/<name>-<version>-win64.zip with every
# shipped file of DIST_DIR (everything but tools/) inside one folder
# <name>-<version>/, the readme beside it, and SHA256SUMS of both.
# The name and version come from the build's package.env.
# Usage: package.sh DIST_DIR OUT_DIR PACKAGE_ENV
set -euo pipefail
dist=$(cd "${1:?usage: package.sh DIST_DIR OUT_DIR PACKAGE_ENV}" && pwd)
out=${2:?}
env_file=${3:?}
# shellcheck source=/dev/null
. "$env_file"
: "${CB_PACKAGE_NAME:?not in $env_file}" "${CB_VERSION:?not in $env_file}"
base="$CB_PACKAGE_NAME-$CB_VERSION"
zip="$base-win64.zip"

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$base"
(cd "$dist" && find . -path ./tools -prune -o -type f -print | sed 's|^\./||' | sort) >"$stage/files"
[ -s "$stage/files" ] || { echo "package.sh: nothing to ship in $dist" >&2; exit 1; }
while read -r f; do
  mkdir -p "$stage/$base/$(dirname "$f")"
  cp -p "$dist/$f" "$stage/$base/$f"
done <"$stage/files"
sed "s|^|$base/|" "$stage/files" >"$stage/entries"

rm -f "$out/$CB_PACKAGE_NAME"-*-win64.zip "$out/SHA256SUMS"
(cd "$stage" && cmake -E tar cf "$out/$zip" --format=zip --files-from=entries)
cp "$dist/Readme.txt" "$out/Readme.txt"
(cd "$out" && sha256sum "$zip" Readme.txt >SHA256SUMS)
echo "$out/$zip: $(wc -l <"$stage/files") files, $(stat -c %s "$out/$zip") bytes"
