# Shared by the tests that run Windows programs under Wine on a virtual X display (sourced after
# app/linux/tests/xvfb_common.sh). Gives: wine (the program), start_wine PREFIX LOG.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

start_wine() {  # start_wine PREFIX LOG: a display of our own and a Wine prefix made fresh on it
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    start_xvfb 1280x800x24
    trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null || wineserver -k 2>/dev/null; stop_xvfb' EXIT
    echo "== preparing the Wine prefix"
    # Once more when the first try leaves no system folder (seen on a loaded machine), and a
    # clear stop rather than every check failing on its own when the second fails too.
    local try
    for try in 1 2; do
        "$wine" wineboot -i >>"$2" 2>&1
        [ -d "$WINEPREFIX/drive_c/windows/system32" ] && break
    done
    [ -d "$WINEPREFIX/drive_c/windows/system32" ] || { echo "FAIL wineboot made no Wine prefix (log: $2)"; exit 1; }
    "$(dirname "$wine")/wineserver" -p 2>/dev/null || true   # keep one server for all the runs
}
