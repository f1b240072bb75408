#include "render/disc_filler.h"

#include <cmath>
#include <cstddef>

#include "render/pixel_colour.h"

namespace veldmark {

void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity)
{
    // Written so that NaN fields draw nothing, rather than reaching the conversions below.
    if (!(radius >= kMinDiscRadius) || !(opacity >= kMinDiscOpacity)) return;
    // An opacity past 1 would extrapolate beyond both colours (and out of the 0..255 range a
    // channel can hold); it is taken as fully opaque.
    const float alpha = opacity < 1.0f ? opacity : 1.0f;
    const float keep = 1.0f - alpha;

    const Vec2 c = ToPixel(view, centre);
    const float r = kViewScale * radius;
    const float r_squared = r * r;
    const IndexRange rows = ClampToIndices(floorf(c.y - r), ceilf(c.y + r), target.height - 1);
    const IndexRange columns = ClampToIndices(floorf(c.x - r), ceilf(c.x + r), target.width - 1);
    if (rows.empty() || columns.empty()) return;

    // The colour's share of each channel is the same for every pixel.
    const Lanes share = Mul(LanesOf(colour), Splat(alpha));
#if defined(__SSE2__)
    const __m128 share4[3] = {_mm_set1_ps(static_cast<float>(colour & 0xFFu) * alpha),
                              _mm_set1_ps(static_cast<float>((colour >> 8) & 0xFFu) * alpha),
                              _mm_set1_ps(static_cast<float>((colour >> 16) & 0xFFu) * alpha)};
    const __m128 keep4 = _mm_set1_ps(keep);
    const __m128 centre_x = _mm_set1_ps(c.x);
    const __m128 r_squared4 = _mm_set1_ps(r_squared);
#endif

    for (int i = rows.first; i <= rows.last; ++i) {
        const float dy = (static_cast<float>(i) + 0.5f) - c.y;
        const float dy_squared = dy * dy;
        std::uint32_t* row = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        int j = columns.first;
#if defined(__SSE2__)
        // Four pixels at a time, with the same operations per lane as the loop below.
        const __m128 dy_squared4 = _mm_set1_ps(dy_squared);
        for (; j + 3 <= columns.last; j += 4) {
            const __m128 columns4 = _mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(j), _mm_set_epi32(3, 2, 1, 0)));
            const __m128 dx = _mm_sub_ps(_mm_add_ps(columns4, _mm_set1_ps(0.5f)), centre_x);
            const __m128i covered = _mm_castps_si128(
                _mm_cmple_ps(_mm_add_ps(_mm_mul_ps(dx, dx), dy_squared4), r_squared4));
            if (_mm_movemask_epi8(covered) == 0) continue;
            __m128i* out = reinterpret_cast<__m128i*>(row + j);
            const __m128i pixels = _mm_loadu_si128(out);
            __m128i blended = _mm_and_si128(pixels, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
            for (int k = 0; k < 3; ++k) {
                const __m128 p = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(pixels, 8 * k), _mm_set1_epi32(0xFF)));
                const __m128 v = _mm_add_ps(_mm_add_ps(_mm_mul_ps(p, keep4), share4[k]), _mm_set1_ps(0.5f));
                blended = _mm_or_si128(blended, _mm_slli_epi32(_mm_cvttps_epi32(v), 8 * k));
            }
            _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(covered, blended), _mm_andnot_si128(covered, pixels)));
        }
#endif
        for (; j <= columns.last; ++j) {
            const float dx = (static_cast<float>(j) + 0.5f) - c.x;
            if (!(dx * dx + dy_squared <= r_squared)) continue;
            row[j] = (row[j] & 0xFF000000u) | (BlendLanes(row[j], share, keep) & 0xFFFFFFu);
        }
    }
}

} // namespace veldmark
