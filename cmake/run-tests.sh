#!/bin/bash
# Runs every test: the native build's tests directly, then each Windows build
# tree's tests under Wine of its width (64-bit, then 32-bit) on a virtual X
# display with one persistent wine server, and at the end lists every test
# that needed a second try and why.
# Usage: run-tests.sh [extra ctest arguments]
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
failed=()
rm -f "$here"/build/windows*/Testing/retries.txt

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir "$here/build/native" --output-on-failure -j"$jobs" "$@" || failed+=(native)

echo "== Windows tests under Wine, 64-bit"
"$here/cmake/test-windows.sh" "$here/build/windows" "$@" || failed+=("Windows 64-bit")

if why=$("$here/cmake/wine32-root.sh" check); then
  echo "== Windows tests under Wine, 32-bit"
  if "$here/cmake/wine32-root.sh" >/dev/null; then
    "$here/cmake/test-windows.sh" "$here/build/windows32" "$@" || failed+=("Windows 32-bit")
  else
    failed+=("32-bit Wine set-up")
  fi
else
  # Without 32-bit code nothing 32-bit runs, Wine included: what needs no
  # Wine is still checked (machine type, exports, versions, manifests, the
  # package), and the run says plainly that the rest was not run.
  echo "== Windows tests, 32-bit: NOT RUN under Wine: $why"
  echo "== 32-bit build checked without Wine: dist check and package"
  # shellcheck source=/dev/null
  . "$here/build/windows32/package.env"
  "$here/cmake/check-dist.sh" "$here/build/windows32/dist" i686-w64-mingw32-objdump "$CB_VERSION" pei-i386 x86 ||
    failed+=("32-bit dist check")
  "$here/cmake/check-package.sh" "$here/build/windows32/dist" "$here/build/windows32/testtmp/package" \
    "$here/build/windows32/package.env" win32 || failed+=("32-bit package check")
fi

retries=$(cat "$here"/build/windows*/Testing/retries.txt 2>/dev/null)
if [ -n "$retries" ]; then
  echo "== Tests that needed a second try (Wine's own failures):"
  echo "$retries" | sed 's/^/  /'
else
  echo "== No test needed a second try."
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
