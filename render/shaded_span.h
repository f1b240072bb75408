#pragma once
// Colouring one span of a shaded polygon: every pixel's gradient parameter and colour, worked out
// at its logical position (so gradients turn with the scene). One function per kind of fill and
// vector path, chosen once per polygon; each gives the bits the one-pixel functions of
// pixel_colour.h give.
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/pixel_quad.h"
#include "render/raster_target.h"
#include "render/shade_record.h"
#include "render/simd_level.h"

namespace veldmark {

// A ramp's two colours channel by channel (channel k is bits 8k..8k+7), for paths that broadcast
// them into vectors of their own width.
struct RampChannels {
    float from[4];         // A's channels
    float difference[4];   // B's minus A's, as floats
    std::int32_t a[4];
    std::int32_t b[4];
};

// Everything a shaded span needs that depends only on the command.
struct SpanShader {
    ShadeRecord record;
    ViewTransform view;
    float dx, dy, q;   // Linear: P1 - P0 and its squared length
    RampChannels ramp;       // A to B (Band: dark to light)
    RampChannels reversed_ramp;   // B to A
#if defined(__SSE2__)
    RampColours colours;    // A to B (Band: dark to light)
    RampColours reversed;   // B to A (Band's upper half)
#endif
};

SpanShader MakeSpanShader(const ShadeRecord& record, const ViewTransform& view);

using ShadedSpanFn = void (*)(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader);

// The span function for a kind other than Flat, on the given vector path.
ShadedSpanFn ShadedSpanFunction(ShadeKind kind, SimdLevel level);

} // namespace veldmark
