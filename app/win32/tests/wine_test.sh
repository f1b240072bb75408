#!/usr/bin/env bash
# The Windows build as a Windows user meets it, run under Wine on a virtual X display: the
# window, its keys and pause, configure's message box, the full-screen saver and its mouse rule,
# and the preview inside a settings dialog's window. Cross-compiles veldmark.exe, veldmark.scr
# and the probe with mingw-w64 first. Exit 77 (skipped) when the tools are not installed.
# usage: wine_test.sh SOURCE_DIR WORK_DIR
set -u
src=$(cd "$1" && pwd)
work=$2
SHOTS="$work/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
. "$src/app/win32/tests/wine_common.sh"
need x86_64-w64-mingw32-g++-posix "$wine" Xvfb xdotool import compare cmake

echo "== cross-compiling the Windows programs"
build="$work/build"
if ! { cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" \
        -DVELDMARK_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 &&
       cmake --build "$build" -j2 --target veldmark-win veldmark-win-probe >"$work/build.log" 2>&1; }; then
    tail -n 30 "$work/configure.log" "$work/build.log"
    echo "FAIL the Windows build"
    exit 1
fi
exe="$build/veldmark.exe"
scr="$build/veldmark.scr"
probe="$build/win_probe.exe"

start_wine "$work/wineprefix" "$work/wineboot.log"

start() { "$wine" "$@" >/dev/null 2>&1 & PID=$!; }

# key_ends_run KEY WHAT PROGRAM [ARGS...]: a fresh run of PROGRAM ends with exit code 0 on KEY.
key_ends_run() {
    local key=$1 what=$2
    shift 2
    start "$@"
    if wid=$(wait_window '^Veldmark$' 30); then
        sleep 1
        xdotool windowfocus --sync "$wid" 2>/dev/null
        xdotool key "$key"
        wait_exit "$PID" 20
        expect "$what ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
    else
        fail "no window appeared for $what"; kill "$PID" 2>/dev/null
    fi
}

echo "== window"
start "$exe"
if wid=$(wait_window '^Veldmark$' 30); then
    out=$("$wine" "$probe" client-size | tr -d '\r')
    expect "the window's client area is 960 x 600 ($out)" [ "$out" = "client 960x600" ]
    sleep 3
    shot window
    expect "the window shows the drive" [ "$(colours "$SHOTS/window.png")" -gt 8 ]
    xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key space
    sleep 1; shot paused-1; sleep 1.5; shot paused-2
    expect "space freezes the picture" same "$SHOTS/paused-1.png" "$SHOTS/paused-2.png"
    xdotool key space
    sleep 2; shot resumed
    expect "space again resumes the drive" differ "$SHOTS/paused-2.png" "$SHOTS/resumed.png"
    xdotool key Escape
    wait_exit "$PID" 20
    expect "Escape ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "no window appeared"; kill "$PID" 2>/dev/null
fi

key_ends_run q "Q" "$exe"

echo "== configure"
start "$scr" /c
if wait_window '^Veldmark$' 30 >/dev/null; then
    sleep 1
    shot configure
    out=$("$wine" "$probe" message-box | tr -d '\r'; exit "${PIPESTATUS[0]}"); probe_exit=$?
    echo "$out" | sed 's/^/     /'
    expect "/c shows the message box with its text, OK only, and no window" [ "$probe_exit" = 0 ]
    wait_exit "$PID" 20
    expect "/c exits 0 when the box is dismissed (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "/c showed no message box"; kill "$PID" 2>/dev/null
fi

echo "== full screen"
xdotool mousemove 400 300
start "$scr" /s
if wait_window '^Veldmark$' 30 >/dev/null; then
    sleep 3
    shot fullscreen
    expect "/s fills the screen with the drive" [ "$(colours "$SHOTS/fullscreen.png")" -gt 8 ]
    corner=$(convert "$SHOTS/fullscreen.png" -format '%[pixel:p{1275,5}]' info:)
    expect "/s reaches the screen's far corner (got $corner)" [ "$corner" != "black" ]
    xdotool mousemove 408 308
    sleep 1.5
    expect "/s survives a mouse move of 8 pixels" still_running "$PID"
    xdotool mousemove 409 300
    wait_exit "$PID" 20
    expect "/s ends on a move of 9 pixels with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
else
    fail "/s showed no window"; kill "$PID" 2>/dev/null
fi

key_ends_run a "/s: any key" "$scr" /s

echo "== preview"
out=$("$wine" "$probe" preview "Z:${scr//\//\\}" | tr -d '\r'; exit "${PIPESTATUS[0]}"); probe_exit=$?
echo "$out" | sed 's/^/     /'
expect "/p puts a VeldmarkWindow of the parent's client size into it, filled to every edge, and ends with 0 when it goes" \
    [ "$probe_exit" = 0 ]
"$wine" "$scr" /p 1234567 >/dev/null 2>&1
code=$?
expect "/p with a number that is no window ends with exit code 1 (got $code)" [ "$code" = 1 ]

finish
