#include "render/background.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/sun.h"
#include "render/tests/reference_background.h"
#include "render/tests/simd_levels.h"

namespace veldmark {
namespace {

constexpr std::uint32_t kZenith = 0x8ECAE6;
constexpr std::uint32_t kHorizon = 0xDE5834;

struct Frame {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kFramePixels, 0xDEADBEEF);
    RasterTarget target() { return RasterTarget{pixels.data(), kFrameWidth, kFrameHeight}; }
    std::uint32_t at(int column, int row) const
    {
        return pixels[static_cast<std::size_t>(row) * kFrameWidth + static_cast<std::size_t>(column)];
    }
};

TEST(BackgroundTest, UprightSkyIsFlatAtTheTopAndGroundBelowTheLine)
{
    Frame f;
    PaintBackground(f.target(), MakeViewTransform(0.0f), kZenith, kHorizon);
    for (int row = 0; row < kFrameHeight; ++row) {
        const std::uint32_t first = f.at(0, row);
        for (int column = 1; column < kFrameWidth; ++column)
            ASSERT_EQ(f.at(column, row), first) << "row " << row << " is not uniform";
        if (row <= 119) {
            EXPECT_EQ(first, kZenith) << row;   // logical y up to 60
        }
        if (row >= 600) {
            EXPECT_EQ(first, kGroundColour) << row;   // logical y 300 onward
        }
    }
    // Just above the line the gradient has nearly reached the horizon colour.
    const std::uint32_t last_sky = f.at(0, 599);
    EXPECT_NEAR(static_cast<int>(last_sky >> 16), 0xDE, 1);
    EXPECT_NEAR(static_cast<int>(last_sky & 0xFF), 0x34, 1);
    // And it runs monotonically from zenith red (0x8E) toward horizon red (0xDE).
    for (int row = 121; row < 600; ++row) EXPECT_GE(f.at(0, row) >> 16, f.at(0, row - 1) >> 16);
}

TEST(BackgroundTest, SkyColourRule)
{
    EXPECT_EQ(SkyColourAt(60.0f, kZenith, kHorizon), kZenith);
    EXPECT_EQ(SkyColourAt(300.0f, kZenith, kHorizon), kGroundColour);
    EXPECT_EQ(SkyColourAt(299.99f, kZenith, kZenith), kZenith) << "one colour: no gradient";
    // Halfway down the gradient (t = 0.6, s = 0.5): each channel halfway, rounded.
    const std::uint32_t mid = SkyColourAt(180.0f, 0x000000, 0xFF8040);
    EXPECT_EQ(mid, 0x804020u);
    EXPECT_EQ(SkyColourAt(NAN, kZenith, kHorizon) >> 24, 0u);
}

TEST(BackgroundTest, RollTiltsTheHorizonAboutTheCentre)
{
    Frame f;
    PaintBackground(f.target(), MakeViewTransform(0.1f), kZenith, kHorizon);
    EXPECT_NE(f.at(100, 620), kGroundColour) << "left side: the sky reaches below the centre line";
    EXPECT_EQ(f.at(1800, 580), kGroundColour) << "right side: the ground rises above it";
    EXPECT_EQ(f.at(960, 700), kGroundColour);
    EXPECT_EQ(f.at(960, 10), kZenith);
    for (std::uint32_t p : f.pixels) ASSERT_NE(p, 0xDEADBEEFu) << "a pixel was left unwritten";
}

TEST(BackgroundTest, RolledSkyMatchesThePlainRowByRowSkyExactly)
{
    const struct {
        int width, height;
        float roll;
        std::uint32_t zenith, horizon;
    } cases[] = {
        {kFrameWidth, kFrameHeight, 0.1f, kZenith, kHorizon},
        {kFrameWidth, kFrameHeight, -0.35f, 0x243A5E, 0xDE5834},
        {kFrameWidth, kFrameHeight, 0.0011f, 0x000000, 0xFFFFFF},
        {37, 23, 1.2f, kZenith, kHorizon},      // rows left over after groups of four
        {5, 3, -3.0f, 0x102030, 0xF0E0D0},
        {64, 9, NAN, kZenith, kHorizon},
        // Long runs of one colour along the rows, and runs that break every pixel or two.
        {kFrameWidth, kFrameHeight, 0.001f, kZenith, kHorizon},
        {kFrameWidth, kFrameHeight, -0.0047f, 0x000000, 0xFFFFFF},
        {kFrameWidth, kFrameHeight, 1.5707f, kZenith, kHorizon},
        {kFrameWidth, kFrameHeight, -1.5709f, 0xFFFFFF, 0x000000},
        // Skies with the ground's colour in them. This gradient is the ground's colour from 6 to
        // 2 logical units above the horizon line and one step brighter in every channel above
        // the line, so the same colour either side of that brighter strip is not one run.
        {kFrameWidth, kFrameHeight, 0.7f, 0x0F5408, 0x4B9044},
        {kFrameWidth, kFrameHeight, -0.7f, 0x0F5408, 0x4B9044},
        {kFrameWidth, kFrameHeight, 0.02f, kGroundColour, 0xFFFFFF},
        {kFrameWidth, kFrameHeight, 0.05f, kGroundColour, kGroundColour},
        {61, 17, 0.0013f, kZenith, kHorizon},   // a block's last column is the row's last
    };
    for (const auto& c : cases) {
        const std::vector<std::uint32_t> expected = test::ReferenceRolledSky(c.width, c.height, c.roll, c.zenith, c.horizon);
        test::SimdLevelGuard guard;
        for (SimdLevel level : test::MachineSimdLevels()) {
            std::vector<std::uint32_t> pixels(static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height));
            SetActiveSimdLevel(level);
            PaintBackground(RasterTarget{pixels.data(), c.width, c.height}, MakeViewTransform(c.roll),
                            c.zenith, c.horizon);
            ASSERT_EQ(pixels, expected) << "roll " << c.roll << ", " << c.width << " x " << c.height << ", path "
                                        << SimdLevelName(level);
        }
    }
}

// Every column of a stretch must be exactly the value the additions one after another reach, or
// the rolled sky would differ from the rule by an ulp somewhere along a row.
void ExpectStretchesFollowTheAdditions(float v, float step, int most)
{
    float accumulated = v;
    for (int column = 0; column < most;) {
        const SkyStretch stretch = ExactSkyStretch(accumulated, step, most - column);
        ASSERT_GE(stretch.count, 1);
        ASSERT_LE(stretch.count, most - column);
        const float first = accumulated;
        for (int i = 0; i < stretch.count; ++i) {
            const float exact = first + static_cast<float>(i) * stretch.dv;
            ASSERT_EQ(exact, accumulated) << "v " << v << " step " << step << " column " << column + i
                                          << " (stretch from " << first << ", dv " << stretch.dv << ", " << i << " in)";
            accumulated += step;
        }
        column += stretch.count;
    }
}

TEST(SkyStretch, FollowsTheAdditionsOneAfterAnotherExactly)
{
    // Rows of real frames: every row start and roll the drive can give.
    for (float roll : {0.001f, -0.001f, 0.0123f, -0.0456f, 0.1f, -0.35f, 0.7f, 1.2f, -1.5709f, 3.0f})
        for (int row = 0; row < 1200; row += 7) {
            const ViewTransform view = MakeViewTransform(roll);
            const float ly = (static_cast<float>(row) + 0.5f) * kViewInverseScale;
            const float v = ((ly - kHorizonY) * view.cos_r + kHorizonY) + (0.25f - kViewCentreX) * view.sin_r;
            ExpectStretchesFollowTheAdditions(v, kViewInverseScale * view.sin_r, 1920);
        }
}

TEST(SkyStretch, HandlesTiesBinadeEdgesZeroAndTinySteps)
{
    const float spacing_at_256 = std::ldexp(1.0f, 8 - 23);
    const struct {
        float v, step;
    } cases[] = {
        {300.0f, 1.5f * spacing_at_256},          // an odd number of half spacings: ties alternate
        {300.0f, 0.5f * spacing_at_256},
        {-300.0f, 2.5f * spacing_at_256},
        {300.0f + spacing_at_256, 1.5f * spacing_at_256},     // a tie from an odd last bit
        {-300.0f - spacing_at_256, -2.5f * spacing_at_256},
        {300.0f, 3.5f * spacing_at_256},
        {255.99998f, 0.01f},                      // starts just below a binade's top
        {256.0f, -0.01f},                         // starts on a binade's bottom, moving down
        {256.0f, -0.25f * spacing_at_256},        // a step that rounds away, except there
        {-0.75f, 0.001f},                         // through zero from below
        {0.5f, -0.0004882812f},                   // through zero from above
        {1e-30f, 1e-31f},
        {100.0f, 1e-20f},                         // never moves
        {1e30f, 1e25f},
        {std::ldexp(1.0f, -126), std::ldexp(1.0f, -127)},   // the smallest normal, then subnormals
        {3.0f, -2.9999998f},
    };
    for (const auto& c : cases) ExpectStretchesFollowTheAdditions(c.v, c.step, 3000);
    EXPECT_EQ(ExactSkyStretch(NAN, 0.1f, 100).count, 1);
    EXPECT_EQ(ExactSkyStretch(1.0f, INFINITY, 100).count, 1);
    EXPECT_EQ(ExactSkyStretch(0.0f, 0.1f, 100).count, 1);
    EXPECT_EQ(ExactSkyStretch(5.0f, 0.1f, 1).count, 1);
}

TEST(SunTest, GlowTableEnds)
{
    GlowTable table;
    BuildGlowTable(1.0f, table);
    EXPECT_EQ(table.red[0], static_cast<std::int32_t>(256.0f * 0.85f * 255.0f + 0.5f));
    EXPECT_EQ(table.inverse_opacity[0], static_cast<std::int32_t>(256.0f * (1.0f - 0.85f) + 0.5f));
    EXPECT_GE(table.inverse_opacity[1023], 255) << "the halo fades out at its edge";
}

TEST(SunTest, DiscShadesFromCoreToRim)
{
    Frame f;
    PaintBackground(f.target(), MakeViewTransform(0.0f), kZenith, kHorizon);
    const std::uint32_t sky = f.at(960 + 700, 200);
    GlowTable table;
    DrawSun(f.target(), MakeViewTransform(0.0f), Vec2{480.25f, 100.25f}, 1.0f, table);
    EXPECT_EQ(f.at(960, 200), 0xFFE6A3u);              // the centre pixel: the pale core
    const std::uint32_t rim = f.at(960 + 91, 200);     // 45.5 logical units out
    EXPECT_EQ(rim >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>((rim >> 8) & 0xFF), 0x9D, 2);
    const std::uint32_t halo = f.at(960 + 120, 200);   // outside the disc: blended, not replaced
    EXPECT_NE(halo >> 16, 0xFFu);
    EXPECT_GT(halo >> 16, sky >> 16) << "the halo warms the sky";
    EXPECT_EQ(f.at(960 + 700, 200), sky) << "beyond the halo nothing changes";
}

TEST(SunTest, MatchesThePlainPixelByPixelSunExactly)
{
    const struct {
        int width, height;
        float roll, scale;
        Vec2 centre;
    } cases[] = {
        {kFrameWidth, kFrameHeight, 0.0f, 1.0f, Vec2{480.25f, 150.0f}},
        {kFrameWidth, kFrameHeight, 0.12f, 1.3f, Vec2{700.0f, 280.0f}},
        {kFrameWidth, kFrameHeight, -0.3f, 0.5f, Vec2{30.0f, 40.0f}},
        {203, 150, 0.05f, 0.2f, Vec2{50.0f, 30.0f}},   // a width that leaves pixels after fours
        {211, 150, 0.0f, 0.3f, Vec2{60.3f, 40.0f}},    // and after eights, the box starting mid-row
        {kFrameWidth, kFrameHeight, 0.0f, 3.0f, Vec2{480.0f, 250.0f}},   // a halo past every edge
        // The turned horizon line across the halo, from either side, and a view turned almost
        // a quarter turn.
        {kFrameWidth, kFrameHeight, 0.3f, 1.0f, Vec2{480.0f, 290.0f}},
        {kFrameWidth, kFrameHeight, -0.3f, 1.0f, Vec2{900.0f, 310.0f}},
        {kFrameWidth, kFrameHeight, 0.0012f, 1.0f, Vec2{975.0f, 305.0f}},
        {kFrameWidth, kFrameHeight, 1.5f, 0.8f, Vec2{200.0f, 300.0f}},
        {kFrameWidth, kFrameHeight, -1.5708f, 0.6f, Vec2{700.0f, 100.0f}},
        // Halo and disc from beyond the frame's edges.
        {kFrameWidth, kFrameHeight, 0.0f, 1.0f, Vec2{-30.0f, 100.0f}},
        {kFrameWidth, kFrameHeight, 0.1f, 0.5f, Vec2{1000.0f, -20.0f}},
        {kFrameWidth, kFrameHeight, 0.0f, 0.1f, Vec2{1.0f, 1.0f}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint32_t> expected(static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height));
        for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFFu;
        const std::vector<std::uint32_t> sky = expected;
        test::ReferenceSun(expected, c.width, c.height, c.roll, c.centre, c.scale);
        test::SimdLevelGuard guard;
        for (SimdLevel level : test::MachineSimdLevels()) {
            std::vector<std::uint32_t> pixels = sky;
            SetActiveSimdLevel(level);
            GlowTable table;
            DrawSun(RasterTarget{pixels.data(), c.width, c.height}, MakeViewTransform(c.roll), c.centre, c.scale, table);
            ASSERT_EQ(pixels, expected) << "roll " << c.roll << ", scale " << c.scale << ", path " << SimdLevelName(level);
        }
    }
}

TEST(SunTest, NeverDrawsBelowTheHorizonLine)
{
    Frame f;
    PaintBackground(f.target(), MakeViewTransform(0.0f), kZenith, kHorizon);
    const std::vector<std::uint32_t> before = f.pixels;
    GlowTable table;
    DrawSun(f.target(), MakeViewTransform(0.0f), Vec2{480.0f, 320.0f}, 1.0f, table);
    bool changed_above = false;
    for (int row = 0; row < kFrameHeight; ++row)
        for (int column = 0; column < kFrameWidth; ++column) {
            const std::size_t i = static_cast<std::size_t>(row) * kFrameWidth + static_cast<std::size_t>(column);
            if (row >= 600) {
                ASSERT_EQ(f.pixels[i], before[i]) << row << "," << column;
            } else {
                changed_above |= f.pixels[i] != before[i];
            }
        }
    EXPECT_TRUE(changed_above) << "the halo reaches above the line";
}

TEST(SunTest, ClipsAtTheEdgesAndIgnoresNonsense)
{
    Frame f;
    GlowTable table;
    const ViewTransform rolled = MakeViewTransform(0.3f);
    for (Vec2 centre : {Vec2{-100.0f, 50.0f}, Vec2{1000.0f, 10.0f}, Vec2{0.0f, 0.0f},
                        Vec2{959.9f, 299.0f}, Vec2{NAN, 100.0f}, Vec2{INFINITY, -INFINITY},
                        Vec2{1e30f, 1e30f}})
        for (float scale : {1.0f, 0.0f, 3.0f, NAN})
            DrawSun(f.target(), rolled, centre, scale, table);
    SUCCEED();   // the sanitizers are the judge here
}

} // namespace
} // namespace veldmark
