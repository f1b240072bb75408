#pragma once
// Light of the drive: the sun sinks with the drive clock, the sky darkens and, while the sun is
// near the horizon, reddens at the horizon line.
#include <cstdint>

namespace veldmark {

// The sun's height above the horizon line in logical pixels at rest zoom: 244 when a drive
// starts, passing 0 after about 3983 steps.
float SunHeight(float drive_ticks);

// 0 in full day, 1 at full night: a square rise to 0.5942623 at height -46, then linear to 1
// at -92.
float Darkness(float sun_height);

std::uint32_t ZenithColour(float drive_ticks);   // 0x00RRGGBB
std::uint32_t HorizonColour(float drive_ticks);  // 0x00RRGGBB

// The view roll of a frame: the steering angle, or exactly 0 when it is under 0.001 so that
// the render workers can take their unrotated paths.
float RollFromSteer(float steer_angle);

} // namespace veldmark
