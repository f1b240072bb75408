#pragma once
// Drawing a whole frame a strip of rows at a time: the background, the sun and every command of
// the display list are painted into one strip, in painter's order, before the next strip starts.
// A strip is small enough to stay in the core's cache, so each pixel goes out to memory about
// once, however many times it is painted over. Everything per command is prepared once per
// frame (FramePlan), not once per strip. The pixels are exactly those of painting the whole
// background, then the sun, then each command over the whole frame. Rows of a strip that a flat
// (opaque) polygon covers from edge to edge get neither background nor sun nor any command
// before that polygon: it would paint over all of them.
#include <array>
#include <cstdint>

#include "render/frame_plan.h"
#include "render/polygon_filler.h"
#include "render/raster_target.h"
#include "render/simd/simd_level.h"
#include "render/sun.h"

namespace veldmark {

// 32 rows of 1920 pixels are 240 KB: room in a 512 KB L2 cache for the strip and the plan.
inline constexpr int kStripRows = 32;
// Taller targets get taller strips, so that the strip count stays within this.
inline constexpr int kMaxStrips = 128;

// What a frame packet's tail asks to be painted beneath the list.
struct FrameBackground {
    std::uint32_t zenith_colour;
    std::uint32_t horizon_colour;
    bool sun_visible;
    Vec2 sun_centre;   // logical
    float sun_scale;
};

// The working storage of one render worker, owned by it and reused for every frame.
struct StripScratch {
    FramePlan plan;
    GlowTable glow;
    CrossingScratch crossings;
    CoverScratch cover;
    std::array<std::uint32_t, kMaxPlannedCommands> starting;   // commands by the strip they start in
    std::array<std::uint32_t, kMaxStrips + 1> strip_start;       // each strip's first entry in `starting`
    std::array<std::uint32_t, kMaxPlannedCommands> live;       // commands reaching the strip, in order
    std::array<std::uint32_t, kMaxPlannedCommands> merged;
};

// Paints `background` (when given) and then the list of `length` words over every pixel of the
// target, strip by strip.
void RenderInStrips(const RasterTarget& target, float roll, const FrameBackground* background,
                   const std::uint32_t* words, std::uint64_t length, StripScratch& scratch,
                   SimdLevel level);

} // namespace veldmark
