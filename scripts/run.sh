#!/usr/bin/env bash
# Builds QuillfernFaces.exe and runs it under Wine, in a private prefix in
# which the game's graphics folder already exists, then checks what it wrote
# (tools/wine/run-installer.sh). On a machine that executes no 32-bit code it
# runs in the test guest, a Debian VM (tools/vm/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source tools/vm/road.sh
qf_road_choose
cmake --preset win32 -DQF_WAIT_SCALE="${QF_WAIT_SCALE:-1}" >/dev/null
cmake --build --preset win32 --target QuillfernFaces qf_driver

if [ "$QF_ROAD" = native ]; then
    bash tools/wine/run-installer.sh
else
    source tools/vm/vm.sh
    qf_vm_run build/win32 bash tools/wine/run-installer.sh
fi
