#pragma once
// Colouring one span of a shaded polygon: every pixel's gradient parameter and colour, worked out
// at its logical position (so gradients turn with the scene). One function per kind of fill and
// width, chosen once per polygon; every width gives the bits of the one-pixel form
// (shaded_pixel.h).
#include <cstdint>

#include "render/raster_target.h"
#include "render/shade_record.h"
#include "render/simd/simd_level.h"

namespace veldmark {

// A ramp's two colours channel by channel (channel k is bits 8k..8k+7).
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
    float dx, dy, q;              // Linear: P1 - P0 and its squared length
    RampChannels ramp;            // A to B (Band: dark to light)
    RampChannels reversed_ramp;   // B to A (Band's upper half: light to dark)
};

SpanShader MakeSpanShader(const ShadeRecord& record, const ViewTransform& view);

using ShadedSpanFn = void (*)(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader);

// The span function for a kind other than Flat, as wide as `level` allows.
ShadedSpanFn ShadedSpanFunction(ShadeKind kind, SimdLevel level);

// One width's span function for each kind with a gradient. Blend (one colour over the pixels)
// has only the one-pixel form: nothing in it is shared between neighbouring pixels.
struct ShadedSpanForms {
    ShadedSpanFn band;
    ShadedSpanFn radial;
    ShadedSpanFn linear;
    ShadedSpanFn elliptic;
};
extern const ShadedSpanForms kShadedSpanScalar;
extern const ShadedSpanForms kShadedSpanVec4;   // kernels_vec4.cpp
extern const ShadedSpanForms kShadedSpanVec8;   // kernels_vec8.cpp

} // namespace veldmark
