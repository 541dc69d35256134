#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the run need.
# Idempotent: packages already present are skipped, so a second call is quick.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: run as root (it installs Debian packages)" >&2
    exit 1
fi

packages=(
    cmake make ninja-build g++ pkg-config git
    googletest libgtest-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    imagemagick xxd file procps python3
    libcairo2-dev libjpeg62-turbo-dev libpng-dev libfreetype-dev
    fonts-dejavu-core fonts-liberation
    # makensis builds the benchmark's peer installer (bench/peer.nsi).
    nsis
)
# Wine and its X server on this machine where it runs 32-bit code; otherwise
# what builds and boots the test guest, which brings its own Wine.
source "$(dirname "$0")/../tools/vm/road.sh"
if qf_runs_i386; then
    packages+=(wine wine32:i386 fonts-wine xvfb x11-apps x11-utils)
fi
if [ "${QF_FORCE_VM:-0}" = 1 ] || ! qf_runs_i386; then
    packages+=(qemu-system-x86 mmdebstrap cpio)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup.sh: all packages present"
    exit 0
fi

if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "setup.sh: installed ${missing[*]}"
