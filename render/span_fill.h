#pragma once
// Filling a run of pixels with one value: the common case of the whole rasteriser (flat
// polygons are most of a frame). A plain run-time-length loop stays scalar under -O2, so the
// fill is written with 16-byte stores, eight pixels a step; the AVX2 path uses 32-byte stores.
// Elsewhere the same shape falls back to 32-bit stores.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/simd_level.h"

namespace veldmark {

inline void FillSpan(std::uint32_t* out, std::size_t count, std::uint32_t value)
{
#if defined(__SSE2__)
    if (count >= 8) {
        const __m128i v = _mm_set1_epi32(static_cast<int>(value));
        // One unaligned store covers the head; then aligned stores from the next 16-byte boundary.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
        const std::size_t head =
            (16 - (reinterpret_cast<std::uintptr_t>(out) & 15)) / 4 & 3;
        std::uint32_t* p = out + head;
        std::uint32_t* const end = out + count;
        for (; end - p >= 8; p += 8) {
            _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
            _mm_store_si128(reinterpret_cast<__m128i*>(p + 4), v);
        }
        if (end - p >= 4) {
            _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
            p += 4;
        }
        // The tail: one unaligned store ending exactly at the span's end (count >= 8, so it
        // stays inside the span).
        if (p != end) _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), v);
        return;
    }
#endif
    for (std::size_t k = 0; k < count; ++k) out[k] = value;
}

using SpanFillFn = void (*)(std::uint32_t* out, std::size_t count, std::uint32_t value);

// FillSpan, or the same with 32-byte stores on the AVX2 path.
SpanFillFn SpanFillFunction(SimdLevel level);

} // namespace veldmark
