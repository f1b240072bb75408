#pragma once
// The pixel buffer a command is drawn into, and the view that maps the logical 960 x 600 screen
// onto it. A frame packet's buffer is 1920 x 1200; tests and tools may hand in any size, and every
// row and span is clamped to the size given here.
#include <cmath>
#include <cstdint>

#include "render/display_list.h"
#include "world/float_math.h"

namespace veldmark {

struct RasterTarget {
    std::uint32_t* pixels;   // 0x00RRGGBB, rows top to bottom, row stride = width
    int width;
    int height;
};

// The roll of the view about the logical centre, and the fixed scale of 2 pixels per logical
// unit. sin_r == 0 means the view is upright, which lets per-pixel work skip the inverse turn.
struct ViewTransform {
    float cos_r;
    float sin_r;
};

inline constexpr float kViewCentreX = 480.0f;
inline constexpr float kViewCentreY = 300.0f;
inline constexpr float kViewScale = 2.0f;
inline constexpr float kViewInverseScale = 0.5f;

inline ViewTransform MakeViewTransform(float roll)
{
    return ViewTransform{Cos(roll), Sin(roll)};
}

// Logical point to pixel coordinates. Evaluated the same way at every roll (also at 0, where
// the detour through x - 480 can move a coordinate by an ulp) so that all frames agree.
inline Vec2 ToPixel(const ViewTransform& view, Vec2 p)
{
    const float dx = p.x - kViewCentreX;
    const float dy = p.y - kViewCentreY;
    return Vec2{kViewScale * ((kViewCentreX + dx * view.cos_r) + dy * view.sin_r),
                kViewScale * ((kViewCentreY - dx * view.sin_r) + dy * view.cos_r)};
}

// The logical position of the centre of pixel (column, sampled row y). Gradients are evaluated
// there, so they turn with the scene.
inline Vec2 PixelCentreToLogical(const ViewTransform& view, int column, float row_centre)
{
    const float px = (static_cast<float>(column) + 0.5f) * kViewInverseScale;
    const float py = row_centre * kViewInverseScale;
    if (view.sin_r == 0.0f) return Vec2{px, py};
    const float lx = px - kViewCentreX;
    const float ly = py - kViewCentreY;
    return Vec2{(kViewCentreX + lx * view.cos_r) - ly * view.sin_r,
                (kViewCentreY + lx * view.sin_r) + ly * view.cos_r};
}

// An inclusive run of rows or columns already clamped to the buffer; empty when last < first.
struct IndexRange {
    int first;
    int last;
    bool empty() const { return last < first; }
};

// Clamps the float bounds [low, high] to [0, limit] before any conversion to int, so NaN,
// infinities and huge values cannot reach an undefined conversion. NaN bounds give nothing.
inline IndexRange ClampToIndices(float low, float high, int limit)
{
    if (!(low <= high)) return IndexRange{0, -1};
    const float top = static_cast<float>(limit);
    if (low < 0.0f) low = 0.0f;
    if (high > top) high = top;
    if (low > high) return IndexRange{0, -1};
    return IndexRange{static_cast<int>(low), static_cast<int>(high)};
}

} // namespace veldmark
