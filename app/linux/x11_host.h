#pragma once
// The Linux host for windows that belong to someone else, in plain Xlib: the preview, a child
// window inside a settings program's window (/p XID), and XScreenSaver's own window, drawn into
// directly. The presenter draws the picture into an image of the window's size on the CPU,
// which goes to the server with MIT-SHM (plain XPutImage where shared memory is not available,
// as on a remote display). A root window that spans several monitors gets a picture of its own
// in every monitor's rectangle, not one picture across all of them. Input is never selected: in
// a preview the keys are ignored and the mouse goes to the parent; XScreenSaver watches input
// itself.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/linux/x11_monitors.h"
#include "app/shell/fps_meter.h"
#include "app/shell/platform.h"
#include "app/shell/presenter.h"
#include "app/shell/screen_layout.h"
#include "app/shell/startup_failure.h"
#include "world/sim_state.h"

// Xlib's own types, named here so the header stays free of X11's macros.
struct _XDisplay;
struct _XImage;
struct _XGC;

namespace veldmark {

class X11Host final : public Platform {
public:
    explicit X11Host(SimState& state);
    ~X11Host() override;
    X11Host(const X11Host&) = delete;
    X11Host& operator=(const X11Host&) = delete;

    // A child window filling `parent`'s area, following its size, gone when the parent goes.
    StartupFailure OpenPreview(std::uint64_t parent, std::string& detail);
    // Draws into `window` itself (0: the screen's root window), following its size.
    StartupFailure OpenDaemonWindow(std::uint64_t window, std::string& detail);

    std::uint64_t ClockFrequency() override;
    std::uint64_t ClockNow() override;
    void SleepMilliseconds(std::uint32_t ms) override;
    // --fps: counts presented frames in `meter` and shows its line on every picture.
    void ShowFps(FpsMeter* meter) { fps_ = meter; }
    // --fit: how every picture fits its rectangle (fill unless told).
    void SetPictureFit(PictureFit fit);

    bool PumpMessages() override;
    bool PreviewParentExists() override { return !parent_gone_; }
    bool Visible() override { return mapped_ && parent_mapped_ && !obscured_; }
    void WaitForEvents(std::uint32_t ms) override;
    bool Present(const FrameSlot& frame) override;
    void ReleasePresentation() override;

private:
    StartupFailure Connect(std::string& detail);
    StartupFailure Prepare(std::uint64_t window, std::string& detail);
    bool MakeImage(int width, int height);
    void DropImage();
    void PutImage();
    // Where the pictures go in the window: every monitor of a root window (as `monitors` lists
    // them), else all of it.
    void PlaceAreas(const ScreenLayout& monitors);

    SimState& state_;
    _XDisplay* display_ = nullptr;
    std::uint64_t parent_ = 0;    // preview: the settings program's window
    std::uint64_t window_ = 0;    // where we draw
    bool own_window_ = false;     // the preview's child is ours to destroy
    bool parent_gone_ = false;
    bool mapped_ = true;          // our window is mapped (a window we did not make counts as mapped)
    bool obscured_ = false;       // ...and wholly covered by others
    bool parent_mapped_ = true;   // preview: the settings window we live in is mapped
    int width_ = 0;               // the window's current size
    int height_ = 0;
    bool opaque_alpha_ = false;   // a 32-bit visual reads the top byte as alpha
    _XGC* gc_ = nullptr;
    _XImage* image_ = nullptr;
    bool image_shared_ = false;
    bool have_picture_ = false;
    int shm_id_ = -1;
    void* shm_address_ = nullptr;
    std::vector<std::uint32_t> plain_pixels_;   // the image's pixels when not shared
    bool is_root_ = false;        // drawing into the root window itself
    ScreenLayout areas_;          // the rectangles of the window that get a picture
    std::array<Presenter, kMaxScreens> presenters_;   // one per rectangle
    MonitorWatch monitor_watch_;  // root window: the monitors the rectangles were made for
    struct ShmSegment;   // XShmSegmentInfo, out of this header so it needs no X11 include
    std::unique_ptr<ShmSegment> shm_;
    FpsMeter* fps_ = nullptr;     // --fps only
};

// Makes SIGTERM and SIGINT end the run through the main loop (workers finish their frames).
void InstallStopSignals();

} // namespace veldmark
