#include "scene/scene_builder.h"

#include "render/display_list.h"
#include "scene/horizon.h"
#include "scene/road_surface.h"

namespace veldmark {

void SceneBuilder(SimState& state, const SceneInputs& in)
{
    state.deferred_count = 0;
    state.animals_out_of_range = 0;
    state.animals_too_small = 0;

    const SceneSetup setup = MakeSceneSetup(state, in);
    const CameraView& view = setup.view;
    DisplayListWriter out(state.display_list, state.display_list_length);

    EmitHorizon(out, HorizonView{setup.bearing, in.focal, setup.zoom, setup.darkness,
                                 setup.light, setup.view_width});

    // Road, nearest section first. Where far road lands on the screen over near road nothing
    // shows, since every road piece has the same colour.
    for (std::uint64_t k = 0; k < view.chain.count; ++k) {
        EmitRoadSurface(out, view, k);
        EmitRoadJoin(out, view, k);
        // Section gathering goes here: section k's trees and bushes, radio masts, herds and
        // groups, feature pair, waterhole with its ducks, and lion, collected into the frame's
        // bounded lists in this section order.
    }

    // The section behind the car still shows its last stretch of road (and, once gathering
    // is in, its first mast, feature pair and waterhole) while the car rounds the corner.
    if (view.chain.count > 0 && in.section > 0 && in.section - 1 < state.section_count) {
        EmitRoadBehind(out, view, state.sections[in.section - 1]);
    }

    // The depth-ordered pass goes here: the junction rails into deferred_items, the lead
    // vehicle, then every gathered object and deferred item drawn farthest first. Items of
    // equal depth keep their list order, so any stable sort by descending depth will do.
}

} // namespace veldmark
