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
source tools/vm/road.sh
qf_road_choose
cmake --preset win32 -DQF_WAIT_SCALE="${QF_WAIT_SCALE:-1}"
cmake --build --preset win32
bash scripts/check-reproducible.sh

echo "== Windows tests under Wine =="
if [ "$QF_ROAD" = native ]; then
    bash tools/wine/windows-tests.sh
else
    source tools/vm/vm.sh
    qf_vm_run build/win32 bash tools/wine/windows-tests.sh
fi
