#!/usr/bin/env bash
# The Linux program as a user meets it, on a virtual X display: --help and --version, the
# window with its keys and pause, the full-screen saver's mouse and key rules, the preview inside
# another program's window, configure with and without a display, a start without a display,
# SIGTERM, and --fps with its overlay and summary line. Exit 77 (skipped) when Xvfb and its tools are not installed.
# usage: linux_host_test.sh SOURCE_DIR VELDMARK X11_TEST_PARENT WORK_DIR
set -u
src=$1
veldmark=$2
parent_tool=$3
SHOTS="$4/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
need Xvfb xdotool xwininfo import compare

echo "== without a display"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$veldmark" --help); code=$?
expect "--help exits 0 and names the switches" [ "$code" = 0 -a -n "$(echo "$out" | grep -- '/p XID')" ]
out=$("$veldmark" --version); code=$?
expect "--version exits 0 ($out)" [ "$code" = 0 -a "${out#veldmark }" != "$out" ]
err=$(env -u DISPLAY -u WAYLAND_DISPLAY "$veldmark" /c 2>&1 >/dev/null); code=$?
expect "/c without a display says so on standard error and exits 0" \
    [ "$code" = 0 -a "$err" = "Veldmark has no options to configure." ]
err=$(env -u DISPLAY -u WAYLAND_DISPLAY "$veldmark" 2>&1 >/dev/null); code=$?
expect "a window without a display is a start-up failure, exit 1 ($err)" \
    [ "$code" = 1 -a -n "$(echo "$err" | grep CreateWindow)" ]
"$veldmark" --window-id zz 2>/dev/null; code=$?
expect "a malformed window id is refused with exit code 2" [ "$code" = 2 ]

start_xvfb 1280x800x24
trap stop_xvfb EXIT
LOG=$SHOTS/programs.err   # standard error of the programs run in the background
: >"$LOG"
why() { echo "     last lines of $LOG:"; tail -n 5 "$LOG" | sed 's/^/     /'; }

echo "== window"
"$veldmark" 2>>"$LOG" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    size=$(window_size "$wid")
    expect "the window's client area is 960 x 600 ($size)" [ "$size" = 960x600 ]
    sleep 3
    shot linux-window
    expect "the window shows the drive" [ "$(colours "$SHOTS/linux-window.png")" -gt 8 ]
    xdotool key --window "$wid" space
    sleep 1; shot linux-paused-1; sleep 1.5; shot linux-paused-2
    expect "space freezes the picture" same "$SHOTS/linux-paused-1.png" "$SHOTS/linux-paused-2.png"
    xdotool key --window "$wid" a
    sleep 1; shot linux-paused-3
    expect "other keys neither end nor resume it" same "$SHOTS/linux-paused-2.png" "$SHOTS/linux-paused-3.png"
    xdotool key --window "$wid" space
    sleep 2; shot linux-resumed
    expect "space again resumes the drive" differ "$SHOTS/linux-paused-3.png" "$SHOTS/linux-resumed.png"
    ending_key "$wid" Escape
    wait_exit "$pid" 10
    expect "Escape ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared"; why; kill "$pid" 2>/dev/null
fi

"$veldmark" 2>>"$LOG" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    sleep 1
    ending_key "$wid" q
    wait_exit "$pid" 10
    expect "Q ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared for Q"; why; kill "$pid" 2>/dev/null
fi

"$veldmark" 2>>"$LOG" & pid=$!
if wait_window '^Veldmark$' 40 "$pid" >/dev/null; then
    sleep 1
    kill -TERM "$pid"
    wait_exit "$pid" 10
    expect "SIGTERM ends the window with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared for SIGTERM"; why; kill "$pid" 2>/dev/null
fi

echo "== hidden windows draw nothing"
# Process CPU time (user + system, in clock ticks) over SECONDS, as a share of one core in %.
cpu_share() {  # cpu_share PID SECONDS
    local t0 t1 hz
    hz=$(getconf CLK_TCK)
    t0=$(awk '{print $14 + $15}' "/proc/$1/stat"); sleep "$2"; t1=$(awk '{print $14 + $15}' "/proc/$1/stat")
    echo $(( (t1 - t0) * 100 / (hz * $2) ))
}
"$veldmark" 2>>"$LOG" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    sleep 2
    shown=$(cpu_share "$pid" 3)
    xdotool windowminimize "$wid" 2>/dev/null; xdotool windowunmap "$wid"   # no window manager here
    sleep 1
    hidden=$(cpu_share "$pid" 4)
    expect "an unmapped window costs next to nothing ($hidden% of a core; $shown% shown)" [ "$hidden" -le 2 ]
    xdotool windowmap "$wid"
    sleep 2; shot linux-restored-1; sleep 1; shot linux-restored-2
    expect "mapped again, the drive goes on" differ "$SHOTS/linux-restored-1.png" "$SHOTS/linux-restored-2.png"
    kill -TERM "$pid"; wait_exit "$pid" 10
    expect "and it ends cleanly (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared"; why; kill "$pid" 2>/dev/null
fi

echo "== full screen"
xdotool mousemove 400 300
"$veldmark" /s 2>>"$LOG" & pid=$!
if wait_window '^Veldmark$' 40 "$pid" >/dev/null; then
    sleep 2
    wid=$(wait_window '^Veldmark$' 5 "$pid")   # the renderer may have made the window anew
    shot linux-fullscreen
    size=$(window_size "$wid")
    expect "/s covers the screen ($size)" [ "$size" = 1280x800 ]
    expect "/s shows the drive" [ "$(colours "$SHOTS/linux-fullscreen.png")" -gt 8 ]
    # SDL puts the pointer in the middle of a full-screen window as it appears; wherever it is
    # now is the program's reference.
    eval "$(xdotool getmouselocation --shell)"
    xdotool mousemove $((X + 8)) $((Y + 8)); sleep 1
    expect "/s survives a mouse move of 8 pixels" still_running "$pid"
    xdotool mousemove $((X + 9)) "$Y"
    wait_exit "$pid" 10
    expect "/s ends on a move of 9 pixels with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "/s showed no window"; why; kill "$pid" 2>/dev/null
fi

for way in "key a" "click 1" "click 3" "click 4"; do
    "$veldmark" -S 2>>"$LOG" & pid=$!
    if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
        sleep 1
        xdotool $way
        wait_exit "$pid" 10
        expect "/s ends on $way with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
    else
        fail "/s showed no window for $way"; why; kill "$pid" 2>/dev/null
    fi
done

echo "== preview"
start_parent "$parent_tool" 320 200
[ -n "$xid" ] || { fail "the preview's parent window did not start"; finish; exit 1; }
"$veldmark" /p "$xid" 2>>"$LOG" & pid=$!
sleep 3
child=$(xwininfo -children -id "$xid" | grep '"VeldmarkWindow"')
expect "/p $xid puts a VeldmarkWindow of the parent's size into it" [ -n "$(echo "$child" | grep ' 320x200+0+0')" ]
shot linux-preview
convert "$SHOTS/linux-preview.png" -crop 320x200+40+30 +repage "$SHOTS/linux-preview-area.png"
expect "the preview shows the drive" [ "$(colours "$SHOTS/linux-preview-area.png")" -gt 8 ]
xdotool key --window "$(echo "$child" | awk '{print $1}')" Escape q space
sleep 1
expect "keys do nothing to a preview" still_running "$pid"
xdotool windowunmap "$xid"   # the settings dialog is hidden
sleep 1
hidden=$(cpu_share "$pid" 3)
expect "a preview whose dialog is hidden costs next to nothing ($hidden% of a core)" [ "$hidden" -le 2 ]
xdotool windowmap "$xid"
sleep 1
kill -USR2 "$parent_pid"   # the settings dialog shrinks its preview area to 160 x 100
sleep 1.5
child=$(xwininfo -children -id "$xid" | grep '"VeldmarkWindow"')
expect "the preview follows its parent's size" [ -n "$(echo "$child" | grep ' 160x100+0+0')" ]
kill -USR1 "$parent_pid"   # and closes
wait_exit "$pid" 5
expect "the preview ends with exit code 0 when its parent goes (got $EXIT)" [ "$EXIT" = 0 ]
kill "$parent_pid" 2>/dev/null
"$veldmark" /p 1234567 2>"$SHOTS/bad-parent.err"; code=$?; cat "$SHOTS/bad-parent.err"
expect "/p with a number that is no window ends with exit code 1 (got $code)" [ "$code" = 1 ]
"$veldmark" /p 0 2>>"$LOG" & pid=$!
if wait_window '^Veldmark$' 40 "$pid" >/dev/null; then
    pass "/p 0 is a window of its own"
    kill -TERM "$pid"; wait_exit "$pid" 10
else
    fail "/p 0 made no window"; why; kill "$pid" 2>/dev/null
fi

echo "== --fps"
summary='^veldmark: [0-9]+ frames in [0-9]+\.[0-9] s, [0-9]+\.[0-9] fps, [0-9]+\.[0-9]% of one core$'
white_in_corner() {  # white_in_corner FILE: pixels of pure white in the top-left corner
    convert "$1" -crop 160x30+0+0 +repage txt:- | grep -c '#FFFFFF'
}
"$veldmark" --fps 2>"$SHOTS/fps-window.err" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    sleep 3
    import -window "$wid" "$SHOTS/linux-fps.png"
    expect "--fps writes its line into the window's corner" [ "$(white_in_corner "$SHOTS/linux-fps.png")" -gt 20 ]
    kill -TERM "$pid"; wait_exit "$pid" 10
    line=$(cat "$SHOTS/fps-window.err"); echo "     $line"
    expect "and ends with exit code 0 (got $EXIT) and one summary line" \
        [ "$EXIT" = 0 -a "$(grep -cE "$summary" "$SHOTS/fps-window.err")" = 1 ]
else
    fail "--fps made no window"; why; kill "$pid" 2>/dev/null
fi
start_parent "$parent_tool" 320 200
[ -n "$xid" ] || { fail "the --fps parent window did not start"; finish; exit 1; }
"$veldmark" -fps -window-id "$xid" 2>"$SHOTS/fps-window-id.err" & pid=$!
sleep 3
import -window "$xid" "$SHOTS/linux-fps-window-id.png"
expect "-fps -window-id draws the line too" [ "$(white_in_corner "$SHOTS/linux-fps-window-id.png")" -gt 20 ]
kill -TERM "$pid"; wait_exit "$pid" 10
expect "and ends with exit code 0 (got $EXIT) and the summary" \
    [ "$EXIT" = 0 -a "$(grep -cE "$summary" "$SHOTS/fps-window-id.err")" = 1 ]
kill "$parent_pid" 2>/dev/null

echo "== configure"
"$veldmark" /c 2>>"$LOG" & pid=$!
if wid=$(wait_window '^Veldmark$' 40 "$pid"); then
    sleep 1
    shot linux-configure
    expect "no drive runs behind the message box" [ -z "$(xdotool search --name '^Veldmark$' | grep -v "^$wid\$")" ]
    ending_key "$wid" Return
    wait_exit "$pid" 10
    expect "/c exits 0 when the box is dismissed (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "/c showed no message box"; why; kill "$pid" 2>/dev/null
fi

finish
