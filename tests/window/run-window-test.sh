#!/usr/bin/env bash
# The window's screenshot test, on a private X display and a fresh private Wine
# prefix, so no other test's window covers it and the installer finds no
# default folder:
#   0. frmMain's own tests, in their process (the window is never shown);
#   1. the harness shows frmMain; qf_window_check reads it from the screen;
#   2. a screenshot of the window with its frame goes to <out>/window.png;
#   3. the window is maximised and checked again, then closed;
#   4. QuillfernFaces.exe runs: its first frame is checked during the paced
#      wait, its window is closed, and it must still go on to its exit.
# Usage: run-window-test.sh <frmmain tests.exe> <harness.exe> <check.exe> <QuillfernFaces.exe> <out folder>
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
unit=$1
harness=$2
check=$3
installer=$4
out=$5

readonly title="Tolvar Support Files"
# Under emulation (the test guest) QF_WAIT_SCALE stretches every wait.
readonly harness_lifetime_ms=$((60000 * ${QF_WAIT_SCALE:-1}))
readonly exit_closed=0          # the harness saw its window closed
readonly exit_no_folder_chosen=3

mkdir -p "$out"
rm -f "$out"/*.bmp "$out/window.png"
rm -rf "$out/wine-prefix"

unset DISPLAY
source "$root/tools/wine/xvfb.sh"
export QF_WINE_PREFIX="$out/wine-prefix"
source "$root/tools/wine/wine-env.sh"

pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    qf_wine_stop
    qf_xvfb_stop
}
trap cleanup EXIT

qf_xvfb_start
qf_wine_boot
# A new prefix lacks Wine's own TrueType fonts here, so title bars would fall
# back to another face and the caption buttons to letters; copy them in.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    file=$(dpkg -L fonts-wine 2>/dev/null | grep "/$font\$" | head -n 1 || true)
    if [ -z "$file" ]; then
        echo "run-window-test: $font from fonts-wine is missing (scripts/setup.sh installs it)" >&2
        exit 1
    fi
    cp "$file" "$fonts/"
done
qf_wine_keep_server

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# expect_exit PID CODE WHO MEANING: waits for PID and fails unless it ended with CODE.
expect_exit() {
    local status=0
    wait "$1" || status=$?
    if [ "$status" -ne "$2" ]; then
        echo "run-window-test: $3 ended with $status, expected $2 ($4)" >&2
        exit 1
    fi
}

echo "== frmMain in its own process =="
wine "$unit"

echo "== the window, shown by the harness =="
wine "$harness" "$harness_lifetime_ms" &
harness_pid=$!
pids+=("$harness_pid")
wine "$check" --gtest_filter='Window.*:Frame.*:lab1/*' "$(windows_path "$harness")" "$(windows_path "$out")"

geometry=$(qf_screenshot "$title" "$out/window.png") || { echo "run-window-test: no window to take a screenshot of" >&2; exit 1; }
echo "screenshot: $out/window.png ($geometry)"

echo "== maximised, then closed =="
wine "$check" --gtest_filter='Maximised.*:Closed.*' "$(windows_path "$harness")" "$(windows_path "$out")"
expect_exit "$harness_pid" "$exit_closed" "the harness" "its window closed"

echo "== QuillfernFaces.exe =="
wine "$installer" &
installer_pid=$!
pids+=("$installer_pid")
wine "$check" --gtest_filter='Installer.*' "$(windows_path "$installer")" "$(windows_path "$out")"
expect_exit "$installer_pid" "$exit_no_folder_chosen" "the installer" "no folder chosen"
echo "run-window-test: all window checks passed"
