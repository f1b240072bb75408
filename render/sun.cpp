#include "render/sun.h"

#include <algorithm>
#include <cmath>

#include "render/simd/simd_paths.h"

namespace veldmark {
namespace {

// Logical units added to how far the sun reaches, far beyond the rounding of any pixel's
// position or distance in float.
constexpr double kReachMargin = 1.0;

// The halo's colour and opacity from its core (f = 0) out to its edge (f = 1): a warm yellow
// that turns orange and fades over the inner part, then a faint orange that fades to nothing.
struct GlowRamp {
    static constexpr float kTurn = 0.4f;                     // f where the two parts meet
    static constexpr float kRed = 255.0f;
    static constexpr float kCoreGreen = 201.0f, kGreenFall = 51.0f;
    static constexpr float kCoreBlue = 128.0f, kBlueFall = 36.0f;
    static constexpr float kCoreOpacity = 0.85f, kOpacityFall = 0.53f;
    static constexpr float kOuterGreen = 150.0f, kOuterBlue = 92.0f;
    static constexpr float kOuterOpacity = 0.32f;            // at the turn, falling to 0 at f = 1
    static constexpr float kOuterFall = -0.6f;               // 1 - kTurn, negated
};

std::int32_t Truncate(float value)
{
    // Table values lie in 0..65280 for any finite scale; keep NaN and the absurd out anyway.
    if (!(value > 0.0f)) return 0;
    return value < 65536.0f ? static_cast<std::int32_t>(value) : 65536;
}

std::uint32_t DiscColour(float d2, float sun_scale)
{
    const float core = SunShape::kDiscCore * sun_scale;
    float u = (sqrtf(d2) - core) / (SunShape::kDiscRadius * sun_scale - core);
    if (!(u > 0.0f)) u = 0.0f;
    if (u > 1.0f) u = 1.0f;
    const auto green = static_cast<std::uint32_t>(SunShape::kDiscCoreGreen - SunShape::kDiscGreenFall * u + 0.5f);
    const auto blue = static_cast<std::uint32_t>(SunShape::kDiscCoreBlue - SunShape::kDiscBlueFall * u + 0.5f);
    return SunShape::kDiscRed | green << 8 | blue;
}

std::uint32_t ApplyGlow(std::uint32_t pixel, const GlowTable& table, std::size_t k)
{
    const std::int32_t inverse = table.inverse_opacity[k];
    const auto mix = [&](int shift, std::int32_t premultiplied) {
        const std::int32_t c = static_cast<std::int32_t>((pixel >> shift) & 0xFFu);
        return static_cast<std::uint32_t>((c * inverse + premultiplied + 128) >> 8) << shift;
    };
    return mix(16, table.red[k]) | mix(8, table.green[k]) | mix(0, table.blue[k]);
}

// Halo, then disc, at a pixel whose squared logical distance from the sun's centre is d2.
void ShadeSunPixel(std::uint32_t& pixel, float d2, const PreparedSun& sun, const GlowTable& table)
{
    if (d2 < sun.halo_squared) {
        const float scaled = d2 * table.index_scale;
        const auto k = static_cast<std::size_t>(scaled < kGlowLastIndex ? static_cast<int>(scaled) : kGlowEntries - 1);
        if (table.inverse_opacity[k] <= 254) pixel = ApplyGlow(pixel, table, k);
    }
    if (d2 <= sun.disc_squared) pixel = DiscColour(d2, sun.scale);
}

// The one-pixel form, and what the lane forms do with the pixels a row has left over.
void ShadeSunRowOneByOne(std::uint32_t* out, IndexRange columns, float row_centre, const ViewTransform& view,
                         const PreparedSun& sun, GlowTable& table, int)
{
    for (int j = columns.first; j <= columns.last; ++j) {
        const Vec2 p = PixelCentreToLogical(view, j, row_centre);
        if (p.y >= kHorizonY) continue;
        const float dx = p.x - sun.centre.x;
        const float dy = p.y - sun.centre.y;
        ShadeSunPixel(out[j], dx * dx + dy * dy, sun, table);
    }
}

} // namespace

const SunForms kSunScalar{ShadeSunRowOneByOne};

void BuildGlowTable(float sun_scale, GlowTable& table)
{
    const float inner = SunShape::kHaloInner * sun_scale;
    const float outer = SunShape::kHaloOuter * sun_scale;
    const float inv = outer - inner > 0.000001f ? 1.0f / (outer - inner) : 0.0f;
    const float k_squared = outer * outer;
    const float l = kGlowLastIndex / k_squared;
    table.outer = outer;
    table.index_scale = l;
    table.glowed_from = kGlowEntries;
    for (int k = 0; k < kGlowEntries; ++k) {
        const float d = sqrtf(static_cast<float>(k) / l);
        float f = (d - inner) * inv;
        if (!(f > 0.0f)) f = 0.0f;
        if (f > 1.0f) f = 1.0f;
        const float r = GlowRamp::kRed;
        float g, b, a;
        if (f <= GlowRamp::kTurn) {
            const float q = f / GlowRamp::kTurn;
            g = GlowRamp::kCoreGreen - GlowRamp::kGreenFall * q;
            b = GlowRamp::kCoreBlue - GlowRamp::kBlueFall * q;
            a = GlowRamp::kCoreOpacity - GlowRamp::kOpacityFall * q;
        } else {
            g = GlowRamp::kOuterGreen;
            b = GlowRamp::kOuterBlue;
            a = (f - GlowRamp::kTurn) / GlowRamp::kOuterFall * GlowRamp::kOuterOpacity + GlowRamp::kOuterOpacity;
        }
        const auto i = static_cast<std::size_t>(k);
        table.red[i] = Truncate(256.0f * a * r + 0.5f);
        table.green[i] = Truncate(256.0f * a * g + 0.5f);
        table.blue[i] = Truncate(256.0f * a * b + 0.5f);
        table.inverse_opacity[i] = Truncate(256.0f * (1.0f - a) + 0.5f);
    }
}

PreparedSun PrepareSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre,
                       float sun_scale, GlowTable& table)
{
    BuildGlowTable(sun_scale, table);
    const float outer = table.outer;
    PreparedSun sun;
    sun.centre = centre;
    sun.scale = sun_scale;
    sun.halo_squared = outer * outer;
    sun.disc_squared = (SunShape::kDiscRadius * sun_scale) * (SunShape::kDiscRadius * sun_scale);
    const Vec2 s = ToPixel(view, centre);
    const float reach = 2.0f * outer;
    sun.rows = ClampToIndices(floorf(s.y - reach), ceilf(s.y + reach), target.height - 1);
    sun.columns = ClampToIndices(floorf(s.x - reach), ceilf(s.x + reach), target.width - 1);
    if (sun.columns.empty()) sun.rows = IndexRange{0, -1};
    // The pixels' positions are turned back by the view before they are measured from the sun,
    // so the sun's own unturned position is where the distances are centred on screen.
    sun.unturned_x = static_cast<double>(s.x) * static_cast<double>(kViewInverseScale);
    sun.unturned_y = static_cast<double>(s.y) * static_cast<double>(kViewInverseScale);
    sun.reach = std::sqrt(std::max(static_cast<double>(sun.halo_squared), static_cast<double>(sun.disc_squared))) +
                kReachMargin;
    sun.reach_known = std::isfinite(sun.unturned_x) && std::isfinite(sun.unturned_y) && std::isfinite(sun.reach) &&
                      std::isfinite(view.cos_r) && std::isfinite(view.sin_r);
    return sun;
}

// The row's pixels are all at least the distance from the sun's centre to the row's line (in
// the unturned view); its entry, less a margin for the float rounding of each pixel's distance.
int NearestEntryOfRow(const PreparedSun& sun, const GlowTable& table, int row)
{
    if (!sun.reach_known) return 0;
    const double dy = (static_cast<double>(row) + 0.5) * static_cast<double>(kViewInverseScale) - sun.unturned_y;
    const double entry = std::floor(dy * dy * static_cast<double>(table.index_scale)) - 2.0;
    if (!(entry > 0.0)) return 0;
    return entry < static_cast<double>(kGlowLastIndex) ? static_cast<int>(entry) : kGlowEntries - 1;
}

IndexRange SunColumnsInRow(const PreparedSun& sun, const ViewTransform& view, int row)
{
    const IndexRange box = sun.columns;
    if (!sun.reach_known || box.empty()) return box;
    const IndexRange none{0, -1};
    // Unturned logical coordinates of the row's centre line; a column's centre is at
    // (column + 0.5) / 2.
    const double y = (static_cast<double>(row) + 0.5) * static_cast<double>(kViewInverseScale);
    const double dy = y - sun.unturned_y;
    if (dy * dy >= sun.reach * sun.reach) return none;
    const double half = std::sqrt(sun.reach * sun.reach - dy * dy);
    double low = sun.unturned_x - half;
    double high = sun.unturned_x + half;
    // Above the horizon line: kViewCentreY + lx sin + ly cos < kHorizonY, lx and ly measured
    // from the view's centre; widened by the margin too.
    const double sin_r = static_cast<double>(view.sin_r);
    const double limit = static_cast<double>(kHorizonY - kViewCentreY) + kReachMargin -
                         (y - static_cast<double>(kViewCentreY)) * static_cast<double>(view.cos_r);
    if (sin_r > 0.0) high = std::min(high, static_cast<double>(kViewCentreX) + limit / sin_r);
    else if (sin_r < 0.0) low = std::max(low, static_cast<double>(kViewCentreX) + limit / sin_r);
    else if (limit <= 0.0) return none;
    low = std::max(low * static_cast<double>(kViewScale) - 0.5, static_cast<double>(box.first));
    high = std::min(high * static_cast<double>(kViewScale) - 0.5, static_cast<double>(box.last));
    if (!(low <= high)) return none;
    return IndexRange{static_cast<int>(std::floor(low)), static_cast<int>(std::ceil(high))};
}

void DrawSunRows(const RasterTarget& target, const ViewTransform& view, const PreparedSun& sun,
                 GlowTable& table, IndexRange rows, SimdLevel level)
{
    const SunRowFn shade_row =
        PathFor(SimdPaths<const SunForms*>{&kSunScalar, VELDMARK_IF_VEC4(&kSunVec4), VELDMARK_IF_VEC8(&kSunVec8)}, level)
            ->shade_row;
    const int first = std::max(sun.rows.first, rows.first);
    const int last = std::min(sun.rows.last, rows.last);
    for (int i = first; i <= last; ++i) {
        const IndexRange columns = SunColumnsInRow(sun, view, i);
        if (columns.empty()) continue;
        std::uint32_t* out = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        shade_row(out, columns, static_cast<float>(i) + 0.5f, view, sun, table, NearestEntryOfRow(sun, table, i));
    }
}

void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table)
{
    const PreparedSun sun = PrepareSun(target, view, centre, sun_scale, table);
    DrawSunRows(target, view, sun, table, sun.rows, ActiveSimdLevel());
}

} // namespace veldmark
