#!/bin/sh
# Builds every fuzz target (app/fuzz/*_fuzz.cpp) with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer through CMake (VELDMARK_FUZZ=ON) and runs each for SECONDS.
#   app/fuzz/run.sh SECONDS [BUILD_DIR]
# Needs clang and its sanitizer and libFuzzer runtimes; on Debian 12 the packages clang and
# libclang-rt-14-dev (only recommended by clang, so name it when installing without
# recommends). CXX_FUZZ picks another clang++; FUZZ_RUNS=N runs each target for N inputs
# instead (with SECONDS still the upper bound).
# Exits non-zero when a fuzzer finds a crash, a sanitizer report or a broken promise; the input
# that caused it is left in BUILD_DIR/TARGET/.
set -eu
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${2:-$repo/build-fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)   # each target runs from its own folder below it
jobs=$(nproc 2>/dev/null || echo 2)

CXX=${CXX_FUZZ:-clang++} cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELDMARK_FUZZ=ON -DVELDMARK_TESTS=OFF -DVELDMARK_PROGRAMS=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_targets

status=0
for source in "$repo"/app/fuzz/*_fuzz.cpp; do
    target=$(basename "$source" .cpp)
    seeds="$repo/app/fuzz/seeds/$target"
    mkdir -p "$build/$target/corpus"
    [ -d "$seeds" ] || seeds=
    echo "== $target for $seconds s" >&2
    (cd "$build/$target" &&
        "$build/app/fuzz/$target" -max_total_time="$seconds" ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} \
            -max_len=65536 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 corpus $seeds) ||
        { echo "== $target FAILED" >&2; status=1; }
done
exit $status
