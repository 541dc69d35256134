#!/usr/bin/env bash
# Runs every Windows test of the win32 build tree under Wine, in one session:
# an X display, the tree's booted prefix and a persistent wineserver. The test
# command runs it here or, on a machine without 32-bit execution, in the guest.
# Arguments go to ctest, so `windows-tests.sh -R e2e` runs a part.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

export QF_WINE_PREFIX="$root/build/win32/wine-prefix"
source tools/wine/session.sh
qf_session_start

ctest --preset win32 --output-junit junit.xml "$@"
