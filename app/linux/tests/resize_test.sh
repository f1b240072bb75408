#!/usr/bin/env bash
# A window resized a few hundred times in a row, as a user dragging its corner about would: the
# program's own window (SDL) and a window it draws into for someone else (--window-id, Xlib with
# shared-memory images). Afterwards it still draws the drive at the last size, has grown no
# memory and no shared-memory segments, and ends cleanly.
# Exit 77 (skipped) when Xvfb and its tools are not installed.
# usage: resize_test.sh SOURCE_DIR VELDMARK X11_TEST_PARENT WORK_DIR
set -u
src=$1
veldmark=$2
parent_tool=$3
SHOTS="$4/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
need Xvfb xdotool xwininfo import compare
start_xvfb 1280x800x24
trap '[ -n "${parent_pid:-}" ] && kill "$parent_pid" 2>/dev/null; stop_xvfb' EXIT

readonly warm_up_resizes=40
readonly resizes=300
# Allowed growth of the resident set over the resizes after the warm-up: allocator and driver
# caches settle in a few megabytes; a leak of one image (or texture) per resize would be
# hundreds of megabytes.
readonly allowed_growth_kb=$((24 * 1024))

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
segments() { awk -v pid="$1" '$5 == pid' /proc/sysvipc/shm | wc -l; }   # made by PID

resize_many() {  # resize_many WINDOW COUNT: sizes all over the screen, one after the other
    local i
    for i in $(seq "$2"); do
        xdotool windowsize "$1" $((160 + (i * 397) % 1000)) $((100 + (i * 211) % 650))
    done
}

# drawing_at NAME WINDOW WxH: the window has that size and shows the moving drive.
drawing_at() {
    local name=$1 wid=$2 size=$3 geometry
    geometry=$(xwininfo -id "$wid" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h "+" x "+" y}')
    expect "$name: the window is $size after the resizes (${geometry%%+*})" [ "${geometry%%+*}" = "$size" ]
    shot "$name-1"; sleep 1; shot "$name-2"
    convert "$SHOTS/$name-1.png" -crop "$geometry" +repage "$SHOTS/$name-area-1.png"
    convert "$SHOTS/$name-2.png" -crop "$geometry" +repage "$SHOTS/$name-area-2.png"
    expect "$name: it still shows the drive" [ "$(colours "$SHOTS/$name-area-1.png")" -gt 8 ]
    expect "$name: and the drive still moves" differ "$SHOTS/$name-area-1.png" "$SHOTS/$name-area-2.png"
}

# churn NAME PID WINDOW: resizes WINDOW many times and checks the program PID throughout.
churn() {
    local name=$1 pid=$2 wid=$3
    resize_many "$wid" "$warm_up_resizes"
    sleep 1
    local rss_before segments_before
    rss_before=$(rss_kb "$pid")
    segments_before=$(segments "$pid")
    resize_many "$wid" "$resizes"
    xdotool windowsize "$wid" 640 400
    sleep 2
    expect "$name: survives $resizes resizes in a row" still_running "$pid"
    still_running "$pid" || return
    local rss_after segments_after
    rss_after=$(rss_kb "$pid")
    segments_after=$(segments "$pid")
    expect "$name: resident memory stays flat (${rss_before} kB before, ${rss_after} kB after)" \
        [ $((rss_after - rss_before)) -le "$allowed_growth_kb" ]
    expect "$name: no shared-memory segments pile up ($segments_before before, $segments_after after)" \
        [ "$segments_after" -le "$segments_before" ]
    drawing_at "$name" "$wid" 640x400
}

echo "== the program's own window"
"$veldmark" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    sleep 2
    churn window "$pid" "$wid"
    ending_key "$wid" Escape
    wait_exit "$pid" 10
    expect "window: Escape still ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared"; kill "$pid" 2>/dev/null
fi

echo "== a window given by id"
start_parent "$parent_tool" 400 250
"$veldmark" --window-id "$xid" 2>"$SHOTS/window-id.err" & pid=$!
sleep 3
if [ -z "$xid" ]; then
    fail "the parent window did not start"; kill "$pid" "$parent_pid" 2>/dev/null
elif still_running "$pid"; then
    churn window-id "$pid" "$xid"
    kill -TERM "$pid"
    wait_exit "$pid" 10
    kill "$parent_pid"; wait "$parent_pid" 2>/dev/null; parent_pid=
    expect "window-id: SIGTERM still ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    wait "$pid"; code=$?
    fail "--window-id $xid did not start (exit code $code: $(head -n 3 "$SHOTS/window-id.err"))"
fi

finish
