#include "render/sun.h"

#include <cmath>

namespace veldmark {
namespace {

constexpr float kHaloInner = 8.0f;     // logical units at sun scale 1
constexpr float kHaloOuter = 340.0f;
constexpr float kDiscRadius = 46.0f;
constexpr float kDiscCore = 4.0f;

std::int32_t Truncate(float value)
{
    // Table values lie in 0..65280 for any finite scale; keep NaN and the absurd out anyway.
    if (!(value > 0.0f)) return 0;
    return value < 65536.0f ? static_cast<std::int32_t>(value) : 65536;
}

std::uint32_t DiscColour(float d2, float sun_scale)
{
    const float core = kDiscCore * sun_scale;
    float u = (sqrtf(d2) - core) / (kDiscRadius * sun_scale - core);
    if (!(u > 0.0f)) u = 0.0f;
    if (u > 1.0f) u = 1.0f;
    const auto green = static_cast<std::uint32_t>(230.0f - 73.0f * u + 0.5f);
    const auto blue = static_cast<std::uint32_t>(163.0f - 71.0f * u + 0.5f);
    return 0xFF0000u | green << 8 | blue;
}

std::uint32_t ApplyGlow(std::uint32_t pixel, const GlowEntry& e)
{
    const auto mix = [&](int shift, std::int32_t premultiplied) {
        const std::int32_t c = static_cast<std::int32_t>((pixel >> shift) & 0xFFu);
        return static_cast<std::uint32_t>((c * e.inverse_opacity + premultiplied + 128) >> 8) << shift;
    };
    return mix(16, e.red) | mix(8, e.green) | mix(0, e.blue);
}

} // namespace

void BuildGlowTable(float sun_scale, GlowTable& table)
{
    const float inner = kHaloInner * sun_scale;
    const float outer = kHaloOuter * sun_scale;
    const float inv = outer - inner > 0.000001f ? 1.0f / (outer - inner) : 0.0f;
    const float k_squared = outer * outer;
    const float l = 1023.0f / k_squared;
    table.inner = inner;
    table.outer = outer;
    table.index_scale = l;
    for (int k = 0; k < kGlowEntries; ++k) {
        const float d = sqrtf(static_cast<float>(k) / l);
        float f = (d - inner) * inv;
        if (!(f > 0.0f)) f = 0.0f;
        if (f > 1.0f) f = 1.0f;
        float r = 255.0f, g, b, a;
        if (f <= 0.4f) {
            const float q = f / 0.4f;
            g = 201.0f - 51.0f * q;
            b = 128.0f - 36.0f * q;
            a = 0.85f - 0.53f * q;
        } else {
            g = 150.0f;
            b = 92.0f;
            a = (f - 0.4f) / -0.6f * 0.32f + 0.32f;
        }
        table.entries[static_cast<std::size_t>(k)] =
            GlowEntry{Truncate(256.0f * a * r + 0.5f), Truncate(256.0f * a * g + 0.5f),
                      Truncate(256.0f * a * b + 0.5f), Truncate(256.0f * (1.0f - a) + 0.5f)};
    }
}

void DrawSun(const RasterTarget& target, const ViewTransform& view, Vec2 centre, float sun_scale,
             GlowTable& table)
{
    BuildGlowTable(sun_scale, table);
    const float outer = table.outer;
    const float k_squared = outer * outer;
    const float disc_squared = (kDiscRadius * sun_scale) * (kDiscRadius * sun_scale);
    const Vec2 s = ToPixel(view, centre);
    const float reach = 2.0f * outer;
    const IndexRange rows = ClampToIndices(floorf(s.y - reach), ceilf(s.y + reach), target.height - 1);
    const IndexRange columns = ClampToIndices(floorf(s.x - reach), ceilf(s.x + reach), target.width - 1);
    if (rows.empty() || columns.empty()) return;

    for (int i = rows.first; i <= rows.last; ++i) {
        std::uint32_t* out = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        const float row_centre = static_cast<float>(i) + 0.5f;
        for (int j = columns.first; j <= columns.last; ++j) {
            const Vec2 p = PixelCentreToLogical(view, j, row_centre);
            if (p.y >= kHorizonY) continue;
            const float dx = p.x - centre.x;
            const float dy = p.y - centre.y;
            const float d2 = dx * dx + dy * dy;
            if (d2 < k_squared) {
                const float scaled = d2 * table.index_scale;
                const int k = scaled < 1023.0f ? static_cast<int>(scaled) : 1023;
                const GlowEntry& e = table.entries[static_cast<std::size_t>(k)];
                if (e.inverse_opacity <= 254) out[j] = ApplyGlow(out[j], e);
            }
            if (d2 <= disc_squared) out[j] = DiscColour(d2, sun_scale);
        }
    }
}

} // namespace veldmark
