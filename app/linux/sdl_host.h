#pragma once
// The Linux host for windows of its own, on SDL2: the 960 x 600 window, and the full-screen
// screensaver, which covers every display with a window of its own. Each frame is rendered
// once; every window's presenter draws it at the window's size straight into the window's
// surface (an MIT-SHM image on X11, no OpenGL at all), which SDL puts on the screen as it is.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/linux/x11_monitors.h"
#include "app/shell/fps_meter.h"
#include "app/shell/platform.h"
#include "app/shell/presenter.h"
#include "app/shell/screen_layout.h"
#include "app/shell/startup_failure.h"
#include "world/sim_state.h"

struct SDL_Window;
struct _XDisplay;

namespace veldmark {

class SdlHost final : public Platform {
public:
    explicit SdlHost(SimState& state) : state_(state) {}
    ~SdlHost() override { ReleasePresentation(); }
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // Creates the window for the state's run mode (Windowed, or Fullscreen on every display).
    // On failure `detail` says what the platform reported.
    StartupFailure Open(std::string& detail);

    std::uint64_t ClockFrequency() override;
    std::uint64_t ClockNow() override;
    void SleepMilliseconds(std::uint32_t ms) override;
    bool PumpMessages() override;
    bool PreviewParentExists() override { return true; }
    bool Visible() override;
    void WaitForEvents(std::uint32_t ms) override;
    bool Present(const FrameSlot& frame) override;
    void ReleasePresentation() override;

    std::size_t screen_count() const { return screen_count_; }
    // --fps: counts presented frames in `meter` and shows its line on every window.
    void ShowFps(FpsMeter* meter) { fps_ = meter; }
    // --fit: how the picture fits every window (fill unless told).
    void SetPictureFit(PictureFit fit);

private:
    // One window and what presenting into it needs.
    struct Screen {
        SDL_Window* window = nullptr;
        Presenter presenter;
        bool has_picture = false;           // the last picture can be put back on exposure
    };

    StartupFailure OpenScreen(Screen& screen, int x, int y, int width, int height, std::uint32_t flags,
                              std::string& detail);
    bool PresentTo(Screen& screen, const FrameSlot& frame);
    void Redraw(Screen& screen);
    Screen* ScreenOf(std::uint32_t window_id);
    // A mouse position in the window as a desktop position, so that the full-screen mouse rule
    // measures one distance across every display.
    void ToDesktop(std::uint32_t window_id, std::int32_t& x, std::int32_t& y);

    SimState& state_;
    bool video_ = false;
    bool cursor_hidden_ = false;
    PictureFit fit_ = PictureFit::Fill;
    // True when a monitor came or went since the saver's windows were made.
    bool MonitorsChanged();

    std::array<Screen, kMaxScreens> screens_;
    std::size_t screen_count_ = 0;
    _XDisplay* x_display_ = nullptr;     // under the full-screen windows, when SDL draws on X11
    MonitorWatch monitor_watch_;         // ...and its monitors when they were made
    FpsMeter* fps_ = nullptr;            // --fps only
};

// Configure mode: the message box, or the same text on standard error when there is no display.
void ShowConfigureMessage();

} // namespace veldmark
