#pragma once
// FrameParams: prepares one frame after the simulation step. It chooses the camera's field of
// view and look direction from the vehicle state, has the scene builder write the display
// list, and places the sun on the screen.
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark {

// 20 degrees of steering narrow the focal length as far as steering can.
inline constexpr float kFullSteer = 0.34906584f;
// The sun stands at this absolute bearing (measured like car_yaw).
inline constexpr float kSunBearing = -2.2176f;
// The sun is placed on the screen while the view looks within this angle of it.
inline constexpr float kSunVisibleAngle = 1.4f;

// The camera's focal length and look direction for the vehicle state.
struct CameraChoice {
    float focal;
    float look_yaw;
};

// (3 - 2x) x^2: eases 0..1 in and out.
inline float Smooth(float x) { return (3.0f - 2.0f * x) * (x * x); }

// How far the approach to a lion widens the view, 0 to 1.8 (not a number when the vehicle's
// state makes it undefined; the caller then ignores it).
float LionWidening(const SimState& state);

CameraChoice ChooseCamera(const SimState& state);

// Builds the frame: empties the display list, sets focal_length, calls SceneBuilder, places
// the sun and updates display_list_peak. Returns the bytes of display list used.
std::uint32_t FrameParams(SimState& state);

} // namespace veldmark
