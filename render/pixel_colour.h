#pragma once
// The per-pixel colour functions of the shaded polygons and the opacity blend. Each takes the
// pixel's logical position; inner loops call them once per covered pixel, so everything that
// depends only on the command is in the ShadeRecord already.
#include <cmath>
#include <cstdint>

#include "render/shade_record.h"

namespace veldmark {

inline std::uint32_t Channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFFu; }

// t clamped to 0..1; NaN (from NaN or infinite command fields) counts as 0 so that no NaN ever
// reaches a float-to-int conversion.
inline float ClampUnit(float t)
{
    if (!(t > 0.0f)) return 0.0f;
    return t < 1.0f ? t : 1.0f;
}

// a + (b - a) f, rounded by adding 0.5 and truncating; f in 0..1 keeps it within 0..255.
inline std::uint32_t LerpChannel(std::uint32_t a, std::uint32_t b, float f)
{
    const float from = static_cast<float>(a);
    const float difference = static_cast<float>(static_cast<int>(b) - static_cast<int>(a));
    return static_cast<std::uint32_t>(from + difference * f + 0.5f);
}

// Colour A up to `start`, colour B from `end` (or beyond start when start >= end), all four
// channels interpolated in between.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t, float start, float end)
{
    if (t <= start) return a;
    if (t >= end || start >= end) return b;
    const float f = (t - start) / (end - start);
    return LerpChannel(Channel(a, 24), Channel(b, 24), f) << 24 |
           LerpChannel(Channel(a, 16), Channel(b, 16), f) << 16 |
           LerpChannel(Channel(a, 8), Channel(b, 8), f) << 8 | LerpChannel(Channel(a, 0), Channel(b, 0), f);
}

inline std::uint32_t BlendChannel(std::uint32_t pixel, std::uint32_t colour, float alpha,
                                  float keep)
{
    return static_cast<std::uint32_t>(static_cast<float>(pixel) * keep +
                                      static_cast<float>(colour) * alpha + 0.5f);
}

// `colour` over `pixel` by the colour's top byte as opacity; the result's top byte is 0.
inline std::uint32_t Blend(std::uint32_t pixel, std::uint32_t colour)
{
    const float alpha = static_cast<float>(colour >> 24) / 255.0f;
    if (alpha <= 0.0f) return pixel;
    const float keep = 1.0f - alpha;
    return BlendChannel(Channel(pixel, 16), Channel(colour, 16), alpha, keep) << 16 |
           BlendChannel(Channel(pixel, 8), Channel(colour, 8), alpha, keep) << 8 |
           BlendChannel(Channel(pixel, 0), Channel(colour, 0), alpha, keep);
}

// Band: dark at min x and max x, light halfway, opaque.
inline std::uint32_t BandColour(const ShadeRecord& r, Vec2 p)
{
    const float t = ClampUnit((p.x - r.min_x) / (r.max_x - r.min_x));
    std::uint32_t from = r.colour_a;
    std::uint32_t to = r.colour_b;
    float f = 2.0f * t;
    if (!(t < 0.5f)) {
        from = r.colour_b;
        to = r.colour_a;
        f = 2.0f * (t - 0.5f);
    }
    return LerpChannel(Channel(from, 16), Channel(to, 16), f) << 16 |
           LerpChannel(Channel(from, 8), Channel(to, 8), f) << 8 |
           LerpChannel(Channel(from, 0), Channel(to, 0), f);
}

inline float RadialT(const ShadeRecord& r, Vec2 p)
{
    const float dx = p.x - r.centre.x;
    const float dy = p.y - r.centre.y;
    return ClampUnit(sqrtf(dx * dx + dy * dy) / r.radius);
}

inline constexpr float kMinSegmentLengthSquared = 0.000001f;

inline float LinearT(const ShadeRecord& r, Vec2 p)
{
    const float dx = r.p1.x - r.p0.x;
    const float dy = r.p1.y - r.p0.y;
    const float q = dx * dx + dy * dy;
    if (q < kMinSegmentLengthSquared) return 0.0f;
    return ClampUnit(((p.x - r.p0.x) * dx + (p.y - r.p0.y) * dy) / q);
}

inline float EllipticT(const ShadeRecord& r, Vec2 p)
{
    const float qx = p.x - r.centre.x;
    const float qy = p.y - r.centre.y;
    const float u = (r.v.y * qx - r.v.x * qy) / r.determinant;
    const float v = (r.u.x * qy - r.u.y * qx) / r.determinant;
    return ClampUnit(sqrtf(u * u + v * v));
}

} // namespace veldmark
