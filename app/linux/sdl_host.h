#pragma once
// The Linux host for a window of its own: the 960 x 600 window and the full-screen screensaver,
// on SDL2. SDL's renderer scales the 1920 x 1200 frame to the window with linear filtering.
#include <string>

#include "app/shell/platform.h"
#include "app/shell/startup_failure.h"
#include "world/sim_state.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace veldmark {

class SdlHost final : public Platform {
public:
    explicit SdlHost(SimState& state) : state_(state) {}
    ~SdlHost() override { ReleasePresentation(); }
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // Creates the window for the state's run mode (Windowed or Fullscreen). On failure `detail`
    // says what the platform reported.
    StartupFailure Open(std::string& detail);

    std::uint64_t ClockFrequency() override;
    std::uint64_t ClockNow() override;
    void SleepMilliseconds(std::uint32_t ms) override;
    bool PumpMessages() override;
    bool PreviewParentExists() override { return true; }
    bool Present(const FrameSlot& frame) override;
    void ReleasePresentation() override;

private:
    void Redraw();

    SimState& state_;
    bool video_ = false;
    bool cursor_hidden_ = false;
    bool has_picture_ = false;   // the texture holds a frame worth redrawing on exposure
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
};

// Configure mode: the message box, or the same text on standard error when there is no display.
void ShowConfigureMessage();

} // namespace veldmark
