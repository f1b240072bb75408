#include "render/render_worker.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "render/background.h"
#include "render/rasteriser.h"

namespace veldmark {
namespace {

constexpr auto kIdleSleep = std::chrono::milliseconds(1);

bool StopRequested(const SimState& state)
{
    return (state.workers_stop.load(std::memory_order_acquire) & 1) != 0;
}

} // namespace

void RenderSlot(FrameSlot& slot, GlowTable& glow)
{
    const SlotTail& tail = slot.tail;
    const RasterTarget target{slot.pixels, kFrameWidth, kFrameHeight};
    const ViewTransform view = MakeViewTransform(tail.roll);
    PaintBackground(target, view, tail.zenith_colour, tail.horizon_colour);
    if (tail.sun_visible & 1) DrawSun(target, view, Vec2{tail.sun_x, tail.sun_y}, tail.sun_scale, glow);
    if (slot.list_length != 0)
        RasteriseDisplayList(target, tail.roll, slot.display_list,
                             std::min<std::uint64_t>(slot.list_length, kDisplayListWords));
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

void RenderWorker(SimState& state)
{
    GlowTable glow;   // per-worker scratch, rebuilt for every frame that shows the sun
    while (!StopRequested(state)) {
        FrameSlot* slot = ClaimSlot(state);
        if (!slot) {
            std::this_thread::sleep_for(kIdleSleep);
            continue;
        }
        RenderSlot(*slot, glow);
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
            threads_[i] = std::thread(RenderWorker, std::ref(state));
        } catch (const std::system_error&) {
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
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
    state_ = nullptr;
}

} // namespace veldmark
