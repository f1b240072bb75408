#include "render/shade_record.h"

#include <cmath>

namespace veldmark {
namespace {

constexpr float kBandDarkening = 0.4f;
constexpr float kBandLightening = 0.25f;
constexpr float kBandMinExtent = 1.0f;     // narrower bands are drawn flat
constexpr float kDegenerateAxes = 0.0001f; // |determinant| below this spans no ellipse

// One channel scaled by a tone factor: capped at 255, rounded by adding 0.5 and truncating. A
// large shade amount makes the dark factor negative (and NaN input makes it NaN); such a
// channel is 0.
std::uint32_t ToneChannel(std::uint32_t channel, float factor)
{
    float value = static_cast<float>(channel) * factor;
    if (value > 255.0f) value = 255.0f;
    if (!(value > 0.0f)) return 0;
    return static_cast<std::uint32_t>(value + 0.5f);
}

std::uint32_t Tone(std::uint32_t colour, float factor)
{
    return ToneChannel((colour >> 16) & 0xFFu, factor) << 16 |
           ToneChannel((colour >> 8) & 0xFFu, factor) << 8 | ToneChannel(colour & 0xFFu, factor);
}

} // namespace

ShadeRecord MakeBandRecord(std::uint32_t colour, float shade, const std::uint32_t* vertex_words,
                           std::uint64_t n)
{
    // All n vertices count, also those past the 1024 the filler uses. NaN x never compares
    // smaller or larger, so it takes no part.
    float min_x = INFINITY;
    float max_x = -INFINITY;
    for (std::uint64_t k = 0; k < n; ++k) {
        const float x = WordFloat(vertex_words[2 * k]);
        if (x < min_x) min_x = x;
        if (x > max_x) max_x = x;
    }
    ShadeRecord record;
    record.colour_a = colour;
    if (shade <= 0.0f || (max_x - min_x) < kBandMinExtent) return record;
    record.kind = ShadeKind::kBand;
    record.colour_a = Tone(colour, 1.0f - kBandDarkening * shade);
    record.colour_b = Tone(colour, 1.0f + kBandLightening * shade);
    record.min_x = min_x;
    record.max_x = max_x;
    return record;
}

float ClampRampStart(float start)
{
    if (!(start > 0.0f)) return 0.0f;   // also NaN
    return start < 1.0f ? start : 1.0f;
}

float ClampRampEnd(float end, float clamped_start)
{
    if (!(end <= 1.0f)) end = 1.0f;     // also NaN
    return end < clamped_start ? clamped_start : end;
}

ShadeRecord MakeRadialRecord(std::uint32_t inner, std::uint32_t outer, Vec2 centre, float radius)
{
    ShadeRecord record;
    record.kind = ShadeKind::kRadial;
    record.colour_a = inner;
    record.colour_b = outer;
    record.centre = centre;
    record.radius = radius;
    return record;
}

ShadeRecord MakeLinearRecord(std::uint32_t start_colour, std::uint32_t end_colour, float start,
                             float end, Vec2 p0, Vec2 p1)
{
    ShadeRecord record;
    record.kind = ShadeKind::kLinear;
    record.colour_a = start_colour;
    record.colour_b = end_colour;
    record.start = ClampRampStart(start);
    record.end = ClampRampEnd(end, record.start);
    record.p0 = p0;
    record.p1 = p1;
    return record;
}

ShadeRecord MakeEllipticRecord(std::uint32_t inner, std::uint32_t outer, float start, float end,
                               Vec2 centre, Vec2 u, Vec2 v)
{
    ShadeRecord record;
    record.colour_a = inner;
    const float determinant = u.x * v.y - u.y * v.x;
    if (std::fabs(determinant) < kDegenerateAxes) {
        record.kind = ShadeKind::kBlend;
        return record;
    }
    record.kind = ShadeKind::kElliptic;
    record.colour_b = outer;
    record.start = ClampRampStart(start);
    record.end = ClampRampEnd(end, record.start);
    record.centre = centre;
    record.u = u;
    record.v = v;
    record.determinant = determinant;
    return record;
}

} // namespace veldmark
