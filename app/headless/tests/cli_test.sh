#!/usr/bin/env bash
# veldmark-render as a user meets it: help, exit codes, one-line errors, whole files.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED_STATUS COMMAND...
    local name=$1 want=$2
    shift 2
    "$@" >"$work/stdout" 2>"$work/stderr"
    local got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL $name: exit $got, wanted $want"; cat "$work/stderr"; failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

check "tool help" 0 "$tool" --help
check "no command" 2 "$tool"
check "unknown command" 2 "$tool" fly
check "trace help" 0 "$tool" trace --help
grep -q -- "--steps" "$work/stdout" || { echo "FAIL trace help does not describe --steps"; failures=$((failures + 1)); }
check "steps not a number" 2 "$tool" trace --steps ten
[ "$(wc -l <"$work/stderr")" -eq 1 ] && grep -q -- "--steps" "$work/stderr" \
    || { echo "FAIL the error is not one line naming --steps"; failures=$((failures + 1)); }
check "steps zero" 2 "$tool" trace --steps 0
check "unknown option" 2 "$tool" trace --fast
check "unwritable output" 1 "$tool" trace --steps 3 --out /nonexistent-dir/trace.csv

check "whole drive" 0 "$tool" trace --out "$work/a.csv"
check "whole drive again" 0 "$tool" trace --out "$work/b.csv"
cmp -s "$work/a.csv" "$work/b.csv" || { echo "FAIL two runs differ"; failures=$((failures + 1)); }
[ ! -e "$work/a.csv.partial" ] || { echo "FAIL a temporary file was left behind"; failures=$((failures + 1)); }
head -1 "$work/a.csv" | grep -qx "step,drive_ticks,car_section,car_along,car_across,car_heading,car_speed,steer_angle,car_yaw,look_angle,look_amount,lead_position,lead_speed,lead_braking" \
    || { echo "FAIL wrong CSV header"; failures=$((failures + 1)); }
# The last row is the restart: section 0, clock 0.
tail -1 "$work/a.csv" | grep -q '^[0-9]*,0,0,0,0,0,0.300000012,' \
    || { echo "FAIL the drive does not end with a restart: $(tail -1 "$work/a.csv")"; failures=$((failures + 1)); }
check "fixed steps" 0 "$tool" trace --steps 10 --out "$work/c.csv"
[ "$(wc -l <"$work/c.csv")" -eq 11 ] || { echo "FAIL --steps 10 did not give 10 rows"; failures=$((failures + 1)); }
check "summary" 0 "$tool" trace --summary
grep -q "steps per drive" "$work/stdout" || { echo "FAIL summary lacks steps per drive"; failures=$((failures + 1)); }

# Frames through the pipeline.
check "frames without --out" 2 "$tool" frames --count 1
check "frames with too many workers" 2 "$tool" frames --workers 9 --out "$work/f"
check "frames into a file, not a directory" 1 "$tool" frames --count 1 --out "$work/a.csv"
check "frames" 0 "$tool" frames --from 500 --count 2 --every 700 --out "$work/frames"
for step in 000500 001200; do
    head -c 8 "$work/frames/frame-$step.png" | od -An -tx1 | grep -q "89 50 4e 47 0d 0a 1a 0a" \
        || { echo "FAIL frame-$step.png is not a PNG"; failures=$((failures + 1)); }
done
[ "$(ls "$work/frames" | wc -l)" -eq 2 ] || { echo "FAIL frames left extra files: $(ls "$work/frames")"; failures=$((failures + 1)); }

# The whole drive, sampled every 50 steps, is the same picture with one worker or two.
check "hashes, one worker" 0 "$tool" hashes --count 141 --every 50 --workers 1 --out "$work/h1"
check "hashes, two workers" 0 "$tool" hashes --count 141 --every 50 --workers 2 --out "$work/h2"
cmp -s "$work/h1" "$work/h2" || { echo "FAIL frames differ between one and two workers"; failures=$((failures + 1)); }
[ "$(sort -u -t, -k2 "$work/h1" | wc -l)" -gt 100 ] || { echo "FAIL the drive's frames hardly change"; failures=$((failures + 1)); }

# Raw frames to a consumer that stops early: an error message, not a death by SIGPIPE.
"$tool" video --count 20 --out - 2>"$work/stderr" | head -c 100000 >/dev/null
status=${PIPESTATUS[0]}
if [ "$status" -ne 1 ] || ! grep -q "stopped reading" "$work/stderr"; then
    echo "FAIL early consumer: exit $status, $(cat "$work/stderr")"; failures=$((failures + 1))
else
    echo "ok   early consumer"
fi
"$tool" video --count 2 --out - 2>/dev/null | wc -c | grep -qx "$((2 * 1920 * 1200 * 4))" \
    || { echo "FAIL raw frames have the wrong size"; failures=$((failures + 1)); }

# --size: the picture as a screen of that size shows it. A 16:9 fill is the frame's rows 60 to
# 1139 as they are; the frames themselves do not change.
row=$((1920 * 4))
"$tool" video --from 900 --count 1 --out - 2>/dev/null >"$work/full.raw"
"$tool" video --from 900 --count 1 --size 1920x1080 --out - 2>/dev/null >"$work/wide.raw"
cmp -s <(tail -c +$((60 * row + 1)) "$work/full.raw" | head -c $((1080 * row))) "$work/wide.raw" \
    && echo "ok   a 1920x1080 fill is the frame's middle rows" \
    || { echo "FAIL a 1920x1080 fill is not the frame's rows 60 to 1139"; failures=$((failures + 1)); }
"$tool" video --count 2 --size 1281x1023 --fit stretch --out - 2>/dev/null | wc -c | grep -qx "$((2 * 1281 * 1023 * 4))" \
    || { echo "FAIL raw pictures of an odd --size have the wrong size"; failures=$((failures + 1)); }
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}'; }
check "frame at a 5:4 size" 0 "$tool" frame --step 900 --size 1280x1024 --fit fit --out "$work/square.png"
[ "$(png_size "$work/square.png")" = 1280x1024 ] || { echo "FAIL frame --size 1280x1024 wrote $(png_size "$work/square.png")"; failures=$((failures + 1)); }
check "frames at a size" 0 "$tool" frames --from 900 --count 1 --size 152x112 --out "$work/small"
[ "$(png_size "$work/small/frame-000900.png")" = 152x112 ] || { echo "FAIL frames --size 152x112 has the wrong size"; failures=$((failures + 1)); }
check "frame without --size" 0 "$tool" frame --step 900 --out "$work/plain.png"
[ "$(png_size "$work/plain.png")" = 1920x1200 ] || { echo "FAIL frame without --size is not 1920x1200"; failures=$((failures + 1)); }
for bad in 0x100 100x0 1920 x1080 1920x 8193x100 1920x1080x1 -5x5 " 10x10"; do
    check "--size '$bad'" 2 "$tool" frame --step 1 --size "$bad" --out "$work/bad.png"
    grep -q -- "--size takes WIDTHxHEIGHT" "$work/stderr" || { echo "FAIL --size '$bad': $(cat "$work/stderr")"; failures=$((failures + 1)); }
done
check "--fit without --size" 2 "$tool" frame --step 1 --fit fit --out "$work/bad.png"
check "--fit with a word it lacks" 2 "$tool" frames --size 640x480 --fit cover --out "$work/bad"
grep -qx "veldmark-render frames: --fit takes fill, fit or stretch, not 'cover'" "$work/stderr" \
    || { echo "FAIL the --fit error: $(cat "$work/stderr")"; failures=$((failures + 1)); }
check "hashes take no --size" 2 "$tool" hashes --count 1 --size 640x480
check "an MP4 of an odd size" 2 "$tool" video --count 1 --size 641x480 --out "$work/odd.mp4"
[ ! -e "$work/bad.png" ] && [ ! -e "$work/odd.mp4" ] || { echo "FAIL a refused command left a file"; failures=$((failures + 1)); }

if command -v ffmpeg >/dev/null; then
    check "video" 0 "$tool" video --count 10 --out "$work/v.mp4"
    [ -s "$work/v.mp4" ] && [ ! -e "$work/v.mp4.partial" ] || { echo "FAIL no whole video"; failures=$((failures + 1)); }
else
    PATH=/nonexistent check "video without ffmpeg" 1 "$tool" video --count 1 --out "$work/v.mp4"
    grep -q "Debian package 'ffmpeg'" "$work/stderr" || { echo "FAIL the missing ffmpeg is not named"; failures=$((failures + 1)); }
fi

# Standard output that cannot take the output: full (/dev/full), or a pipe whose reader has gone.
# Each command says so in one line and exits 1; none dies silently by SIGPIPE.
"$tool" list --step 10 --out "$work/list.bin" >/dev/null
one_error_line() {  # one_error_line NAME COMMAND: the errors (not progress) are one line
    local errors
    errors=$(grep -v -E "^$2: [0-9]+ of [0-9]+ frames" "$work/stderr")
    [ "$(printf '%s\n' "$errors" | grep -c .)" -eq 1 ] && [[ "$errors" == "veldmark-render"*"standard output"* ||
        "$errors" == "veldmark-render"*"stopped reading"* ]] \
        || { echo "FAIL $1: the error is not one line about standard output: $errors"; failures=$((failures + 1)); }
}
for command in "trace --steps 3000" "list --step 10" "frame --step 10" "raster $work/list.bin" \
               "glyphs" "hashes --count 3" "video --count 2"; do
    name=${command%% *}
    "$tool" $command --out - >/dev/full 2>"$work/stderr"
    status=$?
    [ "$status" -eq 1 ] && echo "ok   $name to a full standard output" \
        || { echo "FAIL $name to a full standard output: exit $status"; failures=$((failures + 1)); }
    one_error_line "$name to a full standard output" "$name"
    # The reader is gone long before the first write: rendering takes longer than `true` lives.
    "$tool" $command --out - 2>"$work/stderr" | true
    status=${PIPESTATUS[0]}
    [ "$status" -eq 1 ] && echo "ok   $name into a closed pipe" \
        || { echo "FAIL $name into a closed pipe: exit $status"; failures=$((failures + 1)); }
    one_error_line "$name into a closed pipe" "$name"
done
check "help to a full standard output" 1 sh -c "'$tool' --help >/dev/full"
check "statistics to a full standard output" 1 sh -c "'$tool' list --step 10 --out '$work/l2.bin' --stats >/dev/full"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all checks passed"
