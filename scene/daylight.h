#pragma once
// How the day goes: the sun sinks with the drive clock and the light fades with it. The
// scene dims the mountains and lights the lamps by these; the sky colours and the sun's place
// on the screen follow the same path.
namespace veldmark {

inline constexpr float kSunRestHeight = 244.0f;        // logical pixels above the horizon line
inline constexpr float kSunSinkPerStep = 0.061258752f; // ...falling this much per step

// The sun's height above the horizon line in logical pixels at rest zoom: 244 when a drive
// starts, passing 0 after about 3983 steps.
float SunHeight(float drive_ticks);

// 0 in full day, 1 at full night: a square rise to 0.5942623 at height -46, then linear to 1
// at -92.
float Darkness(float sun_height);

} // namespace veldmark
