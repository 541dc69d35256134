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
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    qf_xvfb_pid=$!
    local number
    if ! read -r -t 20 number <"$fifo"; then
        rm -f "$fifo"
        echo "xvfb: Xvfb did not start" >&2
        return 1
    fi
    rm -f "$fifo"
    export DISPLAY=":$number"
}

qf_xvfb_stop() {
    if [ -n "$qf_xvfb_pid" ]; then
        kill "$qf_xvfb_pid" 2>/dev/null || true
        wait "$qf_xvfb_pid" 2>/dev/null || true
        qf_xvfb_pid=""
    fi
}
