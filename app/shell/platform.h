#pragma once
// The few things the main loop needs from a platform. The Windows host, the SDL host and the
// X11 host each implement this; the tests drive the loop through a fake with a scripted clock.
// All of it runs on the main thread.
#include <cstdint>

#include "world/frame_slot.h"

namespace veldmark {

class Platform {
public:
    virtual ~Platform() = default;

    // The high-resolution clock: ticks per second (0 when unknown), and now.
    virtual std::uint64_t ClockFrequency() = 0;
    virtual std::uint64_t ClockNow() = 0;
    virtual void SleepMilliseconds(std::uint32_t ms) = 0;

    // Takes every pending window message or event and lets the input rules act on it (they may
    // clear `running` or flip `not_paused`). Returns false once the platform says quit.
    virtual bool PumpMessages() = 0;

    // Preview only: whether the window the preview lives in still exists.
    virtual bool PreviewParentExists() = 0;

    // Whether anything of the window can be seen now: false while it is minimised, hidden,
    // unmapped or fully covered. Nothing is built, rendered or presented then.
    virtual bool Visible() { return true; }

    // Waits until a window message or event arrives, or `ms` milliseconds have passed, using
    // no processor time meanwhile. The loop waits here while the window cannot be seen.
    virtual void WaitForEvents(std::uint32_t ms) { SleepMilliseconds(ms); }

    // Shows a finished frame in the whole client area (each window's or monitor's Presenter
    // decides what of it goes where). Returns false when it cannot be shown now (no client
    // area, no bitmap); the frame then waits in its packet for next time.
    virtual bool Present(const FrameSlot& frame) = 0;

    // Called once after the render workers have stopped: releases what presenting needed and
    // gives back the cursor.
    virtual void ReleasePresentation() = 0;
};

} // namespace veldmark
