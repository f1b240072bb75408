#pragma once
// Which vector sets this build has code for, decided by the compiler's target alone:
//   VELDMARK_VEC4 with one of VELDMARK_VEC4_SSE2, _WASM or _NEON: the four-lane set (vec4.h);
//   VELDMARK_VEC8: the eight-lane AVX2 set (vec8.h), compiled function by function for AVX2 and
//   taken only when the processor has it (simd_level.h).
// Without a four-lane set every kernel runs its one-pixel code.
#if defined(__SSE2__) || defined(_M_X64)
#define VELDMARK_VEC4 1
#define VELDMARK_VEC4_SSE2 1
#elif defined(__wasm_simd128__)
#define VELDMARK_VEC4 1
#define VELDMARK_VEC4_WASM 1
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define VELDMARK_VEC4 1
#define VELDMARK_VEC4_NEON 1
#endif

// AVX2 needs the per-function target attribute (GCC and clang) on x86-64.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define VELDMARK_VEC8 1
#endif
