// The ground-polygon emitter and the fixed shapes: pond, road piece, headlight beam, rail.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/ground_polygon.h"
#include "render/shape_emitters.h"
#include "render/tests/emitter_fixture.h"

namespace veldmark::test {
namespace {

constexpr std::uint32_t kTestColour = 0x123456;

EmitterFixture Straight(float along = 0.0f) { return EmitterFixture({MakeSection(1000, 4, 0, false)}, along); }

TEST(GroundPolygon, TheGroundFallsAwayWithDistance)
{
    EXPECT_FLOAT_EQ(GroundDrop(PlanPoint{0, 100}), 0.05f);
    EXPECT_EQ(GroundDrop(PlanPoint{0, 0}), 0.0f);
}

TEST(GroundPolygon, APointStraightAheadProjectsBelowTheHorizonByTheEyeHeightAndTheDrop)
{
    EmitterFixture f = Straight();
    const PlanPoint square[] = {f.At(0, 100, 2), f.At(0, 100, 3), f.At(0, 110, 3), f.At(0, 110, 2)};
    ASSERT_TRUE(EmitGroundPolygon(f.out, f.view.projection, square, kTestColour));
    const auto commands = Commands(f.words, 0, f.length);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].opcode, kOpFlatPolygon);
    EXPECT_EQ(commands[0].colour, kTestColour);
    ASSERT_EQ(commands[0].vertices, 4u);
    const Vec2 p = VertexAt(f.words, commands[0], 0);
    EXPECT_EQ(p.x, 480.0f);
    EXPECT_NEAR(p.y, 300.0f + kTestFocal * 1.25f / 100.0f, 1e-3f);
    EXPECT_NEAR(VertexAt(f.words, commands[0], 1).x, 480.0f + kTestFocal / 100.0f, 1e-3f);
}

TEST(GroundPolygon, NothingNearerThanTheNearPlaneIsWritten)
{
    EmitterFixture f = Straight(10.0f);
    const PlanPoint behind[] = {{-1, 0.39f}, {1, 0.39f}, {1, -5}, {-1, -5}};
    EXPECT_FALSE(EmitGroundPolygon(f.out, f.view.projection, behind, kTestColour));
    EXPECT_EQ(f.length, 0u);
}

TEST(GroundPolygon, APolygonAcrossTheNearPlaneIsCutThereAndReachesBelowTheView)
{
    EmitterFixture f = Straight();
    const PlanPoint straddling[] = {{-1, -5}, {1, -5}, {1, 10}, {-1, 10}};
    ASSERT_TRUE(EmitGroundPolygon(f.out, f.view.projection, straddling, kTestColour));
    const auto commands = Commands(f.words, 0, f.length);
    ASSERT_EQ(commands.size(), 1u);
    ASSERT_EQ(commands[0].vertices, 4u);
    int below_view = 0;
    for (std::uint32_t i = 0; i < 4; ++i) below_view += VertexAt(f.words, commands[0], i).y > 600.0f;
    EXPECT_EQ(below_view, 2);
}

TEST(GroundPolygon, OnlyFourToSevenPointsAreAccepted)
{
    EmitterFixture f = Straight();
    const PlanPoint eight[] = {{-1, 5}, {0, 4}, {1, 5}, {2, 6}, {1, 7}, {0, 8}, {-1, 7}, {-2, 6}};
    EXPECT_FALSE(EmitGroundPolygon(f.out, f.view.projection, std::span(eight, 3), kTestColour));
    EXPECT_FALSE(EmitGroundPolygon(f.out, f.view.projection, eight, kTestColour));
    EXPECT_TRUE(EmitGroundPolygon(f.out, f.view.projection, std::span(eight, 7), kTestColour));
}

TEST(GroundPolygon, IsWrittenOnlyWhenItFitsWhole)
{
    EmitterFixture f = Straight();
    const PlanPoint square[] = {{-1, 5}, {1, 5}, {1, 9}, {-1, 9}};
    f.length = kDisplayListWords - 10;
    EXPECT_FALSE(EmitGroundPolygon(f.out, f.view.projection, square, kTestColour));
    EXPECT_EQ(f.length, kDisplayListWords - 10);
    f.length = kDisplayListWords - 11;
    EXPECT_TRUE(EmitGroundPolygon(f.out, f.view.projection, square, kTestColour));
    EXPECT_EQ(f.length, kDisplayListWords);
}

TEST(Pond, IsTheWaterThenItsBankLeftOfTheRoad)
{
    EmitterFixture f = Straight();
    EmitPond(f.out, f.view, ChainRef(0), 50.0f);
    const auto commands = Commands(f.words, 0, f.length);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].colour, kPondWaterColour);
    EXPECT_EQ(commands[0].vertices, 7u);
    EXPECT_EQ(commands[1].colour, kPondBankColour);
    EXPECT_EQ(commands[1].vertices, 6u);
    for (const auto& c : commands)
        for (std::uint32_t i = 0; i < c.vertices; ++i) EXPECT_LT(VertexAt(f.words, c, i).x, 480.0f);
}

TEST(RoadPiece, IsAStripAndACornerWedgeForEitherTurn)
{
    for (const bool right : {true, false}) {
        SCOPED_TRACE(right ? "right turn" : "left turn");
        EmitterFixture f({MakeSection(100, 4, 0.8f, right), MakeSection(100, 4, 0, false)}, 50.0f);
        EmitRoadPiece(f.out, f.view, ChainRef(0), ChainRef(1), 100, 4, 4, right);
        const auto commands = Commands(f.words, 0, f.length);
        ASSERT_EQ(commands.size(), 2u);
        for (const auto& c : commands) {
            EXPECT_EQ(c.opcode, kOpFlatPolygon);
            EXPECT_EQ(c.colour, kRoadColour);
            EXPECT_EQ(c.vertices, 4u);
        }
        // The wedge lies on the outer side of the bend: left of the road on a right turn.
        const Vec2 corner = VertexAt(f.words, commands[1], 2);
        const Vec2 pivot = VertexAt(f.words, commands[1], 0);
        if (right) EXPECT_LT(corner.x, pivot.x);
        else EXPECT_GT(corner.x, pivot.x);
    }
}

TEST(HeadlightBeam, IsARadialPolygonWhoseRadiusReachesItsFarthestCorner)
{
    EmitterFixture f = Straight();
    EmitHeadlightBeam(f.out, f.view, 0, 50.0f, 2.0f);
    ASSERT_EQ(f.length, 15u);
    EXPECT_EQ(f.words[0], kOpRadialPolygon);
    EXPECT_EQ(f.words[1], kBeamInnerColour);
    EXPECT_EQ(f.words[2], kBeamOuterColour);
    EXPECT_EQ(f.words[6], 4u);
    const Vec2 centre{WordFloat(f.words[3]), WordFloat(f.words[4])};
    EXPECT_EQ(centre.x, 480.0f);
    // The centre is the lamps at height 1.0 (less the ground's fall-off): below the horizon.
    const float drop = GroundDrop(PlanPoint{0, 50});
    EXPECT_NEAR(centre.y, 300.0f - kTestFocal * ((1.0f - drop) - 1.2f) / 50.0f, 1e-3f);
    float farthest = 0.0f;
    for (int i = 0; i < 4; ++i) {
        const float dx = WordFloat(f.words[7 + 2 * i]) - centre.x;
        const float dy = WordFloat(f.words[8 + 2 * i]) - centre.y;
        farthest = std::fmax(farthest, std::sqrt(dx * dx + dy * dy));
    }
    EXPECT_EQ(WordFloat(f.words[5]), farthest);
}

TEST(HeadlightBeam, FitsExactlyAtTheEndOfTheList)
{
    EmitterFixture f = Straight();
    f.length = 262'130;
    EmitHeadlightBeam(f.out, f.view, 0, 50.0f, 2.0f);
    EXPECT_EQ(f.length, 262'130u);
    f.length = 262'129;
    EmitHeadlightBeam(f.out, f.view, 0, 50.0f, 2.0f);
    EXPECT_EQ(f.length, 262'144u);
}

TEST(HeadlightBeam, ALampTooCloseToTheEyeDropsTheWholeBeam)
{
    EmitterFixture f = Straight();
    EmitHeadlightBeam(f.out, f.view, 0, 0.3f, 2.0f);
    EXPECT_EQ(f.length, 0u);
}

struct RailFixture {
    EmitterFixture f;
    std::vector<DeferredItem> items = std::vector<DeferredItem>(kDeferredCapacity);
    std::uint64_t count = 0;
    DeferredSink sink{items.data(), count, kDeferredCapacity};

    explicit RailFixture(std::vector<SectionRecord> route) : f(std::move(route), 30.0f) {}
    void Emit(float width, float next_width, bool right)
    {
        EmitJunctionRail(sink, f.view, ChainRef(0), ChainRef(1), f.sections[0].length, width,
                         next_width, right);
    }
};

float Distance(const float* a, const float* b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }

TEST(JunctionRail, ARightAngleCornerGetsRailsThenAPostAtEveryPoint)
{
    RailFixture r({MakeSection(100, 4, 1.57079637f, true), MakeSection(100, 4, 0, false)});
    r.Emit(4, 4, true);
    // 11 points before the joint, 4 to the corner, 4 back to the next section, 10 into it.
    const std::uint64_t points = 11 + 4 + 4 + 10;
    ASSERT_EQ(r.count, (points - 1) + points);
    for (std::uint64_t i = 0; i < points - 1; ++i) {
        EXPECT_EQ(r.items[i].colour, kRailColour);
        EXPECT_EQ(r.items[i].corners[0][2], 0.45f);
        EXPECT_EQ(r.items[i].corners[2][2], 0.55f);
        EXPECT_NEAR(Distance(r.items[i].corners[0], r.items[i].corners[1]), 1.0f, 1e-3f);
    }
    for (std::uint64_t i = points - 1; i < r.count; ++i) {
        EXPECT_EQ(r.items[i].colour, kPostColour);
        EXPECT_NEAR(Distance(r.items[i].corners[0], r.items[i].corners[1]), 0.02f, 1e-5f);
    }
    const DeferredItem& first = r.items[0];
    EXPECT_FLOAT_EQ(first.depth_key, (first.corners[0][1] + first.corners[1][1]) / 2.0f);
}

TEST(JunctionRail, NearlyParallelEdgesStopAt181UnitsAnd192Points)
{
    // A slight bend where the road widens: the outer edges meet some 2000 units on.
    RailFixture r({MakeSection(100, 4, 0.001f, false), MakeSection(100, 6, 0, false)});
    r.Emit(4, 6, false);
    const std::uint64_t points = 192;
    ASSERT_EQ(r.count, (points - 1) + points);
    const float* joint = r.items[10].corners[0];
    const float* last = r.items[points - 2].corners[1];
    EXPECT_NEAR(Distance(joint, last), 181.0f, 0.5f);
}

TEST(JunctionRail, ParallelEdgesGiveFinitePoints)
{
    RailFixture r({MakeSection(100, 4, 0, false), MakeSection(100, 6, 0, false)});
    r.Emit(4, 6, false);
    ASSERT_GT(r.count, 0u);
    for (std::uint64_t i = 0; i < r.count; ++i)
        for (const auto& corner : r.items[i].corners)
            for (float v : corner) EXPECT_TRUE(std::isfinite(v));
}

TEST(JunctionRail, StopsAtTheDeferredCapacity)
{
    RailFixture r({MakeSection(100, 4, 1.57079637f, true), MakeSection(100, 4, 0, false)});
    r.count = kDeferredCapacity - 5;
    r.Emit(4, 4, true);
    EXPECT_EQ(r.count, kDeferredCapacity);
}

} // namespace
} // namespace veldmark::test
