#pragma once
// The Disc command's rows as many pixels at a time as the vector set has lanes, with the
// one-pixel code's coverage test and blend lane by lane.
//
// Templates only, and no includes (see render/simd/lanes.h).

namespace veldmark {

template <class D>
void FillDiscRowLanes(std::uint32_t* row, const PreparedDisc& disc, float dy_squared)
{
    const D d;
    const auto centre_x = Set(d, disc.centre.x), half = Set(d, 0.5f), lanes = Iota(d);
    const auto r_squared = Set(d, disc.r_squared), dy2 = Set(d, dy_squared), keep = Set(d, disc.keep);
    const auto top_bytes = SetInt(d, static_cast<std::int32_t>(0xFF000000u));
    int j = disc.columns.first;
    for (; j + D::kLanes - 1 <= disc.columns.last; j += D::kLanes) {
        const auto dx = Sub(Add(Add(Set(d, static_cast<float>(j)), lanes), half), centre_x);
        const auto covered = Le(Add(Mul(dx, dx), dy2), r_squared);
        if (!AnyTrue(covered)) continue;
        const auto pixels = LoadU(d, row + j);
        const auto blended = Or(And(pixels, top_bytes),
                                PackChannels(BlendChannel<0>(d, pixels, keep, Set(d, disc.share[0])),
                                             BlendChannel<1>(d, pixels, keep, Set(d, disc.share[1])),
                                             BlendChannel<2>(d, pixels, keep, Set(d, disc.share[2]))));
        StoreU(IfThenElse(covered, blended, pixels), row + j);
    }
    PreparedDisc rest = disc;
    rest.columns.first = j;
    kDiscScalar.fill_row(row, rest, dy_squared);
}

template <class D>
constexpr DiscForms DiscFormsOf()
{
    return {FillDiscRowLanes<D>};
}

} // namespace veldmark
