#pragma once
// The one place a kernel's width is chosen: each kernel has a one-pixel form and, where the
// build has the vector set, a four-lane and an eight-lane form; the widest the level allows
// runs, else the next, else one pixel at a time.
#include "render/simd/simd_build.h"
#include "render/simd/simd_level.h"

// A kernel's four- or eight-lane form where this build has that set, else nothing.
#if defined(VELDMARK_VEC4)
#define VELDMARK_IF_VEC4(form) form
#else
#define VELDMARK_IF_VEC4(form) nullptr
#endif
#if defined(VELDMARK_VEC8)
#define VELDMARK_IF_VEC8(form) form
#else
#define VELDMARK_IF_VEC8(form) nullptr
#endif

namespace veldmark {

template <class Fn>
struct SimdPaths {
    Fn scalar;   // the one-pixel form every vector form is held to
    Fn vec4;     // null where the build has no four-lane set
    Fn vec8;
};

template <class Fn>
constexpr Fn PathFor(const SimdPaths<Fn>& paths, SimdLevel level)
{
    if (level >= SimdLevel::Vec8 && paths.vec8) return paths.vec8;
    if (level >= SimdLevel::Vec4 && paths.vec4) return paths.vec4;
    return paths.scalar;
}

} // namespace veldmark
