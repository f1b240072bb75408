#include "app/pipeline/frame_pipeline.h"

#include <chrono>
#include <thread>

#include "render/render_worker.h"

namespace veldmark {
namespace {

// How long the headless run waits for a worker before looking again.
constexpr auto kWaitForWorker = std::chrono::microseconds(100);

std::uint64_t SlotIndex(std::uint64_t counter) { return counter & (kFrameSlotCount - 1); }

} // namespace

FlowTurn AdvanceFrames(SimState& state, FrameFlow& flow, const FrameSchedule& schedule,
                       FrameConsumer& consumer)
{
    FlowTurn turn;
    FrameCounters& counters = flow.counters;
    // Strictly in production order: a later frame that finished first waits its turn.
    if (const FrameSlot* frame = NextFinishedFrame(state, counters)) {
        const Delivery delivery = consumer.Consume(*frame, flow.step_of_slot[SlotIndex(counters.presented)]);
        if (delivery != Delivery::NotNow) {
            ReleasePresentedFrame(state, counters);
            turn.delivered = true;
            turn.last = delivery == Delivery::Last;
            if (turn.last) return turn;
        }
    }
    while (counters.filled < schedule.count) {
        const std::uint64_t steps = counters.filled == 0 ? schedule.first_step : schedule.every;
        const std::uint64_t slot = SlotIndex(counters.filled);
        if (!FillNextFrame(state, counters, steps)) break;
        flow.step += steps;
        flow.step_of_slot[slot] = flow.step;
    }
    return turn;
}

FrameRunEnd RunFrames(SimState& state, const FrameRun& run, FrameConsumer& consumer,
                      const std::atomic<bool>* interrupt)
{
    ResetFrameRing(state);
    RenderWorkers workers;
    if (!workers.Start(state, run.workers)) return FrameRunEnd::NoWorkers;

    FrameFlow flow;
    while (flow.counters.presented < run.frames.count) {
        if (interrupt && interrupt->load(std::memory_order_relaxed)) return FrameRunEnd::Interrupted;
        const FlowTurn turn = AdvanceFrames(state, flow, run.frames, consumer);
        if (turn.last) return FrameRunEnd::StoppedByConsumer;
        if (!turn.delivered) std::this_thread::sleep_for(kWaitForWorker);
    }
    return FrameRunEnd::Finished;
}

} // namespace veldmark
