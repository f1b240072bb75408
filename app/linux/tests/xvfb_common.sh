# Shared by the tests that run Veldmark's programs on a virtual X display (sourced, not run).
# Gives: need TOOL..., start_xvfb, wait_window, window_size, start_parent, ending_key, wait_exit, still_running, shot, colours, same,
# black, edges_lit, pass, fail, finish. Screenshots go to $SHOTS.
SKIP=77
passed=0
failed=0
XVFB_PID=
SHOTS=${SHOTS:-$(mktemp -d)}
mkdir -p "$SHOTS"

need() {  # need TOOL...: skip the whole test when a tool is missing
    local t
    for t in "$@"; do
        if ! command -v "$t" >/dev/null 2>&1 && [ ! -x "$t" ]; then
            echo "skipped: $t is not installed (bash scripts/install-deps test)"
            exit "$SKIP"
        fi
    done
}

stop_xvfb() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; XVFB_PID=; }

start_xvfb() {  # start_xvfb [WIDTHxHEIGHTxDEPTH]: a display of our own, numbered by the server
    local fdfile
    fdfile=$(mktemp)
    # -noreset: the server would otherwise restart whenever its last client leaves, and refuse
    # the next program that connects in that moment.
    Xvfb -displayfd 9 -noreset -screen 0 "${1:-1280x800x24}" -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start"; exit 1; }
}

wait_window() {  # wait_window NAME_REGEX SECONDS [PID]: prints the matching window's id
    # Waits until the same window has been found for half a second: SDL may make a window anew
    # as its renderer starts, and an id taken before that names a window that is gone. Gives up
    # early when PID, the program that should show the window, has ended.
    local i w last= steady=0
    for i in $(seq $(($2 * 10))); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        if [ -n "$w" ] && [ "$w" = "$last" ]; then
            steady=$((steady + 1))
            [ "$steady" -ge 5 ] && { echo "$w"; return 0; }
        else
            steady=0
        fi
        last=$w
        [ -n "${3:-}" ] && ! kill -0 "$3" 2>/dev/null && break
        sleep 0.1
    done
    [ -n "$last" ] && { echo "$last"; return 0; }
    return 1
}

window_size() {  # window_size WID: WIDTHxHEIGHT, or "none" when there is no such window
    # xwininfo without an id waits for a click on a window, so never hand it an empty one.
    [ -n "$1" ] || { echo none; return; }
    timeout 10 xwininfo -id "$1" 2>/dev/null |
        awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print (w ? w "x" h : "none")}'
}

start_parent() {  # start_parent TOOL WIDTH HEIGHT: a preview's parent window; sets parent_pid and xid
    # The old id goes first: it would pass for the new window before the shell truncates the file.
    rm -f "$SHOTS/parent.id"
    "$1" "$2" "$3" >"$SHOTS/parent.id" & parent_pid=$!
    local i
    for i in $(seq 200); do
        [ -s "$SHOTS/parent.id" ] && break
        still_running "$parent_pid" || break   # it ended without an id: waiting longer gives none
        sleep 0.1
    done
    xid=$(cat "$SHOTS/parent.id")
}

ending_key() {  # ending_key WID KEY: a key that ends the program, sent to its window
    # The program may be gone before the key's release reaches its window; the server would then
    # hold the key down, and the next program to start would see it pressed. Release it for sure.
    xdotool key --window "$1" "$2" 2>/dev/null
    xdotool keyup "$2"
}

still_running() { kill -0 "$1" 2>/dev/null; }
gone() { ! kill -0 "$1" 2>/dev/null; }

wait_exit() {  # wait_exit PID SECONDS: sets EXIT to the exit code, or 124 after killing it
    local i
    for i in $(seq $(($2 * 10))); do
        still_running "$1" || break
        sleep 0.1
    done
    if still_running "$1"; then
        kill "$1" 2>/dev/null
        wait "$1" 2>/dev/null
        EXIT=124
    else
        wait "$1"
        EXIT=$?
    fi
}

shot() { import -window root "$SHOTS/$1.png"; }   # shot NAME
colours() { convert "$1" ${2:+-crop "$2" +repage} -format %k info:; }   # colours FILE [CROP]
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
differ() { ! same "$1" "$2"; }
black() { [ "$(convert "$1" -crop "$2" +repage -format '%[max]' info:)" = 0 ]; }   # black FILE WxH+X+Y: all of it
lit() { ! black "$@"; }
edges_lit() {  # edges_lit FILE WxH+X+Y: no edge of the rectangle is a black bar
    local w=${2%%x*} h x y
    h=${2#*x}; h=${h%%+*}; x=${2#*+}; x=${x%%+*}; y=${2##*+}
    lit "$1" 2x$h+$x+$y && lit "$1" 2x$h+$((x + w - 2))+$y && lit "$1" ${w}x2+$x+$y && lit "$1" ${w}x2+$x+$((y + h - 2))
}

pass() { echo "ok   $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failed=$((failed + 1)); }
expect() {  # expect NAME CONDITION...: passes when the command succeeds
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

finish() {
    echo "screenshots: $SHOTS"
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
