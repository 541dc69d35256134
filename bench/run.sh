#!/usr/bin/env bash
# The benchmark: builds the release installer, its timing build, the floors and
# the peer installers, then runs them in turn under Wine (bench/rounds.sh) and
# prints medians, each beside its floor and the peer from the same rounds. On a
# machine that executes no 32-bit code the rounds run in the test guest
# (tools/vm/), under emulation.
# Usage: bench/run.sh [rounds]   (default 11)
set -euo pipefail
rounds=${1:-11}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

bash scripts/setup.sh >/dev/null
build="$root/build-bench"
# The product's own build settings, in a folder of the benchmark's own.
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" -j2 --target QuillfernFaces qf_bench_installer qf_bench_floor \
    qf_bench_floor_rsrc qf_bench_launch qf_bench_copy qf_bench_peer >/dev/null

source tools/vm/road.sh
qf_road_choose
if [ "$QF_ROAD" = native ]; then
    bash bench/rounds.sh "$build" "$rounds"
else
    source tools/vm/vm.sh
    qf_vm_run "$build" bash bench/rounds.sh "$build" "$rounds"
fi
