#include "app/pipeline/frame_ring.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/pipeline/frame_pipeline.h"
#include "app/pipeline/tests/hash_collector.h"
#include "render/background.h"
#include "render/frame_hash.h"
#include "render/render_worker.h"
#include "sim/sky.h"
#include "world/tests/fresh_state.h"

namespace veldmark {
namespace {

std::uint8_t StateOf(const FrameSlot& slot) { return slot.tail.state.load(); }
constexpr std::uint8_t kFree = 0, kReady = 1, kRendering = 2, kDone = 3;

class FrameRingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_ = testing::FreshState();
        ResetFrameRing(*s_);
    }
    void FillFreeSlots()
    {
        while (FillNextFrame(*s_, counters_)) {}
    }
    std::unique_ptr<SimState> s_;
    FrameFlow flow_;
    FrameCounters& counters_ = flow_.counters;
    HashCollector consumer_;
};

TEST_F(FrameRingTest, FillsEveryFreePacketInOrderThenStops)
{
    AdvanceFrames(*s_, flow_, FrameSchedule{}, consumer_);
    EXPECT_EQ(counters_.filled, 4u);
    EXPECT_EQ(float{s_->drive_ticks}, 4.0f) << "one simulation step per frame";
    for (const FrameSlot& slot : s_->frame_slots) {
        EXPECT_EQ(StateOf(slot), kReady);
        EXPECT_GT(slot.list_length, 0u);
    }
    AdvanceFrames(*s_, flow_, FrameSchedule{}, consumer_);
    EXPECT_EQ(counters_.filled, 4u) << "a full ring takes nothing more";
    EXPECT_EQ(float{s_->drive_ticks}, 4.0f);
    EXPECT_TRUE(consumer_.steps.empty()) << "nothing was finished to deliver";
}

TEST_F(FrameRingTest, AFrameTheConsumerCannotTakeWaitsInItsPacket)
{
    AdvanceFrames(*s_, flow_, FrameSchedule{}, consumer_);
    s_->frame_slots[0].tail.state = kDone;
    consumer_.answer = Delivery::NotNow;
    EXPECT_FALSE(AdvanceFrames(*s_, flow_, FrameSchedule{}, consumer_).delivered);
    EXPECT_EQ(StateOf(s_->frame_slots[0]), kDone);
    EXPECT_EQ(counters_.filled, 4u);
    consumer_.answer = Delivery::Taken;
    EXPECT_TRUE(AdvanceFrames(*s_, flow_, FrameSchedule{}, consumer_).delivered);
    EXPECT_EQ(consumer_.steps, (std::vector<std::uint64_t>{1, 1}));
    EXPECT_EQ(counters_.filled, 5u) << "the freed packet is refilled in the same turn";
    EXPECT_EQ(StateOf(s_->frame_slots[0]), kReady);
}

TEST_F(FrameRingTest, TheScheduleSetsTheStepsBetweenFramesAndTheirNumber)
{
    AdvanceFrames(*s_, flow_, FrameSchedule{.first_step = 10, .every = 3, .count = 3}, consumer_);
    EXPECT_EQ(counters_.filled, 3u);
    EXPECT_EQ(float{s_->drive_ticks}, 16.0f);
    EXPECT_EQ(flow_.step_of_slot[0], 10u);
    EXPECT_EQ(flow_.step_of_slot[2], 16u);
    EXPECT_EQ(StateOf(s_->frame_slots[3]), kFree) << "no frame past the end of the run";
}

TEST_F(FrameRingTest, PacketCarriesTheFrameAndItsBackground)
{
    s_->steer_angle = 0.0f;
    ASSERT_TRUE(FillNextFrame(*s_, counters_));
    const FrameSlot& slot = s_->frame_slots[0];
    ASSERT_EQ(slot.list_length, s_->display_list_length);
    EXPECT_TRUE(std::equal(slot.display_list, slot.display_list + slot.list_length, s_->display_list));
    EXPECT_EQ(slot.tail.zenith_colour, ZenithColour(s_->drive_ticks));
    EXPECT_EQ(slot.tail.horizon_colour, HorizonColour(s_->drive_ticks));
    EXPECT_EQ(slot.tail.roll, RollFromSteer(s_->steer_angle));
    EXPECT_EQ(slot.tail.sun_visible, s_->sun_visible);
    EXPECT_EQ(slot.tail.sun_x, s_->sun_screen_x);
}

TEST_F(FrameRingTest, WorkersClaimTheLowestReadyPacket)
{
    FillFreeSlots();
    s_->frame_slots[0].tail.state = kRendering;   // another worker has it
    FrameSlot* claimed = ClaimSlot(*s_);
    EXPECT_EQ(claimed, &s_->frame_slots[1]);
    EXPECT_EQ(StateOf(s_->frame_slots[1]), kRendering);
    s_->frame_slots[2].tail.state = kFree;
    s_->frame_slots[3].tail.state = kDone;
    EXPECT_EQ(ClaimSlot(*s_), nullptr) << "Free and Done packets are never claimed";
}

TEST_F(FrameRingTest, PresentsInProductionOrderWhicheverWorkerFinishesFirst)
{
    FillFreeSlots();
    s_->frame_slots[1].tail.state = kDone;   // the second frame finished first
    EXPECT_EQ(NextFinishedFrame(*s_, counters_), nullptr) << "it waits for the first";
    s_->frame_slots[0].tail.state = kDone;
    EXPECT_EQ(NextFinishedFrame(*s_, counters_), &s_->frame_slots[0]);
    ReleasePresentedFrame(*s_, counters_);
    EXPECT_EQ(StateOf(s_->frame_slots[0]), kFree);
    EXPECT_EQ(NextFinishedFrame(*s_, counters_), &s_->frame_slots[1]);
    // The freed packet is the next to be filled: production continues in order.
    EXPECT_TRUE(FillNextFrame(*s_, counters_));
    EXPECT_EQ(counters_.filled, 5u);
    EXPECT_EQ(StateOf(s_->frame_slots[0]), kReady);
}

TEST_F(FrameRingTest, EmptyListStillGetsTheWholeBackground)
{
    FrameSlot& slot = s_->frame_slots[2];
    slot.list_length = 0;
    slot.tail.roll = 0.0f;
    slot.tail.zenith_colour = 0x8ECAE6;
    slot.tail.horizon_colour = 0x8ECAE6;
    slot.tail.sun_visible = 0;
    std::fill(std::begin(slot.pixels), std::end(slot.pixels), 0xDEADBEEFu);
    auto scratch = std::make_unique<StripScratch>();
    RenderSlot(slot, *scratch);
    EXPECT_EQ(slot.pixels[0], 0x8ECAE6u);
    EXPECT_EQ(slot.pixels[kFramePixels - 1], kGroundColour);
    EXPECT_EQ(std::count(std::begin(slot.pixels), std::end(slot.pixels), 0xDEADBEEFu), 0);
}

TEST(FramePipelineTest, FramesAreTheSameWithAnyNumberOfWorkers)
{
    const FrameRun base{.frames = {.first_step = 300, .every = 37, .count = 10}, .workers = 1};
    HashCollector one;
    RunFrames(*testing::FreshState(), base, one);
    FrameRun two_run = base;
    two_run.workers = 2;
    HashCollector two;
    EXPECT_EQ(RunFrames(*testing::FreshState(), two_run, two), FrameRunEnd::Finished);
    ASSERT_EQ(one.hashes.size(), 10u);
    EXPECT_EQ(one.hashes, two.hashes);
    EXPECT_EQ(two.steps.front(), 300u);
    EXPECT_EQ(two.steps.back(), 300u + 9u * 37u);
    EXPECT_NE(two.hashes.front(), two.hashes.back()) << "the drive moved";
}

TEST(FramePipelineTest, StepsAheadMatchStepByStep)
{
    HashCollector skipping;
    RunFrames(*testing::FreshState(), FrameRun{.frames = {.first_step = 5, .every = 1, .count = 1}, .workers = 2}, skipping);
    HashCollector walking;
    RunFrames(*testing::FreshState(), FrameRun{.frames = {.first_step = 1, .every = 1, .count = 5}, .workers = 2}, walking);
    ASSERT_EQ(walking.hashes.size(), 5u);
    EXPECT_EQ(skipping.hashes.front(), walking.hashes.back());
}

class StopAfter : public FrameConsumer {
public:
    explicit StopAfter(int n) : left_(n) {}
    Delivery Consume(const FrameSlot&, std::uint64_t) override
    {
        return --left_ > 0 ? Delivery::Taken : Delivery::Last;
    }
private:
    int left_;
};

TEST(FramePipelineTest, ConsumerAndInterruptEndTheRunWithWorkersStopped)
{
    auto s = testing::FreshState();
    StopAfter stop(3);
    EXPECT_EQ(RunFrames(*s, FrameRun{.frames = {.first_step = 1, .every = 1, .count = 100}, .workers = 2}, stop),
              FrameRunEnd::StoppedByConsumer);
    EXPECT_EQ(s->workers_stop.load(), 1);
    std::atomic<bool> interrupt{true};
    HashCollector none;
    EXPECT_EQ(RunFrames(*s, FrameRun{}, none, &interrupt), FrameRunEnd::Interrupted);
    EXPECT_TRUE(none.hashes.empty());
    EXPECT_EQ(RunFrames(*s, FrameRun{.frames = {.first_step = 1, .every = 1, .count = 1}, .workers = 0}, none),
              FrameRunEnd::NoWorkers);
}

} // namespace
} // namespace veldmark
