# Several monitors on one virtual X server (sourced, not run): Xvfb shows a single monitor, but
# Xorg with its dummy driver has outputs DUMMY0..DUMMY15 that xrandr lays out like real screens.
# Gives: need_xorg_dummy, start_xorg_dummy WORK_DIR, stop_xorg_dummy, layout LAYOUT...
XORG_PID=

need_xorg_dummy() {  # skips the test where Xorg's dummy driver cannot run here
    [ "$(id -u)" -eq 0 ] || { echo "skipped: Xorg needs root here"; exit "$SKIP"; }
    command -v Xorg >/dev/null && command -v xrandr >/dev/null || {
        echo "skipped: Xorg or xrandr is not installed (bash scripts/install-deps test)"; exit "$SKIP"; }
    ls /usr/lib/xorg/modules/drivers/dummy_drv.so >/dev/null 2>&1 || {
        echo "skipped: the Xorg dummy driver is not installed"; exit "$SKIP"; }
}

stop_xorg_dummy() { [ -n "$XORG_PID" ] && kill "$XORG_PID" 2>/dev/null && wait "$XORG_PID" 2>/dev/null; XORG_PID=; }

start_xorg_dummy() {  # start_xorg_dummy WORK_DIR: a server of our own, numbered by itself
    local work=$1 fdfile i
    mkdir -p "$work"
    cat >"$work/xorg.conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 5120 2048
    EndSubSection
EndSection
CONF
    fdfile=$(mktemp)
    Xorg -displayfd 9 -config "$work/xorg.conf" -configdir "$work" -noreset -nolisten tcp \
        -logfile "$work/xorg.log" 9>"$fdfile" >/dev/null 2>&1 &
    XORG_PID=$!
    for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    [ "$DISPLAY" != ":" ] || { echo "Xorg did not start (log: $work/xorg.log)"; exit 1; }
}

# layout NAME WxH+X+Y [NAME WxH+X+Y ...]: turns exactly these outputs on (the first is the
# primary), every other one off.
layout() {
    local args=() on=() i out mode pos
    while [ $# -gt 0 ]; do
        out=$1; mode=${2%%+*}; pos=${2#*+}; pos=${pos/+/x}
        xrandr --addmode "$out" "$mode" 2>/dev/null
        args+=(--output "$out" --mode "$mode" --pos "$pos")
        [ ${#on[@]} -eq 0 ] && args+=(--primary)
        on+=("$out")
        shift 2
    done
    for i in $(seq 0 15); do
        printf '%s\n' "${on[@]}" | grep -qx "DUMMY$i" || args+=(--output "DUMMY$i" --off)
    done
    xrandr "${args[@]}"
    sleep 1
}
