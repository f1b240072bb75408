#pragma once
// The Disc command's own filler: a circle blended over the pixels by a float opacity. A disc is
// prepared once (centre through the view, its box, its colour's share) and then filled a run of
// rows at a time, so a frame can be drawn strip by strip.
#include <cstdint>

#include "render/raster_target.h"
#include "render/simd/simd_level.h"

namespace veldmark {

inline constexpr float kMinDiscRadius = 0.5f;    // logical units; smaller discs are not drawn
inline constexpr float kMinDiscOpacity = 0.02f;  // fainter discs are not drawn

struct PreparedDisc {
    IndexRange rows;      // empty: nothing to draw
    IndexRange columns;
    Vec2 centre;          // pixel coordinates
    float r_squared;      // squared pixel radius
    float keep;           // 1 - opacity
    float share[3];       // blue, green, red times the opacity
};

// The disc of `colour` (red, green, blue; its top byte plays no part) at logical `centre` with
// logical `radius`, blended by `opacity`.
PreparedDisc PrepareDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
                         Vec2 centre, float radius, float opacity);

// Blends the disc over the pixels whose centres lie within it, on the rows of `rows`; the
// pixels' top bytes are kept.
void FillDiscRows(const RasterTarget& target, const PreparedDisc& disc, IndexRange rows, SimdLevel level);

// The disc over the columns of one row, whose centre is `dy_squared` (pixels squared) above or
// below the disc's.
using DiscRowFn = void (*)(std::uint32_t* row, const PreparedDisc& disc, float dy_squared);

struct DiscForms {
    DiscRowFn fill_row;
};
extern const DiscForms kDiscScalar;
extern const DiscForms kDiscVec4;   // kernels_vec4.cpp
extern const DiscForms kDiscVec8;   // kernels_vec8.cpp

// Both at once, over all rows.
void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity);

} // namespace veldmark
