#include "render/shaded_span.h"

#include "render/pixel_colour.h"

namespace veldmark {
namespace {

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
void ShadeSpanOneByOne(std::uint32_t* row, int first, int last, float row_centre, const SpanShader& shader)
{
    for (int j = first; j <= last; ++j)
        row[j] = ShadePixel<kKind>(shader.record, row[j], PixelCentreToLogical(shader.view, j, row_centre));
}

void BlendSpan(std::uint32_t* row, IndexRange span, float, const SpanShader& shader)
{
    // One colour over whatever is there: the position plays no part.
    for (int j = span.first; j <= span.last; ++j) row[j] = Blend(row[j], shader.record.colour_a);
}

template <ShadeKind kKind>
void ShadeSpanSse2(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader)
{
    int j = span.first;
#if defined(__SSE2__)
    const ShadeRecord& r = shader.record;
    // Four pixels at a time: positions, t, the ramp fraction and the colours in vectors.
    for (; j + 3 <= span.last; j += 4) {
        const Quad p = QuadPositions(shader.view, j, row_centre);
        if constexpr (kKind == ShadeKind::kBand) {
            StoreBand4(row + j, shader.colours, shader.reversed, BandT4(r, p));
        } else if constexpr (kKind == ShadeKind::kRadial) {
            const __m128 t = RadialT4(r, p);
            BlendRamp4(row + j, shader.colours, _mm_castps_si128(_mm_cmple_ps(t, _mm_setzero_ps())),
                       _mm_castps_si128(_mm_cmpge_ps(t, _mm_set1_ps(1.0f))), t);
        } else {
            const __m128 t = kKind == ShadeKind::kLinear ? LinearT4(r, p, shader.dx, shader.dy, shader.q)
                                                         : EllipticT4(r, p);
            const __m128i take_b = r.start >= r.end ? _mm_set1_epi32(-1)
                                                    : _mm_castps_si128(_mm_cmpge_ps(t, _mm_set1_ps(r.end)));
            BlendRamp4(row + j, shader.colours, _mm_castps_si128(_mm_cmple_ps(t, _mm_set1_ps(r.start))),
                       take_b, RampFraction4(t, r.start, r.end));
        }
    }
#endif
    ShadeSpanOneByOne<kKind>(row, j, span.last, row_centre, shader);
}

} // namespace

SpanShader MakeSpanShader(const ShadeRecord& record, const ViewTransform& view)
{
    SpanShader shader;
    shader.record = record;
    shader.view = view;
    shader.dx = record.p1.x - record.p0.x;
    shader.dy = record.p1.y - record.p0.y;
    shader.q = shader.dx * shader.dx + shader.dy * shader.dy;
#if defined(__SSE2__)
    shader.colours = MakeRampColours(record.colour_a, record.colour_b);
    shader.reversed = MakeRampColours(record.colour_b, record.colour_a);
#endif
    return shader;
}

ShadedSpanFn ShadedSpanFunction(ShadeKind kind, SimdLevel)
{
    switch (kind) {
    case ShadeKind::kFlat:
    case ShadeKind::kBlend: return BlendSpan;
    case ShadeKind::kBand: return ShadeSpanSse2<ShadeKind::kBand>;
    case ShadeKind::kRadial: return ShadeSpanSse2<ShadeKind::kRadial>;
    case ShadeKind::kLinear: return ShadeSpanSse2<ShadeKind::kLinear>;
    case ShadeKind::kElliptic: break;
    }
    return ShadeSpanSse2<ShadeKind::kElliptic>;
}

} // namespace veldmark
