#pragma once
// A run of pixels filled with one value, a vector at a time.
//
// Templates only, and no includes (see render/simd/lanes.h).

namespace veldmark {

template <class D>
void FillSpanLanes(std::uint32_t* out, std::size_t count, std::uint32_t value)
{
    constexpr std::size_t kLanes = D::kLanes;
    constexpr std::size_t kBytes = kLanes * sizeof(std::uint32_t);
    if (count < 2 * kLanes) {
        for (std::size_t k = 0; k < count; ++k) out[k] = value;
        return;
    }
    const D d;
    const auto v = SetInt(d, static_cast<std::int32_t>(value));
    // One unaligned store covers the head, then stores from the next vector boundary on, and one
    // unaligned store that ends exactly at the span's end (the span holds two vectors, so it stays
    // inside).
    StoreU(v, out);
    const std::size_t head = (kBytes - (reinterpret_cast<std::uintptr_t>(out) & (kBytes - 1))) / sizeof(std::uint32_t) % kLanes;
    std::uint32_t* p = out + head;
    std::uint32_t* const end = out + count;
    for (; static_cast<std::size_t>(end - p) >= 2 * kLanes; p += 2 * kLanes) {
        StoreU(v, p);
        StoreU(v, p + kLanes);
    }
    if (static_cast<std::size_t>(end - p) >= kLanes) {
        StoreU(v, p);
        p += kLanes;
    }
    if (p != end) StoreU(v, end - kLanes);
}

template <class D>
constexpr SpanFillForms SpanFillFormsOf()
{
    return {FillSpanLanes<D>};
}

} // namespace veldmark
