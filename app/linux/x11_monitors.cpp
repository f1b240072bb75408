#include "app/linux/x11_monitors.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace veldmark {

ScreenLayout ListMonitors(Display* display)
{
    ScreenLayout layout;
    const Window root = DefaultRootWindow(display);
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display, &event_base, &error_base) && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        if (XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count)) {
            for (int i = 0; i < count; ++i)
                if (monitors[i].width > 0 && monitors[i].height > 0)
                    AddScreen(layout, {monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height});
            XRRFreeMonitors(monitors);
        }
    }
    if (layout.count == 0) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, root, &attributes))
            AddScreen(layout, {0, 0, attributes.width, attributes.height});
    }
    return layout;
}

} // namespace veldmark
