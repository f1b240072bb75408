#include "render/disc_filler.h"

#include <cmath>
#include <cstddef>

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
    const float red = static_cast<float>((colour >> 16) & 0xFFu) * alpha;
    const float green = static_cast<float>((colour >> 8) & 0xFFu) * alpha;
    const float blue = static_cast<float>(colour & 0xFFu) * alpha;

    for (int i = rows.first; i <= rows.last; ++i) {
        const float dy = (static_cast<float>(i) + 0.5f) - c.y;
        const float dy_squared = dy * dy;
        std::uint32_t* row = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        for (int j = columns.first; j <= columns.last; ++j) {
            const float dx = (static_cast<float>(j) + 0.5f) - c.x;
            if (!(dx * dx + dy_squared <= r_squared)) continue;
            const std::uint32_t p = row[j];
            const auto mixed = [keep](std::uint32_t channel, float share) {
                return static_cast<std::uint32_t>(static_cast<float>(channel) * keep + share + 0.5f);
            };
            row[j] = (p & 0xFF000000u) | mixed((p >> 16) & 0xFFu, red) << 16 |
                     mixed((p >> 8) & 0xFFu, green) << 8 | mixed(p & 0xFFu, blue);
        }
    }
}

} // namespace veldmark
