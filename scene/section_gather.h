#pragma once
// Gathering: a visible section's trees and bushes, radio masts, animals and lion become
// camera-space entries of the frame lists, to be drawn in depth order once every section has
// been visited. Only the waterhole's pond is drawn at once, so that it lies under every
// sprite whatever its depth.
#include <cstdint>

#include "render/display_list.h"
#include "render/track_transform.h"
#include "scene/frame_lists.h"
#include "world/sim_state.h"

namespace veldmark {

// Animals are gathered from this many of the nearest sections, the corner pair and the
// ducks from one section more than `kFeatureSections`; farther ones would be specks.
inline constexpr std::uint64_t kAnimalSections = 3;
inline constexpr std::uint64_t kFeatureSections = 5;

// Objects are dropped when their projected height falls under this many logical pixels.
inline constexpr float kMinimumSize = 2.0f;

// Where a section's masts stand, and how they turn.
inline constexpr float kMastBeyondEnd = 160.0f;
inline constexpr float kMastBesideRoad = 20.0f;
inline constexpr float kLongMastBesideRoad = -100.0f;
inline constexpr float kCornerMastYaw = 0.5235988f;   // 30 degrees
// Masts blink once every 120 ticks; each starts at its own whole tick of that period.
inline constexpr std::uint64_t kMastPhaseCount = 120;

// Empties the lists and their counters for a new frame.
void ClearFrameLists(FrameLists& lists);

// Gathers the section at visible index `k` of the view. `car_speed` times the lion's scene.
void SceneGather(FrameLists& lists, DisplayListWriter& out, const CameraView& view,
                 std::uint64_t k, float car_speed);

// Gathers what still shows of the section just behind the camera's section (route index
// `route_index`): its first mast, its corner pair and its waterhole with all its ducks.
void GatherBehind(FrameLists& lists, DisplayListWriter& out, const CameraView& view,
                  const SectionRecord& behind, std::uint64_t route_index);

} // namespace veldmark
