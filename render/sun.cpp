#include "render/sun.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(VELDMARK_AVX2_PATHS)
#include <immintrin.h>
#endif

namespace veldmark {
namespace {

constexpr float kHaloInner = 8.0f;     // logical units at sun scale 1
constexpr float kHaloOuter = 340.0f;
constexpr float kDiscRadius = 46.0f;
constexpr float kDiscCore = 4.0f;
// Logical units added to how far the sun reaches, far beyond the rounding of any pixel's
// position or distance in float.
constexpr double kReachMargin = 1.0;

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
// The glow entries of four pixels, one channel per vector.
struct GlowLanes {
    __m128i red, green, blue, inverse_opacity;
};

inline GlowLanes LoadGlow4(const GlowTable& table, __m128i index)
{
    alignas(16) std::int32_t k[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(k), index);
    const auto entry = [&table](std::int32_t i) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(&table.entries[static_cast<std::size_t>(i)]));
    };
    // Four entries of (red, green, blue, inverse opacity) turned into four channels of four.
    const __m128i e0 = entry(k[0]), e1 = entry(k[1]), e2 = entry(k[2]), e3 = entry(k[3]);
    const __m128i low01 = _mm_unpacklo_epi32(e0, e1), low23 = _mm_unpacklo_epi32(e2, e3);
    const __m128i high01 = _mm_unpackhi_epi32(e0, e1), high23 = _mm_unpackhi_epi32(e2, e3);
    return GlowLanes{_mm_unpacklo_epi64(low01, low23), _mm_unpackhi_epi64(low01, low23),
                     _mm_unpacklo_epi64(high01, high23), _mm_unpackhi_epi64(high01, high23)};
}

// ApplyGlow in 32-bit lanes. Channels and inverse opacities (at most 254 where it is used) fit in
// 16 bits, so madd's 16-bit products are the whole products.
inline __m128i GlowBlend4(__m128i pixels, const GlowLanes& g)
{
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i round = _mm_set1_epi32(128);
    const auto mix = [&](int shift, __m128i premultiplied) {
        const __m128i c = _mm_and_si128(_mm_srli_epi32(pixels, shift), byte);
        const __m128i v = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(c, g.inverse_opacity), premultiplied), round);
        return _mm_slli_epi32(_mm_srli_epi32(v, 8), shift);
    };
    return _mm_or_si128(_mm_or_si128(mix(16, g.red), mix(8, g.green)), mix(0, g.blue));
}

// DiscColour of four squared distances.
inline __m128i DiscColours4(__m128 d2, float sun_scale)
{
    const float core = kDiscCore * sun_scale;
    __m128 u = _mm_div_ps(_mm_sub_ps(_mm_sqrt_ps(d2), _mm_set1_ps(core)), _mm_set1_ps(kDiscRadius * sun_scale - core));
    u = _mm_min_ps(_mm_max_ps(u, _mm_setzero_ps()), _mm_set1_ps(1.0f));   // NaN becomes 0, as above
    const __m128 half = _mm_set1_ps(0.5f);
    const __m128i green = _mm_cvttps_epi32(_mm_add_ps(_mm_sub_ps(_mm_set1_ps(230.0f), _mm_mul_ps(_mm_set1_ps(73.0f), u)), half));
    const __m128i blue = _mm_cvttps_epi32(_mm_add_ps(_mm_sub_ps(_mm_set1_ps(163.0f), _mm_mul_ps(_mm_set1_ps(71.0f), u)), half));
    return _mm_or_si128(_mm_set1_epi32(0xFF0000), _mm_or_si128(_mm_slli_epi32(green, 8), blue));
}

inline __m128i SelectBits(__m128i mask, __m128i if_set, __m128i otherwise)
{
    return _mm_or_si128(_mm_and_si128(mask, if_set), _mm_andnot_si128(mask, otherwise));
}

// Four neighbouring pixels, all in SSE2 lanes with the same IEEE operations in the same order as
// one pixel at a time (positions, squared distances, the disc's shade) and the same integer
// blend.
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
    const __m128i halo = _mm_castps_si128(_mm_and_ps(above, _mm_cmplt_ps(d2, _mm_set1_ps(sun.halo_squared))));
    const __m128i disc = _mm_castps_si128(_mm_and_ps(above, _mm_cmple_ps(d2, _mm_set1_ps(sun.disc_squared))));
    if (_mm_movemask_epi8(_mm_or_si128(halo, disc)) == 0) return;

    __m128i* at = reinterpret_cast<__m128i*>(out + column);
    const __m128i pixels = _mm_loadu_si128(at);
    // The table index, min(truncate(d2 L), 1023); minps gives 1023 for NaN too, so every lane's
    // index is in the table.
    const __m128i index = _mm_cvttps_epi32(_mm_min_ps(_mm_mul_ps(d2, _mm_set1_ps(table.index_scale)), _mm_set1_ps(1023.0f)));
    const GlowLanes glow = LoadGlow4(table, index);
    const __m128i glows = _mm_and_si128(halo, _mm_cmplt_epi32(glow.inverse_opacity, _mm_set1_epi32(255)));
    __m128i result = SelectBits(glows, GlowBlend4(pixels, glow), pixels);
    if (_mm_movemask_epi8(disc) != 0) result = SelectBits(disc, DiscColours4(d2, sun.scale), result);
    _mm_storeu_si128(at, result);
}
#endif

#if defined(VELDMARK_AVX2_PATHS)
struct GlowLanes8 {
    __m256i red, green, blue, inverse_opacity;
};

// (Lambdas do not take the target attribute of the function they are in, so AVX2 code here is
// written in functions of its own.)
VELDMARK_TARGET_AVX2 inline __m256i GlowEntryPair(const GlowTable& table, std::int32_t low, std::int32_t high)
{
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&table.entries[static_cast<std::size_t>(low)]));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&table.entries[static_cast<std::size_t>(high)]));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1);
}

VELDMARK_TARGET_AVX2 inline GlowLanes8 LoadGlow8(const GlowTable& table, __m256i index)
{
    alignas(32) std::int32_t k[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(k), index);
    // Pixels 0-3 in the low halves and 4-7 in the high halves, each half turned as in LoadGlow4.
    const __m256i e0 = GlowEntryPair(table, k[0], k[4]), e1 = GlowEntryPair(table, k[1], k[5]);
    const __m256i e2 = GlowEntryPair(table, k[2], k[6]), e3 = GlowEntryPair(table, k[3], k[7]);
    const __m256i low01 = _mm256_unpacklo_epi32(e0, e1), low23 = _mm256_unpacklo_epi32(e2, e3);
    const __m256i high01 = _mm256_unpackhi_epi32(e0, e1), high23 = _mm256_unpackhi_epi32(e2, e3);
    return GlowLanes8{_mm256_unpacklo_epi64(low01, low23), _mm256_unpackhi_epi64(low01, low23),
                      _mm256_unpacklo_epi64(high01, high23), _mm256_unpackhi_epi64(high01, high23)};
}

// (c inverse + premultiplied + 128) >> 8 for channel c, the pixels' channel `shift` bits up.
VELDMARK_TARGET_AVX2 inline __m256i GlowChannel8(__m256i pixels, int shift, __m256i inverse, __m256i premultiplied)
{
    const __m256i c = _mm256_and_si256(_mm256_srl_epi32(pixels, _mm_cvtsi32_si128(shift)), _mm256_set1_epi32(0xFF));
    const __m256i v = _mm256_add_epi32(_mm256_add_epi32(_mm256_madd_epi16(c, inverse), premultiplied), _mm256_set1_epi32(128));
    return _mm256_sll_epi32(_mm256_srli_epi32(v, 8), _mm_cvtsi32_si128(shift));
}

VELDMARK_TARGET_AVX2 inline __m256i GlowBlend8(__m256i pixels, const GlowLanes8& g)
{
    return _mm256_or_si256(_mm256_or_si256(GlowChannel8(pixels, 16, g.inverse_opacity, g.red),
                                           GlowChannel8(pixels, 8, g.inverse_opacity, g.green)),
                           GlowChannel8(pixels, 0, g.inverse_opacity, g.blue));
}

VELDMARK_TARGET_AVX2 inline __m256i DiscColours8(__m256 d2, float sun_scale)
{
    const float core = kDiscCore * sun_scale;
    __m256 u = _mm256_div_ps(_mm256_sub_ps(_mm256_sqrt_ps(d2), _mm256_set1_ps(core)),
                             _mm256_set1_ps(kDiscRadius * sun_scale - core));
    u = _mm256_min_ps(_mm256_max_ps(u, _mm256_setzero_ps()), _mm256_set1_ps(1.0f));
    const __m256 half = _mm256_set1_ps(0.5f);
    const __m256i green = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_sub_ps(_mm256_set1_ps(230.0f), _mm256_mul_ps(_mm256_set1_ps(73.0f), u)), half));
    const __m256i blue = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_sub_ps(_mm256_set1_ps(163.0f), _mm256_mul_ps(_mm256_set1_ps(71.0f), u)), half));
    return _mm256_or_si256(_mm256_set1_epi32(0xFF0000), _mm256_or_si256(_mm256_slli_epi32(green, 8), blue));
}

// ShadeFourSunPixels for eight, lane for lane the same operations.
VELDMARK_TARGET_AVX2 void ShadeEightSunPixels(std::uint32_t* out, int column, float row_centre,
                                              const ViewTransform& view, const PreparedSun& sun,
                                              const GlowTable& table)
{
    const __m256 columns = _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(column), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    const __m256 px = _mm256_mul_ps(_mm256_add_ps(columns, _mm256_set1_ps(0.5f)), _mm256_set1_ps(kViewInverseScale));
    const __m256 py = _mm256_set1_ps(row_centre * kViewInverseScale);
    __m256 x = px;
    __m256 y = py;
    if (view.sin_r != 0.0f) {
        const __m256 c = _mm256_set1_ps(view.cos_r);
        const __m256 s = _mm256_set1_ps(view.sin_r);
        const __m256 lx = _mm256_sub_ps(px, _mm256_set1_ps(kViewCentreX));
        const __m256 ly = _mm256_sub_ps(py, _mm256_set1_ps(kViewCentreY));
        x = _mm256_sub_ps(_mm256_add_ps(_mm256_set1_ps(kViewCentreX), _mm256_mul_ps(lx, c)), _mm256_mul_ps(ly, s));
        y = _mm256_add_ps(_mm256_add_ps(_mm256_set1_ps(kViewCentreY), _mm256_mul_ps(lx, s)), _mm256_mul_ps(ly, c));
    }
    const __m256 dx = _mm256_sub_ps(x, _mm256_set1_ps(sun.centre.x));
    const __m256 dy = _mm256_sub_ps(y, _mm256_set1_ps(sun.centre.y));
    const __m256 d2 = _mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy));
    const __m256 above = _mm256_cmp_ps(y, _mm256_set1_ps(kHorizonY), _CMP_LT_OQ);
    const __m256i halo = _mm256_castps_si256(_mm256_and_ps(above, _mm256_cmp_ps(d2, _mm256_set1_ps(sun.halo_squared), _CMP_LT_OQ)));
    const __m256i disc = _mm256_castps_si256(_mm256_and_ps(above, _mm256_cmp_ps(d2, _mm256_set1_ps(sun.disc_squared), _CMP_LE_OQ)));
    if (_mm256_movemask_epi8(_mm256_or_si256(halo, disc)) == 0) return;

    __m256i* at = reinterpret_cast<__m256i*>(out + column);
    const __m256i pixels = _mm256_loadu_si256(at);
    const __m256i index = _mm256_cvttps_epi32(_mm256_min_ps(_mm256_mul_ps(d2, _mm256_set1_ps(table.index_scale)), _mm256_set1_ps(1023.0f)));
    const GlowLanes8 glow = LoadGlow8(table, index);
    const __m256i glows = _mm256_and_si256(halo, _mm256_cmpgt_epi32(_mm256_set1_epi32(255), glow.inverse_opacity));
    __m256i result = _mm256_blendv_epi8(pixels, GlowBlend8(pixels, glow), glows);
    if (_mm256_movemask_epi8(disc) != 0) result = _mm256_blendv_epi8(result, DiscColours8(d2, sun.scale), disc);
    _mm256_storeu_si256(at, result);
}

VELDMARK_TARGET_AVX2 int ShadeSunRowAvx2(std::uint32_t* out, IndexRange columns, float row_centre,
                                         const ViewTransform& view, const PreparedSun& sun, const GlowTable& table)
{
    int j = columns.first;
    for (; j + 8 <= columns.last + 1; j += 8) ShadeEightSunPixels(out, j, row_centre, view, sun, table);
    return j;
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
    // The pixels' positions are turned back by the view before they are measured from the sun,
    // so the sun's own unturned position is where the distances are centred on screen.
    sun.unturned_x = static_cast<double>(s.x) * static_cast<double>(kViewInverseScale);
    sun.unturned_y = static_cast<double>(s.y) * static_cast<double>(kViewInverseScale);
    sun.reach = std::sqrt(std::max(static_cast<double>(sun.halo_squared), static_cast<double>(sun.disc_squared))) +
                kReachMargin;
    sun.reach_known = std::isfinite(sun.unturned_x) && std::isfinite(sun.unturned_y) && std::isfinite(sun.reach) &&
                      std::isfinite(view.cos_r) && std::isfinite(view.sin_r);
    return sun;
}

IndexRange SunColumnsInRow(const PreparedSun& sun, const ViewTransform& view, int row)
{
    const IndexRange box = sun.columns;
    if (!sun.reach_known || box.empty()) return box;
    const IndexRange none{0, -1};
    // Unturned logical coordinates of the row's centre line; a column's centre is at
    // (column + 0.5) / 2.
    const double y = (static_cast<double>(row) + 0.5) * static_cast<double>(kViewInverseScale);
    const double dy = y - sun.unturned_y;
    if (dy * dy >= sun.reach * sun.reach) return none;
    const double half = std::sqrt(sun.reach * sun.reach - dy * dy);
    double low = sun.unturned_x - half;
    double high = sun.unturned_x + half;
    // Above the horizon line: kViewCentreY + lx sin + ly cos < kHorizonY, lx and ly measured
    // from the view's centre; widened by the margin too.
    const double sin_r = static_cast<double>(view.sin_r);
    const double limit = static_cast<double>(kHorizonY - kViewCentreY) + kReachMargin -
                         (y - static_cast<double>(kViewCentreY)) * static_cast<double>(view.cos_r);
    if (sin_r > 0.0) high = std::min(high, static_cast<double>(kViewCentreX) + limit / sin_r);
    else if (sin_r < 0.0) low = std::max(low, static_cast<double>(kViewCentreX) + limit / sin_r);
    else if (limit <= 0.0) return none;
    low = std::max(low * static_cast<double>(kViewScale) - 0.5, static_cast<double>(box.first));
    high = std::min(high * static_cast<double>(kViewScale) - 0.5, static_cast<double>(box.last));
    if (!(low <= high)) return none;
    return IndexRange{static_cast<int>(std::floor(low)), static_cast<int>(std::ceil(high))};
}

void DrawSunRows(const RasterTarget& target, const ViewTransform& view, const PreparedSun& sun,
                 const GlowTable& table, IndexRange rows, SimdLevel level)
{
    const int first = std::max(sun.rows.first, rows.first);
    const int last = std::min(sun.rows.last, rows.last);
    for (int i = first; i <= last; ++i) {
        const IndexRange columns = SunColumnsInRow(sun, view, i);
        if (columns.empty()) continue;
        std::uint32_t* out = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        const float row_centre = static_cast<float>(i) + 0.5f;
        int j = columns.first;
#if defined(VELDMARK_AVX2_PATHS)
        if (level >= SimdLevel::Avx2) j = ShadeSunRowAvx2(out, columns, row_centre, view, sun, table);
#else
        (void)level;
#endif
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
