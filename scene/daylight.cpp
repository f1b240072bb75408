#include "scene/daylight.h"

#include <algorithm>

namespace veldmark {
namespace {

constexpr float kDuskHeight = -46.0f;        // the square rise of darkness ends here
constexpr float kDuskDarkness = 0.5942623f;  // ...at this much darkness
constexpr float kNightFallDepth = 46.0f;     // then it is full night this far further down
constexpr float kDayToDusk = 290.0f;         // from the rest height down to dusk

} // namespace

float SunHeight(float drive_ticks) { return drive_ticks * -kSunSinkPerStep + kSunRestHeight; }

float Darkness(float sun_height)
{
    if (sun_height >= kDuskHeight) {
        const float q = (kSunRestHeight - sun_height) / kDayToDusk;
        return std::max(q * kDuskDarkness * q, 0.0f);
    }
    return std::min((kDuskHeight - sun_height) / kNightFallDepth * (1.0f - kDuskDarkness) + kDuskDarkness, 1.0f);
}

} // namespace veldmark
