#pragma once
// The render workers: identical threads that claim Ready frame packets, paint them (background,
// sun, display list) and mark them Done. They touch nothing of the state record but the frame
// ring and the stop flag.
#include <array>
#include <cstddef>
#include <thread>

#include "render/sun.h"
#include "world/sim_state.h"

namespace veldmark {

inline constexpr std::size_t kRenderWorkerCount = 2;   // what the program runs
inline constexpr std::size_t kMaxRenderWorkers = 8;    // what the tools allow, for measuring

// Paints a packet's pixels from its list and tail. `glow` is the caller's scratch.
void RenderSlot(FrameSlot& slot, GlowTable& glow);

// Takes the lowest-numbered Ready packet (Ready to Rendering), or returns nullptr.
FrameSlot* ClaimSlot(SimState& state);

// The thread body: render whatever is Ready, idle 1 ms at a time, leave when workers_stop is set
// (looked at only between frames, so a claimed frame is always finished).
void RenderWorker(SimState& state);

// Starts and stops the worker threads. Stopping sets workers_stop and waits for every worker.
class RenderWorkers {
public:
    RenderWorkers() = default;
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;
    ~RenderWorkers() { Stop(); }

    // Clears workers_stop and starts `count` workers (1 to kMaxRenderWorkers). False when a
    // thread could not be started; the ones that did start are stopped again.
    bool Start(SimState& state, std::size_t count = kRenderWorkerCount);
    void Stop();

private:
    SimState* state_ = nullptr;
    std::array<std::thread, kMaxRenderWorkers> threads_;
};

} // namespace veldmark
