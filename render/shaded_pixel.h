#pragma once
// The one-pixel form of the shaded spans: what every wider form is held to, and what it does
// with the pixels a span has left over.
#include <cstdint>

#include "render/pixel_colour.h"
#include "render/shaded_span.h"

namespace veldmark {

// The colour of one shaded pixel at logical position p. One template instance per kind, so
// inner loops carry no switch.
template <ShadeKind kKind>
std::uint32_t ShadePixel(const ShadeRecord& r, std::uint32_t pixel, Vec2 p)
{
    if constexpr (kKind == ShadeKind::kBand) {
        return BandColourAt(r, BandT(r, p));
    } else if constexpr (kKind == ShadeKind::kRadial) {
        return Blend(pixel, MixUnit(r.colour_a, r.colour_b, RadialT(r, p)));
    } else if constexpr (kKind == ShadeKind::kLinear) {
        return Blend(pixel, Mix(r.colour_a, r.colour_b, LinearT(r, p), r.start, r.end));
    } else {
        return Blend(pixel, Mix(r.colour_a, r.colour_b, EllipticT(r, p), r.start, r.end));
    }
}

template <ShadeKind kKind>
void ShadeSpanOneByOne(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader)
{
    for (int j = span.first; j <= span.last; ++j)
        row[j] = ShadePixel<kKind>(shader.record, row[j], PixelCentreToLogical(shader.view, j, row_centre));
}

// Blend: one colour over whatever is there, the position playing no part.
void BlendSpan(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader);

} // namespace veldmark
