// The road surface, its joins, and the scene builder's order of appending.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "render/shape_emitters.h"
#include "render/tests/emitter_fixture.h"
#include "scene/horizon.h"
#include "scene/road_surface.h"
#include "scene/scene_builder.h"
#include "world/world_gen.h"

namespace veldmark::test {
namespace {

TEST(RoadSurface, SectionsAreCutIntoPiecesOfAtMost25Units)
{
    EXPECT_EQ(RoadPieceCount(300.0f), 12u);
    EXPECT_EQ(RoadPieceCount(1200.0f), 48u);
    EXPECT_EQ(RoadPieceCount(320.0f), 13u);
    EXPECT_EQ(RoadPieceCount(10.0f), 1u);
    EXPECT_EQ(RoadPieceCount(0.0f), 1u);
    EXPECT_EQ(RoadPieceCount(NAN), 1u);
    EXPECT_EQ(RoadPieceCount(1e30f), 4096u);
}

std::vector<Command> RoadOf(EmitterFixture& f, std::uint64_t k)
{
    EmitRoadSurface(f.out, f.view, k);
    return Commands(f.words, 0, f.length);
}

TEST(RoadSurface, EveryPieceAheadIsDrawnNearestFirst)
{
    EmitterFixture f({MakeSection(320, 4, 0, false)});
    const auto pieces = RoadOf(f, 0);
    ASSERT_EQ(pieces.size(), 13u);
    for (const auto& p : pieces) EXPECT_EQ(p.colour, kRoadColour);
    // The piece under the camera loses its whole near end at the near plane.
    EXPECT_EQ(pieces[0].vertices, 4u);
    EXPECT_GT(VertexAt(f.words, pieces[0], 0).y, 600.0f);
    EXPECT_LT(VertexAt(f.words, pieces[12], 2).y, VertexAt(f.words, pieces[0], 2).y);
}

TEST(RoadSurface, APieceWithOneCornerBehindTheEyeGetsFiveVertices)
{
    EmitterFixture f({MakeSection(300, 4, 0, false)}, 1.0f, 2.0f, 1.0f);
    const auto pieces = RoadOf(f, 0);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces[0].vertices, 5u);
}

TEST(RoadSurface, PiecesBehindTheCameraAreNotDrawn)
{
    EmitterFixture f({MakeSection(300, 4, 0, false)}, 110.0f);
    // Pieces 0 to 3 end at or before along 100, all behind; piece 4 is under the camera.
    EXPECT_EQ(RoadOf(f, 0).size(), 8u);
}

TEST(RoadSurface, TheRoadRunsOnThroughACorner)
{
    // The far corners of the last piece before a joint are the near corners of the first
    // piece after it on the inner edge, where the turn pivots.
    for (const bool right : {true, false}) {
        SCOPED_TRACE(right ? "right turn" : "left turn");
        EmitterFixture f({MakeSection(100, 4, 0.6f, right), MakeSection(100, 4, 0, false)}, 60.0f);
        const float inner = right ? 4.0f : 0.0f;
        const PlanPoint end = f.At(0, 100, inner);
        const PlanPoint start = f.At(1, 0, inner);
        EXPECT_NEAR(end.x, start.x, 1e-4f);
        EXPECT_NEAR(end.d, start.d, 1e-4f);
    }
}

TEST(RoadSurface, TheSectionBehindShowsItsLastStretchWhenLookingBack)
{
    const SectionRecord behind = MakeSection(300, 4, 0.6f, true);
    EmitterFixture f({MakeSection(300, 4, 0, false)}, 5.0f, 2.0f, 3.14159274f);
    EmitRoadBehind(f.out, f.view, behind);
    const auto commands = Commands(f.words, 0, f.length);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].colour, kRoadColour);
}

struct Scene {
    std::unique_ptr<SimState> state = std::make_unique<SimState>();
    Scene()
    {
        ApplyInitialValues(*state);
        WorldGen(*state);
    }
    std::vector<Command> Build(std::uint64_t section, float along, std::uint64_t start = 0)
    {
        state->display_list_length = start;
        SceneBuilder(*state, SceneInputs{section, along, 0.0f, 0.0f, 0.0f, 0.0f, 0.3f,
                                         kRestFocalLength, 0.0f, 500.0f, 0});
        std::vector<std::uint32_t> words(state->display_list, state->display_list + kDisplayListWords);
        return Commands(words, start, state->display_list_length);
    }
};

TEST(SceneBuilder, AppendsTheHorizonThenTheRoadThenWhatStandsOnIt)
{
    Scene scene;
    const auto commands = scene.Build(0, 0.0f);
    ASSERT_GT(commands.size(), 4u);
    EXPECT_EQ(commands[0].colour, RangeColour(kFarRange, 1.0f));
    EXPECT_EQ(commands[1].colour, RangeColour(kNearRange, 1.0f));
    EXPECT_EQ(commands[3].colour, kHillColour);
    // No waterhole is in view here, so the road is one run and nothing after it is road.
    std::size_t i = 4;
    while (i < commands.size() && commands[i].colour == kRoadColour) ++i;
    EXPECT_GT(i, 50u);
    EXPECT_LT(i, commands.size());
    for (; i < commands.size(); ++i) EXPECT_NE(commands[i].colour, kRoadColour) << i;
}

TEST(SceneBuilder, ANearlyFullListSkipsTheSilhouettesButKeepsTheRoad)
{
    Scene scene;
    const auto commands = scene.Build(0, 0.0f, kDisplayListWords - 400);
    std::size_t road = 0;
    for (const auto& c : commands) {
        EXPECT_NE(c.vertices, 683u);   // no mountain or hill outline
        road += c.colour == kRoadColour;
    }
    EXPECT_GT(road, 5u);
    EXPECT_LE(scene.state->display_list_length, kDisplayListWords);
}

TEST(SceneBuilder, ASectionOutsideTheRouteDrawsOnlyTheHorizon)
{
    Scene scene;
    EXPECT_EQ(scene.Build(40, 0.0f).size(), 4u);
}

} // namespace
} // namespace veldmark::test
