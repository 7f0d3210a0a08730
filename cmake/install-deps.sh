#!/bin/bash
# Installs the Debian/Ubuntu packages the build and the tests need, and only
# when one is missing (so a warm run costs a single dpkg query).
set -e
packages=(
  make cmake ninja-build g++ googletest libbenchmark-dev clang-format clang libclang-rt-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  debootstrap bubblewrap binutils  # the 32-bit Wine root (cmake/wine32-root.sh) and its probe
  wine64 wine xvfb xauth xdotool x11-utils imagemagick fonts-wine sox
  python3  # cmake/pe-resources.py reads version information and manifests; the package test
)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
