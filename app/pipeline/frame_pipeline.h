#pragma once
// The main thread's side of the frame pipeline, written once for every host: present finished
// frames strictly in production order, keep the Free packets filled, and (for the headless
// outputs) run a stretch of the drive through the ring and its render workers. The window
// hosts call AdvanceFrames once per paced loop iteration; the headless commands and the
// benchmark call RunFrames, which calls it as fast as frames come.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "app/pipeline/frame_ring.h"
#include "world/sim_state.h"

namespace veldmark {

// What a consumer did with the finished frame it was handed.
enum class Delivery {
    Taken,    // shown or stored: its packet goes back to be filled
    NotNow,   // it cannot be shown now (say, a minimised window): it waits in its packet
    Last,     // taken, and the run ends with it
};

class FrameConsumer {
public:
    virtual ~FrameConsumer() = default;
    // Receives each frame in production order; `step` counts simulation steps from the start
    // of the run.
    virtual Delivery Consume(const FrameSlot& frame, std::uint64_t step) = 0;
};

inline constexpr std::uint64_t kEndless = std::numeric_limits<std::uint64_t>::max();

// Which frames a run builds: the first after `first_step` simulation steps, then one every
// `every` steps, `count` in all. A window shows every step, endlessly.
struct FrameSchedule {
    std::uint64_t first_step = 1;
    std::uint64_t every = 1;
    std::uint64_t count = kEndless;
};

// The main thread's place in a run: the ring counters and the step each packet shows.
struct FrameFlow {
    FrameCounters counters;
    std::array<std::uint64_t, kFrameSlotCount> step_of_slot{};
    std::uint64_t step = 0;   // simulation steps taken so far in this run
};

struct FlowTurn {
    bool delivered = false;   // a frame was taken by the consumer
    bool last = false;        // ...and it ended the run
};

// One turn: hand the next frame in production order to the consumer if a worker has finished
// it, then fill every Free packet the schedule still allows.
FlowTurn AdvanceFrames(SimState& state, FrameFlow& flow, const FrameSchedule& schedule,
                       FrameConsumer& consumer);

// A headless run: which frames, through how many render workers. Its schedule's count must be
// finite unless something else ends the run.
struct FrameRun {
    FrameSchedule frames;
    std::size_t workers = 2;
};

enum class FrameRunEnd { Finished, StoppedByConsumer, Interrupted, NoWorkers };

// Runs from the state as it is: resets the ring, starts the workers, delivers `run.frames.count`
// frames as fast as they come, and stops the workers before it returns. `interrupt`, when set
// by another thread or a signal handler, ends the run after the frame being delivered.
FrameRunEnd RunFrames(SimState& state, const FrameRun& run, FrameConsumer& consumer,
                      const std::atomic<bool>* interrupt = nullptr);

} // namespace veldmark
