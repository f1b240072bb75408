#include "app/pipeline/frame_ring.h"

#include <algorithm>

#include "render/render_worker.h"
#include "sim/frame_params.h"
#include "sim/simulation_step.h"
#include "sim/sky.h"
#include "world/world_gen.h"

namespace veldmark {

void ResetFrameRing(SimState& state)
{
    for (FrameSlot& slot : state.frame_slots)
        slot.tail.state.store(static_cast<std::uint8_t>(SlotState::Free), std::memory_order_relaxed);
}

void WriteSlotTail(SimState& state, SlotTail& tail)
{
    WorldGen(state);
    tail.roll = RollFromSteer(state.steer_angle);
    const float ticks = state.drive_ticks;
    tail.zenith_colour = ZenithColour(ticks);
    tail.horizon_colour = HorizonColour(ticks);
    tail.sun_x = state.sun_screen_x;
    tail.sun_y = state.sun_screen_y;
    tail.sun_scale = state.sun_scale;
    tail.sun_visible = state.sun_visible;
}

bool FillNextFrame(SimState& state, FrameCounters& counters, std::uint64_t steps, FillTimes* times)
{
    FrameSlot& slot = SlotOf(state, counters.filled);
    // Only the main thread ever moves a packet out of Free, so this check cannot go stale.
    if (slot.tail.state.load(std::memory_order_acquire) != static_cast<std::uint8_t>(SlotState::Free))
        return false;
    if (times) times->start = FillTimes::Clock::now();
    for (std::uint64_t i = 0; i < std::max<std::uint64_t>(steps, 1); ++i) SimulationStep(state);
    if (times) times->simulated = FillTimes::Clock::now();
    FrameParams(state);
    if (times) times->built = FillTimes::Clock::now();
    const std::uint64_t length = std::min<std::uint64_t>(state.display_list_length, kDisplayListWords);
    std::copy_n(state.display_list, length, slot.display_list);
    slot.list_length = length;
    WriteSlotTail(state, slot.tail);
    slot.tail.state.store(static_cast<std::uint8_t>(SlotState::Ready), std::memory_order_release);
    WakeRenderWorkers();
    if (times) times->published = FillTimes::Clock::now();
    ++counters.filled;
    return true;
}

const FrameSlot* NextFinishedFrame(SimState& state, const FrameCounters& counters)
{
    if (counters.presented == counters.filled) return nullptr;
    const FrameSlot& slot = SlotOf(state, counters.presented);
    if (slot.tail.state.load(std::memory_order_acquire) != static_cast<std::uint8_t>(SlotState::Done))
        return nullptr;
    return &slot;
}

void ReleasePresentedFrame(SimState& state, FrameCounters& counters)
{
    // No ordering needed: only the main thread acts on a Free packet.
    SlotOf(state, counters.presented)
        .tail.state.store(static_cast<std::uint8_t>(SlotState::Free), std::memory_order_relaxed);
    ++counters.presented;
}

} // namespace veldmark
