#include "app/linux/sdl_host.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/linux/display_loss.h"
#include "app/linux/x11_message_box.h"
#include "app/shell/input_rules.h"
#include "app/shell/run_mode.h"

namespace veldmark {
namespace {

constexpr char kTitle[] = "Veldmark";
constexpr char kConfigureText[] = "Veldmark has no options to configure.";
constexpr int kWindowWidth = 960;
constexpr int kWindowHeight = 600;

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
        (ShowX11MessageBox(kTitle, kConfigureText) ||
         SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, kTitle, kConfigureText, nullptr) == 0))
        return;
    std::fprintf(stderr, "%s\n", kConfigureText);
}

StartupFailure SdlHost::Open(std::string& detail)
{
    // A screensaver must not keep the system's own blanking and power saving from starting.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
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

    const bool fullscreen = RunModeOf(state_) == ScreensaverMode::Fullscreen;
    if (fullscreen) {
        // Made at the screen's own size and place, so that it covers the screen even where no
        // window manager carries out the full-screen request (a bare X server).
        SDL_Rect screen{0, 0, kWindowWidth, kWindowHeight};
        SDL_GetDisplayBounds(0, &screen);
        window_ = SDL_CreateWindow(kTitle, screen.x, screen.y, screen.w, screen.h,
                                   SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS |
                                       SDL_WINDOW_ALWAYS_ON_TOP);
    } else {
        window_ = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWindowWidth,
                                   kWindowHeight, SDL_WINDOW_RESIZABLE);
    }
    if (!window_) {
        detail = SDL_GetError();
        return StartupFailure::CreateWindow;
    }
    WatchSdlWindow(window_, state_);
    if (fullscreen) {
        SDL_ShowCursor(SDL_DISABLE);
        cursor_hidden_ = true;
    }
    const char* present = std::getenv("VELDMARK_SDL_PRESENT");
    use_texture_ = present && std::strcmp(present, "texture") == 0;
    if (use_texture_) {
        renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) {
            detail = SDL_GetError();
            return StartupFailure::NoDC;
        }
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
    } else {
        SDL_Surface* surface = SDL_GetWindowSurface(window_);
        if (!surface) {
            detail = SDL_GetError();
            return StartupFailure::NoDC;
        }
        if (surface->format->BytesPerPixel != 4 || surface->format->Rmask != 0xFF0000 ||
            surface->format->Gmask != 0xFF00 || surface->format->Bmask != 0xFF) {
            detail = "the window's pixels are not 32-bit RGB";
            return StartupFailure::NoMemDC;
        }
    }
    return StartupFailure::None;
}

std::uint64_t SdlHost::ClockFrequency() { return SDL_GetPerformanceFrequency(); }
std::uint64_t SdlHost::ClockNow() { return SDL_GetPerformanceCounter(); }
void SdlHost::SleepMilliseconds(std::uint32_t ms) { SDL_Delay(ms); }

bool SdlHost::Visible()
{
    if (DisplayLost()) return true;   // the loop is about to end; nothing to wait for
    return (SDL_GetWindowFlags(window_) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) == 0;
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
        case SDL_MOUSEMOTION: verdict = OnMouse(state_, MouseEvent::Move, e.motion.x, e.motion.y); break;
        case SDL_MOUSEBUTTONDOWN: {
            const Uint8 b = e.button.button;
            if (b == SDL_BUTTON_LEFT || b == SDL_BUTTON_RIGHT || b == SDL_BUTTON_MIDDLE)
                verdict = OnMouse(state_,
                                  b == SDL_BUTTON_LEFT    ? MouseEvent::LeftDown
                                  : b == SDL_BUTTON_RIGHT ? MouseEvent::RightDown
                                                          : MouseEvent::MiddleDown,
                                  e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEWHEEL: verdict = OnMouse(state_, MouseEvent::Wheel, 0, 0); break;
        case SDL_WINDOWEVENT:
            // While paused nothing new is presented, so an uncovered window needs the last frame again.
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) Redraw();
            break;
        default: break;
        }
        if (verdict == InputVerdict::EndProgram) state_.running = 0;
    }
    return !DisplayLost();
}

void SdlHost::Redraw()
{
    if (!has_picture_ || DisplayLost()) return;
    if (use_texture_) {
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    } else {
        SDL_UpdateWindowSurface(window_);
    }
}

bool SdlHost::PresentToSurface(const FrameSlot& frame)
{
    // The surface follows the window's size; SDL makes a new one after a resize.
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || surface->w <= 0 || surface->h <= 0) return false;
    if (scaler_.width() != surface->w || scaler_.height() != surface->h) scaler_.Resize(surface->w, surface->h);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    scaler_.Scale(frame.pixels, static_cast<std::uint32_t*>(surface->pixels),
                  static_cast<std::size_t>(surface->pitch) / 4);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return SDL_UpdateWindowSurface(window_) == 0;
}

bool SdlHost::PresentToTexture(const FrameSlot& frame, int width, int height)
{
    if (!texture_ || width != texture_width_ || height != texture_height_) {
        if (texture_) SDL_DestroyTexture(texture_);
        // 0x00RRGGBB words are SDL's RGB888.
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!texture_) return false;
        texture_width_ = width;
        texture_height_ = height;
        scaled_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        scaler_.Resize(width, height);
    }
    scaler_.Scale(frame.pixels, scaled_.data(), static_cast<std::size_t>(width));
    if (SDL_UpdateTexture(texture_, nullptr, scaled_.data(), width * 4) != 0) return false;
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    return true;
}

bool SdlHost::Present(const FrameSlot& frame)
{
    if (DisplayLost() || !Visible()) return false;
    bool shown = false;
    if (use_texture_) {
        int w = 0, h = 0;
        if (SDL_GetRendererOutputSize(renderer_, &w, &h) != 0 || w <= 0 || h <= 0) return false;
        shown = PresentToTexture(frame, w, h);
    } else {
        shown = PresentToSurface(frame);
    }
    if (shown) has_picture_ = true;
    return shown;
}

void SdlHost::ReleasePresentation()
{
    if (DisplayLost()) {
        // Tearing the renderer down would talk to a server that is gone; the process is ending.
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
        cursor_hidden_ = false;
        video_ = false;
        return;
    }
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    texture_width_ = texture_height_ = 0;
    if (cursor_hidden_) SDL_ShowCursor(SDL_ENABLE);
    if (window_) SDL_DestroyWindow(window_);
    if (video_) SDL_Quit();
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    cursor_hidden_ = false;
    video_ = false;
}

} // namespace veldmark
