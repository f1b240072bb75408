// Trees: the near and far crown forms, the crown's shading, the trunk and the nearness rule.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/tests/scene_commands.h"
#include "scene/tree.h"

namespace veldmark::test {
namespace {

constexpr Projection kView{685.5109f, 480.0f};
constexpr std::uint32_t kCrown = 0x2E7D32;

std::vector<ReadCommand> Tree(float depth, float height, bool near = true, float x = 0.0f)
{
    ListUnderTest list;
    DrawTree(list.out, kView, VegetationSprite{x, depth, height, kCrown}, near);
    return list.Read();
}

TEST(Tree, RoundShadedCrownLayersUpToDepth200AndTrianglesFromThere)
{
    const auto near = Tree(199.9f, 10.0f);
    ASSERT_EQ(near.size(), 9u);
    for (std::size_t i = 1; i < 9; ++i) {
        EXPECT_EQ(near[i].opcode, kOpBandPolygon);
        EXPECT_GT(near[i].vertices.size(), 3u);
        EXPECT_EQ(near[i].fields[0], 0.0f);   // flat beyond depth 80
    }
    EXPECT_FLOAT_EQ(Tree(40.0f, 10.0f)[1].fields[0], 0.5f);
    const auto far = Tree(200.0f, 10.0f);
    ASSERT_EQ(far.size(), 9u);
    for (std::size_t i = 1; i < 9; ++i) {
        EXPECT_EQ(far[i].opcode, kOpFlatPolygon);
        EXPECT_EQ(far[i].vertices.size(), 3u);
    }
    // Top layer first; each lower one wider.
    EXPECT_LT(far[1].vertices[0].y, far[8].vertices[0].y);
    EXPECT_LT(far[1].vertices[1].x, far[8].vertices[1].x);
}

TEST(Tree, TheWidestRoundLayerIsAsWideAsItsRimInPerspective)
{
    const auto c = Tree(30.0f, 8.0f, true, 3.0f);
    float lo = 1e9f;
    float hi = -1e9f;
    for (const Vec2& v : c.back().vertices) {
        lo = std::fmin(lo, v.x);
        hi = std::fmax(hi, v.x);
    }
    // The rim's sides lie at depth 30, 0.288 x height either side of the axis.
    const float r = 0.288f * 8.0f;
    EXPECT_NEAR(lo, 480.0f + 685.5109f * (3.0f - r) / 30.0f, 0.01f);
    EXPECT_NEAR(hi, 480.0f + 685.5109f * (3.0f + r) / 30.0f, 0.01f);
}

TEST(Tree, ALayerReachingTheEyePlaneFallsBackToATriangle)
{
    // Only the lowest, widest layer (radius 2.88) comes within 0.4 of the eye plane.
    const auto c = Tree(3.1f, 10.0f);
    ASSERT_EQ(c.size(), 9u);
    for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(c[i].opcode, kOpBandPolygon);
    EXPECT_EQ(c[8].opcode, kOpFlatPolygon);
    EXPECT_EQ(c[8].vertices.size(), 3u);
}

TEST(Tree, NearTreesGetAShadedTrunkAtLeastOnePixelWide)
{
    EXPECT_EQ(Tree(150.0f, 1.0f, true)[0].opcode, kOpBandPolygon);
    const auto far = Tree(150.0f, 1.0f, false);
    EXPECT_EQ(far[0].opcode, kOpFlatPolygon);
    EXPECT_FLOAT_EQ(far[0].vertices[1].x - far[0].vertices[0].x, 1.0f);
    EXPECT_TRUE(Tree(1000.0f, 1.0f).empty());   // under one pixel tall

    // Near: fewer than four trees of the whole list strictly nearer.
    auto limit = [](std::vector<float> depths) {
        std::vector<VegetationSprite> v;
        for (float d : depths) v.push_back(VegetationSprite{0.0f, d, 5.0f, kCrown});
        return NearTreeLimit(v);
    };
    EXPECT_EQ(limit({9, 3, 7, 1, 5}), 7.0f);
    EXPECT_EQ(limit({2, 8, 8, 1, 8, 8}), 8.0f);   // all four at 8 tie for the last place
    EXPECT_TRUE(std::isinf(limit({4, 2, 3})));
}

} // namespace
} // namespace veldmark::test
