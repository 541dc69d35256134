#!/usr/bin/env bash
# Builds QuillfernFaces.exe and runs it under Wine, in a private prefix in
# which the game's graphics folder already exists, then checks what it wrote.
# With no X display it runs in a private Xvfb and answers the final box itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target QuillfernFaces qf_driver
build="$root/build/win32"
exe="$build/QuillfernFaces.exe"
driver="$build/tests/e2e/qf_driver.exe"

answer_for_player=0
[ -z "${DISPLAY:-}" ] && answer_for_player=1
export QF_WINE_PREFIX="$build/run-prefix"
source tools/wine/session.sh
echo "Preparing the Wine prefix $QF_WINE_PREFIX (the first time takes about 15 s)"
qf_session_start

graphics="$WINEPREFIX/drive_c/ProgramData/Tolvar/graphics"
mkdir -p "$graphics"
# Files left by an earlier run would hide whether this one wrote anything.
rm -f "$graphics"/Quillfern*

echo "Running QuillfernFaces.exe"
wine "$exe" &
installer=$!
if [ "$answer_for_player" -eq 1 ]; then
    # No screen to show the player: read the final box aloud and press OK.
    wine "$driver" box --press OK --timeout-ms 30000 | sed 's/^/  box: /'
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

echo "Files in C:\\ProgramData\\Tolvar\\graphics ($graphics):"
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
