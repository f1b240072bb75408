#pragma once
// The screens a host draws on, as rectangles on its desktop, and the watch that notices a
// monitor coming or going. Every host lists its monitors its own way (XRandR, the SDL display
// list, EnumDisplayMonitors); what they are compared against, how often they are looked at and
// how many of them get a picture is decided here, once.
#include <array>
#include <cstddef>
#include <cstdint>

namespace veldmark {

// At most this many screens, monitors or windows get a picture; any beyond are left as they are.
inline constexpr std::size_t kMaxScreens = 16;

// How often a host looks at its monitors: not every system says when one comes or goes (X11
// under SDL, a monitor that only moves, Wine), and listing them costs a round trip.
inline constexpr std::uint32_t kMonitorLookEveryMs = 500;

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;   // on the desktop (or the root window)
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenLayout {
    std::array<ScreenRect, kMaxScreens> screens{};
    std::size_t count = 0;
    bool operator==(const ScreenLayout&) const = default;
};

// Adds a screen to the layout; false (and nothing added) once the layout is full.
bool AddScreen(ScreenLayout& layout, ScreenRect screen);

// The layout a host made its pictures for, and when it last looked (milliseconds of any clock
// that wraps at 2^32).
struct MonitorWatch {
    ScreenLayout layout;
    std::uint32_t looked_ms = 0;
    bool watching = false;   // false: no layout to compare with, so no look is ever due
};

void StartMonitorWatch(MonitorWatch& watch, const ScreenLayout& layout, std::uint32_t now_ms);

// Whether kMonitorLookEveryMs have passed since the last look.
bool MonitorLookDue(const MonitorWatch& watch, std::uint32_t now_ms);

// Takes a look: true when `now` differs from the layout watched, which it then becomes.
bool MonitorLayoutChanged(MonitorWatch& watch, const ScreenLayout& now, std::uint32_t now_ms);

} // namespace veldmark
