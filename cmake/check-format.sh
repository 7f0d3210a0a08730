#!/bin/bash
# Checks (or, with --fix, applies) the tree's C++ layout from .clang-format.
# Without --fix it lists every file that differs and exits 1.
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here" || exit 2
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.c' 2>/dev/null ||
                     find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    echo "formatted ${#files[@]} files"
    exit 0
fi
bad=()
for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -ne 0 ]; then
    echo "These files do not follow .clang-format (run 'make format'):"
    printf '  %s\n' "${bad[@]}"
    exit 1
fi
echo "format check: ${#files[@]} files follow .clang-format"
