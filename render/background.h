#pragma once
// The background every frame starts from: the sky gradient from zenith to horizon colour, the
// ground below the horizon line, both tilted by the view's roll.
#include <cstdint>

#include "render/raster_target.h"
#include "render/simd_level.h"

namespace veldmark {

inline constexpr std::uint32_t kGroundColour = 0x4A8F43;

// Writes every pixel of the rows of `rows` (within the target).
void PaintBackgroundRows(const RasterTarget& target, const ViewTransform& view,
                         std::uint32_t zenith_colour, std::uint32_t horizon_colour, IndexRange rows,
                         SimdLevel level);

// Writes every pixel of the target.
void PaintBackground(const RasterTarget& target, const ViewTransform& view,
                     std::uint32_t zenith_colour, std::uint32_t horizon_colour);

// The sky colour at unrolled logical height v (0 at the top, 300 at the horizon line); the
// ground from v = 300 down.
std::uint32_t SkyColourAt(float v, std::uint32_t zenith_colour, std::uint32_t horizon_colour);

} // namespace veldmark
