#pragma once
// What a key or the mouse does in each run mode. Both hosts translate their platform's events
// into these calls, so a screensaver ends on the same nudge of the mouse everywhere.
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark {

// Key codes as Windows names its virtual keys; other hosts map their keys onto these.
inline constexpr std::uint32_t kKeySpace = 0x20;
inline constexpr std::uint32_t kKeyEscape = 0x1B;
inline constexpr std::uint32_t kKeyQ = 0x51;
inline constexpr std::uint32_t kKeyOther = 0xFF;   // any key the rules give no meaning of its own

// A full-screen run survives a mouse drift of this many pixels from where it first saw the mouse.
inline constexpr std::int32_t kMouseSlack = 8;

enum class InputVerdict {
    Handled,      // the rule took the event (perhaps by ignoring it); no default handling
    EndProgram,   // destroy the window: the run ends with exit code 0
    Default,      // not ours: let the platform's default handling have it
};

enum class MouseEvent { Move, LeftDown, RightDown, MiddleDown, Wheel };

// A key press (including system keys such as Alt+F4 in a window, which do nothing).
InputVerdict OnKeyDown(SimState& state, std::uint32_t key);

// A mouse event at (x, y) in client coordinates.
InputVerdict OnMouse(SimState& state, MouseEvent event, std::int32_t x, std::int32_t y);

// A mouse position packed as Windows packs it: x in the low 16 bits, y in the next 16, each
// signed (positions left of or above a window are negative).
inline std::int32_t PackedMouseX(std::uint64_t packed)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(packed & 0xFFFF));
}
inline std::int32_t PackedMouseY(std::uint64_t packed)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((packed >> 16) & 0xFFFF));
}

} // namespace veldmark
