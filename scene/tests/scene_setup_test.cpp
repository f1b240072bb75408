// The scene's set-up: the visible chain, the camera record, and angle wrapping.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "render/ground_polygon.h"
#include "scene/scene_setup.h"
#include "scene/wrap_angle.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

std::unique_ptr<SimState> Drive()
{
    auto s = std::make_unique<SimState>();
    ApplyInitialValues(*s);
    WorldGen(*s);
    return s;
}

std::vector<std::uint64_t> ChainFrom(const SimState& s, std::uint64_t section)
{
    SectionChain chain{};
    BuildVisibleChain(s, section, chain);
    return std::vector<std::uint64_t>(chain.route_index, chain.route_index + chain.count);
}

TEST(VisibleChain, HoldsSevenSectionsOrStopsAtTheTerminalOne)
{
    const auto s = Drive();
    EXPECT_EQ(ChainFrom(*s, 0), (std::vector<std::uint64_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ChainFrom(*s, 14), (std::vector<std::uint64_t>{14, 15, 16, 17, 18}));
    EXPECT_EQ(ChainFrom(*s, 18), (std::vector<std::uint64_t>{18}));
}

TEST(VisibleChain, IsEmptyForASectionOutsideTheRoute)
{
    const auto s = Drive();
    EXPECT_TRUE(ChainFrom(*s, 19).empty());
    EXPECT_TRUE(ChainFrom(*s, UINT64_MAX).empty());
}

SceneInputs AtRest(std::uint64_t section, float along)
{
    return SceneInputs{section, along, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, kRestFocalLength, 0.0f, 0.0f, 0};
}

TEST(SceneSetup, APointOnTheCentreLineAheadProjectsToTheScreenCentreBelowTheHorizon)
{
    const auto s = Drive();
    const SceneSetup setup = MakeSceneSetup(*s, AtRest(0, 0.0f));
    const PlanPoint p = TrackToCamera(setup.view.chain, setup.view.camera, ChainRef(0), 100.0f,
                                      s->sections[0].width / 2.0f);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.d, 100.0f);
    const Vec2 screen = Project(setup.view.projection, CameraPoint{p.x, p.d, -GroundDrop(p)});
    EXPECT_EQ(screen.x, 480.0f);
    EXPECT_NEAR(screen.y, 300.0f + kRestFocalLength * 1.25f / 100.0f, 1e-3f);
}

TEST(SceneSetup, MeasuresAcrossFromTheRoadEdgeAndLooksAlongHeadingPlusLook)
{
    const auto s = Drive();
    SceneInputs in = AtRest(3, 12.0f);
    in.across = -0.5f;
    in.heading = 0.1f;
    in.look_yaw = 0.2f;
    in.yaw = 1.0f;
    const SceneSetup setup = MakeSceneSetup(*s, in);
    EXPECT_EQ(setup.view.camera.along, 12.0f);
    EXPECT_EQ(setup.view.camera.across, 1.5f);
    EXPECT_EQ(setup.view.camera.heading_sin, sinf(0.1f + 0.2f));
    EXPECT_EQ(setup.view.camera.heading_cos, cosf(0.1f + 0.2f));
    EXPECT_FLOAT_EQ(setup.bearing, 1.2f);
    EXPECT_EQ(setup.zoom, 1.0f);
}

TEST(WrapAngle, BringsAnglesIntoPlusMinusPi)
{
    EXPECT_EQ(WrapAngle(1.0f), 1.0f);
    EXPECT_NEAR(WrapAngle(4.0f), 4.0f - kTwoPi, 1e-6f);
    EXPECT_NEAR(WrapAngle(-4.0f), kTwoPi - 4.0f, 1e-6f);
    EXPECT_NEAR(WrapAngle(3.0f * kTwoPi + 0.5f), 0.5f, 1e-5f);
}

TEST(WrapAngle, ReturnsForHugeAndNonFiniteAngles)
{
    const float huge = WrapAngle(1e30f);
    EXPECT_LE(std::fabs(huge), kPi);
    EXPECT_TRUE(std::isnan(WrapAngle(NAN)));
    EXPECT_TRUE(std::isinf(WrapAngle(INFINITY)));
}

} // namespace
} // namespace veldmark
