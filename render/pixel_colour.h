#pragma once
// The per-pixel colour functions of the shaded polygons and the opacity blend. Each takes the
// pixel's logical position; inner loops call them once per covered pixel, so everything that
// depends only on the command is in the ShadeRecord already.
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Opacity byte / 255, looked up instead of divided per pixel (the table holds the quotients
// themselves, so the result is the same to the bit).
struct OpacityTable {
    float of_byte[256];
    constexpr OpacityTable() : of_byte()
    {
        for (int k = 0; k < 256; ++k) of_byte[k] = static_cast<float>(k) / 255.0f;
    }
};
inline constexpr OpacityTable kOpacity;

inline float Opacity(std::uint32_t colour) { return kOpacity.of_byte[colour >> 24]; }

// The channel arithmetic works on all four channels of a colour at once: lanes hold blue,
// green, red and opacity as floats. Each lane sees the same IEEE single-precision operations in
// the same order as one channel would on its own, so the vector form is exact, not an
// approximation. SSE2 is part of every x86-64; elsewhere the lanes are a plain array.
#if defined(__SSE2__)
using Lanes = __m128;
inline Lanes LanesOf(std::uint32_t colour)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i v = _mm_cvtsi32_si128(static_cast<int>(colour));
    v = _mm_unpacklo_epi8(v, zero);
    v = _mm_unpacklo_epi16(v, zero);
    return _mm_cvtepi32_ps(v);
}
inline Lanes Splat(float f) { return _mm_set1_ps(f); }
inline Lanes Add(Lanes a, Lanes b) { return _mm_add_ps(a, b); }
inline Lanes Sub(Lanes a, Lanes b) { return _mm_sub_ps(a, b); }
inline Lanes Mul(Lanes a, Lanes b) { return _mm_mul_ps(a, b); }
// Truncates each lane (all within 0..255.99 by construction) and packs them into a colour word.
inline std::uint32_t PackTruncated(Lanes lanes)
{
    __m128i v = _mm_cvttps_epi32(lanes);
    v = _mm_packs_epi32(v, v);
    v = _mm_packus_epi16(v, v);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
}
#else
struct Lanes {
    float v[4];
};
inline Lanes LanesOf(std::uint32_t colour)
{
    return Lanes{{static_cast<float>(colour & 0xFFu), static_cast<float>((colour >> 8) & 0xFFu),
                  static_cast<float>((colour >> 16) & 0xFFu), static_cast<float>(colour >> 24)}};
}
inline Lanes Splat(float f) { return Lanes{{f, f, f, f}}; }
inline Lanes Add(Lanes a, Lanes b) { return Lanes{{a.v[0] + b.v[0], a.v[1] + b.v[1], a.v[2] + b.v[2], a.v[3] + b.v[3]}}; }
inline Lanes Sub(Lanes a, Lanes b) { return Lanes{{a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2], a.v[3] - b.v[3]}}; }
inline Lanes Mul(Lanes a, Lanes b) { return Lanes{{a.v[0] * b.v[0], a.v[1] * b.v[1], a.v[2] * b.v[2], a.v[3] * b.v[3]}}; }
inline std::uint32_t PackTruncated(Lanes lanes)
{
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k) out |= static_cast<std::uint32_t>(lanes.v[k]) << (8 * k);
    return out;
}
#endif

// a + (b - a) f + 0.5 per channel, truncated: f in 0..1 keeps every channel within 0..255.
inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, float f)
{
    const Lanes from = LanesOf(a);
    return PackTruncated(Add(Add(from, Mul(Sub(LanesOf(b), from), Splat(f))), Splat(0.5f)));
}

// Colour A up to `start`, colour B from `end` (or beyond start when start >= end), all four
// channels interpolated in between.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t, float start, float end)
{
    if (t <= start) return a;
    if (t >= end || start >= end) return b;
    return Lerp(a, b, (t - start) / (end - start));
}

// Mix for callers that computed the fraction (t - start) / (end - start) ahead, four pixels
// at a time; it is used only where Mix would compute it.
inline std::uint32_t MixWithFraction(std::uint32_t a, std::uint32_t b, float t, float start,
                                     float end, float fraction)
{
    if (t <= start) return a;
    if (t >= end || start >= end) return b;
    return Lerp(a, b, fraction);
}

// Mix over the whole unit range: (t - 0) / (1 - 0) is t itself, so the division is skipped.
inline std::uint32_t MixUnit(std::uint32_t a, std::uint32_t b, float t)
{
    if (t <= 0.0f) return a;
    if (t >= 1.0f) return b;
    return Lerp(a, b, t);
}

// p (1 - alpha) + share + 0.5 per channel, truncated, where share is the colour's channels
// already multiplied by alpha. The opacity lane comes out as whatever it is; callers set it.
inline std::uint32_t BlendLanes(std::uint32_t pixel, Lanes share, float keep)
{
    return PackTruncated(Add(Add(Mul(LanesOf(pixel), Splat(keep)), share), Splat(0.5f)));
}

// `colour` over `pixel` by the colour's top byte as opacity; the result's top byte is 0.
inline std::uint32_t Blend(std::uint32_t pixel, std::uint32_t colour)
{
    const float alpha = Opacity(colour);
    if (alpha <= 0.0f) return pixel;
    return BlendLanes(pixel, Mul(LanesOf(colour), Splat(alpha)), 1.0f - alpha) & 0xFFFFFFu;
}

// Band: dark at min x and max x, light halfway, opaque.
inline float BandT(const ShadeRecord& r, Vec2 p)
{
    return ClampUnit((p.x - r.min_x) / (r.max_x - r.min_x));
}

inline std::uint32_t BandColourAt(const ShadeRecord& r, float t)
{
    if (t < 0.5f) return Lerp(r.colour_a, r.colour_b, 2.0f * t) & 0xFFFFFFu;
    return Lerp(r.colour_b, r.colour_a, 2.0f * (t - 0.5f)) & 0xFFFFFFu;
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
