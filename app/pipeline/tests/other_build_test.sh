#!/usr/bin/env bash
# The same drive from another build: compiles with another compiler or for another system and
# compares every frame's hash from veldmark-drive-hashes with the recorded list.
#   other_build_test.sh clang SOURCE_DIR WORK_DIR LIST   clang++ on this machine: the whole tree,
#                                                        tests (and benchmarks, when Google
#                                                        Benchmark is installed) included
#   other_build_test.sh wine  SOURCE_DIR WORK_DIR LIST   mingw-w64 for Windows, run under Wine
# Exit 77 (skipped) when the compiler or Wine is not installed.
set -u
kind=$1 src=$(cd "$2" && pwd) work=$3 list=$4
mkdir -p "$work"
frames=$(tail -1 "$list" | cut -d, -f1)
case "$kind" in
clang)
    command -v clang++ >/dev/null || { echo "skipped: clang++ is not installed"; exit 77; }
    # Every target, with clang's own warnings as errors, as g++ builds them.
    options=(-DCMAKE_CXX_COMPILER=clang++ -DVELDMARK_TESTS=ON)
    [ -d /usr/lib/x86_64-linux-gnu/cmake/benchmark ] && options+=(-DVELDMARK_BENCHMARKS=ON)
    targets=(all)
    run=("$work/build/veldmark-drive-hashes") ;;
wine)
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x "$wine" ] \
        || { echo "skipped: mingw-w64 or Wine is not installed"; exit 77; }
    options=(-DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" -DVELDMARK_TESTS=OFF)
    targets=(veldmark-drive-hashes)
    export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY
    run=("$wine" "$work/build/veldmark-drive-hashes.exe") ;;
*)
    echo "usage: other_build_test.sh clang|wine SOURCE_DIR WORK_DIR LIST" >&2; exit 2 ;;
esac

echo "== building ${targets[*]} ($kind)"
if ! { cmake -S "$src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release "${options[@]}" \
         >"$work/configure.log" 2>&1 &&
       cmake --build "$work/build" -j2 --target "${targets[@]}" >"$work/build.log" 2>&1; }; then
    tail -n 30 "$work/configure.log" "$work/build.log"
    echo "FAIL the $kind build"
    exit 1
fi
echo "== rendering $frames frames"
"${run[@]}" "$frames" 2>"$work/stderr" | tr -d '\r' >"$work/hashes.txt"
status=${PIPESTATUS[0]}
[ "$kind" = wine ] && { "$(dirname "$wine")/wineserver" -k 2>/dev/null || true; }
if [ "$status" -ne 0 ]; then
    cat "$work/stderr"; echo "FAIL the $kind build exited with $status"; exit 1
fi
if cmp -s "$list" "$work/hashes.txt"; then
    echo "all $frames frames of the $kind build hash as recorded"
    exit 0
fi
changed=$(diff "$list" "$work/hashes.txt" | grep -c '^>' || true)
first=$(diff "$list" "$work/hashes.txt" | grep -m1 '^[<>]' | cut -c3- | cut -d, -f1)
echo "FAIL $changed of $frames frames of the $kind build differ, the first at step $first"
exit 1
