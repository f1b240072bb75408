#include "render/sun.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace veldmark {
namespace {

constexpr float kHaloInner = 8.0f;     // logical units at sun scale 1
constexpr float kHaloOuter = 340.0f;
constexpr float kDiscRadius = 46.0f;
constexpr float kDiscCore = 4.0f;

std::int32_t Truncate(float value)
{
    // Table values lie in 0..65280 for any finite scale; keep NaN and the absurd out anyway.
    if (!(value > 0.0f)) return 0;
    return value < 65536.0f ? static_cast<std::int32_t>(value) : 65536;
}

std::uint32_t DiscColour(float d2, float sun_scale)
{
    const float core = kDiscCore * sun_scale;
    float u = (sqrtf(d2) - core) / (kDiscRadius * sun_scale - core);
    if (!(u > 0.0f)) u = 0.0f;
    if (u > 1.0f) u = 1.0f;
    const auto green = static_cast<std::uint32_t>(230.0f - 73.0f * u + 0.5f);
    const auto blue = static_cast<std::uint32_t>(163.0f - 71.0f * u + 0.5f);
    return 0xFF0000u | green << 8 | blue;
}

std::uint32_t ApplyGlow(std::uint32_t pixel, const GlowEntry& e)
{
    const auto mix = [&](int shift, std::int32_t premultiplied) {
        const std::int32_t c = static_cast<std::int32_t>((pixel >> shift) & 0xFFu);
        return static_cast<std::uint32_t>((c * e.inverse_opacity + premultiplied + 128) >> 8) << shift;
    };
    return mix(16, e.red) | mix(8, e.green) | mix(0, e.blue);
}

// Halo, then disc, at a pixel whose squared logical distance from the sun's centre is d2.
void ShadeSunPixel(std::uint32_t& pixel, float d2, const PreparedSun& sun, const GlowTable& table)
{
    if (d2 < sun.halo_squared) {
        const float scaled = d2 * table.index_scale;
        const int k = scaled < 1023.0f ? static_cast<int>(scaled) : 1023;
        const GlowEntry& e = table.entries[static_cast<std::size_t>(k)];
        if (e.inverse_opacity <= 254) pixel = ApplyGlow(pixel, e);
    }
    if (d2 <= sun.disc_squared) pixel = DiscColour(d2, sun.scale);
}

#if defined(__SSE2__)
// Four neighbouring pixels: their logical positions and squared distances in SSE2 lanes, with
// the same IEEE operations in the same order as one pixel at a time; the table look-up and the
// blend stay per pixel.
void ShadeFourSunPixels(std::uint32_t* out, int column, float row_centre, const ViewTransform& view,
                        const PreparedSun& sun, const GlowTable& table)
{
    const float first = static_cast<float>(column);
    const __m128 columns = _mm_setr_ps(first, first + 1.0f, first + 2.0f, first + 3.0f);
    const __m128 half = _mm_set1_ps(kViewInverseScale);
    const __m128 px = _mm_mul_ps(_mm_add_ps(columns, _mm_set1_ps(0.5f)), half);
    const __m128 py = _mm_set1_ps(row_centre * kViewInverseScale);
    __m128 x = px;
    __m128 y = py;
    if (view.sin_r != 0.0f) {
        const __m128 c = _mm_set1_ps(view.cos_r);
        const __m128 s = _mm_set1_ps(view.sin_r);
        const __m128 lx = _mm_sub_ps(px, _mm_set1_ps(kViewCentreX));
        const __m128 ly = _mm_sub_ps(py, _mm_set1_ps(kViewCentreY));
        x = _mm_sub_ps(_mm_add_ps(_mm_set1_ps(kViewCentreX), _mm_mul_ps(lx, c)), _mm_mul_ps(ly, s));
        y = _mm_add_ps(_mm_add_ps(_mm_set1_ps(kViewCentreY), _mm_mul_ps(lx, s)), _mm_mul_ps(ly, c));
    }
    const __m128 dx = _mm_sub_ps(x, _mm_set1_ps(sun.centre.x));
    const __m128 dy = _mm_sub_ps(y, _mm_set1_ps(sun.centre.y));
    const __m128 d2 = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
    // Lanes above the horizon line and inside the halo or the disc need work.
    const __m128 above = _mm_cmplt_ps(y, _mm_set1_ps(kHorizonY));
    const __m128 near = _mm_or_ps(_mm_cmplt_ps(d2, _mm_set1_ps(sun.halo_squared)),
                                  _mm_cmple_ps(d2, _mm_set1_ps(sun.disc_squared)));
    const int work = _mm_movemask_ps(_mm_and_ps(above, near));
    if (work == 0) return;
    alignas(16) float distances[4];
    _mm_store_ps(distances, d2);
    for (int lane = 0; lane < 4; ++lane)
        if (work & (1 << lane)) ShadeSunPixel(out[column + lane], distances[lane], sun, table);
}
#endif

} // namespace

void BuildGlowTable(float sun_scale, GlowTable& table)
{
    const float inner = kHaloInner * sun_scale;
    const float outer = kHaloOuter * sun_scale;
    const float inv = outer - inner > 0.000001f ? 1.0f / (outer - inner) : 0.0f;
    const float k_squared = outer * outer;
    const float l = 1023.0f / k_squared;
    table.inner = inner;
    table.outer = outer;
    table.index_scale = l;
    for (int k = 0; k < kGlowEntries; ++k) {
        const float d = sqrtf(static_cast<float>(k) / l);
        float f = (d - inner) * inv;
        if (!(f > 0.0f)) f = 0.0f;
        if (f > 1.0f) f = 1.0f;
        float r = 255.0f, g, b, a;
        if (f <= 0.4f) {
            const float q = f / 0.4f;
            g = 201.0f - 51.0f * q;
            b = 128.0f - 36.0f * q;
            a = 0.85f - 0.53f * q;
        } else {
            g = 150.0f;
            b = 92.0f;
            a = (f - 0.4f) / -0.6f * 0.32f + 0.32f;
        }
        table.entries[static_cast<std::size_t>(k)] =
            GlowEntry{Truncate(256.0f * a * r + 0.5f), Truncate(256.0f * a * g + 0.5f),
                      Truncate(256.0f * a * b + 0.5f), Truncate(256.0f * (1.0f - a) + 0.5f)};
    }
}

PreparedSun PrepareSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre,
                       float sun_scale, GlowTable& table)
{
    BuildGlowTable(sun_scale, table);
    const float outer = table.outer;
    PreparedSun sun;
    sun.centre = centre;
    sun.scale = sun_scale;
    sun.halo_squared = outer * outer;
    sun.disc_squared = (kDiscRadius * sun_scale) * (kDiscRadius * sun_scale);
    const Vec2 s = ToPixel(view, centre);
    const float reach = 2.0f * outer;
    sun.rows = ClampToIndices(floorf(s.y - reach), ceilf(s.y + reach), target.height - 1);
    sun.columns = ClampToIndices(floorf(s.x - reach), ceilf(s.x + reach), target.width - 1);
    if (sun.columns.empty()) sun.rows = IndexRange{0, -1};
    return sun;
}

void DrawSunRows(const RasterTarget& target, const ViewTransform& view, const PreparedSun& sun,
                 const GlowTable& table, IndexRange rows, SimdLevel)
{
    const int first = std::max(sun.rows.first, rows.first);
    const int last = std::min(sun.rows.last, rows.last);
    const IndexRange columns = sun.columns;
    for (int i = first; i <= last; ++i) {
        std::uint32_t* out = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        const float row_centre = static_cast<float>(i) + 0.5f;
        int j = columns.first;
#if defined(__SSE2__)
        for (; j + 4 <= columns.last + 1; j += 4) ShadeFourSunPixels(out, j, row_centre, view, sun, table);
#endif
        for (; j <= columns.last; ++j) {
            const Vec2 p = PixelCentreToLogical(view, j, row_centre);
            if (p.y >= kHorizonY) continue;
            const float dx = p.x - sun.centre.x;
            const float dy = p.y - sun.centre.y;
            ShadeSunPixel(out[j], dx * dx + dy * dy, sun, table);
        }
    }
}

void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table)
{
    const PreparedSun sun = PrepareSun(target, view, centre, sun_scale, table);
    DrawSunRows(target, view, sun, table, sun.rows, ActiveSimdLevel());
}

} // namespace veldmark
