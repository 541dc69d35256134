# Sourced by the scripts that run Windows programs: a private Wine prefix,
# booted once, with a persistent wineserver so each program starts fast.
# Needs QF_WINE_PREFIX set to the prefix folder before sourcing.

: "${QF_WINE_PREFIX:?QF_WINE_PREFIX must name the Wine prefix folder}"
export WINEPREFIX="$QF_WINE_PREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko prompts while the prefix boots; nothing here uses them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

qf_wine_boot() {
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.qf-booted" ]; then
            wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot failed for $WINEPREFIX" >&2; exit 1; }
            # Without a window manager Wine waits ~2 s whenever a window is hidden
            # or destroyed; unmanaged windows skip that and Wine draws their frames.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.qf-booted"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Keeps the wineserver alive between programs; ended by qf_wine_stop.
qf_wine_keep_server() {
    wineserver -p >/dev/null 2>&1 || true
}

qf_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
}
