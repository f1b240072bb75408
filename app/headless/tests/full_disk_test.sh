#!/usr/bin/env bash
# Every command that writes, on a really full file system: a small tmpfs made for the purpose,
# once with room for all but the output's last page and once with no room at all. Each must end
# with exit code 1 and a one-line error naming its file and the reason, and leave no file under
# the final name (frames: every frame that is there is whole) and no temporary.
# Needs root to mount; exit 77 (skipped) otherwise.
# usage: full_disk_test.sh VELDMARK_RENDER WORK_DIR
set -u
tool=$1
work=$2
readonly skip=77
readonly page=4096

if [ "$(id -u)" -ne 0 ]; then
    echo "skipped: mounting a small file system needs root"
    exit "$skip"
fi
rm -rf "$work"
mkdir -p "$work/roomy"
mounted=()
cleanup() {
    local m
    for m in "${mounted[@]}"; do umount "$m" 2>/dev/null; done
}
trap cleanup EXIT

probe="$work/probe"
mkdir -p "$probe"
if ! mount -t tmpfs -o size=$page tmpfs "$probe" 2>/dev/null; then
    echo "skipped: cannot mount a tmpfs here (no CAP_SYS_ADMIN?)"
    exit "$skip"
fi
umount "$probe"

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }

# small_disk NAME BYTES: a fresh tmpfs of BYTES (a whole number of pages, at least one) at
# $work/NAME, empty; prints its path. BYTES=0 means one page, filled: no room at all.
small_disk() {
    local dir="$work/$1" size=$2
    mkdir -p "$dir"
    [ "$size" -eq 0 ] && size=$page
    mount -t tmpfs -o size="$size" tmpfs "$dir" || return 1
    mounted+=("$dir")
    [ "$2" -eq 0 ] && head -c $page /dev/zero >"$dir/filler" 2>/dev/null
    echo "$dir"
}

pages() { echo $((($1 + page - 1) / page)); }   # pages BYTES: tmpfs pages a file of BYTES takes

# A PNG is whole when it ends with its IEND chunk.
whole_png() { [ "$(tail -c 8 "$1" | head -c 4)" = IEND ]; }

# refused NAME CMD DISK FINAL ARGS...: `veldmark-render CMD ARGS` on DISK fails as it must.
# FINAL is the path that must not appear (for frames: the directory, checked file by file).
refused() {
    local name=$1 cmd=$2 disk=$3 final=$4
    shift 4
    "$tool" "$cmd" "$@" >"$work/stdout" 2>"$work/stderr"
    local code=$?
    [ "$code" -eq 1 ] && pass "$name: exit code 1" || { fail "$name: exit code $code, wanted 1"; cat "$work/stderr"; }
    # Progress lines are allowed; everything else is the one error line.
    local errors
    errors=$(grep -v -E "^$cmd: [0-9]+ of [0-9]+ frames" "$work/stderr")
    if [ "$(printf '%s\n' "$errors" | grep -c .)" -eq 1 ] && [[ "$errors" == "veldmark-render $cmd: "* ]] &&
        [[ "$errors" == *"$final"* ]] && [[ "$errors" == *"No space left on device"* ]]; then
        pass "$name: one line naming the file and the reason"
    else
        fail "$name: the error is not one line naming '$final' and the full disk: $errors"
    fi
    if [ "$cmd" = frames ]; then
        local f bad=0
        for f in "$final"/*.png; do
            [ -e "$f" ] || continue
            whole_png "$f" || { fail "$name: $f is not whole"; bad=1; }
        done
        [ "$bad" -eq 0 ] && pass "$name: every frame left behind is whole ($(ls "$final" | wc -l) of them)"
    elif [ -e "$final" ]; then
        fail "$name: '$final' was left behind ($(stat -c %s "$final") bytes)"
    else
        pass "$name: no file under the final name"
    fi
    local leftovers
    leftovers=$(find "$disk" -name '*.partial*')
    [ -z "$leftovers" ] && pass "$name: no temporary left" || fail "$name: temporaries left: $leftovers"
}

# check CMD OUT_NAME ARGS...: runs CMD with --out on a roomy disk to learn the output's size,
# then on a disk one page too small, then on a full one. "OUT" in ARGS stands for the output.
check() {
    local cmd=$1 out_name=$2
    shift 2
    local args=() a
    for a in "$@"; do [ "$a" = OUT ] && args+=("$work/roomy/$out_name") || args+=("$a"); done
    if ! "$tool" "$cmd" "${args[@]}" >/dev/null 2>"$work/stderr"; then
        fail "$cmd: does not even work with room to spare: $(cat "$work/stderr")"
        return
    fi
    local need=0 f
    if [ -d "$work/roomy/$out_name" ]; then
        for f in "$work/roomy/$out_name"/*; do need=$((need + $(pages "$(stat -c %s "$f")"))); done
    else
        need=$(pages "$(stat -c %s "$work/roomy/$out_name")")
    fi
    local case_name size disk
    for case_name in "one page short" "no room"; do
        if [ "$case_name" = "no room" ]; then size=0; else size=$(((need - 1) * page)); fi
        if [ "$case_name" != "no room" ] && [ "$need" -lt 2 ]; then
            fail "$cmd: the output ($need page) is too small to test one page short"
            continue
        fi
        disk=$(small_disk "$cmd-${case_name// /-}" "$size") || { fail "$cmd: cannot mount"; continue; }
        args=()
        for a in "$@"; do [ "$a" = OUT ] && args+=("$disk/$out_name") || args+=("$a"); done
        refused "$cmd, $case_name" "$cmd" "$disk" "$disk/$out_name" "${args[@]}"
        umount "$disk"
    done
}

check trace trace.csv --steps 300 --out OUT
check list list.bin --step 300 --out OUT
check frame frame.png --step 300 --out OUT
check raster raster.png "$work/roomy/list.bin" --out OUT
check frames frames --from 300 --count 3 --out OUT
check hashes hashes.txt --count 250 --out OUT
check glyphs glyphs.png --out OUT
if command -v ffmpeg >/dev/null; then
    check video video.mp4 --from 300 --count 20 --out OUT
else
    echo "skipped: video (ffmpeg is not installed)"
fi

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "all checks passed"
