#include "app/headless/drive_frame.h"

#include <memory>

#include "render/display_list.h"
#include "sim/frame_params.h"
#include "sim/simulation_step.h"
#include "world/world_gen.h"

namespace veldmark::tool {

void BuildFrameAtStep(SimState& state, std::uint64_t steps)
{
    WorldGen(state);
    if (steps == 0) FrameParams(state);
    for (std::uint64_t i = 0; i < steps; ++i) {
        SimulationStep(state);
        FrameParams(state);
    }
}

std::uint64_t DriveLengthInSteps()
{
    auto state = std::make_unique<SimState>();
    ApplyInitialValues(*state);
    WorldGen(*state);
    for (std::uint64_t step = 1;; ++step) {
        const bool restarts = AtRouteEnd(*state);
        SimulationStep(*state);
        if (restarts) return step;
    }
}

ListStats CountCommands(const std::uint32_t* words, std::uint64_t length)
{
    ListStats stats{};
    stats.words = length;
    std::uint64_t p = 0;
    while (p < length) {
        const std::uint32_t opcode = words[p];
        const std::uint64_t header = HeaderWords(opcode);
        ++stats.by_opcode[opcode < 7 ? opcode : 7];
        ++stats.commands;
        if (p + header > length) {
            stats.truncated = true;
            break;
        }
        const std::uint64_t vertices = opcode == kOpDisc ? 0 : words[p + header - 1];
        p += header + 2 * vertices;
    }
    if (p > length) stats.truncated = true;
    return stats;
}

} // namespace veldmark::tool
