// The horizon silhouettes: profile heights, colours by night, the commands written.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/display_list.h"
#include "scene/horizon.h"
#include "world/limits.h"
#include "world/sim_state.h"

namespace veldmark {
namespace {

struct Listed {
    std::uint32_t colour;
    std::vector<Vec2> vertices;
};

std::vector<Listed> EmitAndRead(const HorizonView& view, std::uint64_t start = 0)
{
    std::vector<std::uint32_t> words(kDisplayListWords);
    std::uint64_t length = start;
    DisplayListWriter out(words.data(), length);
    EmitHorizon(out, view);
    std::vector<Listed> commands;
    for (std::uint64_t p = start; p < length;) {
        EXPECT_EQ(words[p], kOpFlatPolygon);
        Listed c{words[p + 1], {}};
        const std::uint32_t n = words[p + 2];
        for (std::uint32_t i = 0; i < n; ++i)
            c.vertices.push_back(Vec2{WordFloat(words[p + 3 + 2 * i]), WordFloat(words[p + 4 + 2 * i])});
        commands.push_back(c);
        p += 3 + 2ull * n;
    }
    return commands;
}

HorizonView Looking(float bearing, float focal = kRestFocalLength, float darkness = 0.0f)
{
    return HorizonView{bearing, focal, focal / kRestFocalLength, darkness, 1.0f - 0.5f * darkness,
                       960.0f};
}

std::uint32_t Rgb(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

TEST(Horizon, TheNearRangePeaksAbout139PixelsUpStraightAhead)
{
    EXPECT_NEAR(RangeHeight(kNearRange, 0.0f), 139.0f, 0.05f);
    EXPECT_EQ(RangeHeight(kNearRange, 0.95f), 0.0f);   // its edge
    EXPECT_GT(RangeHeight(kFarRange, -2.0416f), 100.0f);
    EXPECT_EQ(RangeHeight(kFarRange, 0.0f), 0.0f);
}

TEST(Horizon, LookingAlongTheRouteGivesFourOutlinesOf683Vertices)
{
    const auto commands = EmitAndRead(Looking(0.0f));
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].vertices.size(), 683u);   // far range
    EXPECT_EQ(commands[1].vertices.size(), 683u);   // near range
    EXPECT_EQ(commands[3].vertices.size(), 683u);   // hills
    EXPECT_EQ(commands[2].colour, SnowColour(0.0f));
    EXPECT_EQ(commands[3].colour, kHillColour);
    // Sample 340 is column 480, the middle of the view, looking along bearing 0.
    EXPECT_EQ(commands[1].vertices[340].x, 480.0f);
    EXPECT_NEAR(commands[1].vertices[340].y, 300.0f - 139.0f, 0.05f);
    EXPECT_EQ(commands[1].vertices[681].y, kHorizonY);
    EXPECT_EQ(commands[1].vertices[682].x, -200.0f);
}

TEST(Horizon, TheSnowCapSitsOnTheNearRangeAboveItsSnowLine)
{
    const auto commands = EmitAndRead(Looking(0.0f));
    ASSERT_EQ(commands.size(), 4u);
    const auto& snow = commands[2].vertices;
    ASSERT_GE(snow.size(), 4u);
    EXPECT_EQ(snow.size() % 2, 0u);
    for (const Vec2& v : snow) EXPECT_LT(v.y, 300.0f - 113.9f);   // above the dipped snow line
}

TEST(Horizon, LookingAwayFromBothRangesLeavesThemFlatAndWithoutSnow)
{
    // The ranges span bearings -0.95..0.95 and -2.76..-1.32; the view with its overscan
    // reaches 0.78 either side, so bearing 2.24 sees neither.
    const auto commands = EmitAndRead(Looking(2.24f));
    ASSERT_EQ(commands.size(), 3u);
    for (int range = 0; range < 2; ++range)
        for (const Vec2& v : commands[range].vertices) EXPECT_EQ(v.y, kHorizonY);
    EXPECT_EQ(commands[2].colour, kHillColour);
}

TEST(Horizon, AWiderViewShowsTheMountainsLower)
{
    const float wide = 0.5f * kRestFocalLength;
    const auto rest = EmitAndRead(Looking(0.0f));
    const auto zoomed = EmitAndRead(Looking(0.0f, wide));
    const float rest_top = 300.0f - rest[1].vertices[340].y;
    const float wide_top = 300.0f - zoomed[1].vertices[340].y;
    EXPECT_NEAR(wide_top, rest_top * 0.5f, 0.01f);
}

TEST(Horizon, MountainsAndSnowDarkenAtNight)
{
    constexpr float kDay = 1.0f;
    constexpr float kNight = 0.5f;   // full darkness leaves half the light
    EXPECT_EQ(RangeColour(kFarRange, kDay), Rgb(57, 67, 95));
    EXPECT_EQ(RangeColour(kFarRange, kNight), Rgb(29, 34, 48));
    EXPECT_EQ(RangeColour(kNearRange, kNight), Rgb(46, 53, 72));
    EXPECT_EQ(SnowColour(1.0f), Rgb(70, 84, 104));
    EXPECT_EQ(SnowColour(0.0f), Rgb(238, 243, 248));
}

TEST(Horizon, AnOutlineThatDoesNotFitIsSkippedButSmallerOnesStillGo)
{
    // Room for neither mountain outline (1369 words each) but for a snow cap or less.
    const auto commands = EmitAndRead(Looking(0.0f), kDisplayListWords - 1300);
    for (const auto& c : commands) EXPECT_NE(c.vertices.size(), 683u);
}

TEST(Horizon, AVeryWideViewStopsAtTheScratchLimit)
{
    HorizonView view = Looking(0.0f);
    view.view_width = 1e9f;
    const auto commands = EmitAndRead(view);
    ASSERT_FALSE(commands.empty());
    for (const auto& c : commands) EXPECT_LE(c.vertices.size(), 2050u);
}

} // namespace
} // namespace veldmark
