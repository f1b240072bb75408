#!/usr/bin/env bash
# veldmark as an XScreenSaver hack. First without the daemon: drawing into a given window
# (-window-id, XSCREENSAVER_WINDOW) and following its size, into the root window (--root),
# leaving keys alone, and ending on SIGTERM with exit code 0. Then under the real xscreensaver
# daemon, run as an ordinary user made for the purpose (the daemon will not run hacks as root):
# activated, it starts veldmark on its own window, and deactivated, it stops it.
# Exit 77 (skipped) when Xvfb and its tools are not installed.
# usage: xscreensaver_test.sh SOURCE_DIR VELDMARK X11_TEST_PARENT WORK_DIR
set -u
src=$1
veldmark=$2
parent_tool=$3
work=$4
SHOTS="$work/screenshots"
. "$src/app/linux/tests/xvfb_common.sh"
need Xvfb xdotool xwininfo import compare

# The daemon's user must reach the display: no access control on this private server.
fdfile=$(mktemp)
Xvfb -displayfd 9 -noreset -ac -screen 0 1024x640x24 -nolisten tcp 9>"$fdfile" >/dev/null 2>&1 &
XVFB_PID=$!
for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"
daemon_user=veldmark-xss
daemon_pid=
cleanup() {
    [ -n "$daemon_pid" ] && kill "$daemon_pid" 2>/dev/null
    [ -n "${parent_pid:-}" ] && kill "$parent_pid" 2>/dev/null
    stop_xvfb
}
trap cleanup EXIT

area() {  # area FILE WxH+X+Y NAME: the crop shows the drive
    convert "$1" -crop "$2" +repage "$SHOTS/$3.png"
    [ "$(colours "$SHOTS/$3.png")" -gt 8 ]
}

echo "== a window given by id"
start_parent "$parent_tool" 400 250
"$veldmark" -window-id "$(printf '0x%x' "$xid")" & pid=$!
sleep 3
shot xss-window-id
expect "-window-id draws the drive into that window" area "$SHOTS/xss-window-id.png" 400x250+40+30 xss-window-id-area
expect "and makes no window of its own" [ -z "$(xwininfo -children -id "$xid" | grep VeldmarkWindow)" ]
xdotool key --window "$xid" Escape q space 2>/dev/null
sleep 1
expect "keys are left to the window's owner" still_running "$pid"
kill -USR2 "$parent_pid"   # the window shrinks to 200 x 125
sleep 2
shot xss-resized
expect "it follows the window's new size" area "$SHOTS/xss-resized.png" 200x125+40+30 xss-resized-area
expect "and draws nothing outside it" [ "$(colours "$SHOTS/xss-resized.png" 150x100+260+180)" -le 2 ]
kill -TERM "$pid"
wait_exit "$pid" 10
expect "SIGTERM ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]

XSCREENSAVER_WINDOW=$(printf '0x%X' "$xid") "$veldmark" --root & pid=$!
sleep 2.5
shot xss-env
expect "XSCREENSAVER_WINDOW wins over --root" area "$SHOTS/xss-env.png" 200x125+40+30 xss-env-area
expect "and the root stays as it was" [ "$(colours "$SHOTS/xss-env.png" 300x200+600+400)" -le 2 ]
kill -TERM "$pid"; wait_exit "$pid" 10
expect "SIGTERM ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]
kill "$parent_pid"; parent_pid=

echo "== the root window"
"$veldmark" --root & pid=$!
sleep 3
shot xss-root
expect "--root covers the screen with the drive" area "$SHOTS/xss-root.png" 1024x640+0+0 xss-root-area
expect "even its far corner" [ "$(convert "$SHOTS/xss-root.png" -format '%[pixel:p{1020,4}]' info:)" != black ]
kill -TERM "$pid"; wait_exit "$pid" 10
expect "SIGTERM ends it with exit code 0 (got $EXIT)" [ "$EXIT" = 0 ]

echo "== under the xscreensaver daemon"
if ! command -v xscreensaver >/dev/null || ! command -v xscreensaver-command >/dev/null; then
    echo "skipped: xscreensaver is not installed"
elif [ "$(id -u)" -ne 0 ] && [ "$(id -un)" = root ]; then
    echo "skipped: cannot tell who runs this"
else
    if [ "$(id -u)" -eq 0 ]; then
        id "$daemon_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/sh "$daemon_user"
        as_user() { runuser -u "$daemon_user" -- env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
        home=$(getent passwd "$daemon_user" | cut -d: -f6)
    else
        daemon_user=$(id -un)
        as_user() { env DISPLAY="$DISPLAY" HOME="$home" "$@"; }
        home=$(mktemp -d)
    fi
    # The hack must be reachable by the daemon's user wherever this tree lives.
    hackdir=$(mktemp -d)
    chmod 755 "$hackdir"
    cp "$veldmark" "$hackdir/veldmark"
    chmod 755 "$hackdir/veldmark"
    cat >"$home/.xscreensaver" <<CONF
timeout: 0:30:00
mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
dpmsEnabled: False
programs: \\
  $hackdir/veldmark --root \\n\\

CONF
    chown "$daemon_user" "$home/.xscreensaver" 2>/dev/null
    as_user xscreensaver -no-splash -verbose >"$work/xscreensaver.log" 2>&1 & daemon_pid=$!
    for i in $(seq 100); do as_user xscreensaver-command -version >/dev/null 2>&1 && break; sleep 0.1; done
    as_user xscreensaver-command -activate >/dev/null
    hack=
    for i in $(seq 100); do
        hack=$(pgrep -u "$daemon_user" -f "^$hackdir/veldmark" | head -n1)
        [ -n "$hack" ] && break
        sleep 0.1
    done
    expect "xscreensaver-command -activate starts veldmark as $daemon_user" [ -n "$hack" ]
    if [ -n "$hack" ]; then
        given=$(tr '\0' '\n' <"/proc/$hack/environ" | grep '^XSCREENSAVER_WINDOW=')
        expect "the daemon hands it its window ($given)" [ -n "$given" ]
        sleep 3
        shot xss-daemon
        expect "the daemon's window shows the drive" area "$SHOTS/xss-daemon.png" 1024x640+0+0 xss-daemon-area
        as_user xscreensaver-command -deactivate >/dev/null
        for i in $(seq 100); do kill -0 "$hack" 2>/dev/null || break; sleep 0.1; done
        expect "deactivating stops it at once" gone "$hack"
    fi
    as_user xscreensaver-command -exit >/dev/null 2>&1
    wait_exit "$daemon_pid" 10
    daemon_pid=
    rm -rf "$hackdir"
fi

finish
