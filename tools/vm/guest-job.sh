# Runs inside the test guest, started by its init: prepares a Wine prefix to
# seed every prefix the command boots, runs the command from the project root,
# then writes the results onto the second disk as one tar.
set -u
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root USER=root LANG=C.UTF-8
# Without a UTF-8 locale Wine mangles non-ASCII file names.
source /qf/job/job.env
export QF_ROAD=vm QF_WAIT_SCALE
# Wine's shell puts a folder's last-access time (in two-second steps) into its
# item identifiers and compares them byte for byte, so the folder browser
# cannot select a folder that was read since the tree listed it. Emulated
# runs are slow enough for that to happen; Windows itself does not update
# access times by default.
mount -o remount,noatime / || echo "guest: cannot stop access-time updates; the folder browser tests may fail"

results=/qf/results
mkdir -p "$results"
cd "$QF_PROJECT" || { echo 1 >"$results/exit-code"; tar -c -f /dev/vdb -C "$results" .; exit; }

source tools/vm/road.sh
qf_runs_i386 && echo "guest: $(uname -r), 32-bit x86 code runs here ($qf_road_why)"

# One prefix booted per cached guest; every prefix of the run is a copy of it.
export QF_WINE_SEED=/qf/seed-prefix
mkdir -p "$QF_WINE_SEED"
if [ -b /dev/vdc ]; then
    tar -x -f /dev/vdc -C "$QF_WINE_SEED"
else
    started=$SECONDS
    echo "guest: booting the Wine prefix that seeds every other (once per cached guest)"
    if (
        unset QF_WINE_SEED
        export QF_WINE_PREFIX=/qf/seed-prefix
        source tools/wine/xvfb.sh
        source tools/wine/wine-env.sh
        booted=0
        qf_xvfb_start && qf_wine_boot || booted=$?
        qf_wine_stop
        qf_xvfb_stop
        exit "$booted"
    ); then
        tar -c -f "$results/seed-prefix.tar" -C "$QF_WINE_SEED" .
        echo "guest: the Wine prefix booted in $((SECONDS - started)) s"
    else
        unset QF_WINE_SEED
    fi
fi

touch /qf/started
# Through a pipe, as on a CI machine: the console is a terminal, and ctest
# would colour its summary line for it.
set -o pipefail
status=0
"${QF_COMMAND[@]}" 2>&1 | cat || status=$?
echo "$status" >"$results/exit-code"

# What the command wrote under the build folder comes back; Wine prefixes do
# not, apart from the logs a failing e2e row leaves at the top of its own.
cd /
prefixes=$(find "${QF_BUILD#/}" -name system.reg -printf '%h\n')
find "${QF_BUILD#/}" -type f -newer /qf/started -print | while read -r file; do
    inside=""
    for prefix in $prefixes; do
        case $file in "$prefix"/*.log) ;; "$prefix"/*) inside=1; break ;; esac
    done
    [ -z "$inside" ] && printf '%s\n' "${file#${QF_PROJECT#/}/}"
done >/qf/results.list
mkdir -p "$results/tree"
(cd "$QF_PROJECT" && tar -c -f - -T /qf/results.list) | tar -x -f - -C "$results/tree"
sync
tar -c -f /dev/vdb -C "$results" .
sync
