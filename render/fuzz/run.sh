#!/bin/sh
# Builds the display-list decoder's fuzz target with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time.
#   render/fuzz/run.sh SECONDS [BUILD_DIR]
# Needs clang and its sanitizer and libFuzzer runtimes; on Debian 12 the packages clang and
# libclang-rt-14-dev (only recommended by clang, so name it when installing without
# recommends). CXX_FUZZ picks another clang++.
# Exits non-zero when the fuzzer finds a crash, a sanitizer report or a write outside the frame;
# the input that caused it is left in BUILD_DIR.
set -eu
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${2:-$repo/build-fuzz}
cxx=${CXX_FUZZ:-clang++}
mkdir -p "$build/corpus"

# The same floating-point rules as the program: no contraction, no fast math, the float
# functions called as library functions.
"$cxx" -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -ffp-contract=off -fno-fast-math -fno-builtin-sinf -fno-builtin-cosf \
    -Wall -Wextra -Werror -I"$repo" \
    "$repo/render/fuzz/decoder_fuzz.cpp" \
    "$repo/render/display_list.cpp" "$repo/render/command_decoder.cpp" \
    "$repo/render/shade_record.cpp" "$repo/render/shaded_span.cpp" "$repo/render/span_fill.cpp" \
    "$repo/render/polygon_filler.cpp" "$repo/render/disc_filler.cpp" \
    "$repo/render/rasteriser.cpp" "$repo/render/simd_level.cpp" \
    "$repo"/world/float_math_*.cpp \
    -o "$build/decoder_fuzz"

cd "$build"
./decoder_fuzz -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 corpus "$repo/render/fuzz/seeds"
