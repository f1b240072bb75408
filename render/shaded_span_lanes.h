#pragma once
// The shaded spans as many pixels at a time as the vector set has lanes: each pixel's position,
// its gradient parameter t, the ramp's colour and the blend, every step the one-pixel code's
// (shaded_pixel.h) in the same order, so the lanes give its bits. The pixels a span has left
// over go through the one-pixel code.
//
// Templates only, and no includes (see render/simd/lanes.h): kernels_vec4.cpp and
// kernels_vec8.cpp include render/shaded_pixel.h and the vector sets first.

namespace veldmark {

// A ramp's colours channel by channel in lanes (channel k is bits 8k .. 8k + 7).
template <class D>
struct RampLanes {
    typename D::Float from[4];
    typename D::Float difference[4];
    typename D::Int a[4];
    typename D::Int b[4];

    RampLanes(D d, const RampChannels& c)
    {
        for (int k = 0; k < 4; ++k) {
            from[k] = Set(d, c.from[k]);
            difference[k] = Set(d, c.difference[k]);
            a[k] = SetInt(d, c.a[k]);
            b[k] = SetInt(d, c.b[k]);
        }
    }
};

template <class D>
typename D::Float BandT(D d, const ShadeRecord& r, const Positions<D>& p)
{
    return ClampUnit(d, Div(Sub(p.x, Set(d, r.min_x)), Set(d, r.max_x - r.min_x)));
}

template <class D>
typename D::Float RadialT(D d, const ShadeRecord& r, const Positions<D>& p)
{
    const auto dx = Sub(p.x, Set(d, r.centre.x));
    const auto dy = Sub(p.y, Set(d, r.centre.y));
    return ClampUnit(d, Div(Sqrt(Add(Mul(dx, dx), Mul(dy, dy))), Set(d, r.radius)));
}

template <class D>
typename D::Float LinearT(D d, const SpanShader& s, const Positions<D>& p)
{
    const ShadeRecord& r = s.record;
    if (s.q < kMinSegmentLengthSquared) return Zero(d);
    const auto along = Add(Mul(Sub(p.x, Set(d, r.p0.x)), Set(d, s.dx)), Mul(Sub(p.y, Set(d, r.p0.y)), Set(d, s.dy)));
    return ClampUnit(d, Div(along, Set(d, s.q)));
}

template <class D>
typename D::Float EllipticT(D d, const ShadeRecord& r, const Positions<D>& p)
{
    const auto qx = Sub(p.x, Set(d, r.centre.x));
    const auto qy = Sub(p.y, Set(d, r.centre.y));
    const auto det = Set(d, r.determinant);
    const auto u = Div(Sub(Mul(Set(d, r.v.y), qx), Mul(Set(d, r.v.x), qy)), det);
    const auto v = Div(Sub(Mul(Set(d, r.u.x), qy), Mul(Set(d, r.u.y), qx)), det);
    return ClampUnit(d, Sqrt(Add(Mul(u, u), Mul(v, v))));
}

// Channel k of Band: Lerp(dark, light, 2t) below the middle, Lerp(light, dark, 2(t - 0.5))
// from it on.
template <int kChannel, class D>
typename D::Int BandChannel(D d, const RampLanes<D>& dark_to_light, const RampLanes<D>& light_to_dark,
                            typename D::Mask lower, typename D::Float f_lower, typename D::Float f_upper)
{
    return IfThenElse(lower, LerpChannel(d, dark_to_light.from[kChannel], dark_to_light.difference[kChannel], f_lower),
                      LerpChannel(d, light_to_dark.from[kChannel], light_to_dark.difference[kChannel], f_upper));
}

// One half of the Band ramp for every lane: Lerp(from, to, f), channels 0 to 2.
template <class D>
typename D::Int BandHalf(D d, const RampLanes<D>& ramp, typename D::Float f)
{
    return PackChannels(LerpChannel(d, ramp.from[0], ramp.difference[0], f), LerpChannel(d, ramp.from[1], ramp.difference[1], f),
                        LerpChannel(d, ramp.from[2], ramp.difference[2], f));
}

// BandColourAt of every lane: opaque, top byte 0. Along a span t grows, so most vectors lie
// wholly in one half of the ramp and need only that half's lerps.
template <class D>
typename D::Int BandColours(D d, const RampLanes<D>& dark_to_light, const RampLanes<D>& light_to_dark,
                            typename D::Float t)
{
    const auto lower = Lt(t, Set(d, 0.5f));
    const unsigned lower_lanes = LaneBits(lower);
    if (lower_lanes == (1u << D::kLanes) - 1) return BandHalf(d, dark_to_light, Mul(Set(d, 2.0f), t));
    const auto f_upper = Mul(Set(d, 2.0f), Sub(t, Set(d, 0.5f)));
    if (lower_lanes == 0) return BandHalf(d, light_to_dark, f_upper);
    const auto f_lower = Mul(Set(d, 2.0f), t);
    return PackChannels(BandChannel<0>(d, dark_to_light, light_to_dark, lower, f_lower, f_upper),
                        BandChannel<1>(d, dark_to_light, light_to_dark, lower, f_lower, f_upper),
                        BandChannel<2>(d, dark_to_light, light_to_dark, lower, f_lower, f_upper));
}

// A ramp's colour for every lane (A where `take_a`, else B where `take_b`, else Lerp(A, B, f))
// blended over the pixels at `out` by its own opacity; pixels whose colour has opacity 0 are
// left as they are, top byte included.
template <class D>
void BlendRamp(D d, std::uint32_t* out, const RampLanes<D>& c, typename D::Mask take_a, typename D::Mask take_b,
               typename D::Float f)
{
    typename D::Int channel[4];
    for (int k = 0; k < 4; ++k)
        channel[k] = IfThenElse(take_a, c.a[k], IfThenElse(take_b, c.b[k], LerpChannel(d, c.from[k], c.difference[k], f)));
    // byte / 255 divided lane by lane: the quotients the one-pixel table holds.
    const auto alpha = Div(ToFloat(channel[3]), Set(d, 255.0f));
    const auto keep = Sub(Set(d, 1.0f), alpha);
    const auto pixels = LoadU(d, out);
    const auto blended = PackChannels(BlendChannel<0>(d, pixels, keep, Mul(ToFloat(channel[0]), alpha)),
                                      BlendChannel<1>(d, pixels, keep, Mul(ToFloat(channel[1]), alpha)),
                                      BlendChannel<2>(d, pixels, keep, Mul(ToFloat(channel[2]), alpha)));
    StoreU(IfThenElse(Le(alpha, Zero(d)), pixels, blended), out);
}

template <class D, ShadeKind kKind>
void ShadeSpanLanes(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader)
{
    const D d;
    const ShadeRecord& r = shader.record;
    const RowPositions<D> positions(d, shader.view, row_centre);
    const RampLanes<D> ramp(d, shader.ramp);
    int j = span.first;
    if constexpr (kKind == ShadeKind::kBand) {
        const RampLanes<D> reversed(d, shader.reversed_ramp);
        for (; j + D::kLanes - 1 <= span.last; j += D::kLanes)
            StoreU(BandColours(d, ramp, reversed, BandT(d, r, positions.At(j))), row + j);
    } else if constexpr (kKind == ShadeKind::kRadial) {
        for (; j + D::kLanes - 1 <= span.last; j += D::kLanes) {
            const auto t = RadialT(d, r, positions.At(j));
            BlendRamp(d, row + j, ramp, Le(t, Zero(d)), Ge(t, Set(d, 1.0f)), t);
        }
    } else {
        for (; j + D::kLanes - 1 <= span.last; j += D::kLanes) {
            const Positions<D> p = positions.At(j);
            typename D::Float t;
            if constexpr (kKind == ShadeKind::kLinear) t = LinearT(d, shader, p);
            else t = EllipticT(d, r, p);
            const auto take_b = r.start >= r.end ? AllLanes(d) : Ge(t, Set(d, r.end));
            const auto fraction = Div(Sub(t, Set(d, r.start)), Set(d, r.end - r.start));
            BlendRamp(d, row + j, ramp, Le(t, Set(d, r.start)), take_b, fraction);
        }
    }
    ShadeSpanOneByOne<kKind>(row, IndexRange{j, span.last}, row_centre, shader);
}

// Every kind's form at this width. Evaluated when compiled (taking a kernel's address runs none
// of it), so the tables are safe to build on a processor that lacks the width.
template <class D>
constexpr ShadedSpanForms ShadedSpanFormsOf()
{
    return {ShadeSpanLanes<D, ShadeKind::kBand>, ShadeSpanLanes<D, ShadeKind::kRadial>,
            ShadeSpanLanes<D, ShadeKind::kLinear>, ShadeSpanLanes<D, ShadeKind::kElliptic>};
}

} // namespace veldmark
