# Compiler settings every Veldmark target shares. Frames must be bit-identical on every run of
# the same build, so floating point is never contracted into FMA and never relaxed.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  message(WARNING "Veldmark is tuned for g++ and clang; check the floating-point flags of ${CMAKE_CXX_COMPILER_ID}")
endif()

add_compile_options(-ffp-contract=off -fno-fast-math)
# The core computes its sines, exponentials and powers with its own correctly rounded functions
# (world/float_math.h; a test checks that it calls none of the C library's). Where tests and
# benchmarks call the C library's for comparison, the compiler may neither fold them at build
# time nor fuse a sine and a cosine into one sincos call.
add_compile_options(
  -fno-builtin-sinf -fno-builtin-cosf -fno-builtin-tanf -fno-builtin-atanf
  -fno-builtin-atan2f -fno-builtin-expf -fno-builtin-sincosf)

if(VELDMARK_SANITIZE)
  string(REPLACE ";" "," _veldmark_san "${VELDMARK_SANITIZE}")
  add_compile_options(-fsanitize=${_veldmark_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${_veldmark_san})
endif()

# The fuzz targets: the whole build is instrumented for libFuzzer's coverage and checked by the
# address and undefined-behaviour sanitizers; only the targets themselves link libFuzzer's main.
if(VELDMARK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELDMARK_FUZZ needs clang (libFuzzer): configure with CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings as errors for our own code only (test frameworks bring their own headers).
function(veldmark_strict target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wdouble-promotion -Wfloat-conversion
    -Wnon-virtual-dtor -Wcast-align -Wnull-dereference -Werror)
endfunction()
