#pragma once
// The per-frame set-up every element of the scene shares: which sections are in view, where
// the camera stands in them, which way it looks in the world, how far it is zoomed and how
// dark it has become.
#include <cstdint>

#include "render/track_transform.h"
#include "world/sim_state.h"

namespace veldmark {

// The inputs of one scene, in the order FrameParams hands them over.
struct SceneInputs {
    std::uint64_t section;   // car_section
    float along;             // car_along
    float across;            // car_across, from the centre line
    float heading;           // car_heading, against the section axis
    float yaw;               // car_yaw, absolute
    float ticks;             // drive_ticks
    float speed;             // car_speed
    float focal;             // this frame's focal length
    float look_yaw;          // where the camera looks beside the heading
    float lead_position;     // lead_position
    std::uint8_t lead_braking;
};

struct SceneSetup {
    CameraView view;         // visible chain, camera record and projection
    float bearing;           // absolute view bearing, for what is fixed to the world
    float zoom;              // focal / rest focal length
    float sun_height;        // logical pixels above the horizon line at rest zoom
    float darkness;          // 0 by day, 1 at night
    float light;             // 1 - darkness / 2: how much light the distant mountains keep
    float view_width;
};

// The sections from `section` on, nearest first: up to 7, ending with the first terminal one.
// A section index outside the route gives an empty chain.
void BuildVisibleChain(const SimState& state, std::uint64_t section, SectionChain& chain);

// Works out the frame's set-up. The chain is empty when the car's section is not in the route.
SceneSetup MakeSceneSetup(const SimState& state, const SceneInputs& in);

} // namespace veldmark
