#pragma once
// The depth-ordered pass, the scene builder's last stage. The display list has no depth test,
// so everything standing up from the ground (trees, masts, animals, the lion, the lead
// vehicle) and the roadside rails and posts are put in one list, sorted farthest first and
// drawn in that order over the ground and road already in the list.
#include <cstddef>
#include <cstdint>

#include "render/camera_space.h"
#include "render/display_list.h"
#include "render/shape_emitters.h"
#include "scene/frame_lists.h"
#include "scene/lead_vehicle.h"
#include "scene/scene_setup.h"
#include "world/sim_state.h"

namespace veldmark {

// The kinds in the order the list is built, which is also the order of drawing at equal depth.
enum class DrawKind : std::uint8_t {
    Vegetation = 0,
    Mast = 1,
    Animal = 2,
    Lion = 3,
    LeadVehicle = 4,
    DeferredStrip = 5,
};

struct DrawItem {
    std::uint64_t index;   // position in the list of its kind
    float depth;           // sort key
    DrawKind kind;
};

inline constexpr std::size_t kDrawItemCapacity =
    kVegetationCapacity + kMastCapacity + kAnimalCapacity + kLionCapacity + 1 + kDeferredCapacity;

struct DrawList {
    DrawItem items[kDrawItemCapacity];
    std::size_t count;
};

// Registers the rails at the joints between consecutive visible sections, and at the joint
// behind the camera's section when `behind` is given, into the sink; none at all while the
// camera is on a terminal section.
void RegisterJunctionRails(DeferredSink& sink, const CameraView& view, const SectionRecord* behind);

// Lists every gathered object, the lead vehicle and every deferred item, kind by kind.
// Deferred items whose depth key is not a number are left out: they have no place in the order.
void BuildDrawList(DrawList& list, const FrameLists& lists, const LeadPlacement& lead,
                   const DeferredItem* deferred, std::uint64_t deferred_count);

// Sorts by descending depth; items of equal depth keep the order in which they were listed.
void SortFarToNear(DrawList& list);

// Draws a rail or post quad: cut at the near plane, projected without the ground's fall-off.
void DrawDeferredStrip(DisplayListWriter& out, const Projection& projection, const DeferredItem& item);

// The whole pass: rails, lead vehicle placement, list, sort and drawing. `list` is scratch.
void DepthOrderedPass(DisplayListWriter& out, SimState& state, const SceneSetup& setup,
                      const SceneInputs& in, const FrameLists& lists, DrawList& list);

} // namespace veldmark
