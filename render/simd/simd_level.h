#pragma once
// How wide the fast paths run, chosen once per process: one pixel at a time, four 32-bit lanes
// (SSE2 on x86-64, part of every such processor) or eight (AVX2, taken when the processor and
// the operating system, which must save the wider registers, support it). VELDMARK_SIMD asks for
// a narrower path for tests and measuring; a path the machine or the build lacks is never taken.
//
// Every path computes bit for bit what the one-pixel code computes, so the choice changes only
// the speed, never a pixel.
namespace veldmark {

enum class SimdLevel { Scalar = 0, Vec4 = 1, Vec8 = 2 };

// The widest level this build, processor and operating system support.
SimdLevel SupportedSimdLevel();

// The level the fast paths use: the supported one, or the narrower one VELDMARK_SIMD names.
// Read once, on first use; thread-safe.
SimdLevel ActiveSimdLevel();

// The level VELDMARK_SIMD asks for now ("scalar", the four-lane name, "avx2"), lowered to
// `supported`; `supported` when it is unset or names no level. Reads the environment each time.
SimdLevel SimdLevelFromEnvironment(SimdLevel supported);

// Overrides the active level for the rest of the process (tests run every path the machine
// has). A level above the supported one is lowered to it. Returns the level now active. Not to
// be called while render threads are running.
SimdLevel SetActiveSimdLevel(SimdLevel level);

// "scalar"; the four-lane set of this build ("sse2", "simd128" or "neon"); "avx2". These are
// the names VELDMARK_SIMD takes.
const char* SimdLevelName(SimdLevel level);

} // namespace veldmark
