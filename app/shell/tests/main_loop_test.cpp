#include "app/shell/main_loop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "app/shell/input_rules.h"
#include "app/shell/run_mode.h"
#include "world/tests/fresh_state.h"

namespace veldmark {
namespace {

constexpr std::uint8_t kReady = 1, kRendering = 2, kDone = 3;

// A platform with a scripted clock (1 tick = 1 microsecond) that records what the loop asks of it.
class FakePlatform : public Platform {
public:
    explicit FakePlatform(SimState& state) : state_(state) {}

    std::uint64_t frequency = 1'000'000;
    std::uint64_t now = 5'000'000;
    std::uint64_t pump_cost_us = 0;     // how long handling the messages takes
    bool quit = false;                  // the platform's quit message is pending
    bool parent_exists = true;
    bool can_present = true;
    bool visible = true;
    std::vector<std::uint32_t> waits;
    std::function<void(SimState&)> on_pump;           // e.g. a key press
    std::function<void(const FrameSlot&)> on_present;
    bool real_sleep = false;            // let real workers run while the loop "sleeps"

    std::vector<std::uint32_t> sleeps;
    std::vector<int> presented_slots;
    int parent_checks = 0;
    int releases = 0;
    std::uint8_t workers_stop_at_release = 0;
    bool slot_rendering_at_release = false;

    std::uint64_t ClockFrequency() override { return frequency; }
    std::uint64_t ClockNow() override { return now; }
    void SleepMilliseconds(std::uint32_t ms) override
    {
        sleeps.push_back(ms);
        now += std::uint64_t{ms} * frequency / 1000;
        if (real_sleep) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bool PumpMessages() override
    {
        now += pump_cost_us * frequency / 1'000'000;
        if (on_pump) on_pump(state_);
        return !quit;
    }
    bool Visible() override { return visible; }
    void WaitForEvents(std::uint32_t ms) override
    {
        waits.push_back(ms);
        now += std::uint64_t{ms} * frequency / 1000;
    }
    bool PreviewParentExists() override
    {
        ++parent_checks;
        return parent_exists;
    }
    bool Present(const FrameSlot& frame) override
    {
        if (!can_present) return false;
        presented_slots.push_back(static_cast<int>(&frame - state_.frame_slots));
        if (on_present) on_present(frame);
        return true;
    }
    void ReleasePresentation() override
    {
        ++releases;
        workers_stop_at_release = state_.workers_stop.load();
        for (const FrameSlot& slot : state_.frame_slots)
            if (slot.tail.state.load() == kRendering) slot_rendering_at_release = true;
    }

private:
    SimState& state_;
};

std::uint8_t StateOf(const SimState& s, int slot) { return s.frame_slots[slot].tail.state.load(); }
void Finish(SimState& s, int slot) { s.frame_slots[slot].tail.state.store(kDone); }

// The loop without render workers: the test plays the workers by marking packets Done.
class LoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_ = testing::FreshState();
        ResetFrameRing(*s_);
        platform_ = std::make_unique<FakePlatform>(*s_);
    }
    LoopStep Step() { return MainLoopIteration(*s_, *platform_, flow_, platform_->frequency); }

    std::unique_ptr<SimState> s_;
    std::unique_ptr<FakePlatform> platform_;
    FrameFlow flow_;
    FrameCounters& counters_ = flow_.counters;
};

TEST(Pacing, ElapsedTimeIsWholeMillisecondsRoundedDown)
{
    EXPECT_EQ(ElapsedMilliseconds(100, 115, 1000), 15u);
    EXPECT_EQ(ElapsedMilliseconds(0, 47, 3000), 15u);   // 15.67 ms
    EXPECT_EQ(ElapsedMilliseconds(0, 48, 3000), 16u);
    EXPECT_EQ(ElapsedMilliseconds(7, 7, 1000), 0u);
}

TEST(Pacing, OddClocksNeitherOverflowNorDivideByZero)
{
    EXPECT_EQ(ElapsedMilliseconds(0, 2, 0), 2000u) << "a failed frequency read counts as 1";
    EXPECT_EQ(ElapsedMilliseconds(50, 10, 1000), 0u) << "a clock that stepped back";
    // A 10 MHz counter read long after boot: ticks * 1000 would not fit in 64 bits.
    EXPECT_EQ(ElapsedMilliseconds(0, 12'345'678'901'234'567'890u, 10'000'000), 1'234'567'890'123'456u);
    EXPECT_EQ(ElapsedMilliseconds(0, ~0ull, 1), ~0ull);
    EXPECT_EQ(ElapsedMilliseconds(0, ~0ull, ~0ull), 1000u);
}

TEST_F(LoopTest, AnIterationIsPaddedToSixteenMillisecondsButNeverBeyond)
{
    platform_->on_pump = [](SimState& s) { s.not_paused = 0; };   // keep frame building out of it
    for (std::uint64_t cost : {0u, 5u, 15u, 16u, 40u}) {
        platform_->sleeps.clear();
        platform_->pump_cost_us = cost * 1000;
        ASSERT_EQ(Step(), LoopStep::Continue);
        if (cost < 16) {
            ASSERT_EQ(platform_->sleeps.size(), 1u) << cost;
            EXPECT_EQ(platform_->sleeps[0], 16 - cost);
        } else {
            EXPECT_TRUE(platform_->sleeps.empty()) << cost;
        }
    }
}

TEST_F(LoopTest, TheFirstIterationFillsTheWholeRingAndPresentsNothing)
{
    ASSERT_EQ(Step(), LoopStep::Continue);
    EXPECT_EQ(counters_.filled, 4u);
    EXPECT_EQ(float{s_->drive_ticks}, 4.0f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(StateOf(*s_, i), kReady);
    EXPECT_TRUE(platform_->presented_slots.empty());
}

TEST_F(LoopTest, FramesAreShownInProductionOrderOneAtATime)
{
    Step();
    // The second frame finishes first: it must wait for the first.
    Finish(*s_, 1);
    Finish(*s_, 2);
    Step();
    EXPECT_TRUE(platform_->presented_slots.empty());
    EXPECT_EQ(counters_.filled, 4u);

    Finish(*s_, 0);
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0}));
    EXPECT_EQ(counters_.filled, 5u) << "the freed packet is refilled in the same iteration";
    EXPECT_EQ(StateOf(*s_, 0), kReady);

    Step();
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0, 1, 2}));
    Step();
    EXPECT_EQ(platform_->presented_slots.size(), 3u) << "slot 3 is still being rendered";
    Finish(*s_, 3);
    Finish(*s_, 0);
    Step();
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(counters_.presented, 5u);
    EXPECT_EQ(counters_.filled, 9u);
}

TEST_F(LoopTest, PauseStopsPresentingAndProducingAndResumesAtTheSameFrame)
{
    Step();
    Finish(*s_, 0);
    Finish(*s_, 1);
    Step();
    ASSERT_EQ(platform_->presented_slots, (std::vector<int>{0}));
    const float ticks = s_->drive_ticks;

    ASSERT_EQ(OnKeyDown(*s_, kKeySpace), InputVerdict::Handled);
    Finish(*s_, 2);
    for (int i = 0; i < 3; ++i) {
        platform_->sleeps.clear();
        EXPECT_EQ(Step(), LoopStep::Continue);
        EXPECT_EQ(platform_->sleeps, (std::vector<std::uint32_t>{16})) << "a paused loop still paces";
    }
    EXPECT_EQ(platform_->presented_slots.size(), 1u);
    EXPECT_EQ(float{s_->drive_ticks}, ticks) << "the drive stands still while paused";
    EXPECT_EQ(StateOf(*s_, 0), kReady) << "nothing was refilled";

    OnKeyDown(*s_, kKeySpace);
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0, 1}));
}

TEST_F(LoopTest, AFrameThatCannotBeShownWaitsAndHoldsTheRing)
{
    Step();
    Finish(*s_, 0);
    platform_->can_present = false;   // minimised, or no bitmap could be made
    Step();
    Step();
    EXPECT_EQ(StateOf(*s_, 0), kDone);
    EXPECT_EQ(counters_.presented, 0u);
    EXPECT_EQ(counters_.filled, 4u);
    platform_->can_present = true;
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0}));
    EXPECT_EQ(counters_.filled, 5u);
}

TEST_F(LoopTest, AHiddenWindowGetsNoFramesAndTheLoopWaitsForEventsInstead)
{
    Step();
    Finish(*s_, 0);
    platform_->visible = false;   // minimised, unmapped or covered
    const float ticks = s_->drive_ticks;
    for (int i = 0; i < 5; ++i) {
        platform_->sleeps.clear();
        EXPECT_EQ(Step(), LoopStep::Continue);
        EXPECT_TRUE(platform_->sleeps.empty()) << "it waits for events rather than pacing";
    }
    EXPECT_EQ(platform_->waits, std::vector<std::uint32_t>(5, kHiddenWaitMilliseconds));
    EXPECT_TRUE(platform_->presented_slots.empty());
    EXPECT_EQ(StateOf(*s_, 0), kDone) << "the finished frame waits in its packet";
    EXPECT_EQ(float{s_->drive_ticks}, ticks) << "the drive stands still";

    platform_->visible = true;
    Step();
    EXPECT_EQ(platform_->presented_slots, (std::vector<int>{0})) << "it resumes where it stopped";
    EXPECT_EQ(float{s_->drive_ticks}, ticks + 1.0f);
}

TEST_F(LoopTest, AHiddenPreviewStillEndsWhenItsParentGoes)
{
    ApplyRunMode(*s_, RunModeChoice{ScreensaverMode::Preview, 0x1234});
    platform_->visible = false;
    EXPECT_EQ(Step(), LoopStep::Continue);
    platform_->parent_exists = false;
    EXPECT_EQ(Step(), LoopStep::Stop);
}

TEST_F(LoopTest, QuitOrAClearedRunningFlagStopsBeforeAnyFrameWork)
{
    platform_->quit = true;
    EXPECT_EQ(Step(), LoopStep::Stop);
    EXPECT_EQ(s_->running, 0);
    EXPECT_EQ(counters_.filled, 0u);

    platform_->quit = false;
    s_->running = 1;
    platform_->on_pump = [](SimState& s) {
        if (OnKeyDown(s, kKeyEscape) == InputVerdict::EndProgram) s.running = 0;
    };
    EXPECT_EQ(Step(), LoopStep::Stop);
    EXPECT_EQ(counters_.filled, 0u);
    EXPECT_TRUE(platform_->sleeps.empty());
}

TEST_F(LoopTest, APreviewEndsWhenItsParentIsGoneAndOnlyAPreviewAsks)
{
    Step();
    EXPECT_EQ(platform_->parent_checks, 0) << "a window of its own has no parent to watch";

    ApplyRunMode(*s_, RunModeChoice{ScreensaverMode::Preview, 0x1234});
    Finish(*s_, 0);
    platform_->parent_exists = false;
    EXPECT_EQ(Step(), LoopStep::Stop);
    EXPECT_EQ(platform_->parent_checks, 1);
    EXPECT_TRUE(platform_->presented_slots.empty());
}

// The whole run with real render workers: frames arrive finished, in order, and the
// presentation is released only after both workers have stopped.
TEST(RunMainLoop, ShowsFinishedFramesInOrderAndStopsWorkersBeforeReleasing)
{
    auto s = testing::FreshState();
    FakePlatform platform(*s);
    platform.real_sleep = true;
    constexpr int kFrames = 6;
    int bad_frames = 0;
    platform.on_present = [&](const FrameSlot& frame) {
        if (frame.tail.state.load() != kDone || frame.pixels[0] == 0) ++bad_frames;
    };
    platform.on_pump = [&](SimState& st) {
        if (platform.presented_slots.size() >= kFrames) st.running = 0;
    };

    EXPECT_EQ(RunMainLoop(*s, platform), StartupFailure::None);
    EXPECT_EQ(bad_frames, 0);
    ASSERT_EQ(platform.presented_slots.size(), std::size_t{kFrames});
    for (int i = 0; i < kFrames; ++i) EXPECT_EQ(platform.presented_slots[std::size_t(i)], i % 4);
    EXPECT_EQ(platform.releases, 1);
    EXPECT_EQ(platform.workers_stop_at_release, 1);
    EXPECT_FALSE(platform.slot_rendering_at_release);
    EXPECT_EQ(float{s->drive_ticks}, float{kFrames + 4}) << "one step per frame filled";
}

TEST(StartupFailure, NamesAndExitCodes)
{
    EXPECT_STREQ(StartupFailureName(StartupFailure::CreateWindow), "CreateWindow");
    EXPECT_STREQ(StartupFailureName(StartupFailure::NoMemDC), "NoMemDC");
    EXPECT_EQ(ExitCodeOf(StartupFailure::None), 0);
    for (StartupFailure f : {StartupFailure::RegisterClass, StartupFailure::CreateWindow, StartupFailure::NoDC,
                             StartupFailure::NoMemDC, StartupFailure::OutOfMemory, StartupFailure::Unexpected})
        EXPECT_EQ(ExitCodeOf(f), 1) << StartupFailureName(f);
}

} // namespace
} // namespace veldmark
