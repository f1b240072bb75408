#include "render/disc_filler.h"

#include <cmath>
#include <cstddef>

#include "render/pixel_colour.h"

namespace veldmark {

void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity)
{
    // Written so that NaN fields draw nothing, rather than reaching the conversions below.
    if (!(radius >= kMinDiscRadius) || !(opacity >= kMinDiscOpacity)) return;
    // An opacity past 1 would extrapolate beyond both colours (and out of the 0..255 range a
    // channel can hold); it is taken as fully opaque.
    const float alpha = opacity < 1.0f ? opacity : 1.0f;
    const float keep = 1.0f - alpha;

    const Vec2 c = ToPixel(view, centre);
    const float r = kViewScale * radius;
    const float r_squared = r * r;
    const IndexRange rows = ClampToIndices(floorf(c.y - r), ceilf(c.y + r), target.height - 1);
    const IndexRange columns = ClampToIndices(floorf(c.x - r), ceilf(c.x + r), target.width - 1);
    if (rows.empty() || columns.empty()) return;

    // The colour's share of each channel is the same for every pixel.
    const Lanes share = Mul(LanesOf(colour), Splat(alpha));

    for (int i = rows.first; i <= rows.last; ++i) {
        const float dy = (static_cast<float>(i) + 0.5f) - c.y;
        const float dy_squared = dy * dy;
        std::uint32_t* row = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        for (int j = columns.first; j <= columns.last; ++j) {
            const float dx = (static_cast<float>(j) + 0.5f) - c.x;
            if (!(dx * dx + dy_squared <= r_squared)) continue;
            row[j] = (row[j] & 0xFF000000u) | (BlendLanes(row[j], share, keep) & 0xFFFFFFu);
        }
    }
}

} // namespace veldmark
