# Shared by the tests that run Veldmark's programs on a virtual X display (sourced, not run).
# Gives: need TOOL..., start_xvfb, wait_window, wait_exit, still_running, shot, colours, same,
# pass, fail, finish. Screenshots go to $SHOTS.
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

wait_window() {  # wait_window NAME_REGEX SECONDS: prints the first matching window id
    local i w
    for i in $(seq $(($2 * 10))); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.1
    done
    return 1
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
