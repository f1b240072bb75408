#include "render/shaded_span.h"

#include "render/pixel_colour.h"

#if defined(VELDMARK_AVX2_PATHS)
#include <immintrin.h>
#endif

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

#if defined(VELDMARK_AVX2_PATHS)
// The four-pixel helpers of pixel_quad.h for eight pixels, with the same operations lane by lane.
// (Lambdas would not take the target attribute, so there are none here.)
struct Octet {
    __m256 x;
    __m256 y;
};

VELDMARK_TARGET_AVX2 inline Octet OctetPositions(const ViewTransform& view, int column, float row_centre)
{
    const __m256 columns = _mm256_cvtepi32_ps(_mm256_add_epi32(_mm256_set1_epi32(column), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    const __m256 px = _mm256_mul_ps(_mm256_add_ps(columns, _mm256_set1_ps(0.5f)), _mm256_set1_ps(kViewInverseScale));
    const float py = row_centre * kViewInverseScale;
    if (view.sin_r == 0.0f) return Octet{px, _mm256_set1_ps(py)};
    const __m256 lx = _mm256_sub_ps(px, _mm256_set1_ps(kViewCentreX));
    const float ly = py - kViewCentreY;
    return Octet{_mm256_sub_ps(_mm256_add_ps(_mm256_set1_ps(kViewCentreX), _mm256_mul_ps(lx, _mm256_set1_ps(view.cos_r))), _mm256_set1_ps(ly * view.sin_r)),
                 _mm256_add_ps(_mm256_add_ps(_mm256_set1_ps(kViewCentreY), _mm256_mul_ps(lx, _mm256_set1_ps(view.sin_r))), _mm256_set1_ps(ly * view.cos_r))};
}

VELDMARK_TARGET_AVX2 inline __m256 ClampUnit8(__m256 t)   // NaN becomes 0, as maxps gives
{
    return _mm256_min_ps(_mm256_max_ps(t, _mm256_setzero_ps()), _mm256_set1_ps(1.0f));
}

template <ShadeKind kKind>
VELDMARK_TARGET_AVX2 inline __m256 RampT8(const SpanShader& shader, Octet p)
{
    const ShadeRecord& r = shader.record;
    if constexpr (kKind == ShadeKind::kBand) {
        return ClampUnit8(_mm256_div_ps(_mm256_sub_ps(p.x, _mm256_set1_ps(r.min_x)), _mm256_set1_ps(r.max_x - r.min_x)));
    } else if constexpr (kKind == ShadeKind::kRadial) {
        const __m256 dx = _mm256_sub_ps(p.x, _mm256_set1_ps(r.centre.x));
        const __m256 dy = _mm256_sub_ps(p.y, _mm256_set1_ps(r.centre.y));
        const __m256 distance = _mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy)));
        return ClampUnit8(_mm256_div_ps(distance, _mm256_set1_ps(r.radius)));
    } else if constexpr (kKind == ShadeKind::kLinear) {
        if (shader.q < kMinSegmentLengthSquared) return _mm256_setzero_ps();
        const __m256 along = _mm256_add_ps(_mm256_mul_ps(_mm256_sub_ps(p.x, _mm256_set1_ps(r.p0.x)), _mm256_set1_ps(shader.dx)),
                                           _mm256_mul_ps(_mm256_sub_ps(p.y, _mm256_set1_ps(r.p0.y)), _mm256_set1_ps(shader.dy)));
        return ClampUnit8(_mm256_div_ps(along, _mm256_set1_ps(shader.q)));
    } else {
        const __m256 qx = _mm256_sub_ps(p.x, _mm256_set1_ps(r.centre.x));
        const __m256 qy = _mm256_sub_ps(p.y, _mm256_set1_ps(r.centre.y));
        const __m256 det = _mm256_set1_ps(r.determinant);
        const __m256 u = _mm256_div_ps(_mm256_sub_ps(_mm256_mul_ps(_mm256_set1_ps(r.v.y), qx), _mm256_mul_ps(_mm256_set1_ps(r.v.x), qy)), det);
        const __m256 v = _mm256_div_ps(_mm256_sub_ps(_mm256_mul_ps(_mm256_set1_ps(r.u.x), qy), _mm256_mul_ps(_mm256_set1_ps(r.u.y), qx)), det);
        return ClampUnit8(_mm256_sqrt_ps(_mm256_add_ps(_mm256_mul_ps(u, u), _mm256_mul_ps(v, v))));
    }
}

// Channel k of Lerp for eight pixels: truncate(from + difference f + 0.5).
VELDMARK_TARGET_AVX2 inline __m256i LerpChannel8(const RampChannels& c, int k, __m256 f)
{
    return _mm256_cvttps_epi32(_mm256_add_ps(_mm256_add_ps(_mm256_set1_ps(c.from[k]), _mm256_mul_ps(_mm256_set1_ps(c.difference[k]), f)),
                                             _mm256_set1_ps(0.5f)));
}

VELDMARK_TARGET_AVX2 inline __m256i ShiftChannel8(__m256i channel, int k)
{
    return _mm256_sll_epi32(channel, _mm_cvtsi32_si128(8 * k));
}

// StoreBand4 for eight pixels.
VELDMARK_TARGET_AVX2 inline void StoreBand8(std::uint32_t* out, const SpanShader& shader, __m256 t)
{
    const __m256 two = _mm256_set1_ps(2.0f);
    const __m256i lower = _mm256_castps_si256(_mm256_cmp_ps(t, _mm256_set1_ps(0.5f), _CMP_LT_OS));
    const __m256 f_lower = _mm256_mul_ps(two, t);
    const __m256 f_upper = _mm256_mul_ps(two, _mm256_sub_ps(t, _mm256_set1_ps(0.5f)));
    __m256i colour = _mm256_setzero_si256();
    for (int k = 0; k < 3; ++k) {
        const __m256i channel = _mm256_blendv_epi8(LerpChannel8(shader.reversed_ramp, k, f_upper), LerpChannel8(shader.ramp, k, f_lower), lower);
        colour = _mm256_or_si256(colour, ShiftChannel8(channel, k));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), colour);
}

// BlendRamp4 for eight pixels.
VELDMARK_TARGET_AVX2 inline void BlendRamp8(std::uint32_t* out, const RampChannels& c, __m256i take_a, __m256i take_b, __m256 f)
{
    __m256i channel[4];
    for (int k = 0; k < 4; ++k)
        channel[k] = _mm256_blendv_epi8(_mm256_blendv_epi8(LerpChannel8(c, k, f), _mm256_set1_epi32(c.b[k]), take_b),
                                        _mm256_set1_epi32(c.a[k]), take_a);
    const __m256 alpha = _mm256_div_ps(_mm256_cvtepi32_ps(channel[3]), _mm256_set1_ps(255.0f));
    const __m256 keep = _mm256_sub_ps(_mm256_set1_ps(1.0f), alpha);
    const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
    __m256i blended = _mm256_setzero_si256();
    for (int k = 0; k < 3; ++k) {
        const __m256 p = _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srl_epi32(pixels, _mm_cvtsi32_si128(8 * k)), _mm256_set1_epi32(0xFF)));
        const __m256 v = _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(p, keep), _mm256_mul_ps(_mm256_cvtepi32_ps(channel[k]), alpha)),
                                       _mm256_set1_ps(0.5f));
        blended = _mm256_or_si256(blended, ShiftChannel8(_mm256_cvttps_epi32(v), k));
    }
    const __m256i untouched = _mm256_castps_si256(_mm256_cmp_ps(alpha, _mm256_setzero_ps(), _CMP_LE_OS));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_blendv_epi8(blended, pixels, untouched));
}

template <ShadeKind kKind>
VELDMARK_TARGET_AVX2 void ShadeSpanAvx2(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader)
{
    const ShadeRecord& r = shader.record;
    int j = span.first;
    for (; j + 7 <= span.last; j += 8) {
        const __m256 t = RampT8<kKind>(shader, OctetPositions(shader.view, j, row_centre));
        if constexpr (kKind == ShadeKind::kBand) {
            StoreBand8(row + j, shader, t);
        } else if constexpr (kKind == ShadeKind::kRadial) {
            BlendRamp8(row + j, shader.ramp, _mm256_castps_si256(_mm256_cmp_ps(t, _mm256_setzero_ps(), _CMP_LE_OS)),
                       _mm256_castps_si256(_mm256_cmp_ps(t, _mm256_set1_ps(1.0f), _CMP_GE_OS)), t);
        } else {
            const __m256i take_b = r.start >= r.end ? _mm256_set1_epi32(-1)
                                                    : _mm256_castps_si256(_mm256_cmp_ps(t, _mm256_set1_ps(r.end), _CMP_GE_OS));
            const __m256 fraction = _mm256_div_ps(_mm256_sub_ps(t, _mm256_set1_ps(r.start)), _mm256_set1_ps(r.end - r.start));
            BlendRamp8(row + j, shader.ramp, _mm256_castps_si256(_mm256_cmp_ps(t, _mm256_set1_ps(r.start), _CMP_LE_OS)),
                       take_b, fraction);
        }
    }
    ShadeSpanSse2<kKind>(row, IndexRange{j, span.last}, row_centre, shader);
}
#endif

} // namespace

SpanShader MakeSpanShader(const ShadeRecord& record, const ViewTransform& view)
{
    SpanShader shader;
    shader.record = record;
    shader.view = view;
    shader.dx = record.p1.x - record.p0.x;
    shader.dy = record.p1.y - record.p0.y;
    shader.q = shader.dx * shader.dx + shader.dy * shader.dy;
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t a = (record.colour_a >> (8 * k)) & 0xFFu;
        const std::uint32_t b = (record.colour_b >> (8 * k)) & 0xFFu;
        const float fa = static_cast<float>(a), fb = static_cast<float>(b);
        shader.ramp.from[k] = fa;
        shader.ramp.difference[k] = fb - fa;
        shader.ramp.a[k] = static_cast<std::int32_t>(a);
        shader.ramp.b[k] = static_cast<std::int32_t>(b);
        shader.reversed_ramp.from[k] = fb;
        shader.reversed_ramp.difference[k] = fa - fb;
        shader.reversed_ramp.a[k] = static_cast<std::int32_t>(b);
        shader.reversed_ramp.b[k] = static_cast<std::int32_t>(a);
    }
#if defined(__SSE2__)
    shader.colours = MakeRampColours(record.colour_a, record.colour_b);
    shader.reversed = MakeRampColours(record.colour_b, record.colour_a);
#endif
    return shader;
}

ShadedSpanFn ShadedSpanFunction(ShadeKind kind, SimdLevel level)
{
#if defined(VELDMARK_AVX2_PATHS)
    if (level >= SimdLevel::Avx2) {
        switch (kind) {
        case ShadeKind::kFlat:
        case ShadeKind::kBlend: return BlendSpan;
        case ShadeKind::kBand: return ShadeSpanAvx2<ShadeKind::kBand>;
        case ShadeKind::kRadial: return ShadeSpanAvx2<ShadeKind::kRadial>;
        case ShadeKind::kLinear: return ShadeSpanAvx2<ShadeKind::kLinear>;
        case ShadeKind::kElliptic: return ShadeSpanAvx2<ShadeKind::kElliptic>;
        }
    }
#else
    (void)level;
#endif
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
