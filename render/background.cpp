#include "render/background.h"

#include <algorithm>

#include "render/span_fill.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(VELDMARK_AVX2_PATHS)
#include <immintrin.h>
#endif

namespace veldmark {
namespace {

constexpr float kInverseHorizon = 0.0033333334f;   // 1 / 300
constexpr float kFlatSkyShare = 0.2f;              // the upper fifth of the sky is flat
constexpr float kGradientShare = 0.8f;

// a + (b - a) s rounded by +0.5 and truncation; the difference is taken in whole numbers.
std::uint32_t SkyChannel(std::uint32_t zenith, std::uint32_t horizon, int shift, float s)
{
    const int z = static_cast<int>((zenith >> shift) & 0xFFu);
    const int h = static_cast<int>((horizon >> shift) & 0xFFu);
    const float value = (static_cast<float>(z) + static_cast<float>(h - z) * s) + 0.5f;
    return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

// The height v of column 0's centre in row `row`, before any column step is added.
float RowStart(int row, const ViewTransform& view)
{
    const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
    const float lx = 0.5f * kViewInverseScale;   // centre of column 0
    return ((ly - kHorizonY) * view.cos_r + kHorizonY) + (lx - kViewCentreX) * view.sin_r;
}

// One rolled row: v grows by the same float step from column to column, accumulated as it goes.
void PaintRolledRow(std::uint32_t* out, int width, float v, float step, std::uint32_t zenith,
                    std::uint32_t horizon)
{
    for (int column = 0; column < width; ++column) {
        out[column] = SkyColourAt(v, zenith, horizon);
        v += step;
    }
}

#if defined(__SSE2__)
// SkyColourAt for four heights at once, with the same IEEE operations in the same order, so
// every lane equals the one-pixel result bit for bit.
struct SkyLanes {
    __m128 ground_line = _mm_set1_ps(kHorizonY);
    __m128 inverse_horizon = _mm_set1_ps(kInverseHorizon);
    __m128 flat_share = _mm_set1_ps(kFlatSkyShare);
    __m128 gradient_share = _mm_set1_ps(kGradientShare);
    __m128 one = _mm_set1_ps(1.0f);
    __m128 half = _mm_set1_ps(0.5f);
    __m128 zero = _mm_setzero_ps();
    __m128 top = _mm_set1_ps(255.0f);
    __m128 from[3];         // zenith channels, red first
    __m128 difference[3];   // horizon minus zenith, as whole numbers
    __m128i zenith;
    __m128i ground = _mm_set1_epi32(static_cast<int>(kGroundColour));

    SkyLanes(std::uint32_t zenith_colour, std::uint32_t horizon_colour)
        : zenith(_mm_set1_epi32(static_cast<int>(zenith_colour & 0xFFFFFFu)))
    {
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const int z = static_cast<int>((zenith_colour >> shift) & 0xFFu);
            const int h = static_cast<int>((horizon_colour >> shift) & 0xFFu);
            from[c] = _mm_set1_ps(static_cast<float>(z));
            difference[c] = _mm_set1_ps(static_cast<float>(h - z));
        }
    }

    __m128i Colours(__m128 v) const
    {
        const __m128 is_ground = _mm_cmpge_ps(v, ground_line);
        const __m128 t = _mm_mul_ps(v, inverse_horizon);
        const __m128 is_zenith = _mm_cmple_ps(t, flat_share);
        const int ground_lanes = _mm_movemask_ps(is_ground);
        if (ground_lanes == 0xF) return ground;
        if (_mm_movemask_ps(_mm_or_ps(is_ground, is_zenith)) == 0xF && ground_lanes == 0) return zenith;

        __m128 s = _mm_div_ps(_mm_sub_ps(t, flat_share), gradient_share);
        const __m128 below_one = _mm_cmplt_ps(s, one);   // NaN is not below one: it becomes 1
        s = _mm_or_ps(_mm_and_ps(below_one, s), _mm_andnot_ps(below_one, one));
        __m128i rgb = _mm_setzero_si128();
        for (int c = 0; c < 3; ++c) {
            __m128 value = _mm_add_ps(_mm_add_ps(from[c], _mm_mul_ps(difference[c], s)), half);
            value = _mm_min_ps(_mm_max_ps(value, zero), top);
            rgb = _mm_or_si128(rgb, _mm_slli_epi32(_mm_cvttps_epi32(value), 16 - 8 * c));
        }
        const __m128i zenith_mask = _mm_castps_si128(is_zenith);
        const __m128i ground_mask = _mm_castps_si128(is_ground);
        rgb = _mm_or_si128(_mm_and_si128(zenith_mask, zenith), _mm_andnot_si128(zenith_mask, rgb));
        return _mm_or_si128(_mm_and_si128(ground_mask, ground), _mm_andnot_si128(ground_mask, rgb));
    }
};

// Four rolled rows side by side, one lane each: every row keeps its own accumulated v, and the
// four independent additions per column no longer wait on each other.
void PaintFourRolledRows(std::uint32_t* out, int width, const float* v_start, float step,
                         const SkyLanes& lanes)
{
    __m128 v = _mm_loadu_ps(v_start);
    const __m128 steps = _mm_set1_ps(step);
    const std::size_t stride = static_cast<std::size_t>(width);
    alignas(16) std::uint32_t colours[4];
    for (int column = 0; column < width; ++column) {
        _mm_store_si128(reinterpret_cast<__m128i*>(colours), lanes.Colours(v));
        std::uint32_t* p = out + column;
        p[0] = colours[0];
        p[stride] = colours[1];
        p[2 * stride] = colours[2];
        p[3 * stride] = colours[3];
        v = _mm_add_ps(v, steps);
    }
}
#endif

#if defined(VELDMARK_AVX2_PATHS)
// SkyLanes for eight heights, lane for lane the same operations.
struct SkyLanes8 {
    __m256 from[3];         // zenith channels, red first
    __m256 difference[3];   // horizon minus zenith, as whole numbers
    __m256i zenith;
    __m256i ground;
};

VELDMARK_TARGET_AVX2 SkyLanes8 MakeSkyLanes8(std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    SkyLanes8 lanes;
    for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        const int z = static_cast<int>((zenith_colour >> shift) & 0xFFu);
        const int h = static_cast<int>((horizon_colour >> shift) & 0xFFu);
        lanes.from[c] = _mm256_set1_ps(static_cast<float>(z));
        lanes.difference[c] = _mm256_set1_ps(static_cast<float>(h - z));
    }
    lanes.zenith = _mm256_set1_epi32(static_cast<int>(zenith_colour & 0xFFFFFFu));
    lanes.ground = _mm256_set1_epi32(static_cast<int>(kGroundColour));
    return lanes;
}

// Every lane's colour, including the gradient.
VELDMARK_TARGET_AVX2 inline __m256i SkyColours8(__m256 v, const SkyLanes8& lanes)
{
    const __m256 is_ground = _mm256_cmp_ps(v, _mm256_set1_ps(kHorizonY), _CMP_GE_OS);
    const __m256 t = _mm256_mul_ps(v, _mm256_set1_ps(kInverseHorizon));
    const __m256 is_zenith = _mm256_cmp_ps(t, _mm256_set1_ps(kFlatSkyShare), _CMP_LE_OS);
    __m256 s = _mm256_div_ps(_mm256_sub_ps(t, _mm256_set1_ps(kFlatSkyShare)), _mm256_set1_ps(kGradientShare));
    const __m256 below_one = _mm256_cmp_ps(s, _mm256_set1_ps(1.0f), _CMP_LT_OS);   // NaN is not: it becomes 1
    s = _mm256_blendv_ps(_mm256_set1_ps(1.0f), s, below_one);
    __m256i rgb = _mm256_setzero_si256();
    for (int c = 0; c < 3; ++c) {
        __m256 value = _mm256_add_ps(_mm256_add_ps(lanes.from[c], _mm256_mul_ps(lanes.difference[c], s)), _mm256_set1_ps(0.5f));
        value = _mm256_min_ps(_mm256_max_ps(value, _mm256_setzero_ps()), _mm256_set1_ps(255.0f));
        rgb = _mm256_or_si256(rgb, _mm256_sll_epi32(_mm256_cvttps_epi32(value), _mm_cvtsi32_si128(16 - 8 * c)));
    }
    rgb = _mm256_blendv_epi8(rgb, lanes.zenith, _mm256_castps_si256(is_zenith));
    return _mm256_blendv_epi8(rgb, lanes.ground, _mm256_castps_si256(is_ground));
}

// The colour of every lane with bit 24 set where it is ground: a run's key. Along a row v moves
// one way only, and every channel of the sky is a monotonic function of v above the ground line
// (the zenith's flat colour is the gradient's colour at s = 0), so two runs' ends with one key
// have that colour at every v between them. The ground bit keeps a sky colour that happens to
// equal the ground's from bracketing the horizon line.
VELDMARK_TARGET_AVX2 inline __m256i SkyKeys8(__m256 v, const SkyLanes8& lanes)
{
    const __m256 is_ground = _mm256_cmp_ps(v, _mm256_set1_ps(kHorizonY), _CMP_GE_OS);
    const __m256i ground_bit = _mm256_and_si256(_mm256_castps_si256(is_ground), _mm256_set1_epi32(1 << 24));
    const int ground = _mm256_movemask_ps(is_ground);
    if (ground == 0xFF) return _mm256_or_si256(lanes.ground, ground_bit);
    const __m256 t = _mm256_mul_ps(v, _mm256_set1_ps(kInverseHorizon));
    const int zenith = _mm256_movemask_ps(_mm256_cmp_ps(t, _mm256_set1_ps(kFlatSkyShare), _CMP_LE_OS));
    if (ground == 0 && zenith == 0xFF) return lanes.zenith;
    return _mm256_or_si256(SkyColours8(v, lanes), ground_bit);
}

// Eight by eight 32-bit values turned about the diagonal: lane r of `in[k]` becomes lane k of
// `out[r]`.
VELDMARK_TARGET_AVX2 inline void Transpose8x8(const __m256i* in, __m256i* out)
{
    __m256i t[8], u[8];
    for (int k = 0; k < 8; k += 2) {
        t[k] = _mm256_unpacklo_epi32(in[k], in[k + 1]);
        t[k + 1] = _mm256_unpackhi_epi32(in[k], in[k + 1]);
    }
    for (int k = 0; k < 8; k += 4) {
        u[k] = _mm256_unpacklo_epi64(t[k], t[k + 2]);
        u[k + 1] = _mm256_unpackhi_epi64(t[k], t[k + 2]);
        u[k + 2] = _mm256_unpacklo_epi64(t[k + 1], t[k + 3]);
        u[k + 3] = _mm256_unpackhi_epi64(t[k + 1], t[k + 3]);
    }
    for (int r = 0; r < 4; ++r) {
        out[r] = _mm256_permute2x128_si256(u[r], u[r + 4], 0x20);
        out[r + 4] = _mm256_permute2x128_si256(u[r], u[r + 4], 0x31);
    }
}

// Eight columns by eight rows: lane r of `columns[k]` is row r's pixel in column k; stored as
// eight rows of eight.
VELDMARK_TARGET_AVX2 inline void StoreTransposed8x8(std::uint32_t* out, std::size_t stride, const __m256i* columns)
{
    __m256i rows[8];
    Transpose8x8(columns, rows);
    for (int r = 0; r < 8; ++r)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + static_cast<std::size_t>(r) * stride), rows[r]);
}

// Up to this many rows of a block with a colour change are worked out along their rows; more
// than that and the whole block is worked out column by column.
constexpr int kMostRowsAlongRows = 6;

// Eight rolled rows side by side, one lane each, as PaintFourRolledRows does four: each row
// keeps its own accumulated v. In blocks of eight columns, a row whose key at the block's first
// column equals the key at the next block's first column is one colour across the block (see
// SkyKeys8); only the other rows have every pixel's colour worked out.
VELDMARK_TARGET_AVX2 void PaintEightRolledRowsAvx2(std::uint32_t* out, int width, const float* v_start, float step,
                                                   const SkyLanes8& lanes)
{
    __m256 v = _mm256_loadu_ps(v_start);
    const __m256 steps = _mm256_set1_ps(step);
    const __m256i colour_bits = _mm256_set1_epi32(0xFFFFFF);
    const std::size_t stride = static_cast<std::size_t>(width);
    int column = 0;
    __m256i first_keys = SkyKeys8(v, lanes);
    for (; column + 8 <= width; column += 8) {
        __m256 heights[8];
        for (int k = 0; k < 8; ++k) {
            heights[k] = v;
            v = _mm256_add_ps(v, steps);
        }
        // v is now the next block's first column, or one step past the row's end: either way it
        // bounds this block's v.
        const __m256i next_keys = SkyKeys8(v, lanes);
        const int changing = ~_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(first_keys, next_keys))) & 0xFF;
        const __m256i first_colours = _mm256_and_si256(first_keys, colour_bits);
        std::uint32_t* block = out + column;
        const int changing_rows = __builtin_popcount(static_cast<unsigned>(changing));
        if (changing_rows > kMostRowsAlongRows) {
            __m256i colours[8];
            colours[0] = first_colours;
            for (int k = 1; k < 8; ++k) colours[k] = SkyColours8(heights[k], lanes);
            StoreTransposed8x8(block, stride, colours);
        } else {
            __m256i rows[8];
            if (changing_rows > 0) {
                __m256i columns[8];
                for (int k = 0; k < 8; ++k) columns[k] = _mm256_castps_si256(heights[k]);
                Transpose8x8(columns, rows);
            }
            for (int r = 0; r < 8; ++r) {
                const __m256i colours = (changing >> r & 1) != 0
                                            ? SkyColours8(_mm256_castsi256_ps(rows[r]), lanes)
                                            : _mm256_permutevar8x32_epi32(first_colours, _mm256_set1_epi32(r));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(block + static_cast<std::size_t>(r) * stride), colours);
            }
        }
        first_keys = next_keys;
    }
    for (; column < width; ++column) {
        alignas(32) std::uint32_t colours[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(colours), SkyColours8(v, lanes));
        for (int r = 0; r < 8; ++r) out[static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(column)] = colours[r];
        v = _mm256_add_ps(v, steps);
    }
}

// The rows from `row` on, eight at a time, while eight are left; returns the first row not
// painted.
VELDMARK_TARGET_AVX2 int PaintRolledRowsAvx2(const RasterTarget& target, const ViewTransform& view, int row, int last,
                                             std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    const SkyLanes8 lanes = MakeSkyLanes8(zenith_colour, horizon_colour);
    const float step = kViewInverseScale * view.sin_r;
    const std::size_t stride = static_cast<std::size_t>(target.width);
    for (; row + 7 <= last; row += 8) {
        float v_start[8];
        for (int r = 0; r < 8; ++r) v_start[r] = RowStart(row + r, view);
        PaintEightRolledRowsAvx2(target.pixels + static_cast<std::size_t>(row) * stride, target.width, v_start, step, lanes);
    }
    return row;
}
#endif

} // namespace

std::uint32_t SkyColourAt(float v, std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    if (v >= kHorizonY) return kGroundColour;
    const float t = v * kInverseHorizon;
    if (t <= kFlatSkyShare) return zenith_colour & 0xFFFFFFu;
    // NaN (from a NaN roll) lands here too; the clamps keep it out of the conversion.
    float s = (t - kFlatSkyShare) / kGradientShare;
    if (!(s < 1.0f)) s = 1.0f;
    return SkyChannel(zenith_colour, horizon_colour, 16, s) << 16 |
           SkyChannel(zenith_colour, horizon_colour, 8, s) << 8 |
           SkyChannel(zenith_colour, horizon_colour, 0, s);
}

void PaintBackgroundRows(const RasterTarget& target, const ViewTransform& view,
                         std::uint32_t zenith_colour, std::uint32_t horizon_colour, IndexRange rows,
                         SimdLevel level)
{
    const std::size_t stride = static_cast<std::size_t>(target.width);
    const int last = std::min(rows.last, target.height - 1);
    int row = std::max(rows.first, 0);
    if (view.sin_r == 0.0f) {
        // Upright view: the colour depends on the row alone (v is then the row's own height).
        for (; row <= last; ++row) {
            const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
            FillSpan(target.pixels + static_cast<std::size_t>(row) * stride, stride,
                     SkyColourAt(ly, zenith_colour, horizon_colour));
        }
        return;
    }
    const float step = kViewInverseScale * view.sin_r;
#if defined(VELDMARK_AVX2_PATHS)
    if (level >= SimdLevel::Avx2) row = PaintRolledRowsAvx2(target, view, row, last, zenith_colour, horizon_colour);
#else
    (void)level;
#endif
#if defined(__SSE2__)
    const SkyLanes lanes(zenith_colour, horizon_colour);
    for (; row + 3 <= last; row += 4) {
        const float v_start[4] = {RowStart(row, view), RowStart(row + 1, view),
                                  RowStart(row + 2, view), RowStart(row + 3, view)};
        PaintFourRolledRows(target.pixels + static_cast<std::size_t>(row) * stride, target.width,
                            v_start, step, lanes);
    }
#endif
    for (; row <= last; ++row)
        PaintRolledRow(target.pixels + static_cast<std::size_t>(row) * stride, target.width,
                       RowStart(row, view), step, zenith_colour, horizon_colour);
}

void PaintBackground(const RasterTarget& target, const ViewTransform& view,
                     std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    PaintBackgroundRows(target, view, zenith_colour, horizon_colour, IndexRange{0, target.height - 1},
                        ActiveSimdLevel());
}

} // namespace veldmark
