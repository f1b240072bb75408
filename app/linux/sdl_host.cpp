#include "app/linux/sdl_host.h"

#include <SDL.h>
#include <SDL_syswm.h>
// SDL_syswm.h brings in Xlib, whose None (0L) would swallow StartupFailure::None.
#undef None

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/linux/display_loss.h"
#include "app/linux/process_clocks.h"
#include "app/linux/x11_message_box.h"
#include "app/shell/input_rules.h"
#include "app/shell/run_mode.h"
#include "app/shell/window_texts.h"

namespace veldmark {
namespace {

std::uint32_t KeyOf(SDL_Keycode key)
{
    switch (key) {
    case SDLK_ESCAPE: return kKeyEscape;
    case SDLK_q: return kKeyQ;
    case SDLK_SPACE: return kKeySpace;
    default: return kKeyOther;
    }
}

bool HaveDisplay()
{
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

} // namespace

void ShowConfigureMessage()
{
    if (HaveDisplay() &&
        (ShowX11MessageBox(kWindowTitle, kConfigureText) ||
         SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, kWindowTitle, kConfigureText, nullptr) == 0))
        return;
    std::fprintf(stderr, "%s\n", kConfigureText);
}

StartupFailure SdlHost::Open(std::string& detail)
{
    // A screensaver must not keep the system's own blanking and power saving from starting.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The window surface as a plain shared-memory image: SDL would otherwise back it with an
    // OpenGL texture, which on a software GL driver costs more than the picture itself.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        detail = SDL_GetError();
        return StartupFailure::CreateWindow;
    }
    video_ = true;
    // With no display SDL falls back to drawing off screen; a window nobody can see is no window.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (driver && !(chosen && *chosen) &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        detail = "no display (set DISPLAY)";
        return StartupFailure::CreateWindow;
    }

    if (RunModeOf(state_) == ScreensaverMode::Fullscreen) {
        // One window per display, each made at its display's own size and place, so that they
        // cover the displays even where no window manager carries out the full-screen request.
        const int displays = std::max(SDL_GetNumVideoDisplays(), 1);
        for (int i = 0; i < displays && screen_count_ < kMaxScreens; ++i) {
            SDL_Rect bounds{0, 0, kWindowWidth, kWindowHeight};
            if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
            const StartupFailure failure =
                OpenScreen(screens_[screen_count_++], bounds.x, bounds.y, bounds.w, bounds.h,
                           SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP, detail);
            if (failure != StartupFailure::None) return failure;
        }
        if (screen_count_ == 0) {
            detail = SDL_GetError();
            return StartupFailure::CreateWindow;
        }
        // SDL does not report monitors that come and go on X11, so the layout is watched here.
        SDL_SysWMinfo wm;
        SDL_VERSION(&wm.version);
        if (SDL_GetWindowWMInfo(screens_[0].window, &wm) == SDL_TRUE && wm.subsystem == SDL_SYSWM_X11) {
            x_display_ = wm.info.x11.display;
            StartMonitorWatch(monitor_watch_, ListMonitors(x_display_), SDL_GetTicks());
        }
        SDL_ShowCursor(SDL_DISABLE);
        cursor_hidden_ = true;
    } else {
        const StartupFailure failure = OpenScreen(screens_[screen_count_++], SDL_WINDOWPOS_UNDEFINED,
                                                  SDL_WINDOWPOS_UNDEFINED, kWindowWidth, kWindowHeight,
                                                  SDL_WINDOW_RESIZABLE, detail);
        if (failure != StartupFailure::None) return failure;
    }
    return StartupFailure::None;
}

StartupFailure SdlHost::OpenScreen(Screen& screen, int x, int y, int width, int height, std::uint32_t flags,
                                   std::string& detail)
{
    screen.window = SDL_CreateWindow(kWindowTitle, x, y, width, height, flags);
    if (!screen.window) {
        detail = SDL_GetError();
        return StartupFailure::CreateWindow;
    }
    WatchSdlWindow(screen.window, state_);
    screen.presenter.SetFit(fit_);
    SDL_Surface* surface = SDL_GetWindowSurface(screen.window);
    if (!surface) {
        detail = SDL_GetError();
        return StartupFailure::NoDC;
    }
    // The frame's 0x00RRGGBB words go into the surface as they are, so only that layout is taken.
    if (surface->format->BytesPerPixel != 4 || surface->format->Rmask != 0xFF0000 ||
        surface->format->Gmask != 0xFF00 || surface->format->Bmask != 0xFF) {
        detail = "the window's pixels are not 32-bit RGB";
        return StartupFailure::NoMemDC;
    }
    return StartupFailure::None;
}

std::uint64_t SdlHost::ClockFrequency() { return SDL_GetPerformanceFrequency(); }
std::uint64_t SdlHost::ClockNow() { return SDL_GetPerformanceCounter(); }
void SdlHost::SleepMilliseconds(std::uint32_t ms) { SDL_Delay(ms); }

bool SdlHost::Visible()
{
    if (DisplayLost()) return true;   // the loop is about to end; nothing to wait for
    for (std::size_t i = 0; i < screen_count_; ++i)
        if ((SDL_GetWindowFlags(screens_[i].window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0) return true;
    return false;
}

SdlHost::Screen* SdlHost::ScreenOf(std::uint32_t window_id)
{
    for (std::size_t i = 0; i < screen_count_; ++i)
        if (SDL_GetWindowID(screens_[i].window) == window_id) return &screens_[i];
    return nullptr;
}

void SdlHost::ToDesktop(std::uint32_t window_id, std::int32_t& x, std::int32_t& y)
{
    const Screen* screen = ScreenOf(window_id);
    if (!screen) return;
    int left = 0, top = 0;
    SDL_GetWindowPosition(screen->window, &left, &top);
    x += left;
    y += top;
}

void SdlHost::WaitForEvents(std::uint32_t ms)
{
    if (DisplayLost()) return;
    // Leaves the event in the queue for the next pump; SDL waits on the X connection itself.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
}

bool SdlHost::PumpMessages()
{
    SDL_Event e;
    while (!DisplayLost() && SDL_PollEvent(&e)) {
        InputVerdict verdict = InputVerdict::Handled;
        switch (e.type) {
        case SDL_QUIT: return false;   // the close box, or SIGTERM / SIGINT
        case SDL_KEYDOWN: verdict = OnKeyDown(state_, KeyOf(e.key.keysym.sym)); break;
        case SDL_MOUSEMOTION: {
            std::int32_t x = e.motion.x, y = e.motion.y;
            ToDesktop(e.motion.windowID, x, y);
            verdict = OnMouse(state_, MouseEvent::Move, x, y);
            break;
        }
        case SDL_MOUSEBUTTONDOWN: {
            const Uint8 b = e.button.button;
            std::int32_t x = e.button.x, y = e.button.y;
            ToDesktop(e.button.windowID, x, y);
            if (b == SDL_BUTTON_LEFT || b == SDL_BUTTON_RIGHT || b == SDL_BUTTON_MIDDLE)
                verdict = OnMouse(state_,
                                  b == SDL_BUTTON_LEFT    ? MouseEvent::LeftDown
                                  : b == SDL_BUTTON_RIGHT ? MouseEvent::RightDown
                                                          : MouseEvent::MiddleDown,
                                  x, y);
            break;
        }
        case SDL_DISPLAYEVENT:   // where SDL does report it (not on X11: see MonitorsChanged)
            if (RunModeOf(state_) == ScreensaverMode::Fullscreen &&
                (e.display.event == SDL_DISPLAYEVENT_CONNECTED || e.display.event == SDL_DISPLAYEVENT_DISCONNECTED))
                verdict = InputVerdict::EndProgram;
            break;
        case SDL_MOUSEWHEEL: verdict = OnMouse(state_, MouseEvent::Wheel, 0, 0); break;
        case SDL_WINDOWEVENT:
            // While paused nothing new is presented, so an uncovered window needs the last frame again.
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
                if (Screen* screen = ScreenOf(e.window.windowID)) Redraw(*screen);
            break;
        default: break;
        }
        if (verdict == InputVerdict::EndProgram) state_.running = 0;
    }
    // A monitor that came or went (a laptop lid, an unplugged screen) leaves the saver's windows
    // off the desktop's new layout; a screensaver that ends, with exit code 0, is the safe answer.
    // A plain window stays where the window manager puts it.
    if (state_.running != 0 && RunModeOf(state_) == ScreensaverMode::Fullscreen && MonitorsChanged())
        state_.running = 0;
    return !DisplayLost();
}

bool SdlHost::MonitorsChanged()
{
    const std::uint32_t now = SDL_GetTicks();
    if (!x_display_ || DisplayLost() || !MonitorLookDue(monitor_watch_, now)) return false;
    return MonitorLayoutChanged(monitor_watch_, ListMonitors(x_display_), now);
}

void SdlHost::SetPictureFit(PictureFit fit)
{
    fit_ = fit;
    for (Screen& screen : screens_) screen.presenter.SetFit(fit);
}

void SdlHost::Redraw(Screen& screen)
{
    if (screen.has_picture && !DisplayLost()) SDL_UpdateWindowSurface(screen.window);
}

bool SdlHost::PresentTo(Screen& screen, const FrameSlot& frame)
{
    // The surface follows the window's size; SDL makes a new one after a resize.
    SDL_Surface* surface = SDL_GetWindowSurface(screen.window);
    if (!surface || surface->w <= 0 || surface->h <= 0) return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    screen.presenter.Present(frame.pixels, static_cast<std::uint32_t*>(surface->pixels),
                             static_cast<std::size_t>(surface->pitch) / 4, surface->w, surface->h, fps_);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return SDL_UpdateWindowSurface(screen.window) == 0;
}

bool SdlHost::Present(const FrameSlot& frame)
{
    if (DisplayLost() || !Visible()) return false;
    // The same frame on every display; one that cannot take it now simply keeps its picture.
    bool shown = false;
    for (std::size_t i = 0; i < screen_count_; ++i) {
        Screen& screen = screens_[i];
        if (SDL_GetWindowFlags(screen.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) continue;
        if (PresentTo(screen, frame)) {
            screen.has_picture = true;
            shown = true;
        }
    }
    if (shown && fps_) FpsMeterFrame(*fps_, ReadProcessClocks());
    return shown;
}

void SdlHost::ReleasePresentation()
{
    if (DisplayLost()) {
        // Tearing the windows down would talk to a server that is gone; the process is ending.
        screen_count_ = 0;
        cursor_hidden_ = false;
        video_ = false;
        return;
    }
    for (std::size_t i = 0; i < screen_count_; ++i) {
        Screen& screen = screens_[i];
        if (screen.window) SDL_DestroyWindow(screen.window);
        screen.window = nullptr;
        screen.has_picture = false;
    }
    screen_count_ = 0;
    if (cursor_hidden_) SDL_ShowCursor(SDL_ENABLE);
    if (video_) SDL_Quit();
    cursor_hidden_ = false;
    video_ = false;
}

} // namespace veldmark
