#include "render/span_fill.h"

#include "render/simd/simd_paths.h"

namespace veldmark {
namespace {

void FillSpanOneByOne(std::uint32_t* out, std::size_t count, std::uint32_t value)
{
    for (std::size_t k = 0; k < count; ++k) out[k] = value;
}

} // namespace

const SpanFillForms kSpanFillScalar{FillSpanOneByOne};

SpanFillFn SpanFillFunction(SimdLevel level)
{
    return PathFor(SimdPaths<const SpanFillForms*>{&kSpanFillScalar, VELDMARK_IF_VEC4(&kSpanFillVec4),
                                                    VELDMARK_IF_VEC8(&kSpanFillVec8)},
                   level)
        ->fill;
}

void FillSpan(std::uint32_t* out, std::size_t count, std::uint32_t value)
{
    SpanFillFunction(ActiveSimdLevel())(out, count, value);
}

} // namespace veldmark
