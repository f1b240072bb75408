// The lead vehicle: its path into camera space, the depth order of its polygons, the near
// plane, the fit rule, and its brake lights.
#include <gtest/gtest.h>

#include <cmath>

#include "render/tests/emitter_fixture.h"
#include "scene/lead_lights.h"
#include "scene/lead_vehicle.h"
#include "scene/tests/scene_commands.h"

namespace veldmark::test {
namespace {

constexpr std::uint32_t kWheel = 0x15151A;
constexpr std::uint32_t kEnd = 0x1C2E66;
constexpr std::uint32_t kLamp = 0xFF2A18;

TEST(LeadVehicle, ItsPathThroughTheTurnsAgreesWithTheRoadsTransform)
{
    for (const bool right : {true, false}) {
        SCOPED_TRACE(right ? "right" : "left");
        EmitterFixture road({MakeSection(100, 4, 0.6f, right), MakeSection(80, 4, 0.3f, !right),
                             MakeSection(300, 4, 0, false)},
                            40.0f, 2.5f, 0.1f);
        const CameraPoint p = LeadToCamera(MakeLeadFrame(road.view, 2), 1.0f, 30.0f, 0.0f);
        const PlanPoint q = road.At(2, 30.0f, 1.0f);
        EXPECT_NEAR(p.lateral, q.x, 1e-3f);
        EXPECT_NEAR(p.depth, q.d, 1e-3f);
        EXPECT_EQ(p.height, ((p.lateral * p.lateral) + (p.depth * p.depth)) / -200000.0f);
    }
}

// The vehicle on a straight road, the camera on its centre line at along 0.
struct Lead {
    EmitterFixture road;
    LeadFrame frame;
    Lead() : road({MakeSection(300, 4, 0, false)}), frame(MakeLeadFrame(road.view, 0)) {}
    std::vector<ReadCommand> Body(float along, std::uint64_t room = kDisplayListWords)
    {
        ListUnderTest list(room);
        DrawLeadBody(list.out, frame, PrepareLeadModel(along));
        return list.Read();
    }
    std::vector<ReadCommand> Lamps(float along, std::uint64_t room = kDisplayListWords)
    {
        ListUnderTest list(room);
        DrawBrakeLights(list.out, frame, PrepareLeadModel(along));
        return list.Read();
    }
};

TEST(LeadVehicle, PolygonsAreDrawnFarthestFirstByMeanDepth)
{
    const auto c = Lead().Body(40.0f);
    ASSERT_EQ(c.size(), 16u);
    // From behind: the front face is farthest, the rear face nearest and so widest.
    EXPECT_EQ(c.front().colour, kEnd);
    EXPECT_EQ(c.back().colour, kEnd);
    EXPECT_GT(c.back().vertices[1].x - c.back().vertices[0].x, c.front().vertices[1].x - c.front().vertices[0].x);
    int wheels = 0;
    for (const auto& p : c) wheels += p.colour == kWheel && p.vertices.size() == 16;
    EXPECT_EQ(wheels, 10);
}

TEST(LeadVehicle, AWheelCutByTheNearPlaneHasSeventeenVertices)
{
    // The rearmost wheels (centre 0.88) reach back to depth 0.38: only their rearmost vertex
    // is cut off, and two crossings take its place.
    ASSERT_NEAR(PrepareLeadModel(4.08f).wheels[0], 0.88f, 1e-5f);
    int cut = 0;
    for (const auto& p : Lead().Body(4.08f)) {
        if (p.colour != kWheel || p.vertices.size() != 17) continue;
        ++cut;
        for (const Vec2& q : p.vertices) EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    }
    EXPECT_EQ(cut, 2);
}

TEST(LeadVehicle, WithTwentyWordsLeftOnlyAFourSidedFaceFits)
{
    const auto c = Lead().Body(40.0f, 20);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].vertices.size(), 4u);
}

TEST(BrakeLights, EachLampOverItsGlowLeftLampFirst)
{
    const auto c = Lead().Lamps(40.0f);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].colour, 0xE6FF503Cu);
    EXPECT_EQ(c[1].colour, kLamp);
    EXPECT_EQ(c[2].opcode, kOpRadialPolygon);
    EXPECT_EQ(c[3].colour, kLamp);
    EXPECT_LT(c[1].vertices[0].x, c[3].vertices[0].x);

    // 16 rim points at 3.2 times the lamp's reach, starting right of the centre and running
    // downward on the screen first.
    const ReadCommand& glow = c[0];
    ASSERT_EQ(glow.vertices.size(), 16u);
    const float cx = glow.fields[1];
    const float cy = glow.fields[2];
    const float r = glow.fields[3];
    float reach = 0.0f;
    for (const Vec2& q : c[1].vertices) reach = std::fmax(reach, std::hypot(q.x - cx, q.y - cy));
    EXPECT_NEAR(r, 3.2f * reach, 1e-3f);
    EXPECT_EQ(glow.vertices[0].x, cx + r);
    EXPECT_EQ(glow.vertices[0].y, cy);
    EXPECT_EQ(glow.vertices[4].y, cy + r);
}

TEST(BrakeLights, ExactlyThirtyNineWordsTakeTheFirstGlowButNotItsLamp)
{
    const auto c = Lead().Lamps(40.0f, 39);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].opcode, kOpRadialPolygon);
}

} // namespace
} // namespace veldmark::test
