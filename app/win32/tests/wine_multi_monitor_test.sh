#!/usr/bin/env bash
# The Windows build's full-screen saver on several monitors, under Wine on Xorg's dummy driver:
# cross-compiles veldmark.exe with mingw-w64 (into the same build as the Wine test), then runs
# the multi-monitor checks. Exit 77 (skipped) when the tools are not installed.
# usage: wine_multi_monitor_test.sh SOURCE_DIR WORK_DIR
set -u
src=$(cd "$1" && pwd)
work=$2
command -v x86_64-w64-mingw32-g++-posix >/dev/null || { echo "skipped: mingw-w64 is not installed"; exit 77; }
build="$work/build"
if ! { cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-x86_64.cmake" \
        -DVELDMARK_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 &&
       cmake --build "$build" -j2 --target veldmark-win >"$work/build.log" 2>&1; }; then
    tail -n 30 "$work/configure.log" "$work/build.log"
    echo "FAIL the Windows build"
    exit 1
fi
exec bash "$src/app/linux/tests/multi_monitor_test.sh" wine "$src" "$build/veldmark.exe" "$work/multi-monitor"
