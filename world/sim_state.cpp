#include "world/sim_state.h"

namespace veldmark {

SimState g_state;

void ApplyInitialValues(SimState& state)
{
    state.running = 1;
    state.not_paused = 1;
    state.view_width = kLogicalWidth;
    state.focal_length = kRestFocalLength;
}

namespace {
// Runs during static initialisation, before any thread exists, so nothing can see the record
// half set up. Keeping the initial values out of the declaration keeps the 42.8 MB record in
// zero-filled storage instead of in the binary.
const bool g_initial_values_applied = (ApplyInitialValues(g_state), true);
} // namespace

} // namespace veldmark
