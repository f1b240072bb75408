#include "world/world_gen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "world/animal_kinds.h"
#include "world/route_table.h"
#include "world/tests/fresh_state.h"

namespace veldmark {
namespace {

using testing::FreshState;

class WorldGenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state_ = FreshState();
        WorldGen(*state_);
    }
    const SectionRecord& Section(std::size_t i) const { return state_->sections[i]; }
    std::unique_ptr<SimState> state_;
};

TEST(SimStateTest, StartsWithItsInitialValuesAndAnEmptyVehicle)
{
    for (SimState* s : {&g_state, FreshState().release()}) {
        EXPECT_EQ(s->running, 1);
        EXPECT_EQ(s->not_paused, 1);
        EXPECT_EQ(float{s->view_width}, 960.0f);
        EXPECT_EQ(float{s->focal_length}, 685.5109f);
        EXPECT_EQ(s->world_ready.load(), 0);
        EXPECT_EQ(float{s->car_speed}, 0.0f) << "the vehicle is placed by WorldGen, not before";
        EXPECT_EQ(float{s->lead_position}, 0.0f);
        EXPECT_EQ(s->section_count, 0u);
        if (s != &g_state) delete s;
    }
}

TEST_F(WorldGenTest, BuildsTheWholeRoute)
{
    EXPECT_EQ(state_->world_ready.load(), 1);
    EXPECT_EQ(state_->section_count, 19u);
    EXPECT_EQ(state_->route_length, 7520.0f);
    for (std::size_t i = 0; i < 18; ++i) {
        EXPECT_EQ(Section(i).next_section, i + 1);
        EXPECT_EQ(Section(i).width, 4.0f);
        EXPECT_EQ(Section(i).is_terminal, 0);
    }
}

TEST_F(WorldGenTest, PlacesBothVehiclesAtTheStart)
{
    EXPECT_EQ(std::uint64_t{state_->car_section}, 0u);
    EXPECT_EQ(float{state_->car_along}, 0.0f);
    EXPECT_EQ(float{state_->car_speed}, 0.3f);
    EXPECT_EQ(float{state_->lead_position}, 500.0f);
    EXPECT_EQ(float{state_->lead_speed}, 0.3f);
    EXPECT_EQ(std::uint32_t{state_->lead_braking}, 0u);
    EXPECT_EQ(float{state_->drive_ticks}, 0.0f) << "the clock is not the route's to set";
}

TEST_F(WorldGenTest, TerminalSectionEndsTheRoute)
{
    const SectionRecord& s = Section(18);
    EXPECT_EQ(s.is_terminal, 1);
    EXPECT_EQ(s.next_section, 18u);
    EXPECT_EQ(s.brake_point, 300.0f);
    EXPECT_EQ(s.feature_kind, 0) << "the table's feature byte is ignored at the route's end";
    EXPECT_EQ(s.turns_right, 1) << "a turn of 0 counts as right";
}

TEST_F(WorldGenTest, TurnsAndBrakePoints)
{
    const SectionRecord& s0 = Section(0);
    EXPECT_EQ(s0.turns_right, 1);
    EXPECT_FLOAT_EQ(s0.turn_angle, 50.0f * 0.0174532924f);
    EXPECT_EQ(s0.brake_point, 500.0f - 2.0f / tanf(50.0f * 0.0174532924f));
    const SectionRecord& s1 = Section(1);
    EXPECT_EQ(s1.turns_right, 0);
    EXPECT_FLOAT_EQ(s1.turn_angle, 70.0f * 0.0174532924f);
    EXPECT_LT(s1.brake_point, s1.length);
}

TEST_F(WorldGenTest, RoadsidePairsFollowTheLength)
{
    const std::pair<std::size_t, std::uint64_t> expected[] = {
        {3, 14}, {1, 16}, {2, 22}, {0, 28}, {9, 48}, {6, 74}};
    for (auto [section, count] : expected) EXPECT_EQ(Section(section).roadside_count, count) << section;
    EXPECT_EQ(Section(6).is_long, 1);
    for (std::size_t i = 0; i < 19; ++i)
        if (i != 6) {
            EXPECT_EQ(Section(i).is_long, 0) << i;
        }
}

TEST_F(WorldGenTest, RoadsideStylesAlternate)
{
    const SectionRecord& s = Section(3);   // style 1: tall yellow trees on odd pairs
    EXPECT_EQ(s.roadside[0].colour, 0x1C5A22u);
    EXPECT_EQ(s.roadside[0].height, 5.85f);
    EXPECT_EQ(s.roadside[0].across, -3.5f);
    EXPECT_EQ(s.roadside[1].across, 3.5f);
    EXPECT_EQ(s.roadside[2].along, 36.0f);
    EXPECT_EQ(s.roadside[2].colour, 0xCF9A18u);
    EXPECT_EQ(s.roadside[2].height, 13.5f);
    EXPECT_EQ(s.roadside[3].across, 8.0f);
    EXPECT_EQ(Section(6).roadside[3].colour, 0xB23A2Au);   // style 2
    EXPECT_EQ(Section(0).roadside[3].height, 4.5f);       // style 0
}

TEST_F(WorldGenTest, LionWaitsPastTheFirstTreeBeyond105)
{
    const SectionRecord& s = Section(1);
    ASSERT_EQ(s.has_lion, 1);
    EXPECT_EQ(s.lion_spot[kLionAlong], 128.0f);   // trees at 6, 36, ... 216: the first >= 105 is 126
    EXPECT_EQ(s.lion_spot[kLionWalkFrom], 5.0f);
    EXPECT_EQ(s.lion_spot[kLionRestAcross], 0.816f);
    EXPECT_EQ(s.lion_spot[kLionLandAcross], -3.49f);
    EXPECT_EQ(s.lion_spot[kLionSize], 1.7f);
    for (float f : Section(0).lion_spot) EXPECT_EQ(f, 0.0f);
}

TEST_F(WorldGenTest, SectionTwelveCarriesEverythingAtOnce)
{
    const SectionRecord& s = Section(12);
    EXPECT_EQ(s.has_lion, 1);
    EXPECT_EQ(s.group_count, 10u);
    EXPECT_EQ(s.herd_count, 15u);
    EXPECT_EQ(s.feature_kind, 5);
    EXPECT_EQ(s.slow_for_group, 0) << "only the first two group sections slow the vehicle";
}

TEST_F(WorldGenTest, HerdHasALoneOxThenFourteenCows)
{
    EXPECT_EQ(Section(0).herd_count, 14u);
    const SectionRecord& s = Section(4);
    ASSERT_EQ(s.herd_count, 15u);
    EXPECT_EQ(s.herd[0].kind, kOx);
    EXPECT_EQ(s.herd[0].along, 24.0f);
    EXPECT_EQ(s.herd[0].across, -4.805f);
    EXPECT_EQ(s.herd[0].mirrored, 0);
    for (std::uint64_t i = 1; i < s.herd_count; ++i) {
        const AnimalSpot& a = s.herd[i];
        EXPECT_EQ(a.kind, kCow);
        EXPECT_EQ(a.mirrored, 1);
        EXPECT_GT(a.along, 27.0f);
        EXPECT_LT(a.along, 55.0f);
        EXPECT_LT(a.across, -10.0f);
        EXPECT_EQ(a.size, (i - 1) % 4 == 1 ? 0.7f : 1.4f);
    }
    EXPECT_EQ(s.herd[1].along, 30.0f - 2.0f);   // j = 0: sin(0) = 0
}

TEST_F(WorldGenTest, GroupsAreBlocksThenRows)
{
    for (std::size_t i = 0; i < 19; ++i) {
        const SectionRecord& s = Section(i);
        const bool block = i == 2 || i == 10;
        const bool rows = i == 11 || i == 12 || i == 13 || i == 14 || i == 16 || i == 17 || i == 18;
        EXPECT_EQ(s.group_count, block ? 49u : rows ? 10u : 0u) << i;
        EXPECT_EQ(s.slow_for_group, block ? 1 : 0) << i;
    }
    const SectionRecord& rows = Section(11);
    const float g = rows.length - 60.0f;
    EXPECT_EQ(rows.group[0].along, g - 6.0f);
    EXPECT_EQ(rows.group[0].across, 12.0f);
    EXPECT_EQ(rows.group[4].along, g - 10.0f);
    EXPECT_EQ(rows.group[9].along, g + 10.0f);
    EXPECT_EQ(rows.group[9].across, 18.0f);
    EXPECT_EQ(Section(2).group[48].kind, kPig);
}

TEST_F(WorldGenTest, SecondCallChangesNothingEvenAfterTheDriveMoved)
{
    state_->car_section = 7;
    state_->car_speed = 1.5f;
    state_->sections[3].length = 1.0f;
    WorldGen(*state_);
    EXPECT_EQ(std::uint64_t{state_->car_section}, 7u);
    EXPECT_EQ(float{state_->car_speed}, 1.5f);
    EXPECT_EQ(state_->sections[3].length, 1.0f);
}

TEST(WorldGenThreadsTest, ConcurrentFirstCallsBuildOnce)
{
    auto state = FreshState();
    std::thread other([&] { WorldGen(*state); });
    WorldGen(*state);
    other.join();
    EXPECT_EQ(state->world_ready.load(), 1);
    EXPECT_EQ(state->section_count, 19u);
    EXPECT_EQ(state->route_length, 7520.0f);
}

TEST(RouteTableTest, LengthsSumToTheRouteLength)
{
    float total = 0.0f;
    for (const SectionSpec& row : kRouteTable) total += row.length;
    EXPECT_EQ(total, 7520.0f);
    EXPECT_EQ(kRouteTable.back().terminal, 1);
}

} // namespace
} // namespace veldmark
