#include "render/background.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/simd/simd_paths.h"
#include "render/span_fill.h"
#include "world/bit_cast.h"

namespace veldmark {
namespace {

// a + (b - a) s rounded by +0.5 and truncation; the difference is taken in whole numbers.
std::uint32_t SkyChannel(std::uint32_t zenith, std::uint32_t horizon, int shift, float s)
{
    const int z = static_cast<int>((zenith >> shift) & 0xFFu);
    const int h = static_cast<int>((horizon >> shift) & 0xFFu);
    const float value = (static_cast<float>(z) + static_cast<float>(h - z) * s) + 0.5f;
    return static_cast<std::uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

// The height v of column 0's centre in row `row`, before any column step is added.
float RowStart(int row, const ViewTransform& view)
{
    const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
    const float lx = 0.5f * kViewInverseScale;   // centre of column 0
    return ((ly - kHorizonY) * view.cos_r + kHorizonY) + (lx - kViewCentreX) * view.sin_r;
}

// A colour with bit 24 set where it is ground. Each channel of the sky is a monotonic function
// of v above the ground line (the zenith's flat colour is the gradient's at s = 0), so two
// heights with one key have that colour at every height between them; the ground bit keeps a
// sky that happens to have the ground's colour from bracketing the horizon line.
std::uint32_t SkyKeyAt(float v, std::uint32_t zenith, std::uint32_t horizon)
{
    return SkyColourAt(v, zenith, horizon) | (v >= kHorizonY ? 1u << 24 : 0u);
}

// The row as the rule says it, one addition after another: for values no stretch covers.
void PaintRolledRowOneByOne(std::uint32_t* out, int width, float v, float step, std::uint32_t zenith,
                            std::uint32_t horizon)
{
    for (int column = 0; column < width; ++column) {
        out[column] = SkyColourAt(v, zenith, horizon);
        v += step;
    }
}

// Whether every v the row's additions reach has the colour of its first: the keys at v and at a
// height beyond the last v agree. The last v is within `slack` of v + (width - 1) step, each
// addition rounding by at most half a spacing of the largest value it meets.
bool RowIsOneColour(float v, float step, int width, std::uint32_t zenith, std::uint32_t horizon)
{
    if (step == 0.0f) return true;
    const double reach = static_cast<double>(width - 1) * static_cast<double>(step);
    const double largest = std::fabs(static_cast<double>(v)) + std::fabs(reach) + 1.0;
    const double slack = static_cast<double>(width) * largest * 0x1p-23;
    const double beyond = static_cast<double>(v) + reach + (step > 0.0f ? slack : -slack);
    if (!(std::fabs(beyond) < 1e30)) return false;
    const float far = std::nextafter(static_cast<float>(beyond), step > 0.0f ? INFINITY : -INFINITY);
    return SkyKeyAt(v, zenith, horizon) == SkyKeyAt(far, zenith, horizon);
}

// One rolled row: one colour where it has only one, else stretch by stretch.
void PaintRolledRow(std::uint32_t* out, int width, float v, float step, std::uint32_t zenith,
                    std::uint32_t horizon, const SkyForms& forms, SpanFillFn fill)
{
    if (width <= 0) return;
    if (!std::isfinite(v) || !std::isfinite(step)) {
        PaintRolledRowOneByOne(out, width, v, step, zenith, horizon);
        return;
    }
    if (RowIsOneColour(v, step, width, zenith, horizon)) {
        fill(out, static_cast<std::size_t>(width), SkyColourAt(v, zenith, horizon));
        return;
    }
    for (int column = 0; column < width;) {
        const SkyStretch stretch = ExactSkyStretch(v, step, width - column);
        if (stretch.count == 1) {
            // Near zero the binades are narrower than a few steps, and at ties one addition comes
            // before a stretch: one pixel as the rule has it.
            out[column++] = SkyColourAt(v, zenith, horizon);
            v += step;
            continue;
        }
        forms.paint_stretch(out + column, stretch.count, v, stretch.dv, zenith, horizon);
        column += stretch.count;
        v = (v + static_cast<float>(stretch.count - 1) * stretch.dv) + step;
    }
}

void PaintStretchOneByOne(std::uint32_t* out, int count, float v, float dv, std::uint32_t zenith,
                          std::uint32_t horizon)
{
    for (int i = 0; i < count; ++i) out[i] = SkyColourAt(v + static_cast<float>(i) * dv, zenith, horizon);
}

} // namespace

const SkyForms kSkyScalar{PaintStretchOneByOne};

std::uint32_t SkyColourAt(float v, std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    if (v >= kHorizonY) return kGroundColour;
    const float t = v * SkyShape::kInverseHorizon;
    if (t <= SkyShape::kFlatShare) return zenith_colour & 0xFFFFFFu;
    // NaN (from a NaN roll) lands here too; the clamps keep it out of the conversion.
    float s = (t - SkyShape::kFlatShare) / SkyShape::kGradientShare;
    if (!(s < 1.0f)) s = 1.0f;
    return SkyChannel(zenith_colour, horizon_colour, 16, s) << 16 |
           SkyChannel(zenith_colour, horizon_colour, 8, s) << 8 |
           SkyChannel(zenith_colour, horizon_colour, 0, s);
}

SkyStretch ExactSkyStretch(float v, float step, int most)
{
    const SkyStretch single{1, 0.0f};
    const auto bits = BitCast<std::uint32_t>(v);
    const std::uint32_t biased = (bits >> 23) & 0xFFu;   // zero and subnormals 0, infinities and NaN 255
    if (most <= 1 || biased == 0 || biased == 0xFF || !std::isfinite(step)) return single;
    // |v| is m spacings, m within [2^23, 2^24), the spacing of v's binade 2^(biased - 150); the
    // step in spacings is exact (they are a power of two apart).
    const std::int64_t m = (bits & 0x7FFFFF) | 0x800000;
    const double per_spacing = BitCast<double>(static_cast<std::uint64_t>(1023 + 150 - biased) << 52);
    const double steps = std::fabs(static_cast<double>(step)) * per_spacing;
    if (!(steps < 0x1p23)) return single;   // one step is as wide as the binade
    // What each addition really adds: the nearest whole number of spacings. A step of a whole
    // number and a half ties, and rounds to the even neighbour: from an even m that is the even
    // one of the two every time, from an odd m once the first addition has made it even.
    std::int64_t k = static_cast<std::int64_t>(steps + 0.5);
    if (static_cast<double>(k) - steps == 0.5) {
        if (m % 2 != 0) return single;
        if (k % 2 != 0) --k;
    }
    const bool growing = (step > 0.0f) == (v > 0.0f);
    if (k == 0) {
        // The step rounds away, except from the bottom of the binade towards zero, where the
        // floats below are closer together.
        if (!growing && m == 0x800000) return single;
        return SkyStretch{most, 0.0f};
    }
    // Room, in spacings, to go on inside the binade: short of its top when v moves away from
    // zero, short of its bottom when it moves towards it.
    const std::int64_t room = growing ? (0x1000000 - m) - 1 : (m - 0x800000) - 1;
    const std::int64_t further = room / k;
    if (further < 1) return single;
    const double dv = static_cast<double>(step > 0.0f ? k : -k) / per_spacing;
    return SkyStretch{static_cast<int>(std::min<std::int64_t>(further + 1, most)), static_cast<float>(dv)};
}

void PaintBackgroundRows(const RasterTarget& target, const ViewTransform& view,
                         std::uint32_t zenith_colour, std::uint32_t horizon_colour, IndexRange rows,
                         SimdLevel level)
{
    const std::size_t stride = static_cast<std::size_t>(target.width);
    const int last = std::min(rows.last, target.height - 1);
    const SpanFillFn fill = SpanFillFunction(level);
    if (view.sin_r == 0.0f) {
        // Upright view: the colour depends on the row alone (v is then the row's own height).
        for (int row = std::max(rows.first, 0); row <= last; ++row) {
            const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
            fill(target.pixels + static_cast<std::size_t>(row) * stride, stride, SkyColourAt(ly, zenith_colour, horizon_colour));
        }
        return;
    }
    const SkyForms& forms = *PathFor(SimdPaths<const SkyForms*>{&kSkyScalar, VELDMARK_IF_VEC4(&kSkyVec4),
                                                                 VELDMARK_IF_VEC8(&kSkyVec8)},
                                     level);
    const float step = kViewInverseScale * view.sin_r;
    for (int row = std::max(rows.first, 0); row <= last; ++row)
        PaintRolledRow(target.pixels + static_cast<std::size_t>(row) * stride, target.width, RowStart(row, view), step,
                       zenith_colour, horizon_colour, forms, fill);
}

void PaintBackground(const RasterTarget& target, const ViewTransform& view,
                     std::uint32_t zenith_colour, std::uint32_t horizon_colour)
{
    PaintBackgroundRows(target, view, zenith_colour, horizon_colour, IndexRange{0, target.height - 1},
                        ActiveSimdLevel());
}

} // namespace veldmark
