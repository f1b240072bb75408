#!/usr/bin/env bash
# Renders the drive through the real pipeline and compares every frame's hash with the committed
# list, so that a change meant only to be faster cannot move a pixel unnoticed.
#   drive_hashes_test.sh TOOL LIST EVERY    frames at steps 1, 1 + EVERY, ... of the list
# A change that is meant to change pictures regenerates the list in the same commit:
#   build/veldmark-render hashes --count 7027 --out app/pipeline/tests/drive_hashes.txt
set -euo pipefail
tool=$1 list=$2 every=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
last=$(tail -1 "$list" | cut -d, -f1)
count=$(( (last - 1) / every + 1 ))
awk -F, -v every="$every" '($1 - 1) % every == 0' "$list" >"$work/expected"
"$tool" hashes --count "$count" --every "$every" --out "$work/got" 2>/dev/null
if cmp -s "$work/expected" "$work/got"; then
    echo "all $count frames (every $every steps of $last) hash as recorded"
    exit 0
fi
changed=$(diff "$work/expected" "$work/got" | grep -c '^>' || true)
first=$(diff "$work/expected" "$work/got" | grep -m1 '^>' | cut -c3- | cut -d, -f1)
echo "FAIL $changed of $count frames differ from $list, the first at step $first"
exit 1
