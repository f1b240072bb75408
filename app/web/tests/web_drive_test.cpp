#include "app/web/web_drive.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/pipeline/tests/hash_collector.h"
#include "app/web/hash_lines.h"
#include "render/frame_hash.h"
#include "render/render_worker.h"
#include "world/tests/fresh_state.h"

namespace veldmark::web {
namespace {

// The committed 'step,hash' lines of the whole drive, by step.
std::vector<std::string> CommittedLines()
{
    std::ifstream in(VELDMARK_DRIVE_HASHES);
    std::vector<std::string> lines(1);   // lines[step]; step 0 has none
    for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
    return lines;
}

double g_fake_now = 0.0;
double FakeClock() { return g_fake_now += 1.0; }   // every look takes a millisecond

class WebDriveTest : public ::testing::Test {
protected:
    void SetUp() override { state_ = testing::FreshState(); }
    std::unique_ptr<SimState> state_;
};

TEST_F(WebDriveTest, OnItsOwnThreadThePageShowsOneFramePerAnimationFrameInOrder)
{
    WebDrive drive;
    StartWebDrive(drive, *state_, Rendering::ThisThread);
    HashCollector screen;
    double now = 0.0;
    for (int frame = 0; frame < 6; ++frame, now += 16.7) EXPECT_TRUE(DriveTurn(drive, screen, now)) << frame;
    EXPECT_EQ(screen.steps, (std::vector<std::uint64_t>{1, 2, 3, 4, 5, 6}));
    const std::vector<std::string> committed = CommittedLines();
    ASSERT_GT(committed.size(), 6u);
    for (std::size_t i = 0; i < screen.hashes.size(); ++i) {
        std::string line;
        AppendHashLine(line, screen.steps[i], screen.hashes[i]);
        EXPECT_EQ(line, committed[screen.steps[i]]) << "the page's frames are the drive's";
    }
}

TEST_F(WebDriveTest, PausedOrHiddenNothingIsBuiltAndTheDriveGoesOnWhereItStopped)
{
    WebDrive drive;
    StartWebDrive(drive, *state_, Rendering::ThisThread);
    HashCollector screen;
    double now = 0.0;
    for (int i = 0; i < 3; ++i, now += 16.7) DriveTurn(drive, screen, now);
    const std::uint64_t built = drive.flow.step;
    const std::uint64_t filled = drive.flow.counters.filled;

    drive.paused = true;
    for (int i = 0; i < 10; ++i, now += 16.7) EXPECT_FALSE(DriveTurn(drive, screen, now));
    drive.paused = false;
    drive.hidden = true;
    for (int i = 0; i < 10; ++i, now += 1000.0) EXPECT_FALSE(DriveTurn(drive, screen, now));
    EXPECT_EQ(drive.flow.step, built) << "no simulation step while nobody looks";
    EXPECT_EQ(drive.flow.counters.filled, filled);
    EXPECT_EQ(screen.steps.size(), 3u);

    drive.hidden = false;
    EXPECT_TRUE(DriveTurn(drive, screen, now));
    EXPECT_EQ(screen.steps, (std::vector<std::uint64_t>{1, 2, 3, 4})) << "no frame skipped, none repeated";
}

TEST_F(WebDriveTest, AnimationFramesFasterThanSixtyAHertzAreSkipped)
{
    WebDrive drive;
    StartWebDrive(drive, *state_, Rendering::ThisThread);
    HashCollector screen;
    // 144 Hz: every 6.94 ms; the drive shows every second one.
    int shown = 0;
    for (int i = 0; i < 144; ++i) shown += DriveTurn(drive, screen, 1000.0 + i * (1000.0 / 144.0)) ? 1 : 0;
    EXPECT_EQ(shown, 72);
    // At 60 Hz every animation frame shows one, jitter or not.
    WebDrive sixty;
    StartWebDrive(sixty, *state_, Rendering::ThisThread);
    EXPECT_TRUE(FrameDue(sixty, 0.0));
    sixty.ever_shown = true;
    sixty.last_shown_ms = 100.0;
    EXPECT_FALSE(FrameDue(sixty, 110.0));
    EXPECT_TRUE(FrameDue(sixty, 100.0 + 16.0));
    EXPECT_TRUE(FrameDue(sixty, 100.0 + 13.0));
    EXPECT_TRUE(FrameDue(sixty, 50.0)) << "a clock that stepped back does not stop the drive";
}

TEST_F(WebDriveTest, AFrameTheCanvasCannotTakeWaitsInItsPacket)
{
    WebDrive drive;
    StartWebDrive(drive, *state_, Rendering::ThisThread);
    HashCollector screen;
    screen.answer = Delivery::NotNow;
    EXPECT_FALSE(DriveTurn(drive, screen, 0.0));
    EXPECT_FALSE(DriveTurn(drive, screen, 20.0));
    screen.answer = Delivery::Taken;
    EXPECT_TRUE(DriveTurn(drive, screen, 40.0));
    EXPECT_EQ(screen.steps, (std::vector<std::uint64_t>{1, 1, 1})) << "offered again, never lost";
}

// The hash mode's lines, from both ways of painting, equal the committed ones.
class UnpacedHashes : public WebDriveTest, public ::testing::WithParamInterface<Rendering> {};

TEST_P(UnpacedHashes, GiveTheCommittedLines)
{
    const FrameSchedule schedule{.first_step = 1, .every = 700, .count = 4};
    WebDrive drive;
    StartWebDrive(drive, *state_, GetParam(), schedule);
    RenderWorkers workers;
    if (GetParam() == Rendering::Workers) {
        ASSERT_TRUE(workers.Start(*state_, 2));
    }
    HashLines lines(schedule.count);
    // Slices so short that every call returns early: the run must still end, in order.
    int slices = 0;
    while (RunUnpaced(drive, lines, 0.5, FakeClock) == UnpacedEnd::MoreToDo) ASSERT_LT(++slices, 1'000'000);
    EXPECT_GT(slices, 0);
    workers.Stop();
    const std::vector<std::string> committed = CommittedLines();
    ASSERT_GT(committed.size(), 2102u);
    EXPECT_EQ(lines.text(), committed[1] + committed[701] + committed[1401] + committed[2101]);
    EXPECT_EQ(lines.lines(), 4u);
    EXPECT_EQ(RunUnpaced(drive, lines, 1000.0, FakeClock), UnpacedEnd::Finished) << "nothing more after the count";
    EXPECT_EQ(lines.lines(), 4u);
}

std::string RenderingName(const ::testing::TestParamInfo<Rendering>& param)
{
    return param.param == Rendering::Workers ? "Workers" : "ThisThread";
}

INSTANTIATE_TEST_SUITE_P(BothWays, UnpacedHashes, ::testing::Values(Rendering::ThisThread, Rendering::Workers),
                         RenderingName);

TEST_F(WebDriveTest, ThisThreadPaintsOnlyTheNextPacketInProductionOrder)
{
    WebDrive drive;
    StartWebDrive(drive, *state_, Rendering::ThisThread);
    EXPECT_FALSE(PaintNextOnThisThread(drive)) << "nothing is Ready before the first fill";
    HashCollector nobody;
    nobody.answer = Delivery::NotNow;
    AdvanceFrames(*state_, drive.flow, drive.schedule, nobody);   // fills all four packets
    ASSERT_EQ(drive.flow.counters.filled, kFrameSlotCount);
    EXPECT_TRUE(PaintNextOnThisThread(drive));
    EXPECT_FALSE(PaintNextOnThisThread(drive)) << "the next packet waits to be shown";
    EXPECT_EQ(state_->frame_slots[0].tail.state.load(), static_cast<std::uint8_t>(SlotState::Done));
    for (std::size_t i = 1; i < kFrameSlotCount; ++i)
        EXPECT_EQ(state_->frame_slots[i].tail.state.load(), static_cast<std::uint8_t>(SlotState::Ready)) << i;
}

TEST(HashLine, IsTheHeadlessToolsLine)
{
    std::string text;
    AppendHashLine(text, 7, 0xab);
    AppendHashLine(text, 18446744073709551615ull, 0xfedcba9876543210ull);
    EXPECT_EQ(text, "7,00000000000000ab\n18446744073709551615,fedcba9876543210\n");
}

} // namespace
} // namespace veldmark::web
