#pragma once
// Eight 32-bit lanes on AVX2: vec4.h's vocabulary, name for name, for kernels compiled eight
// lanes wide. Everything here is compiled for AVX2 only (vec8_begin.h) and runs only where
// SupportedSimdLevel() says the processor has it.
#include <cstddef>
#include <cstdint>

#include "render/simd/simd_build.h"

#if defined(VELDMARK_VEC8)
#include <immintrin.h>

#include "render/simd/vec8_begin.h"
namespace veldmark::vec8 {

struct Float {
    __m256 raw;
};
struct Int {
    __m256i raw;
};
struct Mask {
    __m256i raw;
};

struct Tag {
    static constexpr int kLanes = 8;
    static constexpr int kBlocks = 2;   // 128-bit blocks: the unit of the channel operations
    using Float = vec8::Float;
    using Int = vec8::Int;
    using Mask = vec8::Mask;
};

inline Float Set(Tag, float value) { return {_mm256_set1_ps(value)}; }
inline Int SetInt(Tag, std::int32_t value) { return {_mm256_set1_epi32(value)}; }
inline Float Zero(Tag) { return {_mm256_setzero_ps()}; }
inline Float Iota(Tag) { return {_mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f)}; }
inline Float LoadFloats(Tag, const float* p) { return {_mm256_loadu_ps(p)}; }
inline void StoreFloats(Float v, float* p) { _mm256_storeu_ps(p, v.raw); }
inline Int LoadU(Tag, const std::uint32_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
inline Int LoadU(Tag, const std::int32_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
inline void StoreU(Int v, std::int32_t* p) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v.raw); }
inline void StoreU(Int v, std::uint32_t* p) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v.raw); }

inline Float Add(Float a, Float b) { return {_mm256_add_ps(a.raw, b.raw)}; }
inline Float Sub(Float a, Float b) { return {_mm256_sub_ps(a.raw, b.raw)}; }
inline Float Mul(Float a, Float b) { return {_mm256_mul_ps(a.raw, b.raw)}; }
inline Float Div(Float a, Float b) { return {_mm256_div_ps(a.raw, b.raw)}; }
inline Float Sqrt(Float a) { return {_mm256_sqrt_ps(a.raw)}; }
inline Float Min(Float a, Float b) { return {_mm256_min_ps(a.raw, b.raw)}; }   // b when either is NaN
inline Float Max(Float a, Float b) { return {_mm256_max_ps(a.raw, b.raw)}; }

inline Mask Lt(Float a, Float b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.raw, b.raw, _CMP_LT_OQ))}; }
inline Mask Le(Float a, Float b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.raw, b.raw, _CMP_LE_OQ))}; }
inline Mask Gt(Float a, Float b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.raw, b.raw, _CMP_GT_OQ))}; }
inline Mask Ge(Float a, Float b) { return {_mm256_castps_si256(_mm256_cmp_ps(a.raw, b.raw, _CMP_GE_OQ))}; }

inline Int Add(Int a, Int b) { return {_mm256_add_epi32(a.raw, b.raw)}; }
inline Int Sub(Int a, Int b) { return {_mm256_sub_epi32(a.raw, b.raw)}; }
inline Int And(Int a, Int b) { return {_mm256_and_si256(a.raw, b.raw)}; }
inline Int Or(Int a, Int b) { return {_mm256_or_si256(a.raw, b.raw)}; }
template <int kBits> Int ShiftLeft(Int a) { return {_mm256_slli_epi32(a.raw, kBits)}; }
template <int kBits> Int ShiftRight(Int a) { return {_mm256_srli_epi32(a.raw, kBits)}; }
inline Mask Eq(Int a, Int b) { return {_mm256_cmpeq_epi32(a.raw, b.raw)}; }
inline Mask Gt(Int a, Int b) { return {_mm256_cmpgt_epi32(a.raw, b.raw)}; }
inline Int MulAddPairs(Int a, Int b) { return {_mm256_madd_epi16(a.raw, b.raw)}; }

inline Float ToFloat(Int a) { return {_mm256_cvtepi32_ps(a.raw)}; }
inline Int Truncate(Float a) { return {_mm256_cvttps_epi32(a.raw)}; }

inline Float IfThenElse(Mask m, Float yes, Float no)
{
    return {_mm256_blendv_ps(no.raw, yes.raw, _mm256_castsi256_ps(m.raw))};
}
inline Int IfThenElse(Mask m, Int yes, Int no) { return {_mm256_blendv_epi8(no.raw, yes.raw, m.raw)}; }
inline Int IfThenElseZero(Mask m, Int yes) { return {_mm256_and_si256(m.raw, yes.raw)}; }
inline Mask And(Mask a, Mask b) { return {_mm256_and_si256(a.raw, b.raw)}; }
inline Mask Or(Mask a, Mask b) { return {_mm256_or_si256(a.raw, b.raw)}; }
inline Mask Not(Mask a) { return {_mm256_xor_si256(a.raw, _mm256_set1_epi32(-1))}; }
inline unsigned LaneBits(Mask m) { return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(m.raw))); }
inline Mask AllLanes(Tag) { return {_mm256_set1_epi32(-1)}; }
inline bool AnyTrue(Mask m) { return LaneBits(m) != 0; }
inline bool AllTrue(Mask m) { return LaneBits(m) == 0xFFu; }

// vec4.h's channel operations, block by block: each of the two 128-bit blocks is worked on as
// vec4 works on its one.
inline Int LoadU(Tag, const std::uint16_t* p) { return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p))}; }
inline void StoreU(Int v, std::uint16_t* p) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v.raw); }
inline Int LoadBlocks(Tag, const std::uint16_t* const (&blocks)[Tag::kBlocks])
{
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[0]));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks[1]));
    return {_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1)};
}
inline void StoreBlocks(Int v, std::uint16_t* const (&blocks)[Tag::kBlocks])
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(blocks[0]), _mm256_castsi256_si128(v.raw));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(blocks[1]), _mm256_extracti128_si256(v.raw, 1));
}
inline Int InterleaveLowerBytes(Int a, Int b) { return {_mm256_unpacklo_epi8(a.raw, b.raw)}; }
inline Int InterleaveUpperBytes(Int a, Int b) { return {_mm256_unpackhi_epi8(a.raw, b.raw)}; }
inline Int WidenLowerBytes(Int a) { return {_mm256_unpacklo_epi8(a.raw, _mm256_setzero_si256())}; }
inline Int WidenUpperBytes(Int a) { return {_mm256_unpackhi_epi8(a.raw, _mm256_setzero_si256())}; }
inline Int ZipHalves16(Int a)
{
    const __m256i order = _mm256_setr_epi8(0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15,
                                           0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
    return {_mm256_shuffle_epi8(a.raw, order)};
}
template <int kBits> Int ShiftRightSigned(Int a) { return {_mm256_srai_epi32(a.raw, kBits)}; }
inline Int PackSigned16(Int a, Int b) { return {_mm256_packs_epi32(a.raw, b.raw)}; }
inline Int PackUnsigned8(Int a, Int b) { return {_mm256_packus_epi16(a.raw, b.raw)}; }

// table[index] for each lane (every index within the table).
inline Int GatherInts(Tag, const std::int32_t* table, Int index) { return {_mm256_i32gather_epi32(table, index.raw, 4)}; }

} // namespace veldmark::vec8
#include "render/simd/vec8_end.h"
#endif
