#pragma once
// What every kernel does with lanes, written once over any vector set's Tag (vec4.h, vec8.h):
// where a row's pixels are in the logical screen, the clamps, a pixel's channels taken apart and
// put together, and the rounding of a channel. Each is the one-pixel code's own sequence of
// operations, lane by lane, so its lanes equal what the one-pixel code gives.
//
// Templates only, and no includes: kernels_vec4.cpp and kernels_vec8.cpp include what these
// need (render/raster_target.h) first, so that nothing but these templates is compiled inside
// the eight-lane target region.

namespace veldmark {

template <class D>
struct Positions {
    typename D::Float x;
    typename D::Float y;
};

// The logical positions of the centres of neighbouring pixels of one row, turned back by the
// view: PixelCentreToLogical's operations, with what depends on the row alone worked out once.
template <class D>
class RowPositions {
public:
    using Float = typename D::Float;

    RowPositions(D d, const ViewTransform& view, float row_centre)
        : d_(d), rolled_(view.sin_r != 0.0f), cos_r_(Set(d, view.cos_r)), sin_r_(Set(d, view.sin_r)),
          lanes_(Iota(d)), half_(Set(d, 0.5f)), inverse_scale_(Set(d, kViewInverseScale)),
          centre_x_(Set(d, kViewCentreX)), centre_y_(Set(d, kViewCentreY))
    {
        const float py = row_centre * kViewInverseScale;
        const float ly = py - kViewCentreY;
        row_y_ = Set(d, py);
        ly_sin_ = Set(d, ly * view.sin_r);
        ly_cos_ = Set(d, ly * view.cos_r);
    }

    // Pixels column .. column + kLanes - 1.
    Positions<D> At(int column) const
    {
        const Float px = Mul(Add(Add(Set(d_, static_cast<float>(column)), lanes_), half_), inverse_scale_);
        if (!rolled_) return {px, row_y_};
        const Float lx = Sub(px, centre_x_);
        return {Sub(Add(centre_x_, Mul(lx, cos_r_)), ly_sin_), Add(Add(centre_y_, Mul(lx, sin_r_)), ly_cos_)};
    }

private:
    D d_;
    bool rolled_;
    Float cos_r_, sin_r_, lanes_, half_, inverse_scale_, centre_x_, centre_y_;
    Float row_y_, ly_sin_, ly_cos_;
};

// ClampUnit: t within 0..1, NaN as 0 (Max gives its second operand for NaN).
template <class D>
typename D::Float ClampUnit(D d, typename D::Float t)
{
    return Min(Max(t, Zero(d)), Set(d, 1.0f));
}

// Channel k (bits 8k .. 8k + 7) of each pixel.
template <int kChannel, class D>
typename D::Int Channel(D d, typename D::Int pixels)
{
    return And(ShiftRight<8 * kChannel>(pixels), SetInt(d, 0xFF));
}

template <int kChannel, class D>
typename D::Float ChannelAsFloat(D d, typename D::Int pixels)
{
    return ToFloat(Channel<kChannel>(d, pixels));
}

// Channel k placed back at bits 8k .. 8k + 7 (its value within 0..255).
template <int kChannel, class Int>
Int AtChannel(Int value)
{
    return ShiftLeft<8 * kChannel>(value);
}

// Blue, green and red put together into pixels (top byte 0).
template <class Int>
Int PackChannels(Int blue, Int green, Int red)
{
    return Or(Or(blue, AtChannel<1>(green)), AtChannel<2>(red));
}

// The conversion of a channel value: add one half, then truncate. The value must lie within the
// int32 range (every caller's is within 0..256).
template <class D>
typename D::Int RoundHalfUp(D d, typename D::Float value)
{
    return Truncate(Add(value, Set(d, 0.5f)));
}

// Channel of a ramp from `from` by `difference` times f, as Lerp does it:
// truncate(from + difference f + 0.5).
template <class D>
typename D::Int LerpChannel(D d, typename D::Float from, typename D::Float difference, typename D::Float f)
{
    return RoundHalfUp(d, Add(from, Mul(difference, f)));
}

// Channel k of each pixel blended towards `share` (the colour's channel already times its
// opacity), keeping `keep` (one minus the opacity) of it: truncate(p keep + share + 0.5).
template <int kChannel, class D>
typename D::Int BlendChannel(D d, typename D::Int pixels, typename D::Float keep, typename D::Float share)
{
    return RoundHalfUp(d, Add(Mul(ChannelAsFloat<kChannel>(d, pixels), keep), share));
}

} // namespace veldmark
