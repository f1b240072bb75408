#include "sim/sky.h"

#include <algorithm>
#include <cmath>

namespace veldmark {
namespace {

struct Rgb {
    int r, g, b;
};

constexpr Rgb kDayZenith = {142, 202, 230};
constexpr Rgb kNightZenith = {36, 58, 94};
constexpr Rgb kSunsetHorizon = {222, 88, 52};
constexpr float kSunsetReach = 110.0f;   // the horizon reddens while the sun is this close
constexpr float kSunsetStrength = 0.85f;

// Nearest integer, halves away from zero, kept inside a channel's range (and 0 for NaN) so
// that the conversion to int is always defined.
int Channel(float value)
{
    const float rounded = roundf(value);
    if (!(rounded >= 0.0f)) return 0;
    if (rounded >= 255.0f) return 255;
    return static_cast<int>(rounded);
}

std::uint32_t Pack(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

Rgb Zenith(float darkness)
{
    return Rgb{Channel(darkness * static_cast<float>(kNightZenith.r - kDayZenith.r) + static_cast<float>(kDayZenith.r)),
               Channel(darkness * static_cast<float>(kNightZenith.g - kDayZenith.g) + static_cast<float>(kDayZenith.g)),
               Channel(darkness * static_cast<float>(kNightZenith.b - kDayZenith.b) + static_cast<float>(kDayZenith.b))};
}

int TowardSunset(int zenith, int sunset, float weight)
{
    return Channel(static_cast<float>(sunset - zenith) * weight + static_cast<float>(zenith));
}

} // namespace

float SunHeight(float drive_ticks) { return drive_ticks * -0.061258752f + 244.0f; }

float Darkness(float sun_height)
{
    if (sun_height >= -46.0f) {
        const float q = (244.0f - sun_height) / 290.0f;
        return std::max(q * 0.5942623f * q, 0.0f);
    }
    return std::min((-46.0f - sun_height) / 46.0f * 0.4057377f + 0.5942623f, 1.0f);
}

std::uint32_t ZenithColour(float drive_ticks)
{
    const Rgb z = Zenith(Darkness(SunHeight(drive_ticks)));
    return Pack(z.r, z.g, z.b);
}

std::uint32_t HorizonColour(float drive_ticks)
{
    const float h = SunHeight(drive_ticks);
    const Rgb z = Zenith(Darkness(h));
    const float w = std::max(1.0f - std::fabs(h) / kSunsetReach, 0.0f) * kSunsetStrength;
    return Pack(TowardSunset(z.r, kSunsetHorizon.r, w), TowardSunset(z.g, kSunsetHorizon.g, w),
                TowardSunset(z.b, kSunsetHorizon.b, w));
}

float RollFromSteer(float steer_angle) { return std::fabs(steer_angle) < 0.001f ? 0.0f : steer_angle; }

} // namespace veldmark
