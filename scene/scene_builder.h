#pragma once
// SceneBuilder: turns the state of one frame into its display list, everything the render
// workers draw over their sky, sun and ground. There is no depth buffer, so the order of
// appending is the order of visibility: the horizon, then the road section by section from
// near to far, then everything standing up from the ground, farthest first.
#include "scene/scene_setup.h"
#include "world/sim_state.h"

namespace veldmark {

// Appends the frame's commands to `display_list` (FrameParams has emptied it) and starts the
// frame's deferred items and animal counters afresh.
void SceneBuilder(SimState& state, const SceneInputs& in);

} // namespace veldmark
