// Stepping the drive back through the history rings.
#include "sim/history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sim/simulation_step.h"
#include "world/tests/fresh_state.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

bool SameVehicle(const VehicleSnapshot& a, const VehicleSnapshot& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(HistoryTest, StepBackOnAnEmptyHistoryChangesNothing)
{
    auto s = testing::FreshState();
    WorldGen(*s);
    const VehicleSnapshot before = SaveVehicle(*s);
    StepBack(*s);
    EXPECT_TRUE(SameVehicle(SaveVehicle(*s), before));
    EXPECT_EQ(float{s->drive_ticks}, 0.0f);
}

TEST(HistoryTest, StepBackBuildsTheWorldFirst)
{
    auto s = testing::FreshState();
    StepBack(*s);
    EXPECT_EQ(s->world_ready.load(), 1);
    EXPECT_EQ(float{s->car_speed}, 0.3f);
}

TEST(HistoryTest, OneStepBackRestoresTheStateExactly)
{
    auto s = testing::FreshState();
    WorldGen(*s);
    for (int i = 0; i < 50; ++i) SimulationStep(*s);
    const VehicleSnapshot vehicle = SaveVehicle(*s);
    const LeadSnapshot lead = SaveLead(*s);
    SimulationStep(*s);
    StepBack(*s);
    EXPECT_TRUE(SameVehicle(SaveVehicle(*s), vehicle));
    EXPECT_EQ(std::memcmp(&lead, &s->lead_history[s->history_head], sizeof lead), 0);
    EXPECT_EQ(float{s->lead_position}, lead.lead_position);
    EXPECT_EQ(float{s->drive_ticks}, 50.0f);
    // The next step repeats the undone one exactly.
    SimulationStep(*s);
    SimulationStep(*s);
    StepBack(*s);
    EXPECT_EQ(float{s->drive_ticks}, 51.0f);
}

TEST(HistoryTest, RingKeepsTheLast8192StepsAndWraps)
{
    auto s = testing::FreshState();
    WorldGen(*s);
    // A drive restarts (and empties the ring) after about 7000 steps: close the route into a
    // loop so that 8200 steps run without a restart.
    s->sections[18].is_terminal = 0;
    s->sections[18].next_section = 0;
    std::vector<VehicleSnapshot> before(8200);
    std::vector<LeadSnapshot> lead_before(8200);
    for (int i = 0; i < 8200; ++i) {
        before[static_cast<std::size_t>(i)] = SaveVehicle(*s);
        lead_before[static_cast<std::size_t>(i)] = SaveLead(*s);
        SimulationStep(*s);
    }
    ASSERT_GT(float{s->drive_ticks}, 8199.0f) << "the drive restarted";
    EXPECT_EQ(s->history_count, 8192u);
    EXPECT_EQ(s->history_head, 8200u % 8192u);
    for (int back = 1; back <= 8192; ++back) {
        StepBack(*s);
        const std::size_t i = static_cast<std::size_t>(8200 - back);
        ASSERT_TRUE(SameVehicle(SaveVehicle(*s), before[i])) << "back " << back;
        ASSERT_EQ(float{s->lead_position}, lead_before[i].lead_position) << "back " << back;
        ASSERT_EQ(std::uint32_t{s->lead_braking}, lead_before[i].lead_braking);
    }
    EXPECT_EQ(float{s->drive_ticks}, 8.0f);
    const VehicleSnapshot oldest = SaveVehicle(*s);
    StepBack(*s);   // the 8,193rd: nothing left
    EXPECT_TRUE(SameVehicle(SaveVehicle(*s), oldest));
    EXPECT_EQ(float{s->drive_ticks}, 8.0f);
}

TEST(HistoryTest, BrakingTravelsAsA32BitSlot)
{
    auto s = testing::FreshState();
    WorldGen(*s);
    s->lead_braking = 1u;
    PushHistory(*s);
    EXPECT_EQ(s->lead_history[0].lead_braking, 1u);
    s->lead_braking = 0u;
    StepBack(*s);
    EXPECT_EQ(std::uint32_t{s->lead_braking}, 1u);
}

TEST(HistoryTest, ClockDoesNotGoBelowZero)
{
    auto s = testing::FreshState();
    WorldGen(*s);
    PushHistory(*s);
    StepBack(*s);
    EXPECT_EQ(float{s->drive_ticks}, 0.0f);
}

} // namespace
} // namespace veldmark
