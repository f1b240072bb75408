#pragma once
// The sun: a warm halo blended over the sky from a per-frame table, and an opaque disc that
// shades from a pale core to an orange rim. Neither is ever drawn below the horizon line.
#include <array>
#include <cstdint>

#include "render/raster_target.h"

namespace veldmark {

inline constexpr int kGlowEntries = 1024;

// Premultiplied halo colour and inverse opacity, all in 1/256 units, indexed by the squared
// logical distance from the sun's centre scaled to 0..1023.
struct GlowEntry {
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
    std::int32_t inverse_opacity;
};

struct GlowTable {
    std::array<GlowEntry, kGlowEntries> entries;
    float inner;        // halo radii, logical units
    float outer;
    float index_scale;  // squared distance to table index: 1023 / outer^2
};

void BuildGlowTable(float sun_scale, GlowTable& table);

// Draws halo and disc centred at logical (x, y) with size factor `sun_scale`. `table` is
// scratch owned by the caller (it is rebuilt here).
void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table);

} // namespace veldmark
