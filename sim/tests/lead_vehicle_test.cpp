// The lead vehicle's own speed rules, seen through whole steps.
#include <gtest/gtest.h>

#include "sim/simulation_step.h"
#include "world/tests/fresh_state.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

class LeadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_ = testing::FreshState();
        WorldGen(*s_);
    }
    std::unique_ptr<SimState> s_;
};

TEST_F(LeadTest, AcceleratesUntilFarEnoughAheadThenHolds)
{
    // At the start the vehicle is at 0: the lead wants 100 + 400 x (1 - 0) = 500 ahead and is
    // exactly there, so it is not below the mark... until the vehicle moves.
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->lead_speed}, 0.3f + 0.011f);
    EXPECT_EQ(float{s_->lead_position}, 500.0f + (0.3f + 0.011f));

    s_->lead_position = 600.0f;   // beyond the wanted lead of about 500
    s_->lead_speed = 1.0f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->lead_speed}, 1.0f);
    EXPECT_EQ(float{s_->lead_position}, 601.0f);
}

TEST_F(LeadTest, NeverExceedsItsTopSpeed)
{
    s_->lead_speed = 2.745f;
    s_->lead_position = 10.0f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->lead_speed}, 2.75f);
}

TEST_F(LeadTest, BrakesTowardItsNextCornerAndLightsUp)
{
    s_->lead_position = 460.0f;   // 40 before the 50-degree corner at the end of section 0
    s_->lead_speed = 2.0f;
    EXPECT_TRUE(SimulationStep(*s_));
    const float w = 0.1776f;
    const float expected = 2.0f + (w * w - 4.0f) / (2.0f * 40.0f);
    EXPECT_EQ(float{s_->lead_speed}, expected);
    EXPECT_EQ(std::uint32_t{s_->lead_braking}, 1u);
}

TEST_F(LeadTest, NeverCrawlsBelowTheCornerSpeed)
{
    s_->lead_position = 499.0f;
    s_->lead_speed = 0.05f;
    EXPECT_FALSE(SimulationStep(*s_));
    EXPECT_EQ(float{s_->lead_speed}, 0.1776f);
}

TEST_F(LeadTest, CruisesOnTheTerminalSectionAndBeyondTheRoute)
{
    s_->car_section = 18;          // route distance 7420: the lead wants to be about 7525
    s_->car_along = 200.0f;
    s_->car_speed = 0.5f;
    s_->lead_position = 7500.0f;   // 20 before the route's end: terminal, no braking
    s_->lead_speed = 1.0f;
    EXPECT_FALSE(SimulationStep(*s_));
    EXPECT_EQ(std::uint32_t{s_->lead_braking}, 0u);
    EXPECT_EQ(float{s_->lead_speed}, 1.0f + 0.011f);

    s_->lead_position = 9000.0f;
    EXPECT_FALSE(SimulationStep(*s_));
    EXPECT_EQ(float{s_->lead_position}, 9000.0f + float{s_->lead_speed});
}

TEST_F(LeadTest, WantedLeadShrinksAsTheRouteIsUsedUp)
{
    // Vehicle at route distance 7320 (section 18, along 100): wanted = 7320 + 100 + 400 x (1 -
    // 7320/7520), about 7430.6. A lead at 7425 is short of it and accelerates; at 7440 it holds.
    s_->car_section = 18;
    s_->car_along = 100.0f;
    s_->car_speed = 0.5f;
    s_->lead_position = 7420.0f;
    s_->lead_speed = 0.5f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->lead_speed}, 0.511f);
    s_->lead_position = 7445.0f;
    s_->lead_speed = 0.5f;
    SimulationStep(*s_);
    EXPECT_EQ(float{s_->lead_speed}, 0.5f);
}

} // namespace
} // namespace veldmark
