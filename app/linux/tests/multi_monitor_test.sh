#!/usr/bin/env bash
# The full-screen saver on several monitors, as a user with two or three screens meets it: every
# monitor shows the drive, filling it to every edge whatever its shape (16:9, 5:4, 4:3); a key, a click on any monitor, or a mouse move of more than 8 pixels
# on any of them (measured on the desktop from where the mouse was first seen) ends it with exit
# code 0, and 8 pixels does not; a monitor that goes away ends it cleanly with exit code 0, but
# not a plain window or --root.
# Runs the Linux program, or the Windows build under Wine, on Xorg's dummy driver.
#   multi_monitor_test.sh linux SOURCE_DIR VELDMARK WORK_DIR
#   multi_monitor_test.sh wine  SOURCE_DIR VELDMARK.EXE WORK_DIR
# Exit 77 (skipped) where Xorg's dummy driver, xdotool or ImageMagick (or Wine) is missing.
set -u
kind=$1 src=$2 program=$3 work=$4
SHOTS="$work/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
. "$src/app/linux/tests/xorg_dummy.sh"
need xdotool xwininfo import convert
need_xorg_dummy
if [ "$kind" = wine ]; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    need "$wine" "$program"
    export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fi
start_xorg_dummy "$work/xorg"
cleanup() {
    [ "$kind" = wine ] && { "$(dirname "$wine")/wineserver" -k 2>/dev/null || true; }
    stop_xorg_dummy
}
trap cleanup EXIT
[ "$kind" = wine ] && "$wine" wineboot -i >"$work/wineboot.log" 2>&1

patience=8
[ "$kind" = wine ] && patience=20
start() {  # starts the saver on every monitor; PID is the process to watch
    if [ "$kind" = wine ]; then "$wine" "$program" /s >/dev/null 2>&1 & PID=$!
    else "$program" /s >/dev/null 2>&1 & PID=$!; fi
    local i n
    for i in $(seq $((patience * 10))); do
        n=$(xwininfo -root -children 2>/dev/null | grep -c '"Veldmark"')
        [ "$n" -ge "$MONITORS" ] && break
        sleep 0.1
    done
    sleep 3   # a few frames on every monitor
}

# use_layout LAYOUT...: the monitors for the next runs. Wine reads the layout when its server
# starts, so that is started afresh.
use_layout() {
    layout "$@"
    if [ "$kind" = wine ]; then
        "$(dirname "$wine")/wineserver" -k 2>/dev/null; "$(dirname "$wine")/wineserver" -w 2>/dev/null
        "$wine" wineboot >/dev/null 2>&1
    fi
}

# run_layout NAME LAYOUT...: the checks on one monitor layout
run_layout() {
    local name=$1 i rect x y w h cx cy
    shift
    use_layout "$@"
    MONITORS=$(($# / 2))
    echo "== $kind, $name: $(xrandr --listmonitors | head -1)"
    start
    shot "$kind-$name"
    local all=1 filled=1
    set -- "$@"
    while [ $# -gt 0 ]; do
        rect=$2
        [ "$(colours "$SHOTS/$kind-$name.png" "$rect")" -gt 8 ] || { all=0; echo "     $1 ($rect) does not show the drive"; }
        edges_lit "$SHOTS/$kind-$name.png" "$rect" || { filled=0; echo "     $1 ($rect) has a black bar"; }
        shift 2
    done
    expect "$name: every monitor shows the drive" [ "$all" = 1 ]
    expect "$name: ...filling it, with no black bar on any edge" [ "$filled" = 1 ]
    xdotool key space
    wait_exit "$PID" 10
    expect "$name: a key ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
}

# Mouse checks on the monitor at rectangle WxH+X+Y.
mouse_on() {  # mouse_on NAME WxH+X+Y
    local name=$1 rect=$2 w h x y cx cy
    w=${rect%%x*}; h=${rect#*x}; h=${h%%+*}; x=${rect#*+}; x=${x%%+*}; y=${rect##*+}
    cx=$((x + w / 2)); cy=$((y + h / 2))
    # The mouse rests on that monitor when the saver starts: where it is first seen.
    xdotool mousemove "$cx" "$cy"
    start
    xdotool mousemove $((cx + 8)) $((cy + 8)); sleep 1
    expect "$name: a mouse move of 8 pixels on it keeps the saver running" still_running "$PID"
    xdotool mousemove $((cx + 9)) "$cy"
    wait_exit "$PID" 10
    expect "$name: a move of 9 pixels on it ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
    xdotool mousemove "$cx" "$cy"
    start
    xdotool click 1
    wait_exit "$PID" 10
    expect "$name: a click on it ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
}

run_layout one-16x9-monitor DUMMY0 1920x1080+0+0
run_layout one-5x4-monitor DUMMY0 1280x1024+0+0
two=(DUMMY0 1920x1080+0+0 DUMMY1 1280x1024+1920+0)
run_layout two-monitors "${two[@]}"
mouse_on "two monitors, the first" 1920x1080+0+0
mouse_on "two monitors, the second" 1280x1024+1920+0

# The primary monitor in the middle, with one to its left (Windows gives it negative coordinates).
three=(DUMMY0 1920x1080+1280+0 DUMMY1 1280x1024+0+0 DUMMY2 1024x768+3200+0)
run_layout three-monitors "${three[@]}"
mouse_on "three monitors, the one left of the primary" 1280x1024+0+0
mouse_on "three monitors, the third" 1024x768+3200+0

if [ "$kind" = linux ]; then
    echo "== linux: --root on a root window that spans three monitors"
    use_layout "${three[@]}"
    "$program" --root >/dev/null 2>&1 & PID=$!
    sleep 4
    shot linux-root-three
    all=1
    for rect in 1920x1080+1280+0 1280x1024+0+0 1024x768+3200+0; do
        [ "$(colours "$SHOTS/linux-root-three.png" "$rect")" -gt 8 ] || all=0
    done
    expect "--root draws the frame into every monitor's rectangle" [ "$all" = 1 ]
    expect "...and nothing where no monitor is" [ "$(colours "$SHOTS/linux-root-three.png" 1024x300+3200+768)" = 1 ]
    xrandr --output DUMMY2 --off
    sleep 2
    expect "a monitor that goes ends nothing under --root" still_running "$PID"
    kill -TERM "$PID"; wait_exit "$PID" 10
    expect "and SIGTERM ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
fi

if [ "$kind" = linux ]; then
    echo "== linux: a plain window when a monitor goes"
    use_layout "${two[@]}"
    "$program" >/dev/null 2>&1 & PID=$!
    if wait_window '^Veldmark$' 40 "$PID" >/dev/null; then
        xrandr --output DUMMY1 --off
        sleep 2
        expect "a window ends nothing when a monitor goes" still_running "$PID"
        kill -TERM "$PID"; wait_exit "$PID" 10
        expect "and SIGTERM ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
    else
        fail "the window did not appear"; kill "$PID" 2>/dev/null
    fi
fi

echo "== $kind: a monitor goes away"
use_layout "${two[@]}"
MONITORS=2
start
xrandr --output DUMMY1 --off
wait_exit "$PID" 10
expect "unplugging a monitor ends the saver cleanly with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
finish
