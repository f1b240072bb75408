#include "app/shell/main_loop.h"

#include <limits>
#include <new>

#include "app/shell/run_mode.h"
#include "render/render_worker.h"

namespace veldmark {
namespace {

// The platform's presentation as the frame pipeline's consumer: a frame it cannot show now
// waits in its packet for the next iteration.
class PlatformConsumer final : public FrameConsumer {
public:
    explicit PlatformConsumer(Platform& platform) : platform_(platform) {}
    Delivery Consume(const FrameSlot& frame, std::uint64_t) override
    {
        return platform_.Present(frame) ? Delivery::Taken : Delivery::NotNow;
    }

private:
    Platform& platform_;
};

} // namespace

std::uint64_t ElapsedMilliseconds(std::uint64_t t0, std::uint64_t t1, std::uint64_t frequency)
{
    if (frequency == 0) frequency = 1;
    if (t1 <= t0) return 0;   // a clock that stood still or stepped back: no time has passed
    const std::uint64_t ticks = t1 - t0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    // ticks * 1000 / frequency without the product overflowing, whatever the clock's rate.
    const std::uint64_t whole_seconds = ticks / frequency;
    const std::uint64_t rest = ticks % frequency;
    if (whole_seconds > kMax / 1000) return kMax;
    const std::uint64_t rest_ms = rest <= kMax / 1000 ? rest * 1000 / frequency
                                                      : rest / (frequency / 1000);
    return whole_seconds * 1000 + rest_ms;
}

LoopStep MainLoopIteration(SimState& state, Platform& platform, FrameFlow& flow,
                           std::uint64_t frequency)
{
    const std::uint64_t t0 = platform.ClockNow();
    if (!platform.PumpMessages()) {
        state.running = 0;
        return LoopStep::Stop;
    }
    if (state.running == 0) return LoopStep::Stop;
    if (RunModeOf(state) == ScreensaverMode::Preview && state.preview_parent != 0 &&
        !platform.PreviewParentExists())
        return LoopStep::Stop;

    // Nothing is drawn that nobody sees: the drive waits where it is until the window shows.
    if (!platform.Visible()) {
        platform.WaitForEvents(kHiddenWaitMilliseconds);
        return LoopStep::Continue;
    }
    if (state.not_paused == 1) {
        PlatformConsumer screen(platform);
        AdvanceFrames(state, flow, FrameSchedule{}, screen);
    }

    const std::uint64_t elapsed = ElapsedMilliseconds(t0, platform.ClockNow(), frequency);
    if (elapsed < kIterationMilliseconds)
        platform.SleepMilliseconds(static_cast<std::uint32_t>(kIterationMilliseconds - elapsed));
    return LoopStep::Continue;
}

StartupFailure RunMainLoop(SimState& state, Platform& platform)
{
    ResetFrameRing(state);
    RenderWorkers workers;
    try {
        if (!workers.Start(state, kRenderWorkerCount)) return StartupFailure::Unexpected;
    } catch (const std::bad_alloc&) {
        return StartupFailure::OutOfMemory;
    }

    const std::uint64_t frequency = platform.ClockFrequency();
    FrameFlow flow;
    while (state.running != 0)
        if (MainLoopIteration(state, platform, flow, frequency) == LoopStep::Stop) break;

    // Each worker finishes the frame it holds; only then may the pixels' destination go away.
    workers.Stop();
    platform.ReleasePresentation();
    return StartupFailure::None;
}

} // namespace veldmark
