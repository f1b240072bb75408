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

TEST(Tree, RoundCrownLayersUpToDepth200AndTrianglesFromThere)
{
    const auto near = Tree(199.9f, 10.0f);
    ASSERT_EQ(near.size(), 9u);
    for (std::size_t i = 1; i < 9; ++i) {
        EXPECT_EQ(near[i].opcode, kOpBandPolygon);
        EXPECT_GT(near[i].vertices.size(), 3u);
    }
    const auto far = Tree(200.0f, 10.0f);
    ASSERT_EQ(far.size(), 9u);
    for (std::size_t i = 1; i < 9; ++i) {
        EXPECT_EQ(far[i].opcode, kOpFlatPolygon);
        EXPECT_EQ(far[i].colour, kCrown);
        EXPECT_EQ(far[i].vertices.size(), 3u);
    }
    // The triangles stack top first and widen downward.
    EXPECT_LT(far[1].vertices[0].y, far[8].vertices[0].y);
    EXPECT_LT(far[1].vertices[1].x, far[8].vertices[1].x);
}

TEST(Tree, TheWidestRoundLayerIsAsWideAsItsRimInPerspective)
{
    const float depth = 30.0f;
    const float height = 8.0f;
    const auto c = Tree(depth, height, true, 3.0f);
    const ReadCommand& widest = c.back();
    float lo = 1e9f;
    float hi = -1e9f;
    for (const Vec2& v : widest.vertices) {
        lo = std::fmin(lo, v.x);
        hi = std::fmax(hi, v.x);
    }
    // The rim's sides lie at depth `depth`, radius 0.288 x height either side of the axis.
    const float r = 0.288f * height;
    EXPECT_NEAR(lo, 480.0f + 685.5109f * (3.0f - r) / depth, 0.01f);
    EXPECT_NEAR(hi, 480.0f + 685.5109f * (3.0f + r) / depth, 0.01f);
}

TEST(Tree, CrownShadingFadesToFlatAtDepth80)
{
    EXPECT_EQ(Tree(100.0f, 10.0f)[1].fields[0], 0.0f);
    EXPECT_EQ(Tree(80.0f, 10.0f)[1].fields[0], 0.0f);
    EXPECT_FLOAT_EQ(Tree(40.0f, 10.0f)[1].fields[0], 0.5f);
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

TEST(Tree, TheTrunkIsShadedForNearTreesAndAtLeastOnePixelWide)
{
    const auto near = Tree(150.0f, 1.0f, true);
    const auto far = Tree(150.0f, 1.0f, false);
    EXPECT_EQ(near[0].opcode, kOpBandPolygon);
    EXPECT_EQ(near[0].fields[0], 1.0f);
    EXPECT_EQ(far[0].opcode, kOpFlatPolygon);
    EXPECT_EQ(far[0].colour, 0x5A3E22u);
    EXPECT_FLOAT_EQ(far[0].vertices[1].x - far[0].vertices[0].x, 1.0f);
    // Under one pixel tall, nothing at all.
    EXPECT_TRUE(Tree(1000.0f, 1.0f).empty());
}

TEST(Tree, NearMeansFewerThanFourTreesStrictlyNearer)
{
    auto at = [](std::vector<float> depths) {
        std::vector<VegetationSprite> v;
        for (float d : depths) v.push_back(VegetationSprite{0.0f, d, 5.0f, kCrown});
        return NearTreeLimit(v);
    };
    EXPECT_EQ(at({9, 3, 7, 1, 5}), 7.0f);          // 1, 3, 5, 7 nearer than 9
    EXPECT_EQ(at({5, 5, 5, 5, 5}), 5.0f);          // equal depths: every one is near
    EXPECT_EQ(at({2, 8, 8, 1, 8, 8}), 8.0f);       // both trees at 8 tie for the last place
    EXPECT_TRUE(std::isinf(at({4, 2, 3})));        // fewer than four: all near
}

} // namespace
} // namespace veldmark::test
