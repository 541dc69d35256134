#!/usr/bin/env bash
# The benchmark's rounds, on programs that bench/run.sh has built into <build>:
# each program in turn under Wine in a private prefix and X display, then the
# table of medians.
# Usage: bench/rounds.sh <build folder> <rounds>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"
build=$(cd "$1" && pwd)
rounds=$2

# Always a private Xvfb: a desktop's window manager would change the timings.
unset DISPLAY
export QF_WINE_PREFIX="$build/bench-prefix"
source tools/wine/session.sh
echo "Preparing the Wine prefix (the first time takes about 15 s)" >&2
qf_session_start

# Everything the rounds use lives on the prefix's drive C, as an installed
# program and its files would.
work="$WINEPREFIX/drive_c/qf-bench"
graphics="$WINEPREFIX/drive_c/ProgramData/Tolvar/graphics"
names=(Quillfern.fac Quillfern1.edf Quillfern2.edf Quillfern3.edf Quillfern4.edf)
rm -rf "$work"
mkdir -p "$work/bin" "$work/source" "$work/records" "$graphics"
cp "$build/QuillfernFaces.exe" "$build/bench/"qf_bench_*.exe "$work/bin/"
for name in "${names[@]}"; do cp "resources/$name" "$work/source/"; done
bin='C:\qf-bench\bin'
records="$work/records"

empty_graphics() { rm -f "$graphics"/*; }

check_installed() {
    local name
    for name in "${names[@]}"; do
        cmp -s "$graphics/$name" "resources/$name" || { echo "bench: $name was not installed intact" >&2; exit 1; }
    done
}

launch() {  # launch <record> <program> [argument]
    local out=$1
    shift
    wine "$bin\\qf_bench_launch.exe" "$@" | tr -d '\r' >"$out"
}

one_round() {  # one_round <round> : every program once, the installer's floors beside it
    local r=$1
    empty_graphics
    launch "$records/installer-$r.launch" "$bin\\qf_bench_installer.exe" "C:\\qf-bench\\records\\installer-$r.txt"
    check_installed
    launch "$records/floor-$r.launch" "$bin\\qf_bench_floor.exe" "C:\\qf-bench\\records\\floor-$r.txt"
    launch "$records/floor_rsrc-$r.launch" "$bin\\qf_bench_floor_rsrc.exe" "C:\\qf-bench\\records\\floor_rsrc-$r.txt"
    empty_graphics
    wine "$bin\\qf_bench_copy.exe" 'C:\qf-bench\source' 'C:\ProgramData\Tolvar\graphics' | tr -d '\r' \
        >"$records/copy-$r.txt"
    check_installed
    empty_graphics
    launch "$records/product-$r.launch" "$bin\\QuillfernFaces.exe"
    check_installed
    # The peer, silent: stored, compressed, and empty for its cost beyond the install work.
    local variant
    for variant in stored lzma empty; do
        empty_graphics
        launch "$records/peer_$variant-$r.launch" "$bin\\qf_bench_peer_$variant.exe" /S
        [ "$variant" = empty ] || check_installed
    done
}

# One round to warm the caches, not counted.
echo "Warming up, then $rounds rounds of about 7 s each (natively; several times longer in the VM)" >&2
one_round warmup
rm -f "$records"/*
for r in $(seq 1 "$rounds"); do one_round "$r"; done

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')
echo "Measured on $(nproc) cores, $cpu, $(wine --version), load average $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "${QF_ROAD:-native}" = vm ]; then
    echo "These times are emulated: the rounds ran in a VM under software emulation, so only the"
    echo "ratios against the floors measured in this same run mean anything, not the absolute figures."
fi
python3 "$here/summarise.py" --records "$records" --rounds "$rounds" \
    --exe "$build/QuillfernFaces.exe" --floor-exe "$build/bench/qf_bench_floor.exe" \
    --peer-exe stored="$build/bench/qf_bench_peer_stored.exe" lzma="$build/bench/qf_bench_peer_lzma.exe" \
    empty="$build/bench/qf_bench_peer_empty.exe" \
    --objdump i686-w64-mingw32-objdump \
    --payload "${names[@]/#/resources/}" --window-picture resources/window.jpg
