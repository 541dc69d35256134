#!/usr/bin/env bash
# Runs the built QuillfernFaces.exe under Wine as a player would, in a private
# prefix in which the game's graphics folder already exists, and checks what
# it wrote. With no X display it runs in a private Xvfb, answers the final box
# itself and saves screenshots of the window and of that box. scripts/run.sh
# runs it here or, on a machine without 32-bit execution, in the test guest.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

build="$root/build/win32"
exe="$build/QuillfernFaces.exe"
driver="$build/tests/e2e/qf_driver.exe"
shots="$build/run-screenshots"
wait_scale=${QF_WAIT_SCALE:-1}

answer_for_player=0
[ -z "${DISPLAY:-}" ] && answer_for_player=1
export QF_WINE_PREFIX="$build/run-prefix"
source tools/wine/session.sh
echo "Preparing the Wine prefix $QF_WINE_PREFIX (the first time takes about 15 s natively)"
qf_session_start

graphics="$WINEPREFIX/drive_c/ProgramData/Tolvar/graphics"
mkdir -p "$graphics"
# Files left by an earlier run would hide whether this one wrote anything.
rm -f "$graphics"/Quillfern*

echo "Running QuillfernFaces.exe"
wine "$exe" &
installer=$!
if [ "$answer_for_player" -eq 1 ]; then
    rm -rf "$shots"
    mkdir -p "$shots"
    # The window, while the installer waits its two seconds.
    for _ in $(seq $((100 * wait_scale))); do
        xwininfo -name "Tolvar Support Files" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 0.5
    qf_screenshot "Tolvar Support Files" "$shots/window.png" >/dev/null || echo "  (no window to take a screenshot of)"
    # No screen to show the player: read the final box aloud, then press OK.
    timeout_ms=$((30000 * wait_scale))
    fields=$(wine "$driver" box --timeout-ms "$timeout_ms" | tr -d '\r')
    sed 's/^/  box: /' <<<"$fields"
    # The driver escapes backslashes and control characters as \\, \r, \xNN.
    title=$(printf '%b' "$(sed -n 's/^title=//p' <<<"$fields")")
    qf_screenshot "$title" "$shots/final-box.png" >/dev/null || echo "  (no box to take a screenshot of)"
    wine "$driver" box --press OK --timeout-ms "$timeout_ms" >/dev/null
    echo "Screenshots: $shots/window.png, $shots/final-box.png"
fi
status=0
wait "$installer" || status=$?

case $status in
    0) outcome="success" ;;
    1) outcome="no embedded file info" ;;
    2) outcome="the player declined to browse" ;;
    3) outcome="no folder chosen" ;;
    4) outcome="destination folder missing" ;;
    5) outcome="unexpected error while writing" ;;
    6) outcome="unhandled failure" ;;
    *) outcome="unknown" ;;
esac
echo "QuillfernFaces.exe exited with $status ($outcome)"

where=" ($graphics)"
[ "${QF_ROAD:-native}" = vm ] && where=" (in the guest)"
echo "Files in C:\\ProgramData\\Tolvar\\graphics$where:"
all_equal=1
for name in Quillfern.fac Quillfern1.edf Quillfern2.edf Quillfern3.edf Quillfern4.edf; do
    if [ ! -f "$graphics/$name" ]; then
        echo "  $name: missing"
        all_equal=0
    elif cmp -s "$graphics/$name" "resources/$name"; then
        printf '  %-15s %9d bytes, equal to its resource\n' "$name" "$(stat -c %s "$graphics/$name")"
    else
        echo "  $name: DIFFERS from resources/$name"
        all_equal=0
    fi
done
[ "$status" -eq 0 ] && [ "$all_equal" -eq 1 ]
