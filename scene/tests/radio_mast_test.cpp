// Radio masts: the curvature drop, the lattice that survives it, the near plane and the light.
#include <gtest/gtest.h>

#include <cmath>

#include "render/tests/emitter_fixture.h"
#include "scene/radio_mast.h"
#include "scene/tests/scene_commands.h"

namespace veldmark::test {
namespace {

// A mast straight ahead on a long straight road, `distance` from the camera.
std::vector<ReadCommand> Mast(float distance, float phase, float ticks)
{
    EmitterFixture road({MakeSection(5000, 4, 0, false)});
    ListUnderTest list;
    DrawMast(list.out, road.view, MastEntry{ChainRef(0), distance, 2.0f, 0.0f, distance, phase}, ticks);
    return list.Read();
}

TEST(RadioMast, SunkBelowTheHorizonPastDistance1789)
{
    EXPECT_TRUE(Mast(1789.0f, 60.0f, 0.0f).empty());   // drop 80.01
    EXPECT_FALSE(Mast(1788.0f, 60.0f, 0.0f).empty());
}

TEST(RadioMast, AtDistance1000ItLosesItsLowestRingAndBay)
{
    const auto c = Mast(1000.0f, 60.0f, 0.0f);   // drop 25
    // 4 legs, rings at 40 and 60 (4 members each), the upper bay's 8 diagonals, the light.
    ASSERT_EQ(c.size(), 4u + 8u + 8u + 1u);
    for (std::size_t i = 0; i < 20; ++i) EXPECT_EQ(c[i].colour, 0x9AA0A8u);
    const float ground = 300.0f + 685.5109f * 1.2f / 1000.0f;
    auto foot = [](const ReadCommand& m) { return (m.vertices[0].y + m.vertices[3].y) / 2.0f; };
    // Legs and the shortened diagonals both start on the sunken ground.
    for (std::size_t i : {0u, 1u, 2u, 3u, 12u, 13u, 19u}) EXPECT_NEAR(foot(c[i]), ground, 0.01f) << i;
    // The first ring is at height 40 - 25 = 15, halfway up legs whose near corners stand at
    // depth 994.
    EXPECT_NEAR(foot(c[4]), 300.0f - 685.5109f * (15.0f - 1.2f) / 997.0f, 0.01f);
    EXPECT_EQ(c[20].opcode, kOpDisc);
}

TEST(RadioMast, TheLightBlinksOnA120TickPeriod)
{
    EXPECT_EQ(MastLightOpacity(37.0f, 83.0f), 0.0f);
    EXPECT_EQ(MastLightOpacity(0.0f, 60.0f), 1.0f);
    EXPECT_EQ(MastLightOpacity(0.0f, -60.0f), 1.0f);   // negative sums wrap into 0..120
    EXPECT_FLOAT_EQ(MastLightOpacity(0.0f, -90.0f), 0.5f);
    for (const auto& c : Mast(500.0f, 37.0f, 83.0f)) EXPECT_NE(c.opcode, kOpDisc);
    const ReadCommand light = Mast(500.0f, 0.0f, 60.0f).back();
    ASSERT_EQ(light.opcode, kOpDisc);
    EXPECT_EQ(light.colour, 0xFF2FE6u);
    EXPECT_NEAR(light.fields[2], 3.0f * 685.5109f / 500.0f, 1e-4f);
    EXPECT_EQ(light.fields[3], 1.0f);
}

TEST(RadioMast, ABaseBehindTheNearPlaneStillDrawsTheLegsInFront)
{
    // The top is 3 ahead; the base corners are 3 behind and 9 ahead.
    const auto c = Mast(3.0f, 0.0f, 0.0f);
    ASSERT_GE(c.size(), 4u);
    for (const auto& m : c)
        for (const Vec2& v : m.vertices) EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
    // A near leg's foot is moved up it to the near plane, where it is far above the view.
    EXPECT_LT(c[0].vertices[0].y, 0.0f);
    EXPECT_TRUE(Mast(0.39f, 60.0f, 0.0f).empty());
}

} // namespace
} // namespace veldmark::test
