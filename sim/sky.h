#pragma once
// The sky of each frame: it darkens as the sun sinks and, while the sun is near the horizon,
// reddens at the horizon line. The sun's path itself is in scene/daylight.h.
#include <cstdint>

#include "scene/daylight.h"

namespace veldmark {

std::uint32_t ZenithColour(float drive_ticks);   // 0x00RRGGBB
std::uint32_t HorizonColour(float drive_ticks);  // 0x00RRGGBB

// The view roll of a frame: the steering angle, or exactly 0 when it is under 0.001 so that
// the render workers can take their unrotated paths.
float RollFromSteer(float steer_angle);

} // namespace veldmark
