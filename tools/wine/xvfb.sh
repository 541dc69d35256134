# Sourced: gives the calling script an X display, starting a private Xvfb when
# there is none. qf_xvfb_stop ends only the server this script started.

qf_xvfb_pid=""

qf_xvfb_start() {
    if [ -n "${DISPLAY:-}" ]; then
        return 0
    fi
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # -displayfd picks a free display number and tells us which.
    local log
    log=$(mktemp "${TMPDIR:-/tmp}/qf-xvfb.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >"$log" 2>&1 &
    qf_xvfb_pid=$!
    local number
    if ! read -r -t $((20 * ${QF_WAIT_SCALE:-1})) number <"$fifo"; then
        rm -f "$fifo"
        echo "xvfb: Xvfb did not start within $((20 * ${QF_WAIT_SCALE:-1})) s; the end of its output:" >&2
        tail -n 5 "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$fifo" "$log"
    export DISPLAY=":$number"
}

qf_xvfb_stop() {
    if [ -n "$qf_xvfb_pid" ]; then
        kill "$qf_xvfb_pid" 2>/dev/null || true
        wait "$qf_xvfb_pid" 2>/dev/null || true
        qf_xvfb_pid=""
    fi
}

# qf_screenshot <window title> <file>: the named window, frame and all, as it
# is on screen (Wine draws the frames of unmanaged windows itself). Prints the
# geometry; fails when no such window is shown.
qf_screenshot() {
    local geometry
    geometry=$(xwininfo -name "$1" 2>/dev/null | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { if (w) printf "%dx%d+%d+%d", w, h, x, y }')
    [ -n "$geometry" ] || return 1
    import -window root -crop "$geometry" +repage -strip "$2"
    echo "$geometry"
}
