#pragma once
// The gradient parameter t of four neighbouring pixels at once. Positions, divisions and square
// roots are the costly part of a shaded pixel; SSE2 does four of each per instruction with the
// same IEEE single-precision results, operation for operation, as pixel_colour.h does for one
// pixel, so a span gives the same bits whichever path each pixel takes.
#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstdint>

#include "render/pixel_colour.h"
#include "render/raster_target.h"
#include "render/shade_record.h"

namespace veldmark {

struct Quad {
    __m128 x;
    __m128 y;
};

// Logical positions of pixels column .. column + 3 on the row sampled at `row_centre`.
inline Quad QuadPositions(const ViewTransform& view, int column, float row_centre)
{
    const __m128 columns = _mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(column), _mm_set_epi32(3, 2, 1, 0)));
    const __m128 px = _mm_mul_ps(_mm_add_ps(columns, _mm_set1_ps(0.5f)), _mm_set1_ps(kViewInverseScale));
    const float py = row_centre * kViewInverseScale;
    if (view.sin_r == 0.0f) return Quad{px, _mm_set1_ps(py)};
    const __m128 lx = _mm_sub_ps(px, _mm_set1_ps(kViewCentreX));
    const float ly = py - kViewCentreY;
    const __m128 c = _mm_set1_ps(view.cos_r);
    const __m128 s = _mm_set1_ps(view.sin_r);
    return Quad{_mm_sub_ps(_mm_add_ps(_mm_set1_ps(kViewCentreX), _mm_mul_ps(lx, c)), _mm_set1_ps(ly * view.sin_r)),
                _mm_add_ps(_mm_add_ps(_mm_set1_ps(kViewCentreY), _mm_mul_ps(lx, s)), _mm_set1_ps(ly * view.cos_r))};
}

// ClampUnit of four lanes: maxps yields its second operand when the first is NaN, so NaN
// becomes 0 here too.
inline __m128 ClampUnit4(__m128 t)
{
    return _mm_min_ps(_mm_max_ps(t, _mm_setzero_ps()), _mm_set1_ps(1.0f));
}

inline __m128 BandT4(const ShadeRecord& r, Quad p)
{
    return ClampUnit4(_mm_div_ps(_mm_sub_ps(p.x, _mm_set1_ps(r.min_x)), _mm_set1_ps(r.max_x - r.min_x)));
}

inline __m128 RadialT4(const ShadeRecord& r, Quad p)
{
    const __m128 dx = _mm_sub_ps(p.x, _mm_set1_ps(r.centre.x));
    const __m128 dy = _mm_sub_ps(p.y, _mm_set1_ps(r.centre.y));
    const __m128 distance = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)));
    return ClampUnit4(_mm_div_ps(distance, _mm_set1_ps(r.radius)));
}

inline __m128 LinearT4(const ShadeRecord& r, Quad p, float dx, float dy, float q)
{
    if (q < kMinSegmentLengthSquared) return _mm_setzero_ps();
    const __m128 along = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(p.x, _mm_set1_ps(r.p0.x)), _mm_set1_ps(dx)),
                                    _mm_mul_ps(_mm_sub_ps(p.y, _mm_set1_ps(r.p0.y)), _mm_set1_ps(dy)));
    return ClampUnit4(_mm_div_ps(along, _mm_set1_ps(q)));
}

inline __m128 EllipticT4(const ShadeRecord& r, Quad p)
{
    const __m128 qx = _mm_sub_ps(p.x, _mm_set1_ps(r.centre.x));
    const __m128 qy = _mm_sub_ps(p.y, _mm_set1_ps(r.centre.y));
    const __m128 det = _mm_set1_ps(r.determinant);
    const __m128 u = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(r.v.y), qx), _mm_mul_ps(_mm_set1_ps(r.v.x), qy)), det);
    const __m128 v = _mm_div_ps(_mm_sub_ps(_mm_mul_ps(_mm_set1_ps(r.u.x), qy), _mm_mul_ps(_mm_set1_ps(r.u.y), qx)), det);
    return ClampUnit4(_mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(u, u), _mm_mul_ps(v, v))));
}

// Mix's interpolation fraction (t - start) / (end - start) for the lanes that need it; the
// others get a meaningless value that is never used.
inline __m128 RampFraction4(__m128 t, float start, float end)
{
    return _mm_div_ps(_mm_sub_ps(t, _mm_set1_ps(start)), _mm_set1_ps(end - start));
}

// The two colours of a ramp as per-channel vectors (channel k is bits 8k..8k+7), prepared
// once per command.
struct RampColours {
    __m128 from[4];       // A's channels as floats
    __m128 difference[4]; // B's channels minus A's, as floats
    __m128i a[4];         // the channels themselves, for pixels that take A or B whole
    __m128i b[4];
};

inline RampColours MakeRampColours(std::uint32_t a, std::uint32_t b)
{
    RampColours c;
    for (int k = 0; k < 4; ++k) {
        const float fa = static_cast<float>((a >> (8 * k)) & 0xFFu);
        const float fb = static_cast<float>((b >> (8 * k)) & 0xFFu);
        c.from[k] = _mm_set1_ps(fa);
        c.difference[k] = _mm_set1_ps(fb - fa);
        c.a[k] = _mm_set1_epi32(static_cast<int>((a >> (8 * k)) & 0xFFu));
        c.b[k] = _mm_set1_epi32(static_cast<int>((b >> (8 * k)) & 0xFFu));
    }
    return c;
}

inline __m128i Select(__m128i mask, __m128i if_set, __m128i otherwise)
{
    return _mm_or_si128(_mm_and_si128(mask, if_set), _mm_andnot_si128(mask, otherwise));
}

// Channel k of Lerp for four pixels: truncate(from + difference f + 0.5).
inline __m128i LerpChannel4(const RampColours& c, int k, __m128 f)
{
    return _mm_cvttps_epi32(_mm_add_ps(_mm_add_ps(c.from[k], _mm_mul_ps(c.difference[k], f)), _mm_set1_ps(0.5f)));
}

// Four pixels of Band: Lerp(dark, light, 2t) below the middle, Lerp(light, dark, 2(t - 0.5))
// from it on; opaque, top byte 0.
inline void StoreBand4(std::uint32_t* out, const RampColours& dark_to_light,
                       const RampColours& light_to_dark, __m128 t)
{
    const __m128 two = _mm_set1_ps(2.0f);
    const __m128i lower = _mm_castps_si128(_mm_cmplt_ps(t, _mm_set1_ps(0.5f)));
    const __m128 f_lower = _mm_mul_ps(two, t);
    const __m128 f_upper = _mm_mul_ps(two, _mm_sub_ps(t, _mm_set1_ps(0.5f)));
    __m128i colour = _mm_setzero_si128();
    for (int k = 0; k < 3; ++k) {
        const __m128i channel = Select(lower, LerpChannel4(dark_to_light, k, f_lower),
                                       LerpChannel4(light_to_dark, k, f_upper));
        colour = _mm_or_si128(colour, _mm_slli_epi32(channel, 8 * k));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), colour);
}

// Four pixels of a ramp: colour A where `take_a`, else B where `take_b`, else Lerp(A, B, f);
// then that colour blended over the pixel by its own opacity (pixels whose colour has opacity 0
// are left as they are, top byte included).
inline void BlendRamp4(std::uint32_t* out, const RampColours& c, __m128i take_a, __m128i take_b,
                       __m128 f)
{
    __m128i channel[4];
    for (int k = 0; k < 4; ++k)
        channel[k] = Select(take_a, c.a[k], Select(take_b, c.b[k], LerpChannel4(c, k, f)));

    // byte / 255 divided four at a time: the same quotients the one-pixel table holds.
    const __m128 alpha = _mm_div_ps(_mm_cvtepi32_ps(channel[3]), _mm_set1_ps(255.0f));
    const __m128 keep = _mm_sub_ps(_mm_set1_ps(1.0f), alpha);

    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    const __m128i byte_mask = _mm_set1_epi32(0xFF);
    __m128i blended = _mm_setzero_si128();
    for (int k = 0; k < 3; ++k) {
        const __m128 p = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 8 * k), byte_mask));
        const __m128 v = _mm_add_ps(_mm_add_ps(_mm_mul_ps(p, keep), _mm_mul_ps(_mm_cvtepi32_ps(channel[k]), alpha)),
                                    _mm_set1_ps(0.5f));
        blended = _mm_or_si128(blended, _mm_slli_epi32(_mm_cvttps_epi32(v), 8 * k));
    }
    const __m128i untouched = _mm_castps_si128(_mm_cmple_ps(alpha, _mm_setzero_ps()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), Select(untouched, pixels, blended));
}

} // namespace veldmark
#endif
