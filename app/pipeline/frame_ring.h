#pragma once
// The frame ring: four frame packets handed between the main thread, which fills and presents
// them strictly in production order, and the render workers, which take whichever is Ready.
// Each packet's state byte is the only synchronisation: the main thread publishes a filled
// packet with a release store of Ready and reads Done with an acquire load.
#include <chrono>
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark {

// The main thread's position in the ring: frames filled and frames presented so far. The
// slot of a counter is its value AND 3.
struct FrameCounters {
    std::uint64_t filled = 0;
    std::uint64_t presented = 0;
};

inline FrameSlot& SlotOf(SimState& state, std::uint64_t counter)
{
    return state.frame_slots[counter & (kFrameSlotCount - 1)];
}

// Marks every packet Free. Only before the workers start.
void ResetFrameRing(SimState& state);

// Computes the packet's background parameters from the state: roll, sky colours, sun.
void WriteSlotTail(SimState& state, SlotTail& tail);

// Clock readings between the stages of one fill, for the benchmark.
struct FillTimes {
    using Clock = std::chrono::steady_clock;
    Clock::time_point start;       // before the simulation steps
    Clock::time_point simulated;   // after them
    Clock::time_point built;       // after FrameParams: the display list is written
    Clock::time_point published;   // after the copy into the packet and the store of Ready
};

// When the packet of `counters.filled` is Free: runs `steps` simulation steps (the drive moves
// one step per frame; more skip ahead), builds the frame, copies it into the packet, publishes
// it as Ready and counts it. Returns false, doing nothing, when that packet is not Free.
// `times`, when given, receives the clock at each stage.
bool FillNextFrame(SimState& state, FrameCounters& counters, std::uint64_t steps = 1,
                   FillTimes* times = nullptr);

// The packet to present next, when a worker has finished it; otherwise nullptr.
const FrameSlot* NextFinishedFrame(SimState& state, const FrameCounters& counters);

// Hands the presented packet back to be filled again.
void ReleasePresentedFrame(SimState& state, FrameCounters& counters);

} // namespace veldmark
