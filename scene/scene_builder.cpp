#include "scene/scene_builder.h"

#include "render/display_list.h"
#include "scene/draw_pass.h"
#include "scene/frame_lists.h"
#include "scene/horizon.h"
#include "scene/road_surface.h"
#include "scene/section_gather.h"

namespace veldmark {

void SceneBuilder(SimState& state, const SceneInputs& in)
{
    state.deferred_count = 0;
    state.animals_out_of_range = 0;
    state.animals_too_small = 0;

    const SceneSetup setup = MakeSceneSetup(state, in);
    const CameraView& view = setup.view;
    DisplayListWriter out(state.display_list, state.display_list_length);

    // The frame's gathered objects and the pass's sort list live here and die with the frame.
    FrameLists lists;
    ClearFrameLists(lists);
    DrawList draw_list;
    draw_list.count = 0;

    EmitHorizon(out, HorizonView{setup.bearing, in.focal, setup.zoom, setup.darkness,
                                 setup.light, setup.view_width});

    // Road, nearest section first. Where far road lands on the screen over near road nothing
    // shows, since every road piece has the same colour.
    for (std::uint64_t k = 0; k < view.chain.count; ++k) {
        EmitRoadSurface(out, view, k);
        EmitRoadJoin(out, view, k);
        SceneGather(lists, out, view, k, in.speed);
    }

    // The section behind the car still shows its last stretch of road, its first mast, its
    // feature pair and its waterhole while the car rounds the corner.
    if (view.chain.count > 0 && in.section > 0 && in.section - 1 < state.section_count) {
        const SectionRecord& behind = state.sections[in.section - 1];
        EmitRoadBehind(out, view, behind);
        GatherBehind(lists, out, view, behind, in.section - 1);
    }
    state.animals_too_small = lists.counters.too_small;
    state.animals_out_of_range = lists.counters.out_of_range;

    // Junction rails, the lead vehicle and every gathered object, farthest first.
    DepthOrderedPass(out, state, setup, in, lists, draw_list);
}

} // namespace veldmark
