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

// A stretch of a rolled row. Its keys are monotonic in v (see SkyKeyAt), so a part of it whose
// first and last pixels have one key is that colour throughout: a part is split into kLanes
// parts at once, those with one key are filled, the others split again; parts of at most
// kLanes blocks of kLanes pixels have their blocks looked at the same way, and only blocks with
// a change have every pixel's colour worked out.
template <class D>
class SkyStretchPainter {
public:
    using Float = typename D::Float;
    static constexpr int kLanes = D::kLanes;

    SkyStretchPainter(std::uint32_t* out, float v, float dv, std::uint32_t zenith_colour, std::uint32_t horizon_colour)
        : out_(out), v0_(v), dv0_(dv), zenith_colour_(zenith_colour), horizon_colour_(horizon_colour),
          sky_(d_, zenith_colour, horizon_colour), v_(Set(d_, v)), dv_(Set(d_, dv)), lanes_(Iota(d_))
    {
    }

    void Paint(int first, int count)
    {
        if (count <= kLanes * kLanes) {
            PaintBlocks(first, count);
            return;
        }
        float starts[kLanes + 1], lasts[kLanes];
        for (int m = 0; m <= kLanes; ++m) starts[m] = static_cast<float>(first + count * m / kLanes);
        for (int m = 0; m < kLanes; ++m) lasts[m] = starts[m + 1] - 1.0f;
        const auto first_keys = Keys(LoadFloats(d_, starts));
        const unsigned one_colour = LaneBits(Eq(first_keys, Keys(LoadFloats(d_, lasts))));
        std::uint32_t keys[kLanes];
        StoreU(first_keys, keys);
        for (int m = 0; m < kLanes; ++m) {
            const int part_first = static_cast<int>(starts[m]);
            const int part_count = static_cast<int>(starts[m + 1]) - part_first;
            if (((one_colour >> m) & 1u) != 0) FillSpanLanes<D>(out_ + part_first, static_cast<std::size_t>(part_count), keys[m] & 0xFFFFFFu);
            else Paint(part_first, part_count);
        }
    }

private:
    typename D::Int Keys(Float columns) const { return SkyKeys(d_, sky_, StretchHeights(v_, dv_, columns)); }
    typename D::Int Colours(int column) const
    {
        return SkyColours(d_, sky_, StretchHeights(v_, dv_, Add(Set(d_, static_cast<float>(column)), lanes_)));
    }

    void PaintBlocks(int first, int count)
    {
        const auto block_starts = Mul(lanes_, Set(d_, static_cast<float>(kLanes)));
        int i = first;
        const int end = first + count;
        if (count == kLanes * kLanes) {
            const auto firsts = Add(Set(d_, static_cast<float>(i)), block_starts);
            const auto first_keys = Keys(firsts);
            const unsigned one_colour = LaneBits(Eq(first_keys, Keys(Add(firsts, Set(d_, static_cast<float>(kLanes - 1))))));
            std::uint32_t keys[kLanes];
            StoreU(first_keys, keys);
            for (int b = 0; b < kLanes; ++b, i += kLanes) {
                const auto colours = ((one_colour >> b) & 1u) != 0 ? SetInt(d_, static_cast<std::int32_t>(keys[b] & 0xFFFFFFu))
                                                                   : Colours(i);
                StoreU(colours, out_ + i);
            }
            return;
        }
        for (; i + kLanes <= end; i += kLanes) StoreU(Colours(i), out_ + i);
        for (; i < end; ++i) out_[i] = SkyColourAt(v0_ + static_cast<float>(i) * dv0_, zenith_colour_, horizon_colour_);
    }

    const D d_{};
    std::uint32_t* out_;
    float v0_, dv0_;
    std::uint32_t zenith_colour_, horizon_colour_;
    SkyLanes<D> sky_;
    Float v_, dv_, lanes_;
};

template <class D>
void PaintSkyStretchLanes(std::uint32_t* out, int count, float v, float dv, std::uint32_t zenith_colour,
                          std::uint32_t horizon_colour)
{
    SkyStretchPainter<D>(out, v, dv, zenith_colour, horizon_colour).Paint(0, count);
}

template <class D>
constexpr SkyForms SkyFormsOf()
{
    return {PaintSkyStretchLanes<D>};
}

} // namespace veldmark
