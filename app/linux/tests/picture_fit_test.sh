#!/usr/bin/env bash
# The picture on screens of other shapes than the frame's 16:10, as a user meets it on a 16:9
# and a 5:4 monitor and on both side by side: with --fit fill (and stretch) no black bar on any
# edge, with --fit fit black bars of exactly the planned size and the picture right up to them.
# For --root, XScreenSaver's window, the preview, and the full-screen saver.
# usage: picture_fit_test.sh SOURCE_DIR VELDMARK X11_TEST_PARENT WORK_DIR
# Exit 77 (skipped) when Xvfb and its tools are not installed; the side-by-side monitors need
# Xorg's dummy driver and are left out (with a note) where it cannot run.
set -u
src=$1 veldmark=$2 parent_tool=$3 work=$4
SHOTS="$work/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
. "$src/app/linux/tests/xorg_dummy.sh"
need Xvfb xdotool xwininfo import convert
LOG=$SHOTS/programs.err
: >"$LOG"

# check_area NAME FILE MODE W H X Y: the area W x H at X,Y of the screenshot FILE, as MODE shows it.
check_area() {
    local name=$1 file=$2 mode=$3 w=$4 h=$5 x=$6 y=$7 dw dh dx dy
    if [ "$mode" != fit ]; then
        expect "$name: no black bar on the left, right, top or bottom" edges_lit "$file" ${w}x$h+$x+$y
        return
    fi
    # The whole 1920 x 1200 frame at the largest scale that fits, centred, rounded to a pixel.
    if [ $((w * 1200)) -ge $((h * 1920)) ]; then
        dh=$h; dw=$(((2 * h * 1920 + 1200) / 2400))
    else
        dw=$w; dh=$(((2 * w * 1200 + 1920) / 3840))
    fi
    dx=$(((w - dw) / 2)); dy=$(((h - dh) / 2))
    local ok=1
    if [ "$dx" -gt 0 ]; then
        black "$file" ${dx}x${h}+$x+$y || ok=0                                  # the left bar
        black "$file" $((w - dx - dw))x${h}+$((x + dx + dw))+$y || ok=0         # the right bar
        lit "$file" 1x${h}+$((x + dx))+$y && lit "$file" 1x${h}+$((x + dx + dw - 1))+$y || ok=0
    fi
    if [ "$dy" -gt 0 ]; then
        black "$file" ${w}x${dy}+$x+$y || ok=0                                  # above
        black "$file" ${w}x$((h - dy - dh))+$x+$((y + dy + dh)) || ok=0         # below
        lit "$file" ${w}x1+$x+$((y + dy)) && lit "$file" ${w}x1+$x+$((y + dy + dh - 1)) || ok=0
    fi
    expect "$name: the picture is ${dw}x${dh} at +$dx+$dy between black bars" [ "$ok" = 1 ]
}

# run_root NAME MODE AREA...: --root with --fit MODE, then each AREA (W H X Y) of the screen checked.
run_root() {
    local name=$1 mode=$2
    shift 2
    "$veldmark" --root --fit "$mode" 2>>"$LOG" & pid=$!
    sleep 4
    shot "$name"
    kill -TERM "$pid"; wait_exit "$pid" 10
    expect "$name: --root ends with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
    while [ $# -gt 0 ]; do
        check_area "$name ($1x$2+$3+$4)" "$SHOTS/$name.png" "$mode" "$1" "$2" "$3" "$4"
        shift 4
    done
}

# run_fullscreen NAME MODE AREA...: the same for /s, one window on every monitor.
run_fullscreen() {
    local name=$1 mode=$2
    shift 2
    "$veldmark" --fit "$mode" /s 2>>"$LOG" & pid=$!
    if wait_window '^Veldmark$' 40 "$pid" >/dev/null; then
        sleep 3
        shot "$name"
        kill -TERM "$pid"; wait_exit "$pid" 10
        while [ $# -gt 0 ]; do
            check_area "$name ($1x$2+$3+$4)" "$SHOTS/$name.png" "$mode" "$1" "$2" "$3" "$4"
            shift 4
        done
    else
        fail "$name: /s showed no window"; kill "$pid" 2>/dev/null
    fi
}

# run_in_parent NAME MODE W H HOW: a W x H window of another program, drawn into HOW
# ("daemon": XScreenSaver's window, "preview": /p).
run_in_parent() {
    local name=$1 mode=$2 w=$3 h=$4 how=$5
    start_parent "$parent_tool" "$w" "$h"
    [ -n "$xid" ] || { fail "$name: the parent window did not start"; return; }
    if [ "$how" = daemon ]; then
        XSCREENSAVER_WINDOW=$(printf '0x%x' "$xid") "$veldmark" --root --fit "$mode" 2>>"$LOG" & pid=$!
    else
        "$veldmark" /p "$xid" --fit "$mode" 2>>"$LOG" & pid=$!
    fi
    sleep 3
    import -window "$xid" "$SHOTS/$name.png"
    kill -TERM "$pid"; wait_exit "$pid" 10
    kill "$parent_pid" 2>/dev/null; wait "$parent_pid" 2>/dev/null
    check_area "$name" "$SHOTS/$name.png" "$mode" "$w" "$h" 0 0
}

echo "== a 16:9 monitor"
start_xvfb 1920x1080x24
for mode in fill fit stretch; do run_root "root-16x9-$mode" $mode 1920 1080 0 0; done
run_fullscreen "fullscreen-16x9-fit" fit 1920 1080 0 0
run_fullscreen "fullscreen-16x9-fill" fill 1920 1080 0 0
for mode in fill fit; do
    run_in_parent "xscreensaver-16x9-$mode" $mode 960 540 daemon
    run_in_parent "preview-5x4-$mode" $mode 640 512 preview
done
stop_xvfb

echo "== a 5:4 monitor"
start_xvfb 1280x1024x24
for mode in fill fit; do run_root "root-5x4-$mode" $mode 1280 1024 0 0; done
run_fullscreen "fullscreen-5x4-fit" fit 1280 1024 0 0
for mode in fill fit; do run_in_parent "xscreensaver-5x4-$mode" $mode 1280 1024 daemon; done
stop_xvfb

echo "== a 16:9 and a 5:4 monitor side by side"
if (need_xorg_dummy) >/dev/null; then
    start_xorg_dummy "$work/xorg"
    trap stop_xorg_dummy EXIT
    layout DUMMY0 1920x1080+0+0 DUMMY1 1280x1024+1920+0
    for mode in fill fit; do
        run_root "root-side-by-side-$mode" $mode 1920 1080 0 0 1280 1024 1920 0
        run_fullscreen "fullscreen-side-by-side-$mode" $mode 1920 1080 0 0 1280 1024 1920 0
    done
    expect "--root leaves black what no monitor shows" black "$SHOTS/root-side-by-side-fill.png" 1280x56+1920+1024
    stop_xorg_dummy
else
    echo "     left out: $(need_xorg_dummy)"
fi
finish
