#pragma once
// The Windows host: the "VeldmarkWindow" window in its three kinds (a 960 x 600 window, the
// full-screen saver with a window on every monitor, the preview inside the settings dialog),
// its window procedure, and GDI presentation: each window's presenter draws the picture at the
// window's client size (filling it: Windows keeps no settings) straight into a DIB section
// selected into that window's memory DC, then one BitBlt copies it 1:1. (GDI's HALFTONE
// StretchDIBits of the whole 1920 x 1200 frame gives the same kind of picture at many times the
// cost.) The frame is rendered once, whatever the number of monitors.
#include <cstddef>
#include <string>

#include "app/shell/platform.h"
#include "app/shell/startup_failure.h"
#include "world/sim_state.h"

namespace veldmark {

class Win32Host final : public Platform {
public:
    explicit Win32Host(SimState& state);
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    // Registers the class, creates the window for the state's run mode, shows it and prepares
    // the memory DC.
    StartupFailure Open();

    std::uint64_t ClockFrequency() override;
    std::uint64_t ClockNow() override;
    void SleepMilliseconds(std::uint32_t ms) override;
    bool PumpMessages() override;
    bool PreviewParentExists() override;
    bool Visible() override;
    void WaitForEvents(std::uint32_t ms) override;
    bool Present(const FrameSlot& frame) override;
    void ReleasePresentation() override;

    // Puts the last presented picture back into `window` (it was uncovered while nothing new came).
    void Repaint(void* window);

    std::size_t window_count() const;

private:
    struct Handles;   // the window, its DC and the bitmap the memory DC started with
    SimState& state_;
    Handles* handles_;
    bool cursor_hidden_ = false;
};

// Configure mode: the message box, then exit code 0.
int ShowConfigureMessage();

// Makes a start-up failure's name visible: on standard error when there is one, and to a
// debugger. Returns the exit code.
int ReportStartup(StartupFailure failure);

} // namespace veldmark
