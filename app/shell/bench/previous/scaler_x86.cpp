// Frozen copy of the scaler's earlier hand-written SSE2/AVX2 code, kept only so that scaler_bench
// measures it beside the current row code in one run. Linked into no program.
// The scaler's SSE2 and AVX2 paths. Each output row is made in two steps through one row buffer
// that stays in the cache: the vertical sums of the source rows it covers, then the horizontal
// sums along that buffer. Both sums are 16-bit values times 16-bit weights added in 32 bits
// (pmaddwd), which is exact, and are rounded and shifted exactly as the plain code does.
//
// The row buffer holds four signed 16-bit channels a pixel (B, G, R and the unused top byte),
// each the plain code's 0 .. 65280 value less 32768 so that it fits the signed lanes; since the
// weights of an output pixel sum to one, the horizontal pass adds 32768 times one back.
#include "app/shell/bench/previous/scaler_paths.h"

#if defined(VELDMARK_SCALER_SSE2)
#include "render/simd/simd_build.h"
#include "render/simd/simd_level.h"

#if defined(VELDMARK_VEC8)
#define VELDMARK_AVX2_PATHS 1
#define VELDMARK_TARGET_AVX2 __attribute__((target("avx2")))
#endif

#include <emmintrin.h>
#include <type_traits>
#if defined(VELDMARK_AVX2_PATHS)
#include <immintrin.h>
#endif

// The sums are written once and inlined into loops whose pair count is a constant, so that the
// compiler unrolls them and keeps every accumulator in a register.
#if defined(__GNUC__) || defined(__clang__)
#define VELDMARK_SCALER_INLINE inline __attribute__((always_inline))
#else
#define VELDMARK_SCALER_INLINE inline
#endif

namespace veldmark::previous {
namespace {

constexpr int kRowBias = 32768;
constexpr int kRowHalf = 1 << (kScalerRowShift - 1);
// floor((s + half) / 64) - 32768 == floor((s + half - 32768 * 64) / 64): one add, one shift.
constexpr int kRowRoundBiased = kRowHalf - (kRowBias << kScalerRowShift);
// The bias times the weights' sum (one), and the output rounding.
constexpr int kColumnRound = (kRowBias << kScalerWeightBits) + (1 << (kScalerOutShift - 1));
// A same-size horizontal pass is (v * one + half) >> 22, which is (v + 128) >> 8.
constexpr int kPixelHalf = 1 << 7;
constexpr std::uint32_t kColourBits = 0x00FFFFFF;

const RowPair* PairsOfRow(const ScalerPlan& plan, std::size_t y)
{
    return plan.row_pairs.data() + plan.row_pairs_begin[y];
}

std::size_t PairCountOfRow(const ScalerPlan& plan, std::size_t y)
{
    return plan.row_pairs_begin[y + 1] - plan.row_pairs_begin[y];
}

// The four bytes' vertical sums of source column x, for the columns the vectors leave over.
void ColumnSumsOneByOne(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                        std::int32_t sums[4])
{
    for (int c = 0; c < 4; ++c) sums[c] = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t a = source[pairs[k].offset_a + x];
        const std::uint32_t b = source[pairs[k].offset_b + x];
        const auto wa = static_cast<std::int32_t>(pairs[k].weights[0] & 0xFFFF);
        const auto wb = static_cast<std::int32_t>(pairs[k].weights[0] >> 16);
        for (int c = 0; c < 4; ++c)
            sums[c] += wa * static_cast<std::int32_t>((a >> (8 * c)) & 0xFF) +
                       wb * static_cast<std::int32_t>((b >> (8 * c)) & 0xFF);
    }
}

void VerticalLeftoverToRow(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                           std::size_t x, std::size_t end, std::int16_t* row)
{
    for (; x < end; ++x) {
        std::int32_t sums[4];
        ColumnSumsOneByOne(pairs, count, source, x, sums);
        for (int c = 0; c < 4; ++c) row[x * 4 + static_cast<std::size_t>(c)] = static_cast<std::int16_t>((sums[c] + kRowRoundBiased) >> kScalerRowShift);
    }
}

void VerticalLeftoverToPixels(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                              std::size_t x, std::size_t end, std::uint32_t* out)
{
    for (; x < end; ++x) {
        std::int32_t sums[4];
        ColumnSumsOneByOne(pairs, count, source, x, sums);
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const std::int32_t v = ((sums[c] + kRowHalf) >> kScalerRowShift) + kPixelHalf;
            pixel |= static_cast<std::uint32_t>(v >> 8) << (8 * c);
        }
        out[x] = pixel;
    }
}

// ---- SSE2 ------------------------------------------------------------------------------------

// An output row's pairs copied to locals when their count is a constant: the vector stores may
// alias anything and would otherwise make the compiler load every pair again for each pixel.
template <std::size_t kPairs>
class LocalRowPairs {
public:
    explicit LocalRowPairs(const RowPair* given) : given_(given)
    {
        for (std::size_t k = 0; k < kPairs; ++k) copy_[k] = given[k];
    }
    const RowPair* pairs() const { return kPairs ? copy_ : given_; }

private:
    RowPair copy_[kPairs ? kPairs : 1];
    const RowPair* given_;
};

// Vertical sums of source pixels x .. x+3: one vector of four 32-bit channels a pixel.
struct FourPixelSums {
    __m128i p[4];
};

VELDMARK_SCALER_INLINE FourPixelSums VerticalSums4(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x)
{
    const __m128i zero = _mm_setzero_si128();
    FourPixelSums s{{zero, zero, zero, zero}};
    for (std::size_t k = 0; k < count; ++k) {
        const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs[k].weights));
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + pairs[k].offset_a + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + pairs[k].offset_b + x));
        // Byte by byte a, b, a, b ...; widened, each 32-bit lane is one channel's (a, b) pair.
        const __m128i lo = _mm_unpacklo_epi8(a, b);
        const __m128i hi = _mm_unpackhi_epi8(a, b);
        s.p[0] = _mm_add_epi32(s.p[0], _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
        s.p[1] = _mm_add_epi32(s.p[1], _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
        s.p[2] = _mm_add_epi32(s.p[2], _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
        s.p[3] = _mm_add_epi32(s.p[3], _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
    }
    return s;
}

template <std::size_t kPairs>
void VerticalToRowSse2(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                       std::size_t x, std::size_t end, std::int16_t* row)
{
    const LocalRowPairs<kPairs> local(pairs);
    const __m128i round = _mm_set1_epi32(kRowRoundBiased);
    for (; x + 4 <= end; x += 4) {
        const FourPixelSums s = VerticalSums4(local.pairs(), kPairs ? kPairs : count, source, x);
        __m128i v[4];
        for (int i = 0; i < 4; ++i) v[i] = _mm_srai_epi32(_mm_add_epi32(s.p[i], round), kScalerRowShift);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x * 4), _mm_packs_epi32(v[0], v[1]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x * 4 + 8), _mm_packs_epi32(v[2], v[3]));
    }
    VerticalLeftoverToRow(pairs, count, source, x, end, row);
}

// For a same-size width: the vertical sums rounded straight to output pixels.
template <std::size_t kPairs>
void VerticalToPixelsSse2(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                          std::size_t x, std::size_t end, std::uint32_t* out)
{
    const LocalRowPairs<kPairs> local(pairs);
    const __m128i half = _mm_set1_epi32(kRowHalf);
    const __m128i pixel_half = _mm_set1_epi32(kPixelHalf);
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    for (; x + 4 <= end; x += 4) {
        const FourPixelSums s = VerticalSums4(local.pairs(), kPairs ? kPairs : count, source, x);
        __m128i v[4];
        for (int i = 0; i < 4; ++i) {
            const __m128i rowed = _mm_srai_epi32(_mm_add_epi32(s.p[i], half), kScalerRowShift);
            v[i] = _mm_srai_epi32(_mm_add_epi32(rowed, pixel_half), 8);
        }
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v[0], v[1]), _mm_packs_epi32(v[2], v[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(bytes, colour));
    }
    VerticalLeftoverToPixels(pairs, count, source, x, end, out);
}

// Output pixel x's horizontal sums: four 32-bit channels, still biased.
// The horizontal tables in locals: the vector stores may alias anything, and would otherwise
// make the compiler load the plan's fields again after each of them.
struct ColumnTable {
    const std::uint32_t* first;
    const std::int16_t* weights;
    std::size_t pairs;   // a compile-time constant where the caller knows it
    std::size_t width;
};

template <std::size_t kPairs>
VELDMARK_SCALER_INLINE ColumnTable ColumnTableOf(const ScalerPlan& plan)
{
    return {plan.column_first.data(), plan.column_weights.data(), kPairs ? kPairs : plan.column_pairs, plan.width};
}

VELDMARK_SCALER_INLINE __m128i HorizontalSums1(const ColumnTable& table, const std::int16_t* row, std::size_t x)
{
    const std::size_t pair_count = table.pairs;
    const std::int16_t* p = row + std::size_t{table.first[x]} * 4;
    const std::int16_t* w = table.weights + ((x / 2) * pair_count * 2 + x % 2) * 8;
    __m128i s = _mm_setzero_si128();
    for (std::size_t k = 0; k < pair_count; ++k) {
        // Two adjacent pixels B0 G0 R0 X0 B1 G1 R1 X1, interleaved to B0 B1 G0 G1 R0 R1 X0 X1.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k * 8));
        const __m128i pairs = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
        s = _mm_add_epi32(s, _mm_madd_epi16(pairs, _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + k * 16))));
    }
    return s;
}

__m128i HorizontalRound(__m128i sums)
{
    return _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(kColumnRound)), kScalerOutShift);
}

void HorizontalLeftover(const ColumnTable& table, const std::int16_t* row, std::size_t x, std::uint32_t* out)
{
    for (; x < table.width; ++x) {
        const __m128i v = HorizontalRound(HorizontalSums1(table, row, x));
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v, v), _mm_setzero_si128());
        out[x] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes)) & kColourBits;
    }
}

template <std::size_t kPairs>
void HorizontalSse2(const ScalerPlan& plan, const std::int16_t* row, std::uint32_t* out)
{
    const ColumnTable table = ColumnTableOf<kPairs>(plan);
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    std::size_t x = 0;
    for (; x + 4 <= table.width; x += 4) {
        __m128i v[4];
        for (std::size_t i = 0; i < 4; ++i) v[i] = HorizontalRound(HorizontalSums1(table, row, x + i));
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v[0], v[1]), _mm_packs_epi32(v[2], v[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(bytes, colour));
    }
    HorizontalLeftover(table, row, x, out);
}

// A same-size frame: the pixels themselves, without the unused byte.
void CopyFrame(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    for (std::size_t y = 0; y < plan.height; ++y) {
        const std::uint32_t* in = source + y * plan.src_pitch;
        std::uint32_t* out = dest + y * dest_pitch;
        std::size_t x = 0;
        for (; x + 4 <= plan.width; x += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(v, colour));
        }
        for (; x < plan.width; ++x) out[x] = in[x] & kColourBits;
    }
}

// ---- AVX2 ------------------------------------------------------------------------------------
#if defined(VELDMARK_AVX2_PATHS)

// Vertical sums of source pixels x .. x+7; each 128-bit lane works on its own four pixels, so
// p[i] holds pixel x+i in the low lane and x+4+i in the high.
struct EightPixelSums {
    __m256i p[4];
};

VELDMARK_TARGET_AVX2 VELDMARK_SCALER_INLINE EightPixelSums VerticalSums8(const RowPair* pairs, std::size_t count,
                                                  const std::uint32_t* source, std::size_t x)
{
    const __m256i zero = _mm256_setzero_si256();
    EightPixelSums s{{zero, zero, zero, zero}};
    for (std::size_t k = 0; k < count; ++k) {
        const __m256i w = _mm256_set1_epi32(static_cast<int>(pairs[k].weights[0]));
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + pairs[k].offset_a + x));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + pairs[k].offset_b + x));
        const __m256i lo = _mm256_unpacklo_epi8(a, b);
        const __m256i hi = _mm256_unpackhi_epi8(a, b);
        s.p[0] = _mm256_add_epi32(s.p[0], _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), w));
        s.p[1] = _mm256_add_epi32(s.p[1], _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), w));
        s.p[2] = _mm256_add_epi32(s.p[2], _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), w));
        s.p[3] = _mm256_add_epi32(s.p[3], _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), w));
    }
    return s;
}

template <std::size_t kPairs>
VELDMARK_TARGET_AVX2 void VerticalToRowAvx2(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                                            std::size_t end, std::int16_t* row)
{
    const LocalRowPairs<kPairs> local(pairs);
    const __m256i round = _mm256_set1_epi32(kRowRoundBiased);
    std::size_t x = 0;
    for (; x + 8 <= end; x += 8) {
        const EightPixelSums s = VerticalSums8(local.pairs(), kPairs ? kPairs : count, source, x);
        __m256i v[4];
        for (int i = 0; i < 4; ++i) v[i] = _mm256_srai_epi32(_mm256_add_epi32(s.p[i], round), kScalerRowShift);
        const __m256i p0145 = _mm256_packs_epi32(v[0], v[1]);
        const __m256i p2367 = _mm256_packs_epi32(v[2], v[3]);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x * 4), _mm256_permute2x128_si256(p0145, p2367, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x * 4 + 16), _mm256_permute2x128_si256(p0145, p2367, 0x31));
    }
    VerticalToRowSse2<kPairs>(pairs, count, source, x, end, row);
}

template <std::size_t kPairs>
VELDMARK_TARGET_AVX2 void VerticalToPixelsAvx2(const RowPair* pairs, std::size_t count, const std::uint32_t* source,
                                               std::size_t end, std::uint32_t* out)
{
    const LocalRowPairs<kPairs> local(pairs);
    const __m256i half = _mm256_set1_epi32(kRowHalf);
    const __m256i pixel_half = _mm256_set1_epi32(kPixelHalf);
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(kColourBits));
    std::size_t x = 0;
    for (; x + 8 <= end; x += 8) {
        const EightPixelSums s = VerticalSums8(local.pairs(), kPairs ? kPairs : count, source, x);
        __m256i v[4];
        for (int i = 0; i < 4; ++i) {
            const __m256i rowed = _mm256_srai_epi32(_mm256_add_epi32(s.p[i], half), kScalerRowShift);
            v[i] = _mm256_srai_epi32(_mm256_add_epi32(rowed, pixel_half), 8);
        }
        // Lane by lane the packs give pixels x .. x+3 low and x+4 .. x+7 high: in order.
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(v[0], v[1]), _mm256_packs_epi32(v[2], v[3]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_and_si256(bytes, colour));
    }
    VerticalToPixelsSse2<kPairs>(pairs, count, source, x, end, out);
}

// Output pixels x and x+1 (x even): the horizontal sums of x in the low lane, x+1 in the high.
VELDMARK_TARGET_AVX2 VELDMARK_SCALER_INLINE __m256i HorizontalSums2(const ColumnTable& table, const std::int16_t* row,
                                                                   std::size_t x)
{
    const std::size_t pair_count = table.pairs;
    // B0 G0 R0 X0 B1 G1 R1 X1 to B0 B1 G0 G1 R0 R1 X0 X1 in each lane.
    const __m256i interleave = _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15,
                                                0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
    const std::int16_t* p0 = row + std::size_t{table.first[x]} * 4;
    const std::int16_t* p1 = row + std::size_t{table.first[x + 1]} * 4;
    const std::int16_t* w = table.weights + (x / 2) * pair_count * 16;
    __m256i s = _mm256_setzero_si256();
    for (std::size_t k = 0; k < pair_count; ++k) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p0 + k * 8));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + k * 8));
        const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(v0), v1, 1);
        const __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w + k * 16));
        s = _mm256_add_epi32(s, _mm256_madd_epi16(_mm256_shuffle_epi8(v, interleave), weights));
    }
    return s;
}

template <std::size_t kPairs>
VELDMARK_TARGET_AVX2 void HorizontalAvx2(const ScalerPlan& plan, const std::int16_t* row, std::uint32_t* out)
{
    const __m256i round = _mm256_set1_epi32(kColumnRound);
    const __m256i colour = _mm256_set1_epi32(static_cast<int>(kColourBits));
    // The packs leave pixels 0 2 4 6 in the low lane and 1 3 5 7 in the high.
    const __m256i in_order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const ColumnTable table = ColumnTableOf<kPairs>(plan);
    std::size_t x = 0;
    for (; x + 8 <= table.width; x += 8) {
        __m256i v[4];
        for (std::size_t i = 0; i < 4; ++i)
            v[i] = _mm256_srai_epi32(_mm256_add_epi32(HorizontalSums2(table, row, x + 2 * i), round), kScalerOutShift);
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(v[0], v[1]), _mm256_packs_epi32(v[2], v[3]));
        const __m256i pixels = _mm256_permutevar8x32_epi32(bytes, in_order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_and_si256(pixels, colour));
    }
    HorizontalLeftover(table, row, x, out);
}

// The AVX2 row steps, for ScaleRows.
struct Avx2Rows {
    template <std::size_t kPairs>
    static void ToRow(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t end,
                      std::int16_t* row)
    {
        VerticalToRowAvx2<kPairs>(pairs, count, source, end, row);
    }
    template <std::size_t kPairs>
    static void ToPixels(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t end,
                         std::uint32_t* out)
    {
        VerticalToPixelsAvx2<kPairs>(pairs, count, source, end, out);
    }
    template <std::size_t kPairs>
    static void Horizontal(const ScalerPlan& plan, const std::int16_t* row, std::uint32_t* out)
    {
        HorizontalAvx2<kPairs>(plan, row, out);
    }
};

#endif

// The SSE2 row steps, for ScaleRows.
struct Sse2Rows {
    template <std::size_t kPairs>
    static void ToRow(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t end,
                      std::int16_t* row)
    {
        VerticalToRowSse2<kPairs>(pairs, count, source, 0, end, row);
    }
    template <std::size_t kPairs>
    static void ToPixels(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t end,
                         std::uint32_t* out)
    {
        VerticalToPixelsSse2<kPairs>(pairs, count, source, 0, end, out);
    }
    template <std::size_t kPairs>
    static void Horizontal(const ScalerPlan& plan, const std::int16_t* row, std::uint32_t* out)
    {
        HorizontalSse2<kPairs>(plan, row, out);
    }
};

// Calls `step` with the pair count as a compile-time constant for the counts that occur most
// (a same-size or growing axis has one pair, shrinking up to twice two or three), else with 0.
template <typename Step>
void WithPairCount(std::size_t count, Step&& step)
{
    switch (count) {
    case 1: step(std::integral_constant<std::size_t, 1>{}); return;
    case 2: step(std::integral_constant<std::size_t, 2>{}); return;
    case 3: step(std::integral_constant<std::size_t, 3>{}); return;
    default: step(std::integral_constant<std::size_t, 0>{}); return;
    }
}

template <typename Rows>
void ScaleRows(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch,
               std::int16_t* row)
{
    for (std::size_t y = 0; y < plan.height; ++y) {
        std::uint32_t* out = dest + y * dest_pitch;
        const RowPair* pairs = PairsOfRow(plan, y);
        const std::size_t count = PairCountOfRow(plan, y);
        if (plan.same_columns) {
            WithPairCount(count, [&](auto n) {
                Rows::template ToPixels<decltype(n)::value>(pairs, count, source, plan.src_width, out);
            });
            continue;
        }
        WithPairCount(count, [&](auto n) {
            Rows::template ToRow<decltype(n)::value>(pairs, count, source, plan.src_width, row);
        });
        WithPairCount(plan.column_pairs, [&](auto n) { Rows::template Horizontal<decltype(n)::value>(plan, row, out); });
    }
}

} // namespace

void ScaleFrameSse2(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                    std::size_t dest_pitch, std::int16_t* row)
{
    if (plan.same_columns && plan.same_rows) CopyFrame(plan, source, dest, dest_pitch);
    else ScaleRows<Sse2Rows>(plan, source, dest, dest_pitch, row);
}

void ScaleFrameAvx2(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                    std::size_t dest_pitch, std::int16_t* row)
{
#if defined(VELDMARK_AVX2_PATHS)
    if (!(plan.same_columns && plan.same_rows)) {
        ScaleRows<Avx2Rows>(plan, source, dest, dest_pitch, row);
        return;
    }
#endif
    ScaleFrameSse2(plan, source, dest, dest_pitch, row);
}

} // namespace veldmark::previous

#endif
