#pragma once
// Seeded random gradients of every kind, for holding the span kernels to the one-pixel colour
// functions: centres, segments and axes over the screen and past it, ramps that start and end
// beyond 0..1, and every `degenerate_every`-th segment of zero length.
#include <cmath>
#include <cstdint>
#include <random>

#include "render/shade_record.h"

namespace veldmark::test {

inline ShadeRecord RandomShadeRecord(std::mt19937& rng, int round, int degenerate_every)
{
    std::uniform_real_distribution<float> coordinate(-100, 1100), length(-300, 300), unit(-0.2f, 1.2f);
    ShadeRecord r;
    r.kind = static_cast<ShadeKind>(1 + round % 5);
    r.colour_a = static_cast<std::uint32_t>(rng());
    r.colour_b = round % 7 == 0 ? r.colour_a & 0x00FFFFFFu : static_cast<std::uint32_t>(rng());
    r.centre = {coordinate(rng), coordinate(rng)};
    r.radius = std::fabs(length(rng)) + 0.5f;
    r.p0 = {coordinate(rng), coordinate(rng)};
    r.p1 = round % degenerate_every == 0 ? r.p0 : Vec2{coordinate(rng), coordinate(rng)};
    r.u = {length(rng), length(rng)};
    r.v = {length(rng), length(rng)};
    r.determinant = r.u.x * r.v.y - r.u.y * r.v.x;
    r.min_x = coordinate(rng);
    r.max_x = r.min_x + std::fabs(length(rng)) + 1;
    r.start = ClampRampStart(unit(rng));
    r.end = ClampRampEnd(unit(rng), r.start);
    return r;
}

// A roll of either sign up to about 70 degrees, or none every other round.
inline float RandomRoll(std::mt19937& rng, int round)
{
    return round % 2 ? 0.0f : std::uniform_real_distribution<float>(-0.2f, 1.2f)(rng);
}

} // namespace veldmark::test
