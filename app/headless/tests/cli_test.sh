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

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all checks passed"
