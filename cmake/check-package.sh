#!/bin/bash
# Builds the release package from DIST_DIR into a scratch folder, unpacks it
# with an independent zip reader (Python's), and checks it: the name, the
# checksums, the readme beside it, the same files with the same bytes as
# DIST_DIR without tools/, and the project's version in every binary inside.
# WIDTH (win64 or win32) is the package DIST_DIR makes.
# Usage: check-package.sh DIST_DIR SCRATCH_DIR PACKAGE_ENV WIDTH
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
python=${PYTHON:-python3}
dist=$(cd "${1:?usage: check-package.sh DIST_DIR SCRATCH_DIR PACKAGE_ENV}" && pwd)
scratch=${2:?}
env_file=${3:?}
width=${4:?}
# shellcheck source=/dev/null
. "$env_file"
base="$CB_PACKAGE_NAME-$CB_VERSION"
fail=0
bad() { echo "FAIL $*"; fail=1; }

rm -rf "$scratch"
mkdir -p "$scratch"
"$here/package.sh" "$scratch/out" "$env_file" "$width=$dist" || { echo "FAIL package.sh failed"; exit 1; }
zip="$scratch/out/$base-$width.zip"
[ -f "$zip" ] || { echo "FAIL no $base-$width.zip in $scratch/out"; exit 1; }
[ "$(cd "$scratch/out" && ls | sort | tr '\n' ' ')" = "$base-$width.zip Readme.txt SHA256SUMS " ] ||
  bad "the package folder holds '$(ls "$scratch/out" | tr '\n' ' ')'"
(cd "$scratch/out" && sha256sum --quiet -c SHA256SUMS) || bad "SHA256SUMS does not match"
cmp -s "$scratch/out/Readme.txt" "$dist/Readme.txt" || bad "the readme beside the zip is not dist's"

"$python" -m zipfile -t "$zip" >/dev/null || bad "the zip does not test clean"
"$python" -m zipfile -e "$zip" "$scratch/unpacked" || { echo "FAIL the zip does not unpack"; exit 1; }
[ "$(ls "$scratch/unpacked")" = "$base" ] || bad "the zip's top level is '$(ls "$scratch/unpacked" | tr '\n' ' ')', not $base/"
(cd "$dist" && find . -path ./tools -prune -o -type f -print | sort) >"$scratch/want"
(cd "$scratch/unpacked/$base" && find . -type f | sort) >"$scratch/got"
diff -u "$scratch/want" "$scratch/got" || bad "the zip's files differ from dist/ without tools/ (- dist, + zip)"
grep -q '^\./tools/' "$scratch/got" && bad "the zip holds tools/"
[ "$(wc -l <"$scratch/got")" -gt 0 ] || bad "the zip is empty"

binaries=0
while read -r f; do
  cmp -s "$dist/$f" "$scratch/unpacked/$base/$f" || bad "$f in the zip differs from dist/"
  case "$f" in
  *.exe | *.dll)
    binaries=$((binaries + 1))
    info=$("$python" "$here/pe-resources.py" version "$scratch/unpacked/$base/$f") || { bad "$f has no version information"; continue; }
    grep -qxF "FixedFileVersion=$CB_VERSION.0" <<<"$info" && grep -qxF "String.FileVersion=$CB_VERSION" <<<"$info" ||
      bad "$f does not carry version $CB_VERSION: $(grep -i version <<<"$info" | tr '\n' ' ')"
    ;;
  esac
done <"$scratch/got"
[ $binaries -gt 0 ] || bad "no .exe or .dll in the zip"

# The readme inside names the version as the About window does: major.minor in two digits.
IFS=. read -r major minor _ <<<"$CB_VERSION"
short=$(printf '%d.%02d' "$major" "$minor")
grep -q "Cuebinder $short\b" "$scratch/unpacked/$base/Readme.txt" || bad "Readme.txt does not name Cuebinder $short"

[ $fail -eq 0 ] && echo "OK: $base-$width.zip holds $(wc -l <"$scratch/got") files ($binaries binaries), all at $CB_VERSION"
exit $fail
