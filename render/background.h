#pragma once
// The background every frame starts from: the sky gradient from zenith to horizon colour, the
// ground below the horizon line, both tilted by the view's roll.
#include <cstdint>

#include "render/raster_target.h"
#include "render/simd/simd_level.h"

namespace veldmark {

inline constexpr std::uint32_t kGroundColour = 0x4A8F43;

// The sky's shape along the unrolled height v (0 at the top, kHorizonY at the horizon line):
// flat zenith colour over the upper fifth, then a gradient that reaches the horizon colour at
// the line.
struct SkyShape {
    static constexpr float kInverseHorizon = 0.0033333334f;   // 1 / 300: v to a share t of the sky
    static constexpr float kFlatShare = 0.2f;                 // t up to this is the zenith colour
    static constexpr float kGradientShare = 0.8f;             // the rest of t, over which it fades
};

// Writes every pixel of the rows of `rows` (within the target).
void PaintBackgroundRows(const RasterTarget& target, const ViewTransform& view,
                         std::uint32_t zenith_colour, std::uint32_t horizon_colour, IndexRange rows,
                         SimdLevel level);

// Writes every pixel of the target.
void PaintBackground(const RasterTarget& target, const ViewTransform& view,
                     std::uint32_t zenith_colour, std::uint32_t horizon_colour);

// The sky colour at unrolled logical height v; the ground from v = kHorizonY down.
std::uint32_t SkyColourAt(float v, std::uint32_t zenith_colour, std::uint32_t horizon_colour);

// Along a rolled row v starts at its column-0 value and grows by one float `step` per column,
// rounded after every addition. Within one binade (floats of one exponent) that addition adds
// the same amount every time, unless the step is an odd number of half-spacings there, so such
// a stretch of the row is v + i dv exactly, for every column i at once. Returns how many columns
// from `v` on (v itself the first, at most `most`) are v + i dv, and dv; the value after the
// last is the accumulated one, v + (count - 1) dv + step. Count 1 where no stretch is known
// (zero, subnormal or non-finite values, ties).
struct SkyStretch {
    int count;
    float dv;
};
SkyStretch ExactSkyStretch(float v, float step, int most);

// Paints `count` pixels of a rolled row whose v is v + i dv at pixel i (a stretch above).
using SkyStretchFn = void (*)(std::uint32_t* out, int count, float v, float dv, std::uint32_t zenith_colour,
                              std::uint32_t horizon_colour);

struct SkyForms {
    SkyStretchFn paint_stretch;
};
extern const SkyForms kSkyScalar;
extern const SkyForms kSkyVec4;   // kernels_vec4.cpp
extern const SkyForms kSkyVec8;   // kernels_vec8.cpp

} // namespace veldmark
