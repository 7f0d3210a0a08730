#!/bin/bash
# Makes (once) and checks the 32-bit Wine the 32-bit build's tests run under,
# then prints its root folder.
#
# Debian's own wine32 needs the i386 architecture added to the host, which on
# a mirror whose i386 index lags behind its amd64 one leaves apt with no
# solution (or fails apt-get update outright). So 32-bit Wine lives in a small
# i386 Debian root of its own, made with debootstrap, and a program runs in it
# through bubblewrap with the host's /tmp, the work tree and the X display
# visible (cmake/wine32-run.sh). Nothing of it touches the host's package set.
#
# When the host itself already has a working 32-bit Wine (/usr/lib/wine/wine,
# e.g. a fresh Debian or Ubuntu whose mirror is consistent), that is used and
# this prints "/".
#
# "wine32-root.sh check" only tells whether this machine runs 32-bit x86
# programs at all (exit 0), or says why not (exit 3): some kernels are built or
# booted without 32-bit user code, and then no 32-bit Wine can run here.
#
# The root is kept outside the work tree (WINE32_ROOT, default
# /var/cache/tonvask/wine32-root), so every clone on the machine shares it; a
# finished root carries a stamp, and a warm call costs a stat or two.
set -eu
root=${WINE32_ROOT:-/var/cache/tonvask/wine32-root}
stamp="$root/.tonvask-wine32-ready"
# What the root holds: Wine itself, the fonts the windows are drawn with, and
# xdotool, which the end-to-end tests run from inside Wine to press keys.
packages="wine wine32 fonts-wine xdotool"
suite=${WINE32_SUITE:-bookworm}
mirror=${WINE32_MIRROR:-http://deb.debian.org/debian}

# Runs a five-instruction static i386 program that exits with 42.
runs_32bit_code() {
    local probe
    probe=$(mktemp -d)
    printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' >"$probe/p.S"
    local rc=1
    if as --32 -o "$probe/p.o" "$probe/p.S" 2>/dev/null && ld -m elf_i386 -o "$probe/p" "$probe/p.o" 2>/dev/null; then
        "$probe/p" 2>/dev/null
        [ $? -eq 42 ] && rc=0
    fi
    rm -rf "$probe"
    return $rc
}

why_not="this machine's kernel does not run 32-bit x86 programs (an i386 program's execve fails"
why_not+=" with 'Exec format error'; see dmesg for IA-32 emulation)"
if [ "${1:-}" = check ]; then
    runs_32bit_code && exit 0
    echo "$why_not"
    exit 3
fi

host_wine32() {
    [ -x /usr/lib/wine/wine ] && file -L /usr/lib/wine/wine 2>/dev/null | grep -q '32-bit'
}

if [ -z "${WINE32_ROOT:-}" ] && host_wine32; then
    echo /
    exit 0
fi
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$packages" ]; then
    echo "$root"
    exit 0
fi

if ! runs_32bit_code; then
    echo "wine32-root.sh: no 32-bit Wine can run here: $why_not" >&2
    exit 3
fi
if [ "$(id -u)" != 0 ]; then
    echo "wine32-root.sh: making the 32-bit Wine root needs root (debootstrap); run as root once" >&2
    exit 1
fi
for tool in debootstrap bwrap; do
    command -v "$tool" >/dev/null || {
        echo "wine32-root.sh: $tool is missing (cmake/install-deps.sh installs it)" >&2
        exit 1
    }
done

partial="$root.partial"
if [ -f "$stamp" ]; then
    # A finished root that lacks packages added since: top it up in place.
    echo "Adding packages to the 32-bit Wine root in $root" >&2
    mv "$root" "$partial"
else
    echo "Making the 32-bit Wine root in $root (once; a few minutes)" >&2
    # A half-made root from an interrupted run is started again from nothing.
    rm -rf "$root" "$partial"
    mkdir -p "$(dirname "$root")"
    debootstrap --arch=i386 --variant=minbase "$suite" "$partial" "$mirror" >"$root.log" 2>&1 || {
        echo "wine32-root.sh: debootstrap failed, see $root.log" >&2
        exit 1
    }
    # The same package sources as the host's mirror, so the root's packages match.
    printf 'deb %s %s main\n' "$mirror" "$suite" >"$partial/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$partial/etc/resolv.conf" 2>/dev/null || true
in_root() { chroot "$partial" env DEBIAN_FRONTEND=noninteractive PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
mount -t proc proc "$partial/proc"
trap 'umount "$partial/proc" 2>/dev/null || true' EXIT
{
    in_root apt-get update -qq &&
        in_root apt-get install -y -qq --no-install-recommends $packages
} >>"$root.log" 2>&1 || {
    echo "wine32-root.sh: installing wine32 in the root failed, see $root.log" >&2
    exit 1
}
in_root apt-get clean >/dev/null 2>&1 || true
umount "$partial/proc"
trap - EXIT
[ -x "$partial/usr/lib/wine/wine" ] || {
    echo "wine32-root.sh: the root has no /usr/lib/wine/wine" >&2
    exit 1
}
echo "$packages" >"$partial/.tonvask-wine32-ready"
mv "$partial" "$root"
echo "$root"
