#!/usr/bin/env bash
# The X display going away under a running veldmark, in every mode that draws: its own window,
# full screen, the root window, a window given by id and a preview. The server is killed (and,
# for the window, our connection is closed by the server with xkill); the program must end
# within two seconds with exit code 1 and one line on standard error, never hang or spin.
# Exit 77 (skipped) when Xvfb and its tools are not installed.
# usage: display_loss_test.sh SOURCE_DIR VELDMARK X11_TEST_PARENT WORK_DIR
set -u
src=$1
veldmark=$2
parent_tool=$3
SHOTS="$4/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
need Xvfb xdotool xkill
trap stop_xvfb EXIT

readonly lost_line="veldmark: lost the connection to the X display"
readonly allowed_ms=2000
readonly settle_seconds=3   # long enough to be drawing frames, not still starting

now_ms() { date +%s%3N; }

# ends_cleanly NAME PID ERR_FILE START_MS: the process is gone within the allowed time, with
# exit code 1 and exactly the one line.
ends_cleanly() {
    local name=$1 pid=$2 err=$3 start=$4 i
    for i in $(seq $((allowed_ms / 50 + 40))); do
        gone "$pid" && break
        sleep 0.05
    done
    local took=$(($(now_ms) - start))
    if still_running "$pid"; then
        fail "$name: still running $((took / 1000)) s after the display went ($(ps -o stat=,pcpu= -p "$pid"))"
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        return
    fi
    wait "$pid"
    local code=$?
    expect "$name: ends within 2 s ($took ms)" [ "$took" -le "$allowed_ms" ]
    expect "$name: exit code 1 (got $code)" [ "$code" = 1 ]
    expect "$name: one line on standard error ($(head -c 300 "$err" | tr '\n' '|'))" \
        [ "$(cat "$err")" = "$lost_line" ]
}

# kill_server NAME ARGS...: veldmark ARGS on a fresh display whose server is then killed.
# "PARENT" among the arguments stands for a window of the stand-in settings program.
kill_server() {
    local name=$1
    shift
    start_xvfb 800x600x24
    local parent_pid= args=() a
    if [[ " $* " == *" PARENT "* ]]; then
        rm -f "$SHOTS/parent.id"   # a stale id would pass for the new window before the shell truncates the file
        "$parent_tool" 320 200 >"$SHOTS/parent.id" 2>/dev/null & parent_pid=$!
        for i in $(seq 50); do [ -s "$SHOTS/parent.id" ] && break; sleep 0.1; done
    fi
    for a in "$@"; do
        if [ "$a" = PARENT ]; then args+=("$(cat "$SHOTS/parent.id")"); else args+=("$a"); fi
    done
    "$veldmark" "${args[@]}" 2>"$SHOTS/err.txt" & local pid=$!
    sleep "$settle_seconds"
    if gone "$pid"; then
        fail "$name: veldmark ended before the display went ($(cat "$SHOTS/err.txt"))"
        stop_xvfb
        return
    fi
    kill -KILL "$XVFB_PID"
    local start
    start=$(now_ms)
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
    ends_cleanly "$name" "$pid" "$SHOTS/err.txt" "$start"
    [ -n "$parent_pid" ] && { kill "$parent_pid" 2>/dev/null; wait "$parent_pid" 2>/dev/null; }
}

echo "== the server dies"
kill_server "window"
kill_server "full screen" /s
kill_server "--root" --root
kill_server "--window-id" --window-id PARENT
kill_server "preview" /p PARENT

echo "== the server closes our connection"
for mode in "window:" "full screen:/s"; do
    name=${mode%%:*}
    start_xvfb 800x600x24
    "$veldmark" ${mode#*:} 2>"$SHOTS/err.txt" & pid=$!
    if wait_window '^Veldmark$' 40 "$pid" >/dev/null; then
        sleep 1
        wid=$(wait_window '^Veldmark$' 5 "$pid")   # full screen may have made its window anew
        [ -n "$wid" ] && xkill -id "$wid" >/dev/null
        ends_cleanly "$name, xkill" "$pid" "$SHOTS/err.txt" "$(now_ms)"
    else
        fail "$name, xkill: no window appeared"; kill "$pid" 2>/dev/null
    fi
    stop_xvfb
done

finish
