#pragma once
// Runs a stretch of the drive through the frame ring and the render workers and hands each
// finished frame, in production order, to a consumer. The headless outputs (PNG files, video,
// hashes, the benchmark) all take their frames from here, so they show exactly what the window
// shows.
#include <atomic>
#include <cstdint>

#include "render/frame_ring.h"
#include "world/sim_state.h"

namespace veldmark {

struct FrameRun {
    std::uint64_t first_step = 1;   // the frame built after this many simulation steps comes first
    std::uint64_t count = 1;        // frames to deliver
    std::uint64_t every = 1;        // simulation steps between delivered frames
    std::size_t workers = 2;
};

class FrameConsumer {
public:
    virtual ~FrameConsumer() = default;
    // Receives each frame in order; `step` counts simulation steps from the start of the run.
    // Returns false to stop the run.
    virtual bool Consume(const FrameSlot& frame, std::uint64_t step) = 0;
};

enum class FrameRunEnd { Finished, StoppedByConsumer, Interrupted, NoWorkers };

// Runs from the state as it is. `interrupt`, when set by another thread or a signal handler,
// ends the run after the frame being delivered. The workers are stopped before this returns.
FrameRunEnd RunFrames(SimState& state, const FrameRun& run, FrameConsumer& consumer,
                      const std::atomic<bool>* interrupt = nullptr);

} // namespace veldmark
