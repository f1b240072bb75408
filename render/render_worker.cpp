#include "render/render_worker.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>

namespace veldmark {
namespace {

// Rung whenever a packet becomes Ready and when the workers are told to stop. An idle worker
// sleeps on it instead of looking at the ring every millisecond, so a paused or hidden window
// costs no processor time at all. It only wakes workers: packets still change hands by their
// state bytes alone.
std::atomic<std::uint32_t> g_doorbell{0};

bool StopRequested(const SimState& state)
{
    return (state.workers_stop.load(std::memory_order_acquire) & 1) != 0;
}

} // namespace

void RenderSlot(FrameSlot& slot, StripScratch& scratch)
{
    const SlotTail& tail = slot.tail;
    const FrameBackground background{tail.zenith_colour, tail.horizon_colour, (tail.sun_visible & 1) != 0,
                                     Vec2{tail.sun_x, tail.sun_y}, tail.sun_scale};
    RenderInStrips(RasterTarget{slot.pixels, kFrameWidth, kFrameHeight}, tail.roll, &background,
                  slot.display_list, std::min<std::uint64_t>(slot.list_length, kDisplayListWords), scratch,
                  ActiveSimdLevel());
}

FrameSlot* ClaimSlot(SimState& state)
{
    for (FrameSlot& slot : state.frame_slots) {
        auto expected = static_cast<std::uint8_t>(SlotState::Ready);
        if (slot.tail.state.compare_exchange_strong(expected,
                                                    static_cast<std::uint8_t>(SlotState::Rendering),
                                                    std::memory_order_acquire, std::memory_order_relaxed))
            return &slot;
    }
    return nullptr;
}

void WakeRenderWorkers()
{
    g_doorbell.fetch_add(1, std::memory_order_release);
    g_doorbell.notify_all();
}

void RenderWorker(SimState& state, StripScratch& scratch)
{
    while (!StopRequested(state)) {
        // Read before looking at the ring: a packet published after the look rings the bell
        // again, so the wait below cannot miss it.
        const std::uint32_t rung = g_doorbell.load(std::memory_order_acquire);
        FrameSlot* slot = ClaimSlot(state);
        if (!slot) {
            if (!StopRequested(state)) g_doorbell.wait(rung, std::memory_order_acquire);
            continue;
        }
        RenderSlot(*slot, scratch);
        slot->tail.state.store(static_cast<std::uint8_t>(SlotState::Done), std::memory_order_release);
    }
}

bool RenderWorkers::Start(SimState& state, std::size_t count)
{
    Stop();
    if (count < 1 || count > kMaxRenderWorkers) return false;
    state_ = &state;
    state.workers_stop.store(0, std::memory_order_release);
    for (std::size_t i = 0; i < count; ++i) {
        try {
            if (!scratch_[i]) scratch_[i] = std::make_unique<StripScratch>();
            threads_[i] = std::thread(RenderWorker, std::ref(state), std::ref(*scratch_[i]));
        } catch (const std::exception&) {   // std::system_error, std::bad_alloc
            Stop();
            return false;
        }
    }
    return true;
}

void RenderWorkers::Stop()
{
    if (!state_) return;
    state_->workers_stop.store(1, std::memory_order_release);
    WakeRenderWorkers();
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
    state_ = nullptr;
}

} // namespace veldmark
