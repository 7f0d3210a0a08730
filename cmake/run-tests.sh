#!/bin/bash
# Runs every test: the native build's tests directly, then the Windows build's
# tests under Wine on a virtual X display with one persistent wine server.
# Usage: run-tests.sh [extra ctest arguments]
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir "$here/build/native" --output-on-failure -j"$jobs" "$@"
native=$?

echo "== Windows tests under Wine"
"$here/cmake/test-windows.sh" "$here/build/windows" "$@"
windows=$?

if [ $native -ne 0 ] || [ $windows -ne 0 ]; then
  echo "FAILED: native tests exit $native, Windows tests exit $windows"
  exit 1
fi
