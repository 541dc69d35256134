# Sourced by the scripts that run Windows programs: a private Wine prefix,
# booted once, with a persistent wineserver so each program starts fast.
# Needs QF_WINE_PREFIX set to the prefix folder before sourcing.

: "${QF_WINE_PREFIX:?QF_WINE_PREFIX must name the Wine prefix folder}"
export WINEPREFIX="$QF_WINE_PREFIX"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko prompts while the prefix boots; nothing here uses them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Boots the prefix once. Where QF_WINE_SEED names a booted prefix (the test
# guest sets it), the prefix starts as a copy of that one instead: the same
# result, without paying for wineboot again under emulation.
qf_wine_boot() {
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.qf-booted" ]; then
            if [ -n "${QF_WINE_SEED:-}" ] && [ -f "$QF_WINE_SEED/.qf-booted" ]; then
                cp -a "$QF_WINE_SEED/." "$WINEPREFIX/"
            else
                qf_wine_first_boot 9>&- || exit 1
            fi
        fi
        qf_wine_caption_font
    ) 9>"$WINEPREFIX.lock"
}

qf_wine_first_boot() {
    local log="$WINEPREFIX.boot.log"
    if ! wineboot -i >"$log" 2>&1; then
        echo "wine-env: wineboot failed for $WINEPREFIX; the end of its output ($log):" >&2
        tail -n 15 "$log" >&2
        if ! wine --version >/dev/null 2>&1; then
            echo "wine-env: wine itself does not start here: $(wine --version 2>&1 | tail -n 1)" >&2
        fi
        return 1
    fi
    # Without a window manager Wine waits ~2 s whenever a window is hidden
    # or destroyed; unmanaged windows skip that and Wine draws their frames.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1
    wineserver -w
    touch "$WINEPREFIX/.qf-booted"
}

# Wine draws the caption buttons with Marlett and captions with Tahoma. Debian's
# fonts-wine ships both in Wine's data folder, where this Wine does not pick
# them up for the frame: without copies in the prefix the buttons show as the
# letters 0, 1 and r, and captions fall back to another face.
qf_wine_caption_font() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    [ -d "$fonts" ] || return 0
    for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
        if [ -f "/usr/share/wine/fonts/$font" ] && [ ! -f "$fonts/$font" ]; then
            cp "/usr/share/wine/fonts/$font" "$fonts/"
        fi
    done
}

# Whether a wineserver serves this prefix: its environment names the prefix.
qf_wine_server_running() {
    local pid
    for pid in $(pgrep '^wineserver' 2>/dev/null); do
        if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            return 0
        fi
    done
    return 1
}

# Keeps the wineserver alive between programs; ended by qf_wine_stop. The
# prefix's background processes (services, the desktop) start here with their
# output on /dev/null: started by a test instead, they would inherit its pipe
# and keep ctest waiting on it for as long as the server lives.
qf_wine_keep_server() {
    (
        flock 9
        if ! qf_wine_server_running; then
            # The lock's descriptor is closed for them: the server outlives the lock.
            wineserver -p >/dev/null 2>&1 9>&- || true
            wineboot >/dev/null 2>&1 9>&- || true
            wine cmd /c exit >/dev/null 2>&1 9>&- || true
        fi
    ) 9>"$WINEPREFIX.lock"
}

qf_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
}
