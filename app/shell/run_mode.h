#pragma once
// The run mode the command line chose. Every later step of the program asks it which window to
// make, whether the cursor hides, how keys and the mouse count and whether a parent is watched.
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark {

enum class ScreensaverMode : std::uint8_t {
    Windowed = 0,     // a 960 x 600 window of its own
    Fullscreen = 1,   // the screensaver proper: any key or mouse use ends it
    Preview = 2,      // a child of the settings dialog's window; keys ignored
    Configure = 3,    // nothing to configure: a message box, then exit 0
};

struct RunModeChoice {
    ScreensaverMode mode = ScreensaverMode::Windowed;
    std::uint64_t preview_parent = 0;   // non-zero only with Preview
};

// The state keeps the mode in two bits of a byte; readers mask, so a stray bit can never pick a
// mode that does not exist.
inline ScreensaverMode RunModeOf(const SimState& state)
{
    return static_cast<ScreensaverMode>(state.run_mode & 3);
}

inline void ApplyRunMode(SimState& state, const RunModeChoice& choice)
{
    state.run_mode = static_cast<std::uint8_t>(choice.mode);
    state.preview_parent = choice.mode == ScreensaverMode::Preview ? choice.preview_parent : 0;
}

} // namespace veldmark
