#pragma once
// A state record of a test's own, as the process's record is before anything runs.
#include <memory>

#include "world/sim_state.h"

namespace veldmark::testing {

inline std::unique_ptr<SimState> FreshState()
{
    auto state = std::make_unique<SimState>();   // value-initialised: all zero
    ApplyInitialValues(*state);
    return state;
}

} // namespace veldmark::testing
