// The display lists a whole drive builds, frame by frame through FrameParams.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/tests/emitter_fixture.h"
#include "scene/horizon.h"
#include "sim/frame_params.h"
#include "sim/simulation_step.h"
#include "world/tests/fresh_state.h"

namespace veldmark::test {
namespace {

// Every frame of a whole drive (sampled) is a well-formed list: the commands end exactly at
// its length, every vertex is a finite number, and it starts with the horizon.
TEST(SceneBuilder, EveryFrameOfADriveIsAWellFormedFiniteList)
{
    const auto state = testing::FreshState();
    SimState& s = *state;
    constexpr std::uint64_t kSampleEvery = 37;   // lands on corners, sunset and the restart
    for (std::uint64_t step = 1; step <= 7100; ++step) {
        SimulationStep(s);
        if (step % kSampleEvery != 0) continue;
        FrameParams(s);
        std::vector<std::uint32_t> words(s.display_list, s.display_list + kDisplayListWords);
        const auto commands = Commands(words, 0, s.display_list_length);
        ASSERT_GE(commands.size(), 4u) << "step " << step;
        const Command& last = commands.back();
        ASSERT_EQ(last.first_vertex + 2ull * last.vertices, s.display_list_length) << "step " << step;
        for (const auto& c : commands)
            for (std::uint32_t i = 0; i < c.vertices; ++i) {
                const Vec2 v = VertexAt(words, c, i);
                ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y)) << "step " << step;
            }
        // Far range, near range, the snow cap when the peak is in view, then the hills.
        EXPECT_TRUE(commands[2].colour == kHillColour || commands[3].colour == kHillColour)
            << "step " << step;
    }
}

} // namespace
} // namespace veldmark::test
