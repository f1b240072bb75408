#include "render/disc_filler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "render/simd/simd_paths.h"

namespace veldmark {
namespace {

void FillDiscRowOneByOne(std::uint32_t* row, const PreparedDisc& disc, float dy_squared)
{
    for (int j = disc.columns.first; j <= disc.columns.last; ++j) {
        const float dx = (static_cast<float>(j) + 0.5f) - disc.centre.x;
        if (!(dx * dx + dy_squared <= disc.r_squared)) continue;
        std::uint32_t out = row[j] & 0xFF000000u;
        for (int k = 0; k < 3; ++k) {
            const float p = static_cast<float>((row[j] >> (8 * k)) & 0xFFu);
            out |= static_cast<std::uint32_t>((p * disc.keep + disc.share[k]) + 0.5f) << (8 * k);
        }
        row[j] = out;
    }
}

} // namespace

const DiscForms kDiscScalar{FillDiscRowOneByOne};

PreparedDisc PrepareDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
                         Vec2 centre, float radius, float opacity)
{
    PreparedDisc disc{};
    disc.rows = IndexRange{0, -1};
    // Written so that NaN fields draw nothing, rather than reaching the conversions below.
    if (!(radius >= kMinDiscRadius) || !(opacity >= kMinDiscOpacity)) return disc;
    // An opacity past 1 would extrapolate beyond both colours (and out of the 0..255 range a
    // channel can hold); it is taken as fully opaque.
    const float alpha = opacity < 1.0f ? opacity : 1.0f;
    disc.keep = 1.0f - alpha;

    disc.centre = ToPixel(view, centre);
    const float r = kViewScale * radius;
    disc.r_squared = r * r;
    disc.rows = ClampToIndices(floorf(disc.centre.y - r), ceilf(disc.centre.y + r), target.height - 1);
    disc.columns = ClampToIndices(floorf(disc.centre.x - r), ceilf(disc.centre.x + r), target.width - 1);
    if (disc.columns.empty()) disc.rows = IndexRange{0, -1};
    // The colour's share of each channel is the same for every pixel.
    for (int k = 0; k < 3; ++k) disc.share[k] = static_cast<float>((colour >> (8 * k)) & 0xFFu) * alpha;
    return disc;
}

void FillDiscRows(const RasterTarget& target, const PreparedDisc& disc, IndexRange rows, SimdLevel level)
{
    const DiscRowFn fill_row =
        PathFor(SimdPaths<const DiscForms*>{&kDiscScalar, VELDMARK_IF_VEC4(&kDiscVec4), VELDMARK_IF_VEC8(&kDiscVec8)},
                level)
            ->fill_row;
    const int first = std::max(disc.rows.first, rows.first);
    const int last = std::min(disc.rows.last, rows.last);
    for (int i = first; i <= last; ++i) {
        const float dy = (static_cast<float>(i) + 0.5f) - disc.centre.y;
        fill_row(target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width), disc, dy * dy);
    }
}

void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity)
{
    const PreparedDisc disc = PrepareDisc(target, view, colour, centre, radius, opacity);
    FillDiscRows(target, disc, disc.rows, ActiveSimdLevel());
}

} // namespace veldmark
