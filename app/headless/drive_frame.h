#pragma once
// The frame the drive shows after a number of steps, as the main loop would build it: each
// simulation step is followed by FrameParams, so statistics such as display_list_peak grow as
// they do in a real run.
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark::tool {

inline constexpr std::uint64_t kMaxDriveSteps = 10'000'000;

// Runs `steps` steps from the start of the drive (0: the start itself) and leaves that frame's
// display list in `state`.
void BuildFrameAtStep(SimState& state, std::uint64_t steps);

// The steps of one whole drive: the last is the one at the route's end, after which the drive
// starts again. Runs the simulation once on a record of its own.
std::uint64_t DriveLengthInSteps();

// Counts the commands of a display list by opcode (0 to 6, and 7 for any other value).
struct ListStats {
    std::uint64_t by_opcode[8];
    std::uint64_t commands;
    std::uint64_t words;
    bool truncated;   // the last command runs past the end of the list
};

ListStats CountCommands(const std::uint32_t* words, std::uint64_t length);

} // namespace veldmark::tool
