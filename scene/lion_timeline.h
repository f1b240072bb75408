#pragma once
// The lion's little scene, timed by the car's approach: it walks in from the side, sits and
// watches the road, crouches, and leaps across to land just as the car arrives. It keeps no
// state: every frame works it out afresh from how far the car still has to go and how fast.
#include <cstdint>

#include "render/track_transform.h"
#include "scene/lion_entry.h"
#include "world/sim_state.h"

namespace veldmark {

// The lion's scene lasts this many steps of the vehicle's approach, ending when the vehicle is
// kLionStopShort units short of the lion's spot. The vehicle coasts over the same steps and
// the view widens over them.
inline constexpr float kLionSceneSteps = 38.0f;
inline constexpr float kLionStopShort = 3.0f;

// The lion at one moment: its picture, where it is across the road (from the centre line) and
// how high the leap has lifted it (in units of its size).
struct LionAct {
    std::uint8_t pose;
    float across;
    float lift;
};

// The scene's clock in steps, 0 to 38: 38 less the steps until the car is `to_go` units
// further on, at its present speed. A car that has arrived (to_go <= 0) reads 38; a car that
// stands still short of the spot reads 0.
float LionClock(float to_go, float car_speed);

// Pose, across and lift at clock t for the spot's walk_from, rest_across and land_across.
LionAct LionAtClock(float t, const float (&spot)[kLionSpotFields]);

// Lists the lion of section `k` of the view (if it has one and the list has room) with its pose
// for this frame. `car_speed` is this step's speed; `focal` this frame's focal length. A lion
// at or nearer than depth 0.4, or under 2 logical pixels tall, is not listed.
void GatherLion(LionList& lions, const CameraView& view, std::uint64_t k, float car_speed,
                float focal);

} // namespace veldmark
