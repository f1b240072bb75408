#pragma once
// The main thread's life once the window exists, the same on every platform: start the render
// workers, then loop (messages, present the next frame in production order, refill the ring,
// pace to 16 ms), then stop the workers before the presentation objects go.
#include <cstdint>

#include "app/shell/platform.h"
#include "app/shell/startup_failure.h"
#include "app/pipeline/frame_pipeline.h"
#include "world/sim_state.h"

namespace veldmark {

// An iteration lasts at least this long: about 60 frames a second at most.
inline constexpr std::uint32_t kIterationMilliseconds = 16;
// While the window cannot be seen, the loop waits for the platform's events at most this long
// between looks (a preview also looks for its parent then).
inline constexpr std::uint32_t kHiddenWaitMilliseconds = 250;

enum class LoopStep { Continue, Stop };

// Whole milliseconds between two clock readings, rounded down; saturates instead of overflowing
// and reads a frequency of 0 as 1.
std::uint64_t ElapsedMilliseconds(std::uint64_t t0, std::uint64_t t1, std::uint64_t frequency);

// One pass of the loop. `frequency` is the clock's, read once at start.
LoopStep MainLoopIteration(SimState& state, Platform& platform, FrameFlow& flow,
                           std::uint64_t frequency);

// Resets the ring, starts the render workers, loops until the run ends, stops the workers and
// then releases the presentation. Returns None after a normal end, or why the workers could not
// start (nothing is released then: the process ends).
StartupFailure RunMainLoop(SimState& state, Platform& platform);

} // namespace veldmark
