# Sourced by the scripts that run Windows programs: one Wine session, that is
# an X display (a private Xvfb when there is none), the booted prefix named by
# QF_WINE_PREFIX and a persistent wineserver, all ended when the script exits.

qf_session_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$qf_session_dir/xvfb.sh"
source "$qf_session_dir/wine-env.sh"

qf_session_end() {
    qf_wine_stop
    qf_xvfb_stop
}

qf_session_start() {
    trap qf_session_end EXIT
    qf_xvfb_start
    qf_wine_boot
    qf_wine_keep_server
}
