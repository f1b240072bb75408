// Whole drives: the route from start to the restart, and its determinism.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "sim/history.h"
#include "sim/simulation_step.h"
#include "sim/turn_speed.h"
#include "world/tests/fresh_state.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

using testing::FreshState;

struct StepRecord {
    VehicleSnapshot vehicle;
    LeadSnapshot lead;
    float drive_ticks;
    bool braking;
};

// Runs one whole drive, up to and including the step that restarts the route.
std::vector<StepRecord> RunDrive(SimState& s)
{
    std::vector<StepRecord> steps;
    WorldGen(s);
    for (int i = 0; i < 20000; ++i) {
        const bool restarts = AtRouteEnd(s);
        const bool braking = SimulationStep(s);
        steps.push_back({SaveVehicle(s), SaveLead(s), s.drive_ticks, braking});
        if (restarts) break;
    }
    return steps;
}

TEST(DriveTest, RunsTheRouteInOrderAndRestarts)
{
    auto s = FreshState();
    const std::vector<StepRecord> steps = RunDrive(*s);
    ASSERT_LT(steps.size(), 20000u) << "the drive never reached the end of the route";

    std::uint64_t section = 0;
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
        const VehicleSnapshot& v = steps[i].vehicle;
        ASSERT_TRUE(v.car_section == section || v.car_section == section + 1) << "step " << i + 1;
        section = v.car_section;
        EXPECT_LT(std::fabs(v.car_across), 2.0f) << "left the road at step " << i + 1;
        EXPECT_GE(v.car_speed, 0.0f);
        EXPECT_LE(v.car_speed, 2.5f);
        EXPECT_GE(v.look_amount, 0.0f);
        EXPECT_LE(v.look_amount, 1.0f);
        EXPECT_EQ(steps[i].drive_ticks, static_cast<float>(i + 1));
    }
    EXPECT_EQ(section, 18u);
    const VehicleSnapshot& stopped = steps[steps.size() - 2].vehicle;
    EXPECT_EQ(stopped.car_speed, 0.0f);
    EXPECT_EQ(stopped.car_along, 300.0f);

    const StepRecord& restart = steps.back();
    EXPECT_EQ(restart.vehicle.car_section, 0u);
    EXPECT_EQ(restart.vehicle.car_along, 0.0f);
    EXPECT_EQ(restart.vehicle.car_speed, 0.3f);
    EXPECT_EQ(restart.lead.lead_position, 500.0f);
    EXPECT_EQ(restart.drive_ticks, 0.0f);
    EXPECT_FALSE(restart.braking);
    EXPECT_EQ(s->history_count, 0u);

    SimulationStep(*s);
    EXPECT_EQ(s->history_count, 1u) << "the step after a restart records the new drive's start";
    EXPECT_EQ(s->history[0].car_speed, 0.3f);
}

TEST(DriveTest, TwoRunsAreBitIdentical)
{
    auto a = FreshState();
    auto b = FreshState();
    const std::vector<StepRecord> first = RunDrive(*a);
    const std::vector<StepRecord> second = RunDrive(*b);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(std::memcmp(&first[i].vehicle, &second[i].vehicle, sizeof(VehicleSnapshot)), 0) << i;
        ASSERT_EQ(std::memcmp(&first[i].lead, &second[i].lead, sizeof(LeadSnapshot)), 0) << i;
    }
    // The second drive after a restart repeats the first exactly.
    const std::vector<StepRecord> again = RunDrive(*a);
    ASSERT_EQ(again.size(), first.size());
    EXPECT_EQ(std::memcmp(&again[100].vehicle, &first[100].vehicle, sizeof(VehicleSnapshot)), 0);
}

TEST(DriveTest, CornersTurnTheHeadingButNotTheYaw)
{
    auto s = FreshState();
    const std::vector<StepRecord> steps = RunDrive(*s);
    int corners = 0;
    for (std::size_t i = 1; i + 1 < steps.size(); ++i) {
        const VehicleSnapshot& before = steps[i - 1].vehicle;
        const VehicleSnapshot& after = steps[i].vehicle;
        if (after.car_section == before.car_section) continue;
        ++corners;
        const SectionRecord& left = s->sections[before.car_section];
        const float o = left.turns_right ? 1.0f : -1.0f;
        const float turn = 0.1f * after.steer_angle;
        EXPECT_FLOAT_EQ(after.car_heading, before.car_heading + turn - left.turn_angle * o);
        EXPECT_FLOAT_EQ(after.car_yaw, before.car_yaw + turn);
        EXPECT_LT(std::fabs(after.car_across), 2.0f);
        EXPECT_LT(after.car_along, 5.0f) << "entered section " << after.car_section << " far from its start";
        // Braking stops at the brake point, so the corner is taken at about its speed.
        EXPECT_LE(before.car_speed, TurnSpeedsFor(left.turn_angle).vehicle * 1.2f)
            << "corner into section " << after.car_section;
    }
    EXPECT_EQ(corners, 18);
}

} // namespace
} // namespace veldmark
