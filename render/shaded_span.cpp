#include "render/shaded_span.h"

#include "render/shaded_pixel.h"
#include "render/simd/simd_paths.h"

namespace veldmark {
namespace {


RampChannels MakeRampChannels(std::uint32_t a, std::uint32_t b)
{
    RampChannels ramp;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t ca = (a >> (8 * k)) & 0xFFu;
        const std::uint32_t cb = (b >> (8 * k)) & 0xFFu;
        ramp.from[k] = static_cast<float>(ca);
        ramp.difference[k] = static_cast<float>(cb) - static_cast<float>(ca);
        ramp.a[k] = static_cast<std::int32_t>(ca);
        ramp.b[k] = static_cast<std::int32_t>(cb);
    }
    return ramp;
}

} // namespace

const ShadedSpanForms kShadedSpanScalar{ShadeSpanOneByOne<ShadeKind::kBand>, ShadeSpanOneByOne<ShadeKind::kRadial>,
                                        ShadeSpanOneByOne<ShadeKind::kLinear>, ShadeSpanOneByOne<ShadeKind::kElliptic>};

void BlendSpan(std::uint32_t* row, IndexRange span, float, const SpanShader& shader)
{
    for (int j = span.first; j <= span.last; ++j) row[j] = Blend(row[j], shader.record.colour_a);
}

SpanShader MakeSpanShader(const ShadeRecord& record, const ViewTransform& view)
{
    SpanShader shader;
    shader.record = record;
    shader.view = view;
    shader.dx = record.p1.x - record.p0.x;
    shader.dy = record.p1.y - record.p0.y;
    shader.q = shader.dx * shader.dx + shader.dy * shader.dy;
    shader.ramp = MakeRampChannels(record.colour_a, record.colour_b);
    shader.reversed_ramp = MakeRampChannels(record.colour_b, record.colour_a);
    return shader;
}

ShadedSpanFn ShadedSpanFunction(ShadeKind kind, SimdLevel level)
{
    const ShadedSpanForms& forms = *PathFor(SimdPaths<const ShadedSpanForms*>{
        &kShadedSpanScalar, VELDMARK_IF_VEC4(&kShadedSpanVec4), VELDMARK_IF_VEC8(&kShadedSpanVec8)}, level);
    switch (kind) {
    case ShadeKind::kBand: return forms.band;
    case ShadeKind::kRadial: return forms.radial;
    case ShadeKind::kLinear: return forms.linear;
    case ShadeKind::kElliptic: return forms.elliptic;
    case ShadeKind::kFlat:
    case ShadeKind::kBlend: break;
    }
    return BlendSpan;
}

} // namespace veldmark
