// The lead vehicle: its transform, the depth order of its polygons, the near plane, the fit
// rule, and its lights.
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

TEST(LeadVehicle, OnTheCarsOwnSectionModelPointsGoStraightIntoCameraSpace)
{
    EmitterFixture road({MakeSection(300, 4, 0.5f, true), MakeSection(300, 4, 0, false)}, 10.0f);
    const CameraPoint p = LeadToCamera(MakeLeadFrame(road.view, 0), 2.0f, 60.0f, 1.2f);
    EXPECT_EQ(p.lateral, 0.0f);
    EXPECT_EQ(p.depth, 50.0f);
    EXPECT_EQ(p.height, 1.2f + 2500.0f / -200000.0f);
}

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
    }
}

TEST(LeadVehicle, ModelLengthsAroundTheRearBoxMiddle)
{
    const LeadModel m = PrepareLeadModel(100.0f);
    EXPECT_EQ(m.rear, 95.8f);
    EXPECT_EQ(m.box_front, 104.2f);
    EXPECT_EQ(m.roof_end, 104.2f + std::nextafter(1.05f, 2.0f));
    EXPECT_EQ(m.front, 107.7f);
    EXPECT_NEAR(m.wheels[0], 96.8f, 1e-4f);
    EXPECT_NEAR(m.wheels[3], 103.2f, 1e-4f);
    EXPECT_NEAR(m.wheels[4], 106.125f, 1e-4f);
}

struct Lead {
    EmitterFixture road;
    LeadFrame frame;
    Lead(float camera_along = 0.0f, float heading = 0.0f)
        : road({MakeSection(300, 4, 0, false)}, camera_along, 2.0f, heading),
          frame(MakeLeadFrame(road.view, 0)) {}
};

TEST(LeadVehicle, PolygonsAreDrawnFarthestFirstByMeanDepth)
{
    Lead lead;
    ListUnderTest list;
    DrawLeadBody(list.out, lead.frame, PrepareLeadModel(40.0f));
    const auto c = list.Read();
    ASSERT_EQ(c.size(), 16u);
    // From behind: the front face is farthest, the rear face nearest.
    EXPECT_EQ(c.front().colour, kEnd);
    EXPECT_EQ(c.back().colour, kEnd);
    EXPECT_GT(c.back().vertices[1].x, c.front().vertices[1].x);   // nearer, so wider
    int wheels = 0;
    for (const auto& p : c) wheels += p.colour == kWheel && p.vertices.size() == 16;
    EXPECT_EQ(wheels, 10);
}

TEST(LeadVehicle, AWheelCutByTheNearPlaneHasSeventeenVertices)
{
    // The rearmost wheels reach back to depth 0.38: only their rearmost vertex is cut off.
    Lead lead;
    const float v = 4.08f;
    const LeadModel m = PrepareLeadModel(v);
    ASSERT_NEAR(m.wheels[0], 0.88f, 1e-5f);
    ListUnderTest list;
    DrawLeadBody(list.out, lead.frame, m);
    int cut = 0;
    for (const auto& p : list.Read()) {
        if (p.colour != kWheel || p.vertices.size() != 17) continue;
        ++cut;
        for (const Vec2& q : p.vertices) EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    }
    EXPECT_EQ(cut, 2);
}

TEST(LeadVehicle, WithTwentyWordsLeftOnlyAFourSidedFaceFits)
{
    Lead lead;
    ListUnderTest list(20);
    DrawLeadBody(list.out, lead.frame, PrepareLeadModel(40.0f));
    const auto c = list.Read();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].vertices.size(), 4u);
}

TEST(LeadVehicle, BeamsComeOnJustBelowTheDuskThreshold)
{
    const float threshold = 42.633415f - 46.0f;
    ASSERT_EQ(threshold + 46.0f, 42.633415f);
    Lead lead;
    const LeadModel m = PrepareLeadModel(40.0f);
    ListUnderTest at;
    DrawLeadBeams(at.out, lead.frame, m, threshold);
    EXPECT_TRUE(at.Read().empty());
    ListUnderTest below;
    const float below_threshold = std::nextafter(42.633415f, 0.0f) - 46.0f;
    ASSERT_LT(below_threshold + 46.0f, 42.633415f);
    DrawLeadBeams(below.out, lead.frame, m, below_threshold);
    const auto c = below.Read();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].opcode, kOpRadialPolygon);
    EXPECT_LT(c[0].vertices[0].x, c[1].vertices[0].x);   // left lamp first
}

TEST(BrakeLights, EachLampOverItsGlowLeftLampFirst)
{
    Lead lead;
    ListUnderTest list;
    DrawBrakeLights(list.out, lead.frame, PrepareLeadModel(40.0f));
    const auto c = list.Read();
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].opcode, kOpRadialPolygon);
    EXPECT_EQ(c[0].colour, 0xE6FF503Cu);
    EXPECT_EQ(c[1].colour, kLamp);
    EXPECT_EQ(c[2].opcode, kOpRadialPolygon);
    EXPECT_EQ(c[3].colour, kLamp);
    EXPECT_LT(c[1].vertices[0].x, c[3].vertices[0].x);

    // The glow: 16 rim points at 3.2 times the lamp's reach, starting right of the centre and
    // running downward first.
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
    Lead lead;
    ListUnderTest list(39);
    DrawBrakeLights(list.out, lead.frame, PrepareLeadModel(40.0f));
    const auto c = list.Read();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].opcode, kOpRadialPolygon);
    EXPECT_EQ(list.length, kDisplayListWords);
}

TEST(BrakeLights, ALampAcrossTheNearPlaneLosesItsGlowButIsStillDrawn)
{
    // Looking half a radian to the side, depth changes across the rear face: the left lamp's
    // outer corners are nearer than 0.4, its inner ones beyond.
    Lead lead(0.0f, 0.5f);
    const LeadModel m = PrepareLeadModel(5.009f);
    const float c0 = lead.frame.centre;
    ASSERT_LT(LeadToCamera(lead.frame, c0 - 0.96f, m.rear, 2.0f).depth, 0.4f);
    ASSERT_GT(LeadToCamera(lead.frame, c0 - 0.336f, m.rear, 2.0f).depth, 0.4f);
    ListUnderTest list;
    DrawBrakeLights(list.out, lead.frame, m);
    const auto c = list.Read();
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].colour, kLamp);
    EXPECT_EQ(c[0].vertices.size(), 4u);
    EXPECT_EQ(c[1].opcode, kOpRadialPolygon);
    EXPECT_EQ(c[2].colour, kLamp);
}

} // namespace
} // namespace veldmark::test
