#include "render/disc_filler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace veldmark {

PreparedDisc PrepareDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
                         Vec2 centre, float radius, float opacity)
{
    PreparedDisc disc{};
    disc.rows = IndexRange{0, -1};
    // Written so that NaN fields draw nothing, rather than reaching the conversions below.
    if (!(radius >= kMinDiscRadius) || !(opacity >= kMinDiscOpacity)) return disc;
    // An opacity past 1 would extrapolate beyond both colours (and out of the 0..255 range a
    // channel can hold); it is taken as fully opaque.
    const float alpha = opacity < 1.0f ? opacity : 1.0f;
    disc.keep = 1.0f - alpha;

    disc.centre = ToPixel(view, centre);
    const float r = kViewScale * radius;
    disc.r_squared = r * r;
    disc.rows = ClampToIndices(floorf(disc.centre.y - r), ceilf(disc.centre.y + r), target.height - 1);
    disc.columns = ClampToIndices(floorf(disc.centre.x - r), ceilf(disc.centre.x + r), target.width - 1);
    if (disc.columns.empty()) disc.rows = IndexRange{0, -1};
    // The colour's share of each channel is the same for every pixel.
    for (int k = 0; k < 3; ++k) disc.share[k] = static_cast<float>((colour >> (8 * k)) & 0xFFu) * alpha;
    return disc;
}

void FillDiscRows(const RasterTarget& target, const PreparedDisc& disc, IndexRange rows, SimdLevel)
{
    const int first = std::max(disc.rows.first, rows.first);
    const int last = std::min(disc.rows.last, rows.last);
    const IndexRange columns = disc.columns;
#if defined(__SSE2__)
    const __m128 share4[3] = {_mm_set1_ps(disc.share[0]), _mm_set1_ps(disc.share[1]), _mm_set1_ps(disc.share[2])};
    const __m128 keep4 = _mm_set1_ps(disc.keep);
    const __m128 centre_x = _mm_set1_ps(disc.centre.x);
    const __m128 r_squared4 = _mm_set1_ps(disc.r_squared);
#endif

    for (int i = first; i <= last; ++i) {
        const float dy = (static_cast<float>(i) + 0.5f) - disc.centre.y;
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
            const float dx = (static_cast<float>(j) + 0.5f) - disc.centre.x;
            if (!(dx * dx + dy_squared <= disc.r_squared)) continue;
            std::uint32_t out = row[j] & 0xFF000000u;
            for (int k = 0; k < 3; ++k) {
                const float p = static_cast<float>((row[j] >> (8 * k)) & 0xFFu);
                out |= static_cast<std::uint32_t>((p * disc.keep + disc.share[k]) + 0.5f) << (8 * k);
            }
            row[j] = out;
        }
    }
}

void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity)
{
    const PreparedDisc disc = PrepareDisc(target, view, colour, centre, radius, opacity);
    FillDiscRows(target, disc, disc.rows, ActiveSimdLevel());
}

} // namespace veldmark
