# A Wine prefix of a test's own, for tests that run Windows programs on a
# virtual display: Wine's desktop process keeps the display it was started
# with, so such tests must not share a prefix with others. Source this file;
# `use_wine_prefix DIR` exports what Wine needs and makes the prefix on first
# use; `end_wine_processes` ends every Wine process of it (the caller's own).
use_wine_prefix() {
    export WINEPREFIX=$1
    export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/.made" ]; then
        mkdir -p "$WINEPREFIX"
        env -u DISPLAY wineboot -i >"$WINEPREFIX.log" 2>&1 && wineserver -w \
            || fail "making the Wine prefix failed: $(cat "$WINEPREFIX.log")"
        touch "$WINEPREFIX/.made"
    fi
}

end_wine_processes() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
}
