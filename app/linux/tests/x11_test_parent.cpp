// A stand-in for a settings program that shows a screensaver preview: it opens a plain X window
// of the given size, prints its id, destroys the window on SIGUSR1, resizes it on SIGUSR2 (to
// half its width and height) and exits on SIGTERM.
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
volatile std::sig_atomic_t g_destroy = 0;
volatile std::sig_atomic_t g_resize = 0;
volatile std::sig_atomic_t g_quit = 0;
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: x11_test_parent WIDTH HEIGHT\n");
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display || width <= 0 || height <= 0) return 1;
    std::signal(SIGUSR1, [](int) { g_destroy = 1; });
    std::signal(SIGUSR2, [](int) { g_resize = 1; });
    std::signal(SIGTERM, [](int) { g_quit = 1; });
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 30,
                                              static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0,
                                              0x808080);
    XStoreName(display, window, "preview host");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    bool alive = true;
    while (!g_quit) {
        if (g_destroy && alive) {
            XDestroyWindow(display, window);
            XSync(display, False);
            alive = false;
        }
        if (g_resize && alive) {
            g_resize = 0;
            XResizeWindow(display, window, static_cast<unsigned>(width / 2), static_cast<unsigned>(height / 2));
            XSync(display, False);
        }
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    XCloseDisplay(display);
    return 0;
}
