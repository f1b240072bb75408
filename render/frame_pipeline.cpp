#include "render/frame_pipeline.h"

#include <array>
#include <chrono>
#include <thread>

#include "render/render_worker.h"

namespace veldmark {

FrameRunEnd RunFrames(SimState& state, const FrameRun& run, FrameConsumer& consumer,
                      const std::atomic<bool>* interrupt)
{
    ResetFrameRing(state);
    RenderWorkers workers;
    if (!workers.Start(state, run.workers)) return FrameRunEnd::NoWorkers;

    FrameCounters counters;
    std::array<std::uint64_t, kFrameSlotCount> step_of_slot{};
    std::uint64_t step = 0;
    std::uint64_t delivered = 0;
    const auto interrupted = [&] { return interrupt && interrupt->load(std::memory_order_relaxed); };

    while (delivered < run.count) {
        if (interrupted()) return FrameRunEnd::Interrupted;
        // Keep every free packet busy, but never build frames past the end of the run.
        while (counters.filled < run.count) {
            const std::uint64_t steps = counters.filled == 0 ? run.first_step : run.every;
            const std::uint64_t slot = counters.filled & (kFrameSlotCount - 1);
            if (!FillNextFrame(state, counters, steps)) break;
            step += steps;
            step_of_slot[slot] = step;
        }
        const FrameSlot* frame = NextFinishedFrame(state, counters);
        if (!frame) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            continue;
        }
        const bool more = consumer.Consume(*frame, step_of_slot[counters.presented & (kFrameSlotCount - 1)]);
        ReleasePresentedFrame(state, counters);
        ++delivered;
        if (!more) return FrameRunEnd::StoppedByConsumer;
    }
    return FrameRunEnd::Finished;
}

} // namespace veldmark
