#pragma once
// The monitors of an X screen, as XRandR lays them out on the root window: where each one's
// picture goes when the saver draws into a root window that spans several, and what the
// full-screen windows compare against to notice a monitor that comes or goes.
#include <array>
#include <cstddef>

struct _XDisplay;

namespace veldmark {

struct MonitorRect {
    int x, y, width, height;   // on the root window
    bool operator==(const MonitorRect&) const = default;
};

inline constexpr std::size_t kMaxMonitors = 16;

struct MonitorLayout {
    std::array<MonitorRect, kMaxMonitors> monitors{};
    std::size_t count = 0;
    bool operator==(const MonitorLayout&) const = default;
};

// The active monitors of the default screen, in XRandR's order; the whole root window as one
// monitor where XRandR has none to report (an old server, or a server without the extension).
MonitorLayout ListMonitors(_XDisplay* display);

} // namespace veldmark
