// Single steps from hand-placed states: steering, speed rules and the driver's look.
#include "sim/simulation_step.h"

#include <gtest/gtest.h>

#include <cmath>

#include "world/tests/fresh_state.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

constexpr float kOneDegree = 0.0174532924f;

class StepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_ = testing::FreshState();
        WorldGen(*s_);
    }
    // Puts the vehicle on a section, straight and centred unless changed afterwards.
    void Place(std::uint64_t section, float along, float speed)
    {
        s_->car_section = section;
        s_->car_along = along;
        s_->car_speed = speed;
        s_->lead_position = 7000.0f;   // far away, out of the way
    }
    std::unique_ptr<SimState> s_;
};

TEST(ProbePathTest, GoingBackwardEndsClear)
{
    const ProbeResult r = ProbePath(ProbeStart{3.0f, 0.0f, 0.0f, 0.5f, -1.95f, 1.95f}, 0.0f);
    EXPECT_EQ(r.end, ProbeEnd::Clear);
    EXPECT_EQ(r.completed, 1);
}

TEST(ProbePathTest, AtSpeedZeroRunsAllIterationsAndEndsClear)
{
    const ProbeResult r = ProbePath(ProbeStart{0.0f, 0.5f, 10.0f, 0.0f, -1.95f, 1.95f}, 0.01f);
    EXPECT_EQ(r.end, ProbeEnd::Clear);
    EXPECT_EQ(r.completed, 2000);
    EXPECT_EQ(r.across, 0.5f);
}

TEST(ProbePathTest, CountsOnlyIterationsCompletedBeforeLeavingTheRoad)
{
    // Heading almost straight at the high edge: from 1.0, about 0.5 per iteration crosses 1.95
    // in the second.
    const ProbeResult r = ProbePath(ProbeStart{1.5f, 1.0f, 0.0f, 0.5f, -1.95f, 1.95f}, 0.0f);
    EXPECT_EQ(r.end, ProbeEnd::High);
    EXPECT_EQ(r.completed, 1);
    const ProbeResult first = ProbePath(ProbeStart{-1.5f, -1.9f, 0.0f, 0.5f, -1.95f, 1.95f}, 0.0f);
    EXPECT_EQ(first.end, ProbeEnd::Low);
    EXPECT_EQ(first.completed, 0);
}

TEST(ProbePathTest, EndsClearAfterTwentyFiveUnits)
{
    const ProbeResult r = ProbePath(ProbeStart{0.0f, 0.0f, 0.0f, 1.0f, -1.95f, 1.95f}, 0.0f);
    EXPECT_EQ(r.end, ProbeEnd::Clear);
    EXPECT_EQ(r.completed, 25);
}

TEST_F(StepTest, AtSpeedZeroSteeringFollowsTheAcrossTestAlone)
{
    Place(0, 100.0f, 0.0f);
    s_->car_across = 0.5f;   // right of the target 0.15: every probe says "steer less"
    SimulationStep(*s_);
    EXPECT_LT(float{s_->steer_angle}, -0.99f * kOneDegree);
    EXPECT_GE(float{s_->steer_angle}, -kOneDegree);
}

TEST_F(StepTest, SteeringChangesByLessThanADegreePerStep)
{
    Place(0, 100.0f, 1.0f);
    s_->car_across = -1.5f;
    s_->steer_angle = 0.02f;
    SimulationStep(*s_);
    EXPECT_LT(std::fabs(float{s_->steer_angle} - 0.02f), kOneDegree);
}

TEST_F(StepTest, VehicleBeyondTheEdgeIsNotPushedFurtherOut)
{
    Place(0, 100.0f, 1.0f);
    s_->car_across = 2.5f;   // outside the road limit of 1.95
    SimulationStep(*s_);
    EXPECT_LE(float{s_->steer_angle}, 0.0f) << "steered further outward";
    EXPECT_LE(float{s_->car_across}, 2.5f);
}

TEST_F(StepTest, NearTheEdgeTheRoadEdgeProbeBrakes)
{
    Place(0, 100.0f, 2.0f);
    s_->car_across = 1.9f;
    s_->car_heading = 0.3f;   // heading out of the road faster than the steering can correct
    SimulationStep(*s_);
    EXPECT_LT(float{s_->car_speed}, 2.0f);
}

TEST_F(StepTest, AcceleratesOnAStraight)
{
    Place(0, 100.0f, 1.0f);
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 1.0f + 0.01f);
}

TEST_F(StepTest, BrakesForTheTurnWithinSixtyUnits)
{
    const SectionRecord& s0 = s_->sections[0];   // 50 degrees: turn speed 0.222
    Place(0, 450.0f, 2.0f);
    SimulationStep(*s_);
    const float v = 2.0f;
    const float expected = v + (0.222f * 0.222f - v * v) / (2.0f * (s0.brake_point - 450.0f));
    EXPECT_EQ(float{s_->car_speed}, expected);
}

TEST_F(StepTest, SlowVehicleIsLiftedToTheTurnSpeedNearTheEnd)
{
    Place(0, 460.0f, 0.05f);
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 0.222f);
}

TEST_F(StepTest, CoastsTowardTheLion)
{
    const float lion = s_->sections[1].lion_spot[kLionAlong];   // 128
    Place(1, lion - 3.0f - 10.0f, 1.0f);   // 10 ahead, within 38 steps
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 1.0f);
    Place(1, lion - 3.0f - 50.0f, 1.0f);   // 50 ahead: beyond 38 steps at speed 1
    s_->steer_angle = 0.0f;
    s_->car_across = 0.0f;
    s_->car_heading = 0.0f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 1.01f);
}

TEST_F(StepTest, CrawlsPastTheFirstGroups)
{
    const SectionRecord& s2 = s_->sections[2];   // 400 long, slow_for_group
    Place(2, 250.0f, 1.0f);
    SimulationStep(*s_);
    const float expected = 1.0f + (0.04f - 1.0f) / (2.0f * (s2.length - 83.0f - 250.0f));
    EXPECT_EQ(float{s_->car_speed}, expected);

    Place(2, 300.0f, 0.15f);   // already crawling: no acceleration, and no lift to turn speed
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 0.15f);
}

TEST_F(StepTest, DriverTurnsTowardTheGroupAtMostFourDegreesAStep)
{
    Place(2, 300.0f, 0.2f);
    SimulationStep(*s_);
    EXPECT_FLOAT_EQ(float{s_->look_angle}, 0.06981317f);
    EXPECT_FLOAT_EQ(float{s_->look_amount}, 0.06981317f / 0.61086524f);
    for (int i = 0; i < 20; ++i) SimulationStep(*s_);
    const float b = atan2f(12.0f - float{s_->car_across}, 342.0f - float{s_->car_along});
    EXPECT_NEAR(float{s_->look_angle}, b - float{s_->car_heading}, 0.01f) << "settles on the group";
}

TEST_F(StepTest, LookRelaxesAndItsAmountFades)
{
    Place(0, 100.0f, 1.0f);
    s_->look_angle = 0.1f;
    s_->look_amount = 0.5f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->look_angle}, 0.1f - 0.0034906585f);
    EXPECT_EQ(float{s_->look_amount}, 0.5f);

    s_->look_angle = 0.0003f;   // below the rest threshold: snaps to 0 and the amount fades
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->look_angle}, 0.0f);
    EXPECT_EQ(float{s_->look_amount}, 0.5f - 0.0012f);

    s_->look_amount = 0.0005f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->look_amount}, 0.0f) << "the amount never goes below 0";
}

TEST_F(StepTest, EntersTheNextSectionAboutTheInnerEdge)
{
    // Section 0 turns right by 50 degrees about its inner edge at across +2.
    Place(0, 500.0f, 1.0f);
    s_->car_heading = 50.0f * kOneDegree / 2.0f;   // half-way round the corner
    s_->car_across = 0.9f;
    s_->look_angle = 0.2f;
    SimulationStep(*s_);
    ASSERT_EQ(std::uint64_t{s_->car_section}, 1u);
    EXPECT_LT(float{s_->car_heading}, 0.0f);
    EXPECT_LT(std::fabs(float{s_->car_across}), 2.0f);
    EXPECT_EQ(float{s_->look_angle}, 0.0f) << "the look starts over in the new section";
}

TEST_F(StepTest, StopsAtTheEndOfTheRouteThenRestarts)
{
    Place(18, 290.0f, 0.05f);   // slow within 60 of the end: parks at the end
    s_->drive_ticks = 7000.0f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->car_speed}, 0.0f);
    EXPECT_EQ(float{s_->car_along}, 300.0f);
    ASSERT_TRUE(AtRouteEnd(*s_));
    const std::uint64_t recorded = s_->history_count;
    EXPECT_GT(recorded, 0u);

    EXPECT_FALSE(SimulationStep(*s_));
    EXPECT_EQ(std::uint64_t{s_->car_section}, 0u);
    EXPECT_EQ(float{s_->car_speed}, 0.3f);
    EXPECT_EQ(float{s_->drive_ticks}, 0.0f);
    EXPECT_EQ(s_->history_count, 0u);
    EXPECT_EQ(s_->history_head, 0u);
    EXPECT_FALSE(AtRouteEnd(*s_));
}

TEST_F(StepTest, CorruptSectionIndexRestartsInsteadOfReadingPastTheRoute)
{
    Place(0, 10.0f, 1.0f);
    s_->car_section = 1000;
    EXPECT_FALSE(SimulationStep(*s_));
    EXPECT_EQ(std::uint64_t{s_->car_section}, 0u);
}

} // namespace
} // namespace veldmark
