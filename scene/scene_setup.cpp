#include "scene/scene_setup.h"

#include "scene/daylight.h"

namespace veldmark {

void BuildVisibleChain(const SimState& state, std::uint64_t section, SectionChain& chain)
{
    chain.count = 0;
    std::uint64_t index = section;
    while (chain.count < kMaxVisibleSections && index < state.section_count &&
           index < kSectionCapacity) {
        const SectionRecord& s = state.sections[index];
        SetChainEntry(chain, chain.count++, s, index);
        if (s.is_terminal) break;
        index = s.next_section;
    }
}

SceneSetup MakeSceneSetup(const SimState& state, const SceneInputs& in)
{
    SceneSetup setup{};
    BuildVisibleChain(state, in.section, setup.view.chain);
    // The simulation measures across from the centre line, the scene from the road edge.
    const float half_width =
        setup.view.chain.count > 0 ? setup.view.chain.entries[0]->width / 2.0f : 0.0f;
    setup.view.camera = MakeCameraRecord(in.along, in.across + half_width,
                                         in.heading + in.look_yaw);
    setup.view_width = state.view_width;
    setup.view.projection = Projection{in.focal, setup.view_width * 0.5f};
    setup.bearing = in.yaw + in.look_yaw;
    setup.zoom = in.focal / kRestFocalLength;
    setup.sun_height = SunHeight(in.ticks);
    setup.darkness = Darkness(setup.sun_height);
    setup.light = 1.0f - 0.5f * setup.darkness;
    return setup;
}

} // namespace veldmark
