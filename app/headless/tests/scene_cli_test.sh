#!/usr/bin/env bash
# veldmark-render list and frame as a user meets them: help, exit codes, one-line errors, and
# lists and pictures that come out the same on every run.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() {  # check NAME EXPECTED_STATUS COMMAND...
    local name=$1 want=$2
    shift 2
    "$@" >"$work/stdout" 2>"$work/stderr"
    local got=$?
    if [ "$got" -ne "$want" ]; then
        fail "$name: exit $got, wanted $want"; cat "$work/stderr"
    else
        echo "ok   $name"
    fi
}
one_line_naming() {  # one_line_naming WORD
    [ "$(wc -l <"$work/stderr")" -eq 1 ] && grep -q -- "$1" "$work/stderr" \
        || fail "the error is not one line naming $1: $(cat "$work/stderr")"
}

check "list help" 0 "$tool" list --help
grep -q -- "--stats" "$work/stdout" || fail "list help does not describe --stats"
check "list without step" 2 "$tool" list --out "$work/x.bin"
one_line_naming "--step"
check "list without out" 2 "$tool" list --step 3
one_line_naming "--out"
check "list step not a number" 2 "$tool" list --step many --out "$work/x.bin"
one_line_naming "--step"
check "list unwritable output" 1 "$tool" list --step 1 --out /nonexistent-dir/list.bin

check "list at a corner" 0 "$tool" list --step 320 --out "$work/a.bin" --stats
grep -q "^words: " "$work/stdout" && grep -q "FlatPolygon" "$work/stdout" || fail "--stats printed no counts"
size=$(stat -c %s "$work/a.bin")
[ "$size" -gt 0 ] && [ $((size % 4)) -eq 0 ] || fail "the list is $size bytes, not whole words"
words=$(sed -n 's/^words: \([0-9]*\) .*/\1/p' "$work/stdout")
[ "$((words * 4))" -eq "$size" ] || fail "--stats says $words words, the file holds $size bytes"
check "list again" 0 "$tool" list --step 320 --out "$work/b.bin"
cmp -s "$work/a.bin" "$work/b.bin" || fail "two runs give different lists"
check "raster the list" 0 "$tool" raster "$work/a.bin" --out "$work/a.png"

check "frame help" 0 "$tool" frame --help
check "frame step zero" 2 "$tool" frame --step 0 --out "$work/f.png"
one_line_naming "--step"
check "frame without out" 2 "$tool" frame --step 3
one_line_naming "--out"
check "frame" 0 "$tool" frame --step 40 --out "$work/f.png"
[ "$(head -c 8 "$work/f.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "frame did not write a PNG"
check "frame again" 0 "$tool" frame --step 40 --out "$work/g.png"
cmp -s "$work/f.png" "$work/g.png" || fail "two runs give different frames"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
