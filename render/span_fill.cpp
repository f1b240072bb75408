#include "render/span_fill.h"

#if defined(VELDMARK_AVX2_PATHS)
#include <immintrin.h>
#endif

namespace veldmark {
namespace {

void FillSpanSse2(std::uint32_t* out, std::size_t count, std::uint32_t value) { FillSpan(out, count, value); }

#if defined(VELDMARK_AVX2_PATHS)
VELDMARK_TARGET_AVX2 void FillSpanAvx2(std::uint32_t* out, std::size_t count, std::uint32_t value)
{
    if (count < 16) {
        FillSpan(out, count, value);
        return;
    }
    const __m256i v = _mm256_set1_epi32(static_cast<int>(value));
    // As FillSpan: an unaligned head, aligned stores from the next 32-byte boundary, and an
    // unaligned tail that ends exactly at the span's end.
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
    const std::size_t head = (32 - (reinterpret_cast<std::uintptr_t>(out) & 31)) / 4 & 7;
    std::uint32_t* p = out + head;
    std::uint32_t* const end = out + count;
    for (; end - p >= 16; p += 16) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
        _mm256_store_si256(reinterpret_cast<__m256i*>(p + 8), v);
    }
    if (end - p >= 8) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(p), v);
        p += 8;
    }
    if (p != end) _mm256_storeu_si256(reinterpret_cast<__m256i*>(end - 8), v);
}
#endif

} // namespace

SpanFillFn SpanFillFunction(SimdLevel level)
{
#if defined(VELDMARK_AVX2_PATHS)
    if (level >= SimdLevel::Avx2) return FillSpanAvx2;
#else
    (void)level;
#endif
    return FillSpanSse2;
}

} // namespace veldmark
