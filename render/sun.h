#pragma once
// The sun: a warm halo blended over the sky from a per-frame table, and an opaque disc that
// shades from a pale core to an orange rim. Neither is ever drawn below the horizon line.
#include <array>
#include <cstdint>

#include "render/raster_target.h"
#include "render/simd_level.h"

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
    float outer;        // halo radius, logical units
    float index_scale;  // squared distance to table index: 1023 / outer^2
};

void BuildGlowTable(float sun_scale, GlowTable& table);

// The sun of one frame, ready to draw a run of rows at a time.
struct PreparedSun {
    IndexRange rows;      // the pixel box halo and disc can reach; empty rows: nothing to draw
    IndexRange columns;
    Vec2 centre;          // logical
    float scale;
    float halo_squared;   // squared logical radius of the halo
    float disc_squared;
    // Where the sun lies on the unturned screen (logical), and how far from it, with a margin,
    // a pixel can be changed; reach_known is false when any of it is not finite.
    double unturned_x = 0.0;
    double unturned_y = 0.0;
    double reach = 0.0;
    bool reach_known = false;
};

// The columns of row `row` (within sun.columns) that the halo or the disc can change: those
// near enough the sun and on the sky's side of the horizon line. Every other pixel of the row is
// left as it is by the pixel-by-pixel test.
IndexRange SunColumnsInRow(const PreparedSun& sun, const ViewTransform& view, int row);

// Builds `table` (scratch owned by the caller) for the sun centred at logical `centre` with size
// factor `sun_scale`, and finds its box.
PreparedSun PrepareSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre,
                       float sun_scale, GlowTable& table);

// Halo and disc on the rows of `rows`.
void DrawSunRows(const RasterTarget& target, const ViewTransform& view, const PreparedSun& sun,
                 const GlowTable& table, IndexRange rows, SimdLevel level);

// Both at once, over all rows.
void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table);

} // namespace veldmark
