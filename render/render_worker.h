#pragma once
// The render workers: identical threads that claim Ready frame packets, paint them (background,
// sun, display list) and mark them Done. They touch nothing of the state record but the frame
// ring and the stop flag.
#include <array>
#include <cstddef>
#include <memory>
#include <thread>

#include "render/strip_frame.h"
#include "world/sim_state.h"

namespace veldmark {

inline constexpr std::size_t kRenderWorkerCount = 2;   // what the program runs
inline constexpr std::size_t kMaxRenderWorkers = 8;    // what the tools allow, for measuring

// Paints a packet's pixels from its list and tail, strip by strip, on the vector path chosen for
// the process. `scratch` is the caller's, reused from frame to frame.
void RenderSlot(FrameSlot& slot, StripScratch& scratch);

// Wakes idle workers: called after a packet is stored Ready (and when they are to stop).
void WakeRenderWorkers();

// Takes the lowest-numbered Ready packet (Ready to Rendering), or returns nullptr.
FrameSlot* ClaimSlot(SimState& state);

// The thread body: render whatever is Ready, sleep until woken when nothing is, leave when
// workers_stop is set (looked at only between frames, so a claimed frame is always finished).
// `scratch` is this worker's own.
void RenderWorker(SimState& state, StripScratch& scratch);

// Starts and stops the worker threads. Stopping sets workers_stop and waits for every worker.
class RenderWorkers {
public:
    RenderWorkers() = default;
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;
    ~RenderWorkers() { Stop(); }

    // Clears workers_stop and starts `count` workers (1 to kMaxRenderWorkers). False when a
    // thread or its scratch could not be had; the ones that did start are stopped again. Each
    // worker's scratch is made on the first start and kept for later ones.
    bool Start(SimState& state, std::size_t count = kRenderWorkerCount);
    void Stop();

private:
    SimState* state_ = nullptr;
    std::array<std::thread, kMaxRenderWorkers> threads_;
    std::array<std::unique_ptr<StripScratch>, kMaxRenderWorkers> scratch_;
};

} // namespace veldmark
