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
    wine wine32:i386 fonts-wine
    xvfb x11-apps x11-utils imagemagick
    xxd file procps python3
    libcairo2-dev libjpeg62-turbo-dev libpng-dev libfreetype-dev
    fonts-dejavu-core fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup.sh: all packages present"
    exit 0
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "setup.sh: installed ${missing[*]}"
