#include "app/shell/screen_layout.h"

namespace veldmark {

bool AddScreen(ScreenLayout& layout, ScreenRect screen)
{
    if (layout.count >= kMaxScreens) return false;
    layout.screens[layout.count++] = screen;
    return true;
}

void StartMonitorWatch(MonitorWatch& watch, const ScreenLayout& layout, std::uint32_t now_ms)
{
    watch.layout = layout;
    watch.looked_ms = now_ms;
    watch.watching = true;
}

bool MonitorLookDue(const MonitorWatch& watch, std::uint32_t now_ms)
{
    // Unsigned difference: right across the clock's wrap as well.
    return watch.watching && now_ms - watch.looked_ms >= kMonitorLookEveryMs;
}

bool MonitorLayoutChanged(MonitorWatch& watch, const ScreenLayout& now, std::uint32_t now_ms)
{
    watch.looked_ms = now_ms;
    if (now == watch.layout) return false;
    watch.layout = now;
    return true;
}

} // namespace veldmark
