#include "app/headless/drive_frame.h"

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

namespace {

// Words of a command's header and the header word that holds its vertex count (0 for none).
struct Layout {
    std::uint64_t header;
    std::uint64_t count_word;
};

Layout LayoutOf(std::uint32_t opcode)
{
    switch (opcode) {
    case kOpBandPolygon: return {kBandHeaderWords, 3};
    case kOpDisc: return {kDiscWords, 0};
    case kOpRadialPolygon: return {kRadialHeaderWords, 6};
    case kOpLinearPolygon: return {kLinearHeaderWords, 9};
    case kOpEllipticPolygon: return {kEllipticHeaderWords, 11};
    default: return {kFlatHeaderWords, 2};
    }
}

} // namespace

ListStats CountCommands(const std::uint32_t* words, std::uint64_t length)
{
    ListStats stats{};
    stats.words = length;
    std::uint64_t p = 0;
    while (p < length) {
        const std::uint32_t opcode = words[p];
        const Layout layout = LayoutOf(opcode);
        ++stats.by_opcode[opcode < 7 ? opcode : 7];
        ++stats.commands;
        if (p + layout.header > length) {
            stats.truncated = true;
            break;
        }
        const std::uint64_t vertices = layout.count_word ? words[p + layout.count_word] : 0;
        p += layout.header + 2 * vertices;
    }
    if (p > length) stats.truncated = true;
    return stats;
}

} // namespace veldmark::tool
