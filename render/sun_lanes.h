#pragma once
// The sun's halo and disc as many pixels at a time as the vector set has lanes: positions,
// squared distances and the disc's shade with ShadeSunPixel's IEEE operations lane by lane, and
// its integer blend of the glow table's entries.
//
// Templates only, and no includes (see render/simd/lanes.h): kernels_vec4.cpp and
// kernels_vec8.cpp include render/sun.h and the vector sets first.

namespace veldmark {

// (c inverse + premultiplied + 128) >> 8 for each lane's channel k. Channels and inverse
// opacities (at most 254 where it is used) fit in 16 bits, so the pairwise 16-bit products are
// the whole products.
template <int kChannel, class D>
typename D::Int GlowChannel(D d, typename D::Int pixels, typename D::Int inverse, typename D::Int premultiplied)
{
    const auto blended = Add(Add(MulAddPairs(Channel<kChannel>(d, pixels), inverse), premultiplied), SetInt(d, 128));
    return AtChannel<kChannel>(ShiftRight<8>(blended));
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

template <class D>
void ShadeSunLanes(D d, std::uint32_t* out, const Positions<D>& p, const PreparedSun& sun, const GlowTable& table)
{
    const auto dx = Sub(p.x, Set(d, sun.centre.x));
    const auto dy = Sub(p.y, Set(d, sun.centre.y));
    const auto d2 = Add(Mul(dx, dx), Mul(dy, dy));
    // Lanes above the horizon line and inside the halo or the disc need work.
    const auto above = Lt(p.y, Set(d, kHorizonY));
    const auto halo = And(above, Lt(d2, Set(d, sun.halo_squared)));
    const auto disc = And(above, Le(d2, Set(d, sun.disc_squared)));
    if (!AnyTrue(Or(halo, disc))) return;

    const auto pixels = LoadU(d, out);
    // The table index, min(truncate(d2 L), last); Min gives the last for NaN too, so every
    // lane's index is in the table.
    const auto index = Truncate(Min(Mul(d2, Set(d, table.index_scale)), Set(d, kGlowLastIndex)));
    const auto glow = GatherRecords(d, &table.entries[0].red, index);
    const auto inverse = glow.field[3];
    const auto glows = And(halo, Gt(SetInt(d, 255), inverse));
    const auto glowed = Or(Or(GlowChannel<2>(d, pixels, inverse, glow.field[0]), GlowChannel<1>(d, pixels, inverse, glow.field[1])),
                           GlowChannel<0>(d, pixels, inverse, glow.field[2]));
    auto result = IfThenElse(glows, glowed, pixels);
    if (AnyTrue(disc)) result = IfThenElse(disc, DiscColours(d, d2, sun.scale), result);
    StoreU(result, out);
}

template <class D>
void ShadeSunRowLanes(std::uint32_t* out, IndexRange columns, float row_centre, const ViewTransform& view,
                      const PreparedSun& sun, const GlowTable& table)
{
    const D d;
    const RowPositions<D> positions(d, view, row_centre);
    int j = columns.first;
    for (; j + D::kLanes - 1 <= columns.last; j += D::kLanes) ShadeSunLanes(d, out + j, positions.At(j), sun, table);
    kSunScalar.shade_row(out, IndexRange{j, columns.last}, row_centre, view, sun, table);
}

template <class D>
constexpr SunForms SunFormsOf()
{
    return {ShadeSunRowLanes<D>};
}

} // namespace veldmark
