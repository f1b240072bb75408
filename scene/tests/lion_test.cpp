// The lion: its clock, its acts (walk, watch, crouch, leap with lift, land), its listing and
// its drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/tests/emitter_fixture.h"
#include "scene/lion_drawing.h"
#include "scene/lion_poses.h"
#include "scene/lion_timeline.h"
#include "scene/tests/drawn_commands.h"

namespace veldmark::test {
namespace {

// along, walk_from, rest_across, land_across, size: as the route places its lions.
constexpr float kSpot[kLionSpotFields] = {107.0f, 5.0f, 0.816f, -3.49f, 1.7f};

TEST(LionTimeline, TheClockRunsWithTheCarsApproach)
{
    EXPECT_EQ(LionClock(50.0f, 0.0f), 0.0f);            // stopped short: the scene waits
    EXPECT_EQ(LionClock(50.0f, 0.0000009f), 0.0f);
    EXPECT_EQ(LionClock(0.0f, 0.0f), 38.0f);             // arrived, or passed
    EXPECT_EQ(LionClock(-20.0f, 2.0f), 38.0f);
    EXPECT_EQ(LionClock(38.0f, 2.0f), 19.0f);            // 19 steps to go
    EXPECT_EQ(LionClock(500.0f, 2.0f), 0.0f);            // further than the scene lasts
    EXPECT_EQ(LionClock(NAN, 2.0f), 0.0f);
}

TEST(LionTimeline, AStoppedCarShortOfTheSpotSeesTheLionAtTheStartOfItsWalk)
{
    const LionAct act = LionAtClock(LionClock(80.0f, 0.0f), kSpot);
    EXPECT_EQ(act.pose, kLionWalkA);
    EXPECT_EQ(act.across, 5.0f);
    EXPECT_EQ(act.lift, 0.0f);
}

TEST(LionTimeline, TheWalkAlternatesItsStepsAndCoversTheWayToItsRest)
{
    const LionAct half = LionAtClock(5.0f, kSpot);   // sin(2 pi) = 0: step A
    EXPECT_EQ(half.pose, kLionWalkA);
    EXPECT_FLOAT_EQ(half.across, (5.0f + 0.816f) / 2.0f);
    EXPECT_EQ(LionAtClock(1.0f, kSpot).pose, kLionWalkB);    // sin(0.4 pi) > 0
    EXPECT_EQ(LionAtClock(3.0f, kSpot).pose, kLionWalkA);    // sin(1.2 pi) < 0
    EXPECT_EQ(LionAtClock(2.5f, kSpot).pose, kLionWalkA);    // sin(pi) = 0
    EXPECT_EQ(LionAtClock(6.0f, kSpot).pose, kLionWalkB);
    EXPECT_EQ(LionAtClock(10.0f, kSpot).pose, kLionWalkA);
    EXPECT_FLOAT_EQ(LionAtClock(10.0f, kSpot).across, 0.816f);
}

TEST(LionTimeline, ItWatchesThenCrouchesLeapsAndLands)
{
    const LionAct watching = LionAtClock(20.0f, kSpot);
    EXPECT_EQ(watching.pose, kLionSeated);
    EXPECT_EQ(watching.across, 0.816f);

    const LionAct crouched = LionAtClock(34.5f, kSpot);   // u = 0.5, p = 0.125
    EXPECT_EQ(crouched.pose, kLionCrouched);
    EXPECT_EQ(crouched.across, 0.816f);
    EXPECT_EQ(crouched.lift, 0.0f);

    const LionAct mid = LionAtClock(36.0f, kSpot);        // u = 2, q = 0.5
    EXPECT_EQ(mid.pose, kLionInFlight);
    EXPECT_FLOAT_EQ(mid.lift, 0.18f);
    EXPECT_NEAR((mid.across - 0.816f) / (-3.49f - 0.816f), 0.6156f, 0.0001f);

    EXPECT_EQ(LionAtClock(35.0f, kSpot).lift, 0.0f);      // u = 1: just leaving the ground
    EXPECT_EQ(LionAtClock(37.5f, kSpot).pose, kLionLanding);   // p = 0.875
    const LionAct landed = LionAtClock(38.0f, kSpot);
    EXPECT_EQ(landed.pose, kLionLanded);
    EXPECT_EQ(landed.across, -3.49f);
    EXPECT_EQ(landed.lift, 0.0f);
    EXPECT_EQ(LionAtClock(37.9f, kSpot).pose, kLionLanded);    // p = 0.975
}

struct LionRoad {
    EmitterFixture road;
    LionList lions{};

    explicit LionRoad(float car_along) : road(Route(), car_along) {}

    static std::vector<SectionRecord> Route()
    {
        SectionRecord s = MakeSection(320.0f, 4.0f, 0.0f, false);
        s.has_lion = 1;
        for (std::size_t i = 0; i < kLionSpotFields; ++i) s.lion_spot[i] = kSpot[i];
        return {MakeSection(200.0f, 4.0f, 0.0f, false), s};
    }
};

TEST(LionGathering, TheLionIsListedWhereItsActPutsIt)
{
    LionRoad r(100.0f);   // the lion is 100 + 107 ahead, on the next section
    GatherLion(r.lions, r.road.view, 0, 0.0f, kTestFocal);   // no lion on section 0
    EXPECT_EQ(r.lions.count, 0u);
    GatherLion(r.lions, r.road.view, 1, 0.0f, kTestFocal);
    ASSERT_EQ(r.lions.count, 1u);
    const LionEntry& lion = r.lions.entries[0];
    EXPECT_EQ(lion.pose, kLionWalkA);
    EXPECT_FLOAT_EQ(lion.depth, 207.0f);
    EXPECT_FLOAT_EQ(lion.camera_x, 5.0f);   // at walk_from, right of the centre line
    EXPECT_EQ(lion.size, 1.7f);
    EXPECT_EQ(lion.lift, 0.0f);
}

TEST(LionGathering, MidLeapTheListedLionCarriesItsLift)
{
    // 4 units to go less the 3 it stops short: one step at speed 0.5 before the end, u = 3...
    // so place the car two steps out at speed 1: to_go = 2, t = 36.
    LionRoad r(200.0f + 107.0f - 3.0f - 2.0f);
    GatherLion(r.lions, r.road.view, 1, 1.0f, kTestFocal);
    ASSERT_EQ(r.lions.count, 1u);
    EXPECT_EQ(r.lions.entries[0].pose, kLionInFlight);
    EXPECT_FLOAT_EQ(r.lions.entries[0].lift, 0.18f);
}

TEST(LionGathering, ANinthLionIsIgnored)
{
    LionRoad r(100.0f);
    r.lions.count = kLionCapacity;
    GatherLion(r.lions, r.road.view, 1, 0.0f, kTestFocal);
    EXPECT_EQ(r.lions.count, kLionCapacity);
}

TEST(LionGathering, ALionTooSmallOrTooNearIsNotListed)
{
    LionRoad far(100.0f);
    // 1.7 high at depth 207 is 2 pixels at a focal length of 243.5.
    GatherLion(far.lions, far.road.view, 1, 0.0f, 243.0f);
    EXPECT_EQ(far.lions.count, 0u);
    GatherLion(far.lions, far.road.view, 1, 0.0f, 244.0f);
    EXPECT_EQ(far.lions.count, 1u);

    // Past the spot the lion has landed beside the road, 3.49 left of the centre line and 0.3
    // behind the camera: not drawn.
    LionRoad past(307.3f);
    GatherLion(past.lions, past.road.view, 1, 1.0f, kTestFocal);
    EXPECT_EQ(past.lions.count, 0u);
}

struct List {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords, 0);
    std::uint64_t length = 0;
    DisplayListWriter out{words.data(), length};
};

TEST(LionDrawing, TheLeapLiftsEveryPointAndTheLionIsNeverMirrored)
{
    List ground, air;
    DrawLion(ground.out, LionEntry{-1.0f, 20.0f, 1.7f, kLionInFlight, 0.0f}, kTestFocal, 960.0f);
    DrawLion(air.out, LionEntry{-1.0f, 20.0f, 1.7f, kLionInFlight, 0.18f}, kTestFocal, 960.0f);
    const auto a = ReadCommands(ground.words.data(), ground.length);
    const auto b = ReadCommands(air.words.data(), air.length);
    const LionPose& pose = *FindLionPose(kLionInFlight);
    ASSERT_EQ(a.size(), pose.count);
    ASSERT_EQ(b.size(), pose.count);
    const float k = 1.7f * kTestFocal / 20.0f;
    const float cx = 480.0f + -1.0f * kTestFocal / 20.0f;
    for (std::size_t c = 0; c < a.size(); ++c) {
        EXPECT_EQ(a[c].opcode, kOpFlatPolygon);
        EXPECT_EQ(a[c].colour, pose.parts[c].colour);
        for (std::size_t i = 0; i < a[c].vertices.size(); ++i) {
            EXPECT_FLOAT_EQ(a[c].vertices[i].x, cx + k * pose.parts[c].points[i].x);
            EXPECT_EQ(a[c].vertices[i].x, b[c].vertices[i].x);
            EXPECT_NEAR(a[c].vertices[i].y - b[c].vertices[i].y, 0.18f * k, 1e-3f);
        }
    }
}

TEST(LionDrawing, NothingIsDrawnForAnUnknownPoseOrUnderOnePixel)
{
    List list;
    DrawLion(list.out, LionEntry{0.0f, 20.0f, 1.7f, 7, 0.0f}, kTestFocal, 960.0f);
    DrawLion(list.out, LionEntry{0.0f, 20.0f, 1.7f, 255, 0.0f}, kTestFocal, 960.0f);
    DrawLion(list.out, LionEntry{0.0f, 1200.0f, 1.7f, kLionSeated, 0.0f}, kTestFocal, 960.0f);
    EXPECT_EQ(list.length, 0u);
    DrawLion(list.out, LionEntry{0.0f, 1100.0f, 1.7f, kLionSeated, 0.0f}, kTestFocal, 960.0f);
    EXPECT_GT(list.length, 0u);
}

TEST(LionDrawing, PartsOutOfRangeOrThatDoNotFitAreSkipped)
{
    std::vector<GlyphPoint> points(257, GlyphPoint{0.5f, 0.5f});
    const LionPart parts[] = {
        {points.data(), 0, 1}, {points.data(), 2, 2}, {points.data(), 257, 3},
        {points.data(), 40, 4},     // 83 words
        {points.data(), 256, 5},    // 515 words: more than the room left
        {points.data(), 3, 6}};     // 9 words
    std::vector<std::uint32_t> words(300, 0);
    std::uint64_t length = 0;
    DisplayListWriter out(words.data(), length, words.size());
    DrawLionPose(out, LionPose{parts, 6}, LionPlacement{0, 0, 10, 0});
    const auto c = ReadCommands(words.data(), length);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].colour, 4u);
    EXPECT_EQ(c[1].colour, 6u);
    EXPECT_EQ(length, 92u);

    // With 20 words of room only the 3-point part fits.
    std::uint64_t nearly_full = 280;
    DisplayListWriter tight(words.data(), nearly_full, words.size());
    DrawLionPose(tight, LionPose{parts, 6}, LionPlacement{0, 0, 10, 0});
    EXPECT_EQ(nearly_full, 289u);
    EXPECT_EQ(words[281], 6u);
}

} // namespace
} // namespace veldmark::test
