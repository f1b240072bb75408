#include "app/linux/x11_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
// Xlib's None (0L) would swallow StartupFailure::None; this file never needs X's.
#undef None

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

#include "app/linux/display_loss.h"
#include "app/linux/process_clocks.h"
#include "app/shell/window_texts.h"

namespace veldmark {
namespace {

volatile std::sig_atomic_t g_stop_signal = 0;
void OnStopSignal(int) { g_stop_signal = 1; }

// Errors on windows that vanish under us (the parent closing, the daemon tearing down) are
// expected; Xlib's default handler would end the process with a message instead.
int g_x_error = 0;
int RecordXError(Display*, XErrorEvent* e)
{
    g_x_error = e->error_code;
    return 0;
}

} // namespace

struct X11Host::ShmSegment {
    XShmSegmentInfo info{};
};

X11Host::X11Host(SimState& state) : state_(state) {}
X11Host::~X11Host() { ReleasePresentation(); }

void InstallStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

StartupFailure X11Host::Connect(std::string& detail)
{
    display_ = XOpenDisplay(nullptr);
    if (!display_) {
        detail = "cannot open the X display";
        return StartupFailure::CreateWindow;
    }
    XSetErrorHandler(RecordXError);
    WatchDisplay(display_, state_);
    return StartupFailure::None;
}

StartupFailure X11Host::Prepare(std::uint64_t window, std::string& detail)
{
    XWindowAttributes attributes;
    g_x_error = 0;
    if (!XGetWindowAttributes(display_, window, &attributes) || g_x_error) {
        detail = "the window is gone";
        return StartupFailure::CreateWindow;
    }
    const Visual* visual = attributes.visual;
    // The frame's 0x00RRGGBB words go to the server as they are, so only that layout is taken.
    if (attributes.depth < 24 || visual->red_mask != 0xFF0000 || visual->green_mask != 0xFF00 ||
        visual->blue_mask != 0xFF) {
        detail = "the window's visual is not 24-bit RGB";
        return StartupFailure::NoMemDC;
    }
    opaque_alpha_ = attributes.depth == 32;
    window_ = window;
    width_ = attributes.width;
    height_ = attributes.height;
    gc_ = XCreateGC(display_, window, 0, nullptr);
    if (!gc_) {
        detail = "no graphics context";
        return StartupFailure::NoDC;
    }
    if (!MakeImage(width_, height_)) {
        detail = "no image for the window's size";
        return StartupFailure::NoMemDC;
    }
    return StartupFailure::None;
}

StartupFailure X11Host::OpenPreview(std::uint64_t parent, std::string& detail)
{
    if (StartupFailure f = Connect(detail); f != StartupFailure::None) return f;
    XWindowAttributes attributes;
    g_x_error = 0;
    if (!XGetWindowAttributes(display_, parent, &attributes) || g_x_error) {
        detail = "no window " + std::to_string(parent);
        return StartupFailure::CreateWindow;
    }
    // Watch the parent: its size is ours, its end is ours too, and while it is unmapped
    // nothing of ours can be seen.
    XSelectInput(display_, parent, StructureNotifyMask);
    parent_mapped_ = attributes.map_state != IsUnmapped;
    const Window child = XCreateSimpleWindow(display_, parent, 0, 0,
                                             static_cast<unsigned>(std::max(attributes.width, 1)),
                                             static_cast<unsigned>(std::max(attributes.height, 1)), 0, 0, 0);
    XSelectInput(display_, child, StructureNotifyMask | ExposureMask | VisibilityChangeMask);
    XStoreName(display_, child, kWindowTitle);
    XClassHint hint{const_cast<char*>("veldmark"), const_cast<char*>("VeldmarkWindow")};
    XSetClassHint(display_, child, &hint);
    XMapWindow(display_, child);
    XSync(display_, False);
    if (g_x_error) {
        detail = "cannot make a window inside " + std::to_string(parent);
        return StartupFailure::CreateWindow;
    }
    parent_ = parent;
    own_window_ = true;
    return Prepare(child, detail);
}

StartupFailure X11Host::OpenDaemonWindow(std::uint64_t window, std::string& detail)
{
    if (StartupFailure f = Connect(detail); f != StartupFailure::None) return f;
    if (window == 0) window = DefaultRootWindow(display_);
    is_root_ = window == DefaultRootWindow(display_);
    // Structure, exposure and visibility only: key and button presses stay with the daemon.
    XSelectInput(display_, window, StructureNotifyMask | ExposureMask | VisibilityChangeMask);
    return Prepare(window, detail);
}

bool X11Host::MakeImage(int width, int height)
{
    DropImage();
    if (width <= 0 || height <= 0) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display_, window_, &attributes)) return false;
    const auto w = static_cast<unsigned>(width);
    const auto h = static_cast<unsigned>(height);
    if (XShmQueryExtension(display_)) {
        if (!shm_) shm_ = std::make_unique<ShmSegment>();
        XShmSegmentInfo& info = shm_->info;
        image_ = XShmCreateImage(display_, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap,
                                 nullptr, &info, w, h);
        if (image_ && image_->bits_per_pixel == 32) {
            const std::size_t bytes = static_cast<std::size_t>(image_->bytes_per_line) * h;
            shm_id_ = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
            if (shm_id_ >= 0) {
                shm_address_ = shmat(shm_id_, nullptr, 0);
                if (shm_address_ != reinterpret_cast<void*>(-1)) {
                    info.shmid = shm_id_;
                    info.shmaddr = image_->data = static_cast<char*>(shm_address_);
                    info.readOnly = False;
                    g_x_error = 0;
                    XShmAttach(display_, &info);
                    XSync(display_, False);
                    // Marked for removal now, so the segment goes with the process however it ends.
                    shmctl(shm_id_, IPC_RMID, nullptr);
                    if (!g_x_error) {
                        image_shared_ = true;
                        PlaceAreas(is_root_ ? ListMonitors(display_) : ScreenLayout{});
                        return true;
                    }
                } else {
                    shm_address_ = nullptr;
                    shmctl(shm_id_, IPC_RMID, nullptr);
                }
            }
        }
        DropImage();
    }
    // No shared memory (a remote display, or the server refused): the same image over the wire.
    image_ = XCreateImage(display_, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0,
                          nullptr, w, h, 32, 0);
    if (!image_ || image_->bits_per_pixel != 32) {
        DropImage();
        return false;
    }
    plain_pixels_.assign(static_cast<std::size_t>(image_->bytes_per_line / 4) * h, 0);
    image_->data = reinterpret_cast<char*>(plain_pixels_.data());
    PlaceAreas(is_root_ ? ListMonitors(display_) : ScreenLayout{});
    return true;
}

void X11Host::SetPictureFit(PictureFit fit)
{
    for (Presenter& presenter : presenters_) presenter.SetFit(fit);
}

void X11Host::PlaceAreas(const ScreenLayout& monitors)
{
    const int width = image_->width, height = image_->height;
    if (is_root_) StartMonitorWatch(monitor_watch_, monitors, static_cast<std::uint32_t>(ClockNow() / 1'000'000));
    // Only monitors that lie wholly inside the image; none, or a failed look: the whole window.
    areas_ = ScreenLayout{};
    for (std::size_t i = 0; i < monitors.count; ++i) {
        const ScreenRect& m = monitors.screens[i];
        if (m.x >= 0 && m.y >= 0 && m.width > 0 && m.height > 0 && m.x + m.width <= width && m.y + m.height <= height)
            AddScreen(areas_, m);
    }
    if (areas_.count == 0) AddScreen(areas_, {0, 0, width, height});
    // What no monitor shows stays black.
    const auto pitch = static_cast<std::size_t>(image_->bytes_per_line / 4);
    auto* pixels = reinterpret_cast<std::uint32_t*>(image_->data);
    std::fill(pixels, pixels + pitch * static_cast<std::size_t>(height), opaque_alpha_ ? 0xFF000000u : 0u);
}

void X11Host::DropImage()
{
    if (image_shared_) {
        XShmDetach(display_, &shm_->info);
        XSync(display_, False);
    }
    if (image_) {
        image_->data = nullptr;   // the pixels are ours (shared segment or vector), not Xlib's
        XDestroyImage(image_);
    }
    if (shm_address_) shmdt(shm_address_);
    image_ = nullptr;
    image_shared_ = false;
    shm_address_ = nullptr;
    shm_id_ = -1;
    have_picture_ = false;
}

std::uint64_t X11Host::ClockFrequency() { return 1'000'000'000; }

std::uint64_t X11Host::ClockNow()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

void X11Host::SleepMilliseconds(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool X11Host::PumpMessages()
{
    if (g_stop_signal) return false;
    while (!DisplayLost() && XPending(display_) > 0) {
        XEvent e;
        XNextEvent(display_, &e);
        switch (e.type) {
        case ConfigureNotify:
            if (e.xconfigure.window == parent_ && own_window_) {
                XResizeWindow(display_, window_, static_cast<unsigned>(std::max(e.xconfigure.width, 1)),
                              static_cast<unsigned>(std::max(e.xconfigure.height, 1)));
            } else if (e.xconfigure.window == window_) {
                width_ = e.xconfigure.width;
                height_ = e.xconfigure.height;
            }
            break;
        case DestroyNotify:
            if (e.xdestroywindow.window == parent_) parent_gone_ = true;
            if (e.xdestroywindow.window == window_) {
                // Without a window there is nothing left to do; the run ends normally.
                own_window_ = false;
                state_.running = 0;
                if (parent_ != 0) parent_gone_ = true;
            }
            break;
        case MapNotify:
            if (e.xmap.window == window_) mapped_ = true;
            if (parent_ != 0 && e.xmap.window == parent_) parent_mapped_ = true;
            break;
        case UnmapNotify:
            if (e.xunmap.window == window_) mapped_ = false;
            if (parent_ != 0 && e.xunmap.window == parent_) parent_mapped_ = false;
            break;
        case VisibilityNotify:
            if (e.xvisibility.window == window_) obscured_ = e.xvisibility.state == VisibilityFullyObscured;
            break;
        case Expose:
            // While paused nothing new arrives, so an uncovered window gets the last frame again.
            if (e.xexpose.count == 0 && have_picture_) PutImage();
            break;
        default: break;
        }
    }
    return !DisplayLost();
}

void X11Host::WaitForEvents(std::uint32_t ms)
{
    if (DisplayLost() || g_stop_signal || XPending(display_) > 0) return;
    // Sleeps on the server's connection; SIGTERM interrupts the wait.
    pollfd connection{ConnectionNumber(display_), POLLIN, 0};
    if (poll(&connection, 1, static_cast<int>(ms)) < 0 && errno != EINTR) SleepMilliseconds(ms);
}

void X11Host::PutImage()
{
    if (image_shared_)
        XShmPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned>(image_->width),
                     static_cast<unsigned>(image_->height), False);
    else
        XPutImage(display_, window_, gc_, image_, 0, 0, 0, 0, static_cast<unsigned>(image_->width),
                  static_cast<unsigned>(image_->height));
    // The server reads a shared image after the call returns; wait until it has, so the next
    // frame never writes into pixels still being copied.
    XSync(display_, False);
}

bool X11Host::Present(const FrameSlot& frame)
{
    if (DisplayLost()) return false;
    if (width_ <= 0 || height_ <= 0) return false;
    if (!image_ || image_->width != width_ || image_->height != height_) {
        if (!MakeImage(width_, height_)) return false;
    }
    // Monitors may come and go under a root window that keeps its size.
    const auto now_ms = static_cast<std::uint32_t>(ClockNow() / 1'000'000);
    if (MonitorLookDue(monitor_watch_, now_ms)) {
        const ScreenLayout monitors = ListMonitors(display_);
        if (MonitorLayoutChanged(monitor_watch_, monitors, now_ms)) PlaceAreas(monitors);
    }
    auto* pixels = reinterpret_cast<std::uint32_t*>(image_->data);
    const auto pitch = static_cast<std::size_t>(image_->bytes_per_line / 4);
    for (std::size_t i = 0; i < areas_.count; ++i) {
        const ScreenRect& m = areas_.screens[i];
        std::uint32_t* corner = pixels + static_cast<std::size_t>(m.y) * pitch + static_cast<std::size_t>(m.x);
        presenters_[i].Present(frame.pixels, corner, pitch, m.width, m.height, fps_);
        if (opaque_alpha_)
            for (std::size_t y = 0; y < static_cast<std::size_t>(m.height); ++y)
                for (std::size_t x = 0; x < static_cast<std::size_t>(m.width); ++x) corner[y * pitch + x] |= 0xFF000000u;
    }
    PutImage();
    have_picture_ = true;
    if (fps_) FpsMeterFrame(*fps_, ReadProcessClocks());
    return true;
}

void X11Host::ReleasePresentation()
{
    if (!display_) return;
    if (DisplayLost()) {
        // The server and everything it held for us are gone; only our own memory is left.
        if (shm_address_) shmdt(shm_address_);
        shm_address_ = nullptr;
        display_ = nullptr;
        return;
    }
    DropImage();
    if (gc_) XFreeGC(display_, gc_);
    gc_ = nullptr;
    if (own_window_) XDestroyWindow(display_, window_);
    own_window_ = false;
    XSync(display_, False);
    XCloseDisplay(display_);
    display_ = nullptr;
}

} // namespace veldmark
