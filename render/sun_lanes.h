#pragma once
// The sun's halo and disc as many pixels at a time as the vector set has lanes: positions,
// squared distances and the disc's shade with ShadeSunPixel's IEEE operations lane by lane, and
// its integer blend of the glow table's entries.
//
// Templates only, and no includes (see render/simd/lanes.h): kernels_vec4.cpp and
// kernels_vec8.cpp include render/sun.h and the vector sets first.

namespace veldmark {

// (c inverse + premultiplied + 128) >> 8 for each lane's channel k. Channels and inverse
// opacities (at most 256) fit in 16 bits, so the pairwise 16-bit products are the whole
// products.
template <int kChannel, class D>
typename D::Int GlowChannel(D d, typename D::Int pixels, typename D::Int inverse, typename D::Int premultiplied)
{
    return ShiftRight<8>(Add(Add(MulAddPairs(Channel<kChannel>(d, pixels), inverse), premultiplied), SetInt(d, 128)));
}

// DiscColour of every lane's squared distance.
template <class D>
typename D::Int DiscColours(D d, typename D::Float d2, float sun_scale)
{
    const float core = SunShape::kDiscCore * sun_scale;
    const auto u = ClampUnit(d, Div(Sub(Sqrt(d2), Set(d, core)), Set(d, SunShape::kDiscRadius * sun_scale - core)));
    const auto green = RoundHalfUp(d, Sub(Set(d, SunShape::kDiscCoreGreen), Mul(Set(d, SunShape::kDiscGreenFall), u)));
    const auto blue = RoundHalfUp(d, Sub(Set(d, SunShape::kDiscCoreBlue), Mul(Set(d, SunShape::kDiscBlueFall), u)));
    return Or(SetInt(d, static_cast<std::int32_t>(SunShape::kDiscRed)), Or(AtChannel<1>(green), blue));
}

// The glow table's entries from `from` on (a multiple of the lanes) over pixels of `colour`
// (see GlowTable::glowed).
template <class D>
void GlowOneColour(D d, GlowTable& table, std::uint32_t colour, int from)
{
    const auto pixels = SetInt(d, static_cast<std::int32_t>(colour));
    for (int k = from; k < kGlowEntries; k += D::kLanes) {
        const auto inverse = LoadU(d, &table.inverse_opacity[static_cast<std::size_t>(k)]);
        const auto glowed = PackChannels(GlowChannel<0>(d, pixels, inverse, LoadU(d, &table.blue[static_cast<std::size_t>(k)])),
                                         GlowChannel<1>(d, pixels, inverse, LoadU(d, &table.green[static_cast<std::size_t>(k)])),
                                         GlowChannel<2>(d, pixels, inverse, LoadU(d, &table.red[static_cast<std::size_t>(k)])));
        StoreU(IfThenElse(Gt(SetInt(d, 255), inverse), glowed, pixels), &table.glowed[static_cast<std::size_t>(k)]);
    }
    table.glowed_from = from;
    table.glowed_colour = colour;
}

template <class D>
bool IsOneColour(D d, const std::uint32_t* out, IndexRange columns)
{
    const std::uint32_t first = out[columns.first];
    const auto colour = SetInt(d, static_cast<std::int32_t>(first));
    int j = columns.first;
    for (; j + D::kLanes - 1 <= columns.last; j += D::kLanes)
        if (!AllTrue(Eq(LoadU(d, out + j), colour))) return false;
    for (; j <= columns.last; ++j)
        if (out[j] != first) return false;
    return true;
}

// What the lanes at one place need: their squared distance from the sun's centre, which are in
// the halo and which in the disc (only above the horizon line), and the halo's table index.
template <class D>
struct SunLanes {
    typename D::Float d2;
    typename D::Mask halo;
    typename D::Mask disc;

    SunLanes(D d, const Positions<D>& p, const PreparedSun& sun)
    {
        const auto dx = Sub(p.x, Set(d, sun.centre.x));
        const auto dy = Sub(p.y, Set(d, sun.centre.y));
        d2 = Add(Mul(dx, dx), Mul(dy, dy));
        const auto above = Lt(p.y, Set(d, kHorizonY));
        halo = And(above, Lt(d2, Set(d, sun.halo_squared)));
        disc = And(above, Le(d2, Set(d, sun.disc_squared)));
    }
    bool Touches() const { return AnyTrue(Or(halo, disc)); }

    // min(truncate(d2 L), last); Min gives the last for NaN too, so every index is in the table.
    typename D::Int Index(D d, const GlowTable& table) const
    {
        return Truncate(Min(Mul(d2, Set(d, table.index_scale)), Set(d, kGlowLastIndex)));
    }
};

template <class D>
void ShadeSunRowLanes(std::uint32_t* out, IndexRange columns, float row_centre, const ViewTransform& view,
                      const PreparedSun& sun, GlowTable& table, int nearest_entry)
{
    const D d;
    const RowPositions<D> positions(d, view, row_centre);
    int j = columns.first;
    if (IsOneColour(d, out, columns)) {
        // The row's glowed colour depends on its table entry alone.
        const std::uint32_t colour = out[columns.first];
        const int from = nearest_entry / D::kLanes * D::kLanes;
        if (table.glowed_colour != colour || table.glowed_from > from) GlowOneColour(d, table, colour, from);
        const auto pixels = SetInt(d, static_cast<std::int32_t>(colour));
        auto glowed_from = SetInt(d, table.glowed_from);
        for (; j + D::kLanes - 1 <= columns.last; j += D::kLanes) {
            const SunLanes<D> lanes(d, positions.At(j), sun);
            if (!lanes.Touches()) continue;
            const auto index = lanes.Index(d, table);
            // Nearer the centre than the bound (it has a margin; this keeps the lookups in what
            // was worked out whatever happens): this row's entries from the start.
            if (AnyTrue(And(lanes.halo, Gt(glowed_from, index)))) {
                GlowOneColour(d, table, colour, 0);
                glowed_from = SetInt(d, 0);
            }
            auto result = IfThenElse(lanes.halo, GatherInts(d, table.glowed.data(), index), pixels);
            if (AnyTrue(lanes.disc)) result = IfThenElse(lanes.disc, DiscColours(d, lanes.d2, sun.scale), result);
            StoreU(result, out + j);
        }
    } else {
        for (; j + D::kLanes - 1 <= columns.last; j += D::kLanes) {
            const SunLanes<D> lanes(d, positions.At(j), sun);
            if (!lanes.Touches()) continue;
            const auto pixels = LoadU(d, out + j);
            const auto index = lanes.Index(d, table);
            const auto inverse = GatherInts(d, table.inverse_opacity.data(), index);
            const auto glowed = PackChannels(GlowChannel<0>(d, pixels, inverse, GatherInts(d, table.blue.data(), index)),
                                             GlowChannel<1>(d, pixels, inverse, GatherInts(d, table.green.data(), index)),
                                             GlowChannel<2>(d, pixels, inverse, GatherInts(d, table.red.data(), index)));
            auto result = IfThenElse(And(lanes.halo, Gt(SetInt(d, 255), inverse)), glowed, pixels);
            if (AnyTrue(lanes.disc)) result = IfThenElse(lanes.disc, DiscColours(d, lanes.d2, sun.scale), result);
            StoreU(result, out + j);
        }
    }
    kSunScalar.shade_row(out, IndexRange{j, columns.last}, row_centre, view, sun, table, nearest_entry);
}

template <class D>
constexpr SunForms SunFormsOf()
{
    return {ShadeSunRowLanes<D>};
}

} // namespace veldmark
