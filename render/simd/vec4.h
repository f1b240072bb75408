#pragma once
// Four 32-bit lanes: the vocabulary every four-lane kernel is written in. vec8.h has the same
// names for eight lanes, so that a kernel is written once, as a template over the set's `Tag`,
// and compiled for each width (kernels_vec4.cpp, kernels_vec8.cpp).
//
// Each operation is one IEEE single-precision operation per lane, exactly as the one-pixel code
// does it, whatever instruction set is below: SSE2 on x86-64, WebAssembly's SIMD128, or NEON on
// 64-bit Arm. Where the sets differ (NaN in Min and Max, out-of-range conversions), the
// operation is defined as x86 does it or its use is limited to where they agree; every
// backend must give the same bits for every input the kernels can produce.
#include <cstddef>
#include <cstdint>

#include "render/simd/simd_build.h"

#if defined(VELDMARK_INSIDE_VEC8_TARGET)
#error "vec4.h must be included before the eight-lane target region, or its functions would be compiled for AVX2"
#endif

#if defined(VELDMARK_VEC4_SSE2)
#include <emmintrin.h>
#elif defined(VELDMARK_VEC4_WASM)
#include <wasm_simd128.h>
#elif defined(VELDMARK_VEC4_NEON)
#include <arm_neon.h>

#endif

#if defined(VELDMARK_VEC4)
namespace veldmark::vec4 {

#if defined(VELDMARK_VEC4_SSE2)
using FloatRaw = __m128;
using IntRaw = __m128i;
#elif defined(VELDMARK_VEC4_WASM)
using FloatRaw = v128_t;
using IntRaw = v128_t;
#else
using FloatRaw = float32x4_t;
using IntRaw = int32x4_t;
#endif

struct Float {
    FloatRaw raw;
};
struct Int {   // 32-bit lanes; also 16-bit or 8-bit values for the channel operations below
    IntRaw raw;
};
struct Mask {  // every bit of a true lane set
    IntRaw raw;
};

struct Tag {
    static constexpr int kLanes = 4;
    static constexpr int kBlocks = 1;   // 128-bit blocks: the unit of the channel operations
    using Float = vec4::Float;
    using Int = vec4::Int;
    using Mask = vec4::Mask;
};

#if defined(VELDMARK_VEC4_SSE2)
// ---- SSE2 -----------------------------------------------------------------------------------

inline Float Set(Tag, float value) { return {_mm_set1_ps(value)}; }
inline Int SetInt(Tag, std::int32_t value) { return {_mm_set1_epi32(value)}; }
inline Float Iota(Tag) { return {_mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f)}; }
inline Float LoadFloats(Tag, const float* p) { return {_mm_loadu_ps(p)}; }
inline void StoreFloats(Float v, float* p) { _mm_storeu_ps(p, v.raw); }
inline Int LoadU(Tag, const std::uint32_t* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
inline Int LoadU(Tag, const std::int32_t* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
inline void StoreU(Int v, std::int32_t* p) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v.raw); }
inline void StoreU(Int v, std::uint32_t* p) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v.raw); }

inline Float Add(Float a, Float b) { return {_mm_add_ps(a.raw, b.raw)}; }
inline Float Sub(Float a, Float b) { return {_mm_sub_ps(a.raw, b.raw)}; }
inline Float Mul(Float a, Float b) { return {_mm_mul_ps(a.raw, b.raw)}; }
inline Float Div(Float a, Float b) { return {_mm_div_ps(a.raw, b.raw)}; }
inline Float Sqrt(Float a) { return {_mm_sqrt_ps(a.raw)}; }
// a < b ? a : b and a > b ? a : b: b whenever either is NaN.
inline Float Min(Float a, Float b) { return {_mm_min_ps(a.raw, b.raw)}; }
inline Float Max(Float a, Float b) { return {_mm_max_ps(a.raw, b.raw)}; }

// Ordered comparisons: false wherever a lane is NaN.
inline Mask Lt(Float a, Float b) { return {_mm_castps_si128(_mm_cmplt_ps(a.raw, b.raw))}; }
inline Mask Le(Float a, Float b) { return {_mm_castps_si128(_mm_cmple_ps(a.raw, b.raw))}; }
inline Mask Gt(Float a, Float b) { return {_mm_castps_si128(_mm_cmpgt_ps(a.raw, b.raw))}; }
inline Mask Ge(Float a, Float b) { return {_mm_castps_si128(_mm_cmpge_ps(a.raw, b.raw))}; }

inline Int Add(Int a, Int b) { return {_mm_add_epi32(a.raw, b.raw)}; }
inline Int Sub(Int a, Int b) { return {_mm_sub_epi32(a.raw, b.raw)}; }
inline Int And(Int a, Int b) { return {_mm_and_si128(a.raw, b.raw)}; }
inline Int Or(Int a, Int b) { return {_mm_or_si128(a.raw, b.raw)}; }
template <int kBits> Int ShiftLeft(Int a) { return {_mm_slli_epi32(a.raw, kBits)}; }
template <int kBits> Int ShiftRight(Int a) { return {_mm_srli_epi32(a.raw, kBits)}; }   // zeros come in
inline Mask Eq(Int a, Int b) { return {_mm_cmpeq_epi32(a.raw, b.raw)}; }
inline Mask Gt(Int a, Int b) { return {_mm_cmpgt_epi32(a.raw, b.raw)}; }   // signed
// Lane by lane: the low 16-bit halves multiplied, the high halves multiplied, the two products
// added (all signed).
inline Int MulAddPairs(Int a, Int b) { return {_mm_madd_epi16(a.raw, b.raw)}; }

inline Float ToFloat(Int a) { return {_mm_cvtepi32_ps(a.raw)}; }
// Toward zero. Only for values within the int32 range (never NaN): there the sets agree.
inline Int Truncate(Float a) { return {_mm_cvttps_epi32(a.raw)}; }

inline Float IfThenElse(Mask m, Float yes, Float no)
{
    const __m128 mask = _mm_castsi128_ps(m.raw);
    return {_mm_or_ps(_mm_and_ps(mask, yes.raw), _mm_andnot_ps(mask, no.raw))};
}
inline Int IfThenElse(Mask m, Int yes, Int no)
{
    return {_mm_or_si128(_mm_and_si128(m.raw, yes.raw), _mm_andnot_si128(m.raw, no.raw))};
}
inline Int IfThenElseZero(Mask m, Int yes) { return {_mm_and_si128(m.raw, yes.raw)}; }
inline Mask And(Mask a, Mask b) { return {_mm_and_si128(a.raw, b.raw)}; }
inline Mask Or(Mask a, Mask b) { return {_mm_or_si128(a.raw, b.raw)}; }
inline Mask Not(Mask a) { return {_mm_xor_si128(a.raw, _mm_set1_epi32(-1))}; }
// Bit k set for a true lane k.
inline unsigned LaneBits(Mask m) { return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(m.raw))); }

// Pixels' channels as bytes, 16-bit and 32-bit values. These work block by block (one block
// here, two on vec8): a block's result is made of the same block of the operands.
inline Int LoadU(Tag, const std::uint16_t* p) { return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))}; }
inline void StoreU(Int v, std::uint16_t* p) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v.raw); }
// Block j from blocks[j] / to blocks[j]: eight 16-bit values each.
inline Int LoadBlocks(Tag d, const std::uint16_t* const (&blocks)[Tag::kBlocks]) { return LoadU(d, blocks[0]); }
inline void StoreBlocks(Int v, std::uint16_t* const (&blocks)[Tag::kBlocks]) { StoreU(v, blocks[0]); }
// The bytes of each block's lower (upper) half of a and b, alternately: a0 b0 a1 b1 ...
inline Int InterleaveLowerBytes(Int a, Int b) { return {_mm_unpacklo_epi8(a.raw, b.raw)}; }
inline Int InterleaveUpperBytes(Int a, Int b) { return {_mm_unpackhi_epi8(a.raw, b.raw)}; }
// The bytes of each block's lower (upper) half as 16-bit values, zero-extended.
inline Int WidenLowerBytes(Int a) { return {_mm_unpacklo_epi8(a.raw, _mm_setzero_si128())}; }
inline Int WidenUpperBytes(Int a) { return {_mm_unpackhi_epi8(a.raw, _mm_setzero_si128())}; }
// A block's eight 16-bit values v0 .. v7 as v0 v4 v1 v5 v2 v6 v3 v7.
inline Int ZipHalves16(Int a) { return {_mm_unpacklo_epi16(a.raw, _mm_srli_si128(a.raw, 8))}; }
template <int kBits> Int ShiftRightSigned(Int a) { return {_mm_srai_epi32(a.raw, kBits)}; }   // copies of the sign come in
// Each block: a's four 32-bit values then b's, as signed 16-bit values, saturated.
inline Int PackSigned16(Int a, Int b) { return {_mm_packs_epi32(a.raw, b.raw)}; }
// Each block: a's eight signed 16-bit values then b's, as bytes, saturated to 0 .. 255.
inline Int PackUnsigned8(Int a, Int b) { return {_mm_packus_epi16(a.raw, b.raw)}; }

// table[index] for each lane (every index within the table).
inline Int GatherInts(Tag, const std::int32_t* table, Int index)
{
    alignas(16) std::int32_t k[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(k), index.raw);
    return {_mm_setr_epi32(table[k[0]], table[k[1]], table[k[2]], table[k[3]])};
}

#elif defined(VELDMARK_VEC4_WASM)
// ---- WebAssembly SIMD128 --------------------------------------------------------------------

inline Float Set(Tag, float value) { return {wasm_f32x4_splat(value)}; }
inline Int SetInt(Tag, std::int32_t value) { return {wasm_i32x4_splat(value)}; }
inline Float Iota(Tag) { return {wasm_f32x4_make(0.0f, 1.0f, 2.0f, 3.0f)}; }
inline Float LoadFloats(Tag, const float* p) { return {wasm_v128_load(p)}; }
inline void StoreFloats(Float v, float* p) { wasm_v128_store(p, v.raw); }
inline Int LoadU(Tag, const std::uint32_t* p) { return {wasm_v128_load(p)}; }
inline Int LoadU(Tag, const std::int32_t* p) { return {wasm_v128_load(p)}; }
inline void StoreU(Int v, std::int32_t* p) { wasm_v128_store(p, v.raw); }
inline void StoreU(Int v, std::uint32_t* p) { wasm_v128_store(p, v.raw); }

inline Float Add(Float a, Float b) { return {wasm_f32x4_add(a.raw, b.raw)}; }
inline Float Sub(Float a, Float b) { return {wasm_f32x4_sub(a.raw, b.raw)}; }
inline Float Mul(Float a, Float b) { return {wasm_f32x4_mul(a.raw, b.raw)}; }
inline Float Div(Float a, Float b) { return {wasm_f32x4_div(a.raw, b.raw)}; }
inline Float Sqrt(Float a) { return {wasm_f32x4_sqrt(a.raw)}; }
// pmin(x, y) is y < x ? y : x, so pmin(b, a) is a < b ? a : b, as x86 has it.
inline Float Min(Float a, Float b) { return {wasm_f32x4_pmin(b.raw, a.raw)}; }
inline Float Max(Float a, Float b) { return {wasm_f32x4_pmax(b.raw, a.raw)}; }

inline Mask Lt(Float a, Float b) { return {wasm_f32x4_lt(a.raw, b.raw)}; }
inline Mask Le(Float a, Float b) { return {wasm_f32x4_le(a.raw, b.raw)}; }
inline Mask Gt(Float a, Float b) { return {wasm_f32x4_gt(a.raw, b.raw)}; }
inline Mask Ge(Float a, Float b) { return {wasm_f32x4_ge(a.raw, b.raw)}; }

inline Int Add(Int a, Int b) { return {wasm_i32x4_add(a.raw, b.raw)}; }
inline Int Sub(Int a, Int b) { return {wasm_i32x4_sub(a.raw, b.raw)}; }
inline Int And(Int a, Int b) { return {wasm_v128_and(a.raw, b.raw)}; }
inline Int Or(Int a, Int b) { return {wasm_v128_or(a.raw, b.raw)}; }
template <int kBits> Int ShiftLeft(Int a) { return {wasm_i32x4_shl(a.raw, kBits)}; }
template <int kBits> Int ShiftRight(Int a) { return {wasm_u32x4_shr(a.raw, kBits)}; }
inline Mask Eq(Int a, Int b) { return {wasm_i32x4_eq(a.raw, b.raw)}; }
inline Mask Gt(Int a, Int b) { return {wasm_i32x4_gt(a.raw, b.raw)}; }
inline Int MulAddPairs(Int a, Int b) { return {wasm_i32x4_dot_i16x8(a.raw, b.raw)}; }

inline Float ToFloat(Int a) { return {wasm_f32x4_convert_i32x4(a.raw)}; }
inline Int Truncate(Float a) { return {wasm_i32x4_trunc_sat_f32x4(a.raw)}; }

inline Float IfThenElse(Mask m, Float yes, Float no) { return {wasm_v128_bitselect(yes.raw, no.raw, m.raw)}; }
inline Int IfThenElse(Mask m, Int yes, Int no) { return {wasm_v128_bitselect(yes.raw, no.raw, m.raw)}; }
inline Int IfThenElseZero(Mask m, Int yes) { return {wasm_v128_and(m.raw, yes.raw)}; }
inline Mask And(Mask a, Mask b) { return {wasm_v128_and(a.raw, b.raw)}; }
inline Mask Or(Mask a, Mask b) { return {wasm_v128_or(a.raw, b.raw)}; }
inline Mask Not(Mask a) { return {wasm_v128_not(a.raw)}; }
inline unsigned LaneBits(Mask m) { return static_cast<unsigned>(wasm_i32x4_bitmask(m.raw)); }

inline Int LoadU(Tag, const std::uint16_t* p) { return {wasm_v128_load(p)}; }
inline void StoreU(Int v, std::uint16_t* p) { wasm_v128_store(p, v.raw); }
inline Int LoadBlocks(Tag d, const std::uint16_t* const (&blocks)[Tag::kBlocks]) { return LoadU(d, blocks[0]); }
inline void StoreBlocks(Int v, std::uint16_t* const (&blocks)[Tag::kBlocks]) { StoreU(v, blocks[0]); }
inline Int InterleaveLowerBytes(Int a, Int b)
{
    return {wasm_i8x16_shuffle(a.raw, b.raw, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23)};
}
inline Int InterleaveUpperBytes(Int a, Int b)
{
    return {wasm_i8x16_shuffle(a.raw, b.raw, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31)};
}
inline Int WidenLowerBytes(Int a) { return {wasm_u16x8_extend_low_u8x16(a.raw)}; }
inline Int WidenUpperBytes(Int a) { return {wasm_u16x8_extend_high_u8x16(a.raw)}; }
inline Int ZipHalves16(Int a) { return {wasm_i16x8_shuffle(a.raw, a.raw, 0, 4, 1, 5, 2, 6, 3, 7)}; }
template <int kBits> Int ShiftRightSigned(Int a) { return {wasm_i32x4_shr(a.raw, kBits)}; }
inline Int PackSigned16(Int a, Int b) { return {wasm_i16x8_narrow_i32x4(a.raw, b.raw)}; }
inline Int PackUnsigned8(Int a, Int b) { return {wasm_u8x16_narrow_i16x8(a.raw, b.raw)}; }

inline Int GatherInts(Tag, const std::int32_t* table, Int index)
{
    return {wasm_i32x4_make(table[wasm_i32x4_extract_lane(index.raw, 0)], table[wasm_i32x4_extract_lane(index.raw, 1)],
                            table[wasm_i32x4_extract_lane(index.raw, 2)], table[wasm_i32x4_extract_lane(index.raw, 3)])};
}

#else
// ---- NEON (64-bit Arm) ----------------------------------------------------------------------

inline Float Set(Tag, float value) { return {vdupq_n_f32(value)}; }
inline Int SetInt(Tag, std::int32_t value) { return {vdupq_n_s32(value)}; }
inline Float Iota(Tag)
{
    static constexpr float kIota[4] = {0.0f, 1.0f, 2.0f, 3.0f};
    return {vld1q_f32(kIota)};
}
inline Float LoadFloats(Tag, const float* p) { return {vld1q_f32(p)}; }
inline void StoreFloats(Float v, float* p) { vst1q_f32(p, v.raw); }
inline Int LoadU(Tag, const std::uint32_t* p) { return {vreinterpretq_s32_u32(vld1q_u32(p))}; }
inline Int LoadU(Tag, const std::int32_t* p) { return {vld1q_s32(p)}; }
inline void StoreU(Int v, std::int32_t* p) { vst1q_s32(p, v.raw); }
inline void StoreU(Int v, std::uint32_t* p) { vst1q_u32(p, vreinterpretq_u32_s32(v.raw)); }

inline Float Add(Float a, Float b) { return {vaddq_f32(a.raw, b.raw)}; }
inline Float Sub(Float a, Float b) { return {vsubq_f32(a.raw, b.raw)}; }
inline Float Mul(Float a, Float b) { return {vmulq_f32(a.raw, b.raw)}; }
inline Float Div(Float a, Float b) { return {vdivq_f32(a.raw, b.raw)}; }
inline Float Sqrt(Float a) { return {vsqrtq_f32(a.raw)}; }
// NEON's own min and max give NaN for a NaN lane; selects keep x86's answer.
inline Float Min(Float a, Float b) { return {vbslq_f32(vcltq_f32(a.raw, b.raw), a.raw, b.raw)}; }
inline Float Max(Float a, Float b) { return {vbslq_f32(vcgtq_f32(a.raw, b.raw), a.raw, b.raw)}; }

inline Mask Lt(Float a, Float b) { return {vreinterpretq_s32_u32(vcltq_f32(a.raw, b.raw))}; }
inline Mask Le(Float a, Float b) { return {vreinterpretq_s32_u32(vcleq_f32(a.raw, b.raw))}; }
inline Mask Gt(Float a, Float b) { return {vreinterpretq_s32_u32(vcgtq_f32(a.raw, b.raw))}; }
inline Mask Ge(Float a, Float b) { return {vreinterpretq_s32_u32(vcgeq_f32(a.raw, b.raw))}; }

inline Int Add(Int a, Int b) { return {vaddq_s32(a.raw, b.raw)}; }
inline Int Sub(Int a, Int b) { return {vsubq_s32(a.raw, b.raw)}; }
inline Int And(Int a, Int b) { return {vandq_s32(a.raw, b.raw)}; }
inline Int Or(Int a, Int b) { return {vorrq_s32(a.raw, b.raw)}; }
template <int kBits> Int ShiftLeft(Int a) { return {vshlq_n_s32(a.raw, kBits)}; }
template <int kBits> Int ShiftRight(Int a)
{
    return {vreinterpretq_s32_u32(vshrq_n_u32(vreinterpretq_u32_s32(a.raw), kBits))};
}
inline Mask Eq(Int a, Int b) { return {vreinterpretq_s32_u32(vceqq_s32(a.raw, b.raw))}; }
inline Mask Gt(Int a, Int b) { return {vreinterpretq_s32_u32(vcgtq_s32(a.raw, b.raw))}; }
inline Int MulAddPairs(Int a, Int b)
{
    const int16x8_t a16 = vreinterpretq_s16_s32(a.raw), b16 = vreinterpretq_s16_s32(b.raw);
    const int32x4_t low = vmull_s16(vget_low_s16(a16), vget_low_s16(b16));
    const int32x4_t high = vmull_high_s16(a16, b16);
    return {vpaddq_s32(low, high)};
}

inline Float ToFloat(Int a) { return {vcvtq_f32_s32(a.raw)}; }
inline Int Truncate(Float a) { return {vcvtq_s32_f32(a.raw)}; }

inline Float IfThenElse(Mask m, Float yes, Float no)
{
    return {vbslq_f32(vreinterpretq_u32_s32(m.raw), yes.raw, no.raw)};
}
inline Int IfThenElse(Mask m, Int yes, Int no) { return {vbslq_s32(vreinterpretq_u32_s32(m.raw), yes.raw, no.raw)}; }
inline Int IfThenElseZero(Mask m, Int yes) { return {vandq_s32(m.raw, yes.raw)}; }
inline Mask And(Mask a, Mask b) { return {vandq_s32(a.raw, b.raw)}; }
inline Mask Or(Mask a, Mask b) { return {vorrq_s32(a.raw, b.raw)}; }
inline Mask Not(Mask a) { return {vmvnq_s32(a.raw)}; }
inline unsigned LaneBits(Mask m)
{
    static constexpr std::uint32_t kBit[4] = {1, 2, 4, 8};
    return vaddvq_u32(vandq_u32(vreinterpretq_u32_s32(m.raw), vld1q_u32(kBit)));
}

inline Int LoadU(Tag, const std::uint16_t* p) { return {vreinterpretq_s32_u16(vld1q_u16(p))}; }
inline void StoreU(Int v, std::uint16_t* p) { vst1q_u16(p, vreinterpretq_u16_s32(v.raw)); }
inline Int LoadBlocks(Tag d, const std::uint16_t* const (&blocks)[Tag::kBlocks]) { return LoadU(d, blocks[0]); }
inline void StoreBlocks(Int v, std::uint16_t* const (&blocks)[Tag::kBlocks]) { StoreU(v, blocks[0]); }
inline Int InterleaveLowerBytes(Int a, Int b)
{
    return {vreinterpretq_s32_u8(vzip1q_u8(vreinterpretq_u8_s32(a.raw), vreinterpretq_u8_s32(b.raw)))};
}
inline Int InterleaveUpperBytes(Int a, Int b)
{
    return {vreinterpretq_s32_u8(vzip2q_u8(vreinterpretq_u8_s32(a.raw), vreinterpretq_u8_s32(b.raw)))};
}
inline Int WidenLowerBytes(Int a) { return {vreinterpretq_s32_u16(vmovl_u8(vget_low_u8(vreinterpretq_u8_s32(a.raw))))}; }
inline Int WidenUpperBytes(Int a) { return {vreinterpretq_s32_u16(vmovl_high_u8(vreinterpretq_u8_s32(a.raw)))}; }
inline Int ZipHalves16(Int a)
{
    const int16x8_t v = vreinterpretq_s16_s32(a.raw);
    return {vreinterpretq_s32_s16(vzip1q_s16(v, vextq_s16(v, v, 4)))};
}
template <int kBits> Int ShiftRightSigned(Int a) { return {vshrq_n_s32(a.raw, kBits)}; }
inline Int PackSigned16(Int a, Int b) { return {vreinterpretq_s32_s16(vcombine_s16(vqmovn_s32(a.raw), vqmovn_s32(b.raw)))}; }
inline Int PackUnsigned8(Int a, Int b)
{
    return {vreinterpretq_s32_u8(vcombine_u8(vqmovun_s16(vreinterpretq_s16_s32(a.raw)), vqmovun_s16(vreinterpretq_s16_s32(b.raw))))};
}

inline Int GatherInts(Tag, const std::int32_t* table, Int index)
{
    const std::int32_t k[4] = {table[vgetq_lane_s32(index.raw, 0)], table[vgetq_lane_s32(index.raw, 1)],
                               table[vgetq_lane_s32(index.raw, 2)], table[vgetq_lane_s32(index.raw, 3)]};
    return {vld1q_s32(k)};
}
#endif

// ---- The same on every backend --------------------------------------------------------------
inline Float Zero(Tag d) { return Set(d, 0.0f); }
inline Mask AllLanes(Tag d) { return Eq(SetInt(d, 0), SetInt(d, 0)); }
inline bool AnyTrue(Mask m) { return LaneBits(m) != 0; }
inline bool AllTrue(Mask m) { return LaneBits(m) == 0xFu; }

} // namespace veldmark::vec4
#endif
