#include "render/background.h"

#include <algorithm>

#include "render/span_fill.h"

namespace veldmark {
namespace {

constexpr float kInverseHorizon = 0.0033333334f;   // 1 / 300
constexpr float kFlatSkyShare = 0.2f;              // the upper fifth of the sky is flat

// a + (b - a) s rounded by +0.5 and truncation; the difference is taken in whole numbers.
std::uint32_t SkyChannel(std::uint32_t zenith, std::uint32_t horizon, int shift, float s)
{
    const int z = static_cast<int>((zenith >> shift) & 0xFFu);
    const int h = static_cast<int>((horizon >> shift) & 0xFFu);
    const float value = (static_cast<float>(z) + static_cast<float>(h - z) * s) + 0.5f;
    return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

std::uint32_t SkyColourAt(float v, std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    if (v >= kHorizonY) return kGroundColour;
    const float t = v * kInverseHorizon;
    if (t <= kFlatSkyShare) return zenith_colour & 0xFFFFFFu;
    // NaN (from a NaN roll) lands here too; the clamps keep it out of the conversion.
    float s = (t - kFlatSkyShare) / 0.8f;
    if (!(s < 1.0f)) s = 1.0f;
    return SkyChannel(zenith_colour, horizon_colour, 16, s) << 16 |
           SkyChannel(zenith_colour, horizon_colour, 8, s) << 8 |
           SkyChannel(zenith_colour, horizon_colour, 0, s);
}

void PaintBackground(const RasterTarget& target, const ViewTransform& view,
                     std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    const float column_step = kViewInverseScale * view.sin_r;
    for (int row = 0; row < target.height; ++row) {
        std::uint32_t* out = target.pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(target.width);
        const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
        if (view.sin_r == 0.0f) {
            // Upright view: the colour depends on the row alone.
            FillSpan(out, static_cast<std::size_t>(target.width), SkyColourAt(ly, zenith_colour, horizon_colour));
            continue;
        }
        const float lx = 0.5f * kViewInverseScale;   // centre of column 0
        float v = ((ly - kHorizonY) * view.cos_r + kHorizonY) + (lx - kViewCentreX) * view.sin_r;
        for (int column = 0; column < target.width; ++column) {
            out[column] = SkyColourAt(v, zenith_colour, horizon_colour);
            v += column_step;
        }
    }
}

} // namespace veldmark
