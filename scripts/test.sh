#!/usr/bin/env bash
# Builds both trees and runs every test: the native core under ASan/UBSan,
# then the cross-built programs under Wine in a private prefix and X display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

echo "== native core =="
cmake --preset host
cmake --build --preset host
ctest --preset host

echo "== Windows build =="
cmake --preset win32
cmake --build --preset win32
bash scripts/check-reproducible.sh

export QF_WINE_PREFIX="$root/build/win32/wine-prefix"
source tools/wine/session.sh
qf_session_start

echo "== Windows tests under Wine =="
ctest --preset win32
