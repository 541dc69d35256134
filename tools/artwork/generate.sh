#!/usr/bin/env bash
# Rebuilds the artwork generator and rewrites every committed picture from code.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build-artwork"

# The index lettering comes from one font file of a Debian package; find it there rather than guess.
font_package=fonts-dejavu-core
font_file=DejaVuSerif-Bold.ttf
font="$(dpkg -L "$font_package" 2>/dev/null | grep "/$font_file\$" | head -n 1 || true)"
if [ -z "$font" ] || [ ! -f "$font" ]; then
    echo "generate.sh: $font_file from $font_package is missing; install $font_package (scripts/setup.sh)" >&2
    exit 1
fi

cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null

mkdir -p "$root/resources/icon" "$root/docs"
"$build/quillfern_artwork" "$root" "$font"
