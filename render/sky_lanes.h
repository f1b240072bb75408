#pragma once
// The rolled sky as many pixels at a time as the vector set has lanes: SkyColourAt's operations
// lane by lane, on a stretch of a row whose heights are v + i dv exactly (ExactSkyStretch), so
// that no lane waits for its neighbour's addition.
//
// Templates only, and no includes (see render/simd/lanes.h): kernels_vec4.cpp and
// kernels_vec8.cpp include render/background.h and the vector sets first.

namespace veldmark {

template <class D>
struct SkyLanes {
    typename D::Float from[3];         // zenith channels: red, green, blue
    typename D::Float difference[3];   // horizon minus zenith, as whole numbers
    typename D::Int zenith;
    typename D::Int ground;

    SkyLanes(D d, std::uint32_t zenith_colour, std::uint32_t horizon_colour)
        : zenith(SetInt(d, static_cast<std::int32_t>(zenith_colour & 0xFFFFFFu))),
          ground(SetInt(d, static_cast<std::int32_t>(kGroundColour)))
    {
        for (int c = 0; c < 3; ++c) {
            const int shift = 16 - 8 * c;
            const int z = static_cast<int>((zenith_colour >> shift) & 0xFFu);
            const int h = static_cast<int>((horizon_colour >> shift) & 0xFFu);
            from[c] = Set(d, static_cast<float>(z));
            difference[c] = Set(d, static_cast<float>(h - z));
        }
    }
};

template <class D>
typename D::Int SkyChannelLanes(D d, const SkyLanes<D>& sky, int c, typename D::Float s)
{
    const auto value = Add(Add(sky.from[c], Mul(sky.difference[c], s)), Set(d, 0.5f));
    return Truncate(Min(Max(value, Zero(d)), Set(d, 255.0f)));
}

// SkyColourAt of every lane.
template <class D>
typename D::Int SkyColours(D d, const SkyLanes<D>& sky, typename D::Float v)
{
    const auto is_ground = Ge(v, Set(d, kHorizonY));
    const auto t = Mul(v, Set(d, SkyShape::kInverseHorizon));
    const auto is_zenith = Le(t, Set(d, SkyShape::kFlatShare));
    auto s = Div(Sub(t, Set(d, SkyShape::kFlatShare)), Set(d, SkyShape::kGradientShare));
    s = IfThenElse(Lt(s, Set(d, 1.0f)), s, Set(d, 1.0f));   // NaN is not below one: it becomes 1
    const auto rgb = Or(Or(AtChannel<2>(SkyChannelLanes(d, sky, 0, s)), AtChannel<1>(SkyChannelLanes(d, sky, 1, s))),
                        SkyChannelLanes(d, sky, 2, s));
    return IfThenElse(is_ground, sky.ground, IfThenElse(is_zenith, sky.zenith, rgb));
}

// SkyKeyAt of every lane: the colour, with bit 24 set where it is ground.
template <class D>
typename D::Int SkyKeys(D d, const SkyLanes<D>& sky, typename D::Float v)
{
    return Or(SkyColours(d, sky, v), IfThenElseZero(Ge(v, Set(d, kHorizonY)), SetInt(d, 1 << 24)));
}

// The heights of `columns` (whole numbers, each below the stretch's count): v + column dv, exact.
template <class Float>
Float StretchHeights(Float v, Float dv, Float columns)
{
    return Add(v, Mul(columns, dv));
}

// A stretch of a rolled row, blocks of kLanes pixels at a time, kLanes blocks at once: a block
// whose first and last pixels have one key is that colour throughout (the keys are monotonic
// in v, see SkyKeyAt), and only the others have every pixel's colour worked out.
template <class D>
void PaintSkyStretchLanes(std::uint32_t* out, int count, float v0, float dv, std::uint32_t zenith_colour,
                          std::uint32_t horizon_colour)
{
    const D d;
    constexpr int kLanes = D::kLanes;
    const SkyLanes<D> sky(d, zenith_colour, horizon_colour);
    const auto v = Set(d, v0), step = Set(d, dv), lanes = Iota(d);
    const auto block_starts = Mul(lanes, Set(d, static_cast<float>(kLanes)));
    std::uint32_t keys[kLanes];
    int i = 0;
    for (; i + kLanes * kLanes <= count; i += kLanes * kLanes) {
        const auto firsts = Add(Set(d, static_cast<float>(i)), block_starts);
        const auto lasts = Add(Set(d, static_cast<float>(i + kLanes - 1)), block_starts);
        const auto first_keys = SkyKeys(d, sky, StretchHeights(v, step, firsts));
        const unsigned one_colour = LaneBits(Eq(first_keys, SkyKeys(d, sky, StretchHeights(v, step, lasts))));
        StoreU(first_keys, keys);
        for (int b = 0; b < kLanes; ++b) {
            const int column = i + b * kLanes;
            const auto colours = ((one_colour >> b) & 1u) != 0
                                     ? SetInt(d, static_cast<std::int32_t>(keys[b] & 0xFFFFFFu))
                                     : SkyColours(d, sky, StretchHeights(v, step, Add(Set(d, static_cast<float>(column)), lanes)));
            StoreU(colours, out + column);
        }
    }
    for (; i + kLanes <= count; i += kLanes)
        StoreU(SkyColours(d, sky, StretchHeights(v, step, Add(Set(d, static_cast<float>(i)), lanes))), out + i);
    for (; i < count; ++i) out[i] = SkyColourAt(v0 + static_cast<float>(i) * dv, zenith_colour, horizon_colour);
}

template <class D>
constexpr SkyForms SkyFormsOf()
{
    return {PaintSkyStretchLanes<D>};
}

} // namespace veldmark
