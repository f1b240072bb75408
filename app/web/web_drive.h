#pragma once
// The page's side of the frame loop, free of the browser: the page calls DriveTurn from each
// animation frame and RunUnpaced from the hash and bench modes. Frames go through the same
// ring and AdvanceFrames as in every other host. Where the page has threads the render workers
// paint the packets; where it has none (served without cross-origin isolation) the page's own
// thread paints the next packet in production order between animation frames.
#include <cstdint>
#include <memory>

#include "app/pipeline/frame_pipeline.h"
#include "render/strip_frame.h"
#include "world/sim_state.h"

namespace veldmark::web {

enum class Rendering { Workers, ThisThread };

// Animation frames closer together than this are skipped, so that a display faster than 60 Hz
// does not drive faster than the native hosts' 16 ms pacing does (60 Hz frames always pass).
inline constexpr double kMinFrameGapMilliseconds = 12.5;

struct WebDrive {
    SimState* state = nullptr;
    Rendering rendering = Rendering::Workers;
    FrameSchedule schedule;                  // the drive: every step, endlessly
    FrameFlow flow;
    std::unique_ptr<StripScratch> scratch;   // ThisThread only: the painter's own
    bool paused = false;                     // space: nothing is built, painted or shown
    bool hidden = false;                     // the tab cannot be seen: likewise
    bool ever_shown = false;
    double last_shown_ms = 0.0;              // when the last frame was shown
};

// Sets up a drive on `state` from the ring's start. ThisThread allocates its scratch here.
void StartWebDrive(WebDrive& drive, SimState& state, Rendering rendering, const FrameSchedule& schedule = {});

// Whether an animation frame at `now_ms` may show a frame.
bool FrameDue(const WebDrive& drive, double now_ms);

// One animation frame: unless paused, hidden or too soon, shows at most one frame through
// `consumer` and refills the ring. Returns whether a frame was shown.
bool DriveTurn(WebDrive& drive, FrameConsumer& consumer, double now_ms);

// ThisThread: paints the next packet in production order when it is Ready. Returns whether it
// painted one.
bool PaintNextOnThisThread(WebDrive& drive);

enum class UnpacedEnd { MoreToDo, Finished };

// Hash and bench modes: delivers frames as fast as they come until the schedule's count is
// done, `budget_ms` of `clock_ms()` time has passed, or the next frame is not finished yet; the
// page calls again a moment later. `clock_ms` is any monotonic millisecond clock.
UnpacedEnd RunUnpaced(WebDrive& drive, FrameConsumer& consumer, double budget_ms, double (*clock_ms)());

} // namespace veldmark::web
