#pragma once
// The monitors of an X screen, as XRandR lays them out on the root window: where each one's
// picture goes when the saver draws into a root window that spans several, and what the
// full-screen windows compare against to notice a monitor that comes or goes.
#include "app/shell/screen_layout.h"

struct _XDisplay;

namespace veldmark {

// The active monitors of the default screen, in XRandR's order, as rectangles of the root
// window; the whole root window as one monitor where XRandR has none to report (an old
// server, or a server without the extension).
ScreenLayout ListMonitors(_XDisplay* display);

} // namespace veldmark
