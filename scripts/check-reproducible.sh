#!/usr/bin/env bash
# Builds QuillfernFaces.exe a second time, from scratch in another folder, and
# fails unless it is byte-identical to the win32 preset's build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

first="$root/build/win32/QuillfernFaces.exe"
second_tree="$root/build/reproducible-check"
[ -f "$first" ] || { echo "check-reproducible: build the win32 preset first" >&2; exit 1; }

rm -rf "$second_tree"
cmake -S . -B "$second_tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' build/win32/CMakeCache.txt)" >/dev/null
cmake --build "$second_tree" --target QuillfernFaces -j2 >/dev/null

a=$(sha256sum <"$first" | cut -d' ' -f1)
b=$(sha256sum <"$second_tree/QuillfernFaces.exe" | cut -d' ' -f1)
echo "QuillfernFaces.exe  $a  (build/win32)"
echo "QuillfernFaces.exe  $b  (a second, clean tree)"
rm -rf "$second_tree"
[ "$a" = "$b" ] || { echo "check-reproducible: the two builds differ" >&2; exit 1; }
echo "check-reproducible: 1 passed, 0 failed"
