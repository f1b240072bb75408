#pragma once
// Which vector instructions the fast paths may use, chosen once per process. SSE2 is part of
// every x86-64 and is the floor; AVX2 and AVX-512 are taken when the processor (and the
// operating system, which must save the wider registers) supports them. VELDMARK_SIMD=sse2,
// avx2 or avx512 asks for a path for tests and measuring; a path the machine lacks is never
// taken, whatever is asked.
//
// Every path computes bit for bit what the one-pixel code computes, so the choice changes only
// the speed, never a pixel.
// The AVX2 paths are compiled function by function with the target attribute (never a whole file
// with -mavx2, whose inline functions the linker could hand to callers on older processors), and
// only by compilers that have it; elsewhere every path is the SSE2 one.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define VELDMARK_AVX2_PATHS 1
#define VELDMARK_TARGET_AVX2 __attribute__((target("avx2")))
#endif

namespace veldmark {

enum class SimdLevel { Sse2 = 0, Avx2 = 1, Avx512 = 2 };

// The best level this processor and operating system support.
SimdLevel SupportedSimdLevel();

// The level the fast paths use: the supported one, or lower when VELDMARK_SIMD asks for it.
// Read once, on first use; thread-safe.
SimdLevel ActiveSimdLevel();

// Overrides the active level for the rest of the process (tests run every path the machine
// has). A level above the supported one is lowered to it. Returns the level now active. Not to
// be called while render threads are running.
SimdLevel SetActiveSimdLevel(SimdLevel level);

// "sse2", "avx2" or "avx512".
const char* SimdLevelName(SimdLevel level);

} // namespace veldmark
