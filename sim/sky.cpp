#include "sim/sky.h"

#include <algorithm>
#include <cmath>

#include "render/colour_word.h"

namespace veldmark {
namespace {

struct Rgb {
    std::uint32_t r, g, b;
};

constexpr Rgb kDayZenith = {142, 202, 230};
constexpr Rgb kNightZenith = {36, 58, 94};
constexpr Rgb kSunsetHorizon = {222, 88, 52};
constexpr float kSunsetReach = 110.0f;   // the horizon reddens while the sun is this close
constexpr float kSunsetStrength = 0.85f;
constexpr float kFlatRoll = 0.001f;      // smaller steering angles draw an unrolled view

// The signed difference of two channels, as a float.
float Difference(std::uint32_t to, std::uint32_t from)
{
    return static_cast<float>(static_cast<int>(to) - static_cast<int>(from));
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, float weight)
{
    return NearestChannel(Difference(to, from) * weight + static_cast<float>(from));
}

Rgb Zenith(float darkness)
{
    return Rgb{Mix(kDayZenith.r, kNightZenith.r, darkness), Mix(kDayZenith.g, kNightZenith.g, darkness),
               Mix(kDayZenith.b, kNightZenith.b, darkness)};
}

} // namespace

std::uint32_t ZenithColour(float drive_ticks)
{
    const Rgb z = Zenith(Darkness(SunHeight(drive_ticks)));
    return PackRgb(z.r, z.g, z.b);
}

std::uint32_t HorizonColour(float drive_ticks)
{
    const float h = SunHeight(drive_ticks);
    const Rgb z = Zenith(Darkness(h));
    const float w = std::max(1.0f - std::fabs(h) / kSunsetReach, 0.0f) * kSunsetStrength;
    return PackRgb(Mix(z.r, kSunsetHorizon.r, w), Mix(z.g, kSunsetHorizon.g, w), Mix(z.b, kSunsetHorizon.b, w));
}

float RollFromSteer(float steer_angle) { return std::fabs(steer_angle) < kFlatRoll ? 0.0f : steer_angle; }

} // namespace veldmark
