#pragma once
// The Linux host for a window of its own: the 960 x 600 window and the full-screen screensaver,
// on SDL2. The frame is scaled to the window by our own area-averaging scaler and handed to SDL
// at the window's size: straight into the window's surface (an MIT-SHM image on X11, no OpenGL
// at all), or, with VELDMARK_SDL_PRESENT=texture, as a streaming texture of the window's size
// that SDL's renderer copies 1:1.
#include <string>
#include <vector>

#include "app/shell/frame_scaler.h"
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
    bool Visible() override;
    void WaitForEvents(std::uint32_t ms) override;
    bool Present(const FrameSlot& frame) override;
    void ReleasePresentation() override;

private:
    bool PresentToSurface(const FrameSlot& frame);
    bool PresentToTexture(const FrameSlot& frame, int width, int height);
    void Redraw();

    SimState& state_;
    bool video_ = false;
    bool cursor_hidden_ = false;
    bool has_picture_ = false;   // the last picture can be put back on exposure
    bool use_texture_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;   // texture presentation only
    SDL_Texture* texture_ = nullptr;     // ...of the window's size
    int texture_width_ = 0;
    int texture_height_ = 0;
    std::vector<std::uint32_t> scaled_;  // the texture's picture, kept for exposure
    FrameScaler scaler_;
};

// Configure mode: the message box, or the same text on standard error when there is no display.
void ShowConfigureMessage();

} // namespace veldmark
