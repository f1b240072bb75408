#pragma once
// Filling a run of pixels with one value: the common case of the whole rasteriser (flat
// polygons are most of a frame). A plain run-time-length loop stays scalar under -O2, so the
// lane forms fill a whole vector per store, aligned to the vector after one unaligned head.
#include <cstddef>
#include <cstdint>

#include "render/simd/simd_level.h"

namespace veldmark {

using SpanFillFn = void (*)(std::uint32_t* out, std::size_t count, std::uint32_t value);

struct SpanFillForms {
    SpanFillFn fill;
};
extern const SpanFillForms kSpanFillScalar;
extern const SpanFillForms kSpanFillVec4;   // kernels_vec4.cpp
extern const SpanFillForms kSpanFillVec8;   // kernels_vec8.cpp

// The widest fill `level` allows.
SpanFillFn SpanFillFunction(SimdLevel level);

// The active level's fill.
void FillSpan(std::uint32_t* out, std::size_t count, std::uint32_t value);

} // namespace veldmark
