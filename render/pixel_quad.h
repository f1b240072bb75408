#pragma once
// The gradient parameter t of four neighbouring pixels at once. Positions, divisions and square
// roots are the costly part of a shaded pixel; SSE2 does four of each per instruction with the
// same IEEE single-precision results, operation for operation, as pixel_colour.h does for one
// pixel, so a span gives the same bits whichever path each pixel takes.
#if defined(__SSE2__)
#include <emmintrin.h>

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

} // namespace veldmark
#endif
