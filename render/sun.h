#pragma once
// The sun: a warm halo blended over the sky from a per-frame table, and an opaque disc that
// shades from a pale core to an orange rim. Neither is ever drawn below the horizon line.
#include <array>
#include <cstdint>

#include "render/raster_target.h"
#include "render/simd/simd_level.h"

namespace veldmark {

// The sun's shape and colours, in logical units at sun scale 1.
struct SunShape {
    static constexpr float kHaloInner = 8.0f;      // the halo is at its strongest up to here
    static constexpr float kHaloOuter = 340.0f;    // and gone here
    static constexpr float kDiscRadius = 46.0f;
    static constexpr float kDiscCore = 4.0f;       // the disc's pale core; it shades to the rim
    // The disc is (255, green, blue): each falls by its amount from the core to the rim.
    static constexpr float kDiscCoreGreen = 230.0f;
    static constexpr float kDiscGreenFall = 73.0f;
    static constexpr float kDiscCoreBlue = 163.0f;
    static constexpr float kDiscBlueFall = 71.0f;
    static constexpr std::uint32_t kDiscRed = 0xFF0000;
};

inline constexpr int kGlowEntries = 1024;
inline constexpr float kGlowLastIndex = static_cast<float>(kGlowEntries - 1);

// The halo's premultiplied colour and inverse opacity, all in 1/256 units, indexed by the
// squared logical distance from the sun's centre scaled to 0..1023; one array a field, so that
// lanes load neighbouring entries' fields at once.
struct GlowTable {
    std::array<std::int32_t, kGlowEntries> red;
    std::array<std::int32_t, kGlowEntries> green;
    std::array<std::int32_t, kGlowEntries> blue;
    std::array<std::int32_t, kGlowEntries> inverse_opacity;   // 255 and up: the entry leaves the pixel
    float outer;        // halo radius, logical units
    float index_scale;  // squared distance to table index: 1023 / outer^2

    // A row of one colour glows by the entry alone: `glowed` holds that colour under the entries
    // from `glowed_from` on (the colour itself where an entry leaves it), worked out for the
    // entries a row reaches and kept while later rows have the same colour and reach no nearer
    // the centre, as the rows of an upright sky mostly have.
    int glowed_from = kGlowEntries;
    std::uint32_t glowed_colour = 0;
    std::array<std::int32_t, kGlowEntries> glowed;
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
                 GlowTable& table, IndexRange rows, SimdLevel level);

// Halo and disc over the columns of one row; the row's logical y is at `row_centre` / 2. No
// pixel of the row is nearer the centre than table entry `nearest_entry` (a bound for the lane
// forms to work out fewer entries; each pixel is still looked up where it is).
using SunRowFn = void (*)(std::uint32_t* out, IndexRange columns, float row_centre, const ViewTransform& view,
                          const PreparedSun& sun, GlowTable& table, int nearest_entry);

struct SunForms {
    SunRowFn shade_row;
};
extern const SunForms kSunScalar;
extern const SunForms kSunVec4;   // kernels_vec4.cpp
extern const SunForms kSunVec8;   // kernels_vec8.cpp

// Both at once, over all rows.
void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table);

} // namespace veldmark
