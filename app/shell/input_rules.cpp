#include "app/shell/input_rules.h"

#include <cstdlib>

#include "app/shell/run_mode.h"

namespace veldmark {

InputVerdict OnKeyDown(SimState& state, std::uint32_t key)
{
    switch (RunModeOf(state)) {
    case ScreensaverMode::Fullscreen: return InputVerdict::EndProgram;
    case ScreensaverMode::Windowed:
        if (key == kKeyEscape || key == kKeyQ) return InputVerdict::EndProgram;
        if (key == kKeySpace) state.not_paused = static_cast<std::uint8_t>(1 - (state.not_paused & 1));
        return InputVerdict::Handled;
    case ScreensaverMode::Preview:
    case ScreensaverMode::Configure: return InputVerdict::Handled;
    }
    return InputVerdict::Handled;
}

InputVerdict OnMouse(SimState& state, MouseEvent event, std::int32_t x, std::int32_t y)
{
    if (RunModeOf(state) != ScreensaverMode::Fullscreen) return InputVerdict::Default;
    if (event != MouseEvent::Move) return InputVerdict::EndProgram;
    if (state.mouse_seen == 0) {
        // The first position is the reference for the whole run, so slow creeping still ends it.
        state.mouse_x = x;
        state.mouse_y = y;
        state.mouse_seen = 1;
        return InputVerdict::Handled;
    }
    const std::int64_t dx = std::int64_t{x} - state.mouse_x;
    const std::int64_t dy = std::int64_t{y} - state.mouse_y;
    if (std::llabs(dx) <= kMouseSlack && std::llabs(dy) <= kMouseSlack) return InputVerdict::Handled;
    return InputVerdict::EndProgram;
}

} // namespace veldmark
