// The colour functions and the blend at their boundaries, seen through whole commands.
#include <gtest/gtest.h>

#include <vector>

#include "render/pixel_colour.h"
#include "render/rasteriser.h"
#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

constexpr std::uint32_t kGrey = 0x00404040u;

GuardedFrame DrawOne(const TestList& list, std::uint32_t background = kGrey)
{
    GuardedFrame frame(400, 200, background);
    RasteriseDisplayList(frame.target(), 0.0f, list.words.data(), list.length);
    EXPECT_TRUE(frame.guards_intact());
    return frame;
}

TEST(Blend, OpacityEndsAreExactAndTheTopByteIsCleared)
{
    EXPECT_EQ(Blend(0xAB404040u, 0xFF123456u), 0x00123456u);
    EXPECT_EQ(Blend(0xAB404040u, 0x00123456u), 0xAB404040u);   // left alone, top byte too
    EXPECT_EQ(Blend(0x00000000u, 0x80FF0000u), 0x00800000u);   // 255 x 128 / 255, rounded
    EXPECT_EQ(Blend(0x00FFFFFFu, 0x01000000u), 0x00FEFEFEu);
}

TEST(Mix, StartEqualToEndSwitchesAtStart)
{
    EXPECT_EQ(Mix(0x11111111u, 0x22222222u, 0.5f, 0.5f, 0.5f), 0x11111111u);
    EXPECT_EQ(Mix(0x11111111u, 0x22222222u, 0.50001f, 0.5f, 0.5f), 0x22222222u);
    // All four channels move, signed differences included.
    EXPECT_EQ(Mix(0xFF000080u, 0x00FF0080u, 0.5f, 0.0f, 1.0f), 0x80800080u);
}

TEST(RadialPolygon, FadesToTheBackgroundAtItsRadius)
{
    TestList list;
    list.writer.RadialPolygon(0xFFFFFFFFu, 0x00FFFFFFu, {100, 50}, 40, Rect(0, 0, 200, 100));
    const GuardedFrame frame = DrawOne(list);
    EXPECT_GE(frame.at(199, 99) & 0xFF, 0xFEu);          // the centre pixel, t = 0.009
    EXPECT_EQ(frame.at(199 + 84, 99), kGrey);            // beyond the radius: untouched
    EXPECT_EQ(frame.at(10, 10), kGrey);
    const std::uint32_t halfway = frame.at(199 + 40, 99);
    EXPECT_GT(halfway & 0xFF, 0x40u);
    EXPECT_LT(halfway & 0xFF, 0xFFu);
}

TEST(LinearPolygon, ZeroLengthSegmentPaintsColourA)
{
    TestList list;
    list.writer.LinearPolygon(0xFF00FF00u, 0xFFFF0000u, 0.0f, 1.0f, {50, 50}, {50, 50}, Rect(10, 10, 90, 90));
    const GuardedFrame frame = DrawOne(list);
    EXPECT_EQ(frame.count(0x00FF00u), 160u * 160u);
}

TEST(LinearPolygon, RampRunsBetweenStartAndEndOnly)
{
    TestList list;
    // Along x from 0 to 200: colour A up to x = 50, B from x = 150, a ramp in between.
    list.writer.LinearPolygon(0xFF000000u, 0xFF0000FFu, 0.25f, 0.75f, {0, 0}, {200, 0}, Rect(0, 0, 200, 100));
    const GuardedFrame frame = DrawOne(list);
    EXPECT_EQ(frame.at(99, 50), 0u);            // x = 49.75
    EXPECT_EQ(frame.at(299, 50), 0xFEu);        // x = 149.75: f = 0.9975 -> 254.86
    EXPECT_EQ(frame.at(199, 50), 0x7Fu);        // x = 99.75: f = 0.4975 -> 127.36
    // End below start is raised to start: a step at start.
    TestList step;
    step.writer.LinearPolygon(0xFF000000u, 0xFF0000FFu, 0.5f, 0.2f, {0, 0}, {200, 0}, Rect(0, 0, 200, 100));
    const GuardedFrame stepped = DrawOne(step);
    EXPECT_EQ(stepped.at(199, 50), 0u);
    EXPECT_EQ(stepped.at(200, 50), 0xFFu);
}

TEST(EllipticPolygon, ParallelAxesBlendColourAByItsOwnOpacity)
{
    TestList list;
    list.writer.EllipticPolygon(0x80FF0000u, 0xFF0000FFu, 0, 1, {50, 50}, {10, 0}, {20, 0}, Rect(10, 10, 90, 90));
    const GuardedFrame frame = DrawOne(list);
    EXPECT_EQ(frame.count(Blend(kGrey, 0x80FF0000u)), 160u * 160u);
}

TEST(EllipticPolygon, ReachesColourBOnTheEllipse)
{
    TestList list;
    // Axes (40, 0) and (0, 20): the ellipse is 80 by 40 logical units.
    list.writer.EllipticPolygon(0xFF000000u, 0xFFFFFFFFu, 0, 1, {100, 50}, {40, 0}, {0, 20}, Rect(0, 0, 200, 100));
    const GuardedFrame frame = DrawOne(list);
    EXPECT_EQ(frame.at(199, 99), 0x040404u);        // t = 0.014 at the centre pixel
    EXPECT_EQ(frame.at(199 + 82, 99), 0xFFFFFFu);   // x = 140.75: outside along U
    EXPECT_NE(frame.at(199 + 78, 99), 0xFFFFFFu);   // x = 138.75: inside
    EXPECT_EQ(frame.at(199, 99 + 42), 0xFFFFFFu);   // y = 70.75: outside along V
}

TEST(BandPolygon, DarkAtTheEndsLightInTheMiddle)
{
    TestList list;
    list.writer.BandPolygon(0x80C8FFu, 1.0f, Rect(0, 0, 200, 100));
    const GuardedFrame frame = DrawOne(list);
    // Dark 0.6 x C, light min(1.25 x C, 255), each + 0.5 truncated.
    EXPECT_EQ(frame.at(0, 10), 0x4D7899u);      // x = 0.25: nearly dark
    EXPECT_EQ(frame.at(199, 10), 0xA0FAFFu);    // x = 99.75: nearly light
    EXPECT_EQ(frame.at(399, 10), 0x4D7899u);
}

TEST(BandPolygon, FlatWhenNarrowOrUnshaded)
{
    for (float shade : {0.0f, -1.0f, 1.0f}) {
        TestList list;
        const float right = shade > 0.0f ? 50.5f : 150.0f;   // shaded: narrower than one unit
        list.writer.BandPolygon(0xFF336699u, shade, std::vector<Vec2>{{50, 10}, {right, 10}, {50, 90}});
        const GuardedFrame frame = DrawOne(list);
        EXPECT_GT(frame.count(0x336699u), 0u) << shade;
        EXPECT_EQ(frame.count(0x336699u) + frame.count(kGrey), frame.pixel_count()) << shade;
    }
}

TEST(BandPolygon, LargeShadeClampsTonesToTheChannelRange)
{
    TestList list;
    list.writer.BandPolygon(0x80C8FFu, 4.0f, Rect(0, 0, 200, 100));   // dark factor -0.6
    const GuardedFrame frame = DrawOne(list);
    EXPECT_EQ(frame.at(0, 10), 0x010101u);      // dark tone 0, f = 0.0025
    EXPECT_EQ(frame.at(199, 10), 0xFEFEFEu);    // light tone 255, f = 0.9975
}

TEST(Disc, BlendsRgbOnlyAndCoversPixelCentresWithinTheRadius)
{
    TestList list;
    list.writer.Disc(0xFFFF0000u, {100, 50}, 10, 0.5f);
    const GuardedFrame frame = DrawOne(list, 0x7F000000u);
    EXPECT_EQ(frame.at(200, 100), 0x7F800000u);   // 255 x 0.5 + 0.5; the top byte stays
    EXPECT_EQ(frame.at(200, 120), 0x7F000000u);   // centre 20.5 pixels away: outside
    EXPECT_EQ(frame.at(200, 119), 0x7F800000u);
    // Opacity beyond 1 paints the colour opaquely rather than overshooting it.
    TestList strong;
    strong.writer.Disc(0x00336699u, {100, 50}, 10, 7.0f);
    EXPECT_EQ(DrawOne(strong).at(200, 100), 0x00336699u);
}

} // namespace
} // namespace veldmark::test
