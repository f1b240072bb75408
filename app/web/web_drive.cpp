#include "app/web/web_drive.h"


#include "app/pipeline/frame_ring.h"
#include "render/render_worker.h"

namespace veldmark::web {
namespace {

FlowTurn Advance(WebDrive& drive, FrameConsumer& consumer)
{
    FlowTurn turn = AdvanceFrames(*drive.state, drive.flow, drive.schedule, consumer);
    if (!turn.delivered && drive.rendering == Rendering::ThisThread && PaintNextOnThisThread(drive))
        turn = AdvanceFrames(*drive.state, drive.flow, drive.schedule, consumer);
    return turn;
}

} // namespace

void StartWebDrive(WebDrive& drive, SimState& state, Rendering rendering, const FrameSchedule& schedule)
{
    drive.state = &state;
    drive.rendering = rendering;
    drive.schedule = schedule;
    drive.flow = FrameFlow{};
    drive.paused = false;
    drive.hidden = false;
    drive.ever_shown = false;
    drive.last_shown_ms = 0.0;
    if (rendering == Rendering::ThisThread && !drive.scratch) drive.scratch = std::make_unique<StripScratch>();
    ResetFrameRing(state);
}

bool FrameDue(const WebDrive& drive, double now_ms)
{
    if (drive.paused || drive.hidden) return false;
    return !drive.ever_shown || now_ms - drive.last_shown_ms >= kMinFrameGapMilliseconds ||
           now_ms < drive.last_shown_ms;   // a clock that stepped back starts pacing afresh
}

bool DriveTurn(WebDrive& drive, FrameConsumer& consumer, double now_ms)
{
    if (!FrameDue(drive, now_ms)) return false;
    const FlowTurn turn = Advance(drive, consumer);
    if (turn.delivered) {
        drive.ever_shown = true;
        drive.last_shown_ms = now_ms;
    }
    return turn.delivered;
}

bool PaintNextOnThisThread(WebDrive& drive)
{
    if (!drive.scratch) return false;
    FrameSlot& slot = SlotOf(*drive.state, drive.flow.counters.presented);
    auto& slot_state = slot.tail.state;
    std::uint8_t ready = static_cast<std::uint8_t>(SlotState::Ready);
    // The same hand-over a worker makes, though no other thread is there to race for it.
    if (!slot_state.compare_exchange_strong(ready, static_cast<std::uint8_t>(SlotState::Rendering),
                                            std::memory_order_acquire))
        return false;
    RenderSlot(slot, *drive.scratch);
    slot_state.store(static_cast<std::uint8_t>(SlotState::Done), std::memory_order_release);
    return true;
}

UnpacedEnd RunUnpaced(WebDrive& drive, FrameConsumer& consumer, double budget_ms, double (*clock_ms)())
{
    const double start = clock_ms();
    while (drive.flow.counters.presented < drive.schedule.count) {
        const FlowTurn turn = Advance(drive, consumer);
        if (turn.last) return UnpacedEnd::Finished;
        // Nothing finished yet: the page's thread may not sleep (the browser warns of it) and
        // must not spin on a core the workers need, so it hands the wait back to the page.
        if (!turn.delivered || clock_ms() - start >= budget_ms) return UnpacedEnd::MoreToDo;
    }
    return UnpacedEnd::Finished;
}

} // namespace veldmark::web
