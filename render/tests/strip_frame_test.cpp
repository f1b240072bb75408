// Whole frames painted strip by strip (background, sun, list) against the plain one-pixel
// references painted one after another over the whole buffer, on every vector path; and lists
// too large for a frame's plan, against the same list drawn one command at a time.
#include "render/strip_frame.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/rasteriser.h"
#include "render/render_worker.h"
#include "render/tests/random_scene.h"
#include "render/tests/reference_background.h"
#include "render/tests/reference_rasteriser.h"
#include "render/tests/simd_levels.h"
#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

StripScratch& Scratch()
{
    static const auto scratch = std::make_unique<StripScratch>();
    return *scratch;
}

struct FrameCase {
    int width, height;
    float roll;
    FrameBackground background;
    std::uint32_t seed;
    int commands;
};

std::vector<std::uint32_t> ReferenceFrame(const FrameCase& c, const TestList& list)
{
    std::vector<std::uint32_t> pixels =
        ReferenceRolledSky(c.width, c.height, c.roll, c.background.zenith_colour, c.background.horizon_colour);
    if (c.background.sun_visible)
        ReferenceSun(pixels, c.width, c.height, c.roll, c.background.sun_centre, c.background.sun_scale);
    ReferenceRasterise(RasterTarget{pixels.data(), c.width, c.height}, c.roll, list.words.data(), list.length);
    return pixels;
}

void ExpectListLikeReference(const FrameCase& c, const TestList& list)
{
    const std::vector<std::uint32_t> expected = ReferenceFrame(c, list);
    for (SimdLevel level : MachineSimdLevels()) {
        GuardedFrame frame(c.width, c.height, 0xDEADBEEFu);
        RenderInStrips(frame.target(), c.roll, &c.background, list.words.data(), list.length, Scratch(), level);
        ASSERT_TRUE(frame.guards_intact());
        std::size_t differing = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::uint32_t want = expected[static_cast<std::size_t>(y) * static_cast<std::size_t>(c.width) + static_cast<std::size_t>(x)];
                if (frame.at(x, y) != want && ++differing <= 5)
                    ADD_FAILURE() << "seed " << c.seed << " roll " << c.roll << " path " << SimdLevelName(level)
                                  << " pixel " << x << "," << y << ": " << std::hex << frame.at(x, y) << " vs " << want;
            }
        EXPECT_EQ(differing, 0u) << "seed " << c.seed << " path " << SimdLevelName(level);
    }
}

void ExpectFrameLikeReference(const FrameCase& c)
{
    RandomScene scene = c.roll == 0.0f ? RandomScene(c.seed, static_cast<float>(c.width) / 2, static_cast<float>(c.height) / 2)
                                       : RandomScene(c.seed, 960, 600);
    TestList list;
    for (int k = 0; k < c.commands; ++k) scene.AddCommand(list.writer);
    ExpectListLikeReference(c, list);
}

constexpr std::uint32_t kDayZenith = 0x8ECAE6, kSunsetHorizon = 0xDE5834;

// Random commands, then a flat strip across the whole width over logical rows 250 to 330 (with
// `notch` as an extra vertex on its outline), then more random commands.
TestList ListWithStrip(std::uint32_t seed, const std::vector<Vec2>& outline, std::uint32_t colour)
{
    RandomScene scene(seed, 960, 600);
    TestList list;
    for (int k = 0; k < 40; ++k) scene.AddCommand(list.writer);
    list.writer.FlatPolygon(colour, outline);
    for (int k = 0; k < 15; ++k) scene.AddCommand(list.writer);
    return list;
}

TEST(StripFrame, RowsUnderAWideFlatPolygonMatchTheReferences)
{
    const FrameBackground sun_at_strip{kDayZenith, kSunsetHorizon, true, {500.0f, 280.0f}, 1.0f};
    const std::vector<Vec2> strip = {{-10, 250}, {970, 250}, {970, 330}, {-10, 330}};
    // Notches on the left and right edges that leave out only the first or the last pixel of
    // the row at logical y 290.25, and one into the middle of the strip.
    const std::vector<Vec2> left_notch = {{-10, 250}, {970, 250}, {970, 330}, {-10, 330}, {-100, 290.5f}, {0.45f, 290.25f}, {-100, 290}};
    const std::vector<Vec2> right_notch = {{-10, 250}, {970, 250}, {1060, 290}, {959.55f, 290.25f}, {1060, 290.5f}, {970, 330}, {-10, 330}};
    const std::vector<Vec2> middle_gap = {{-10, 250}, {970, 250}, {970, 330}, {481, 330}, {480.2f, 270}, {479.6f, 330}, {-10, 330}};
    const std::vector<Vec2> tilted = {{-40, 200}, {1000, 260}, {1000, 380}, {-40, 320}};
    const struct {
        float roll;
        const std::vector<Vec2>* outline;
    } cases[] = {{0.0f, &strip}, {0.0f, &left_notch}, {0.0f, &right_notch}, {0.0f, &middle_gap},
                 {0.05f, &strip}, {-0.0013f, &left_notch}, {0.02f, &tilted}, {-0.3f, &tilted}};
    std::uint32_t seed = 60;
    for (const auto& c : cases) {
        const TestList list = ListWithStrip(seed, *c.outline, 0x336699u);
        ExpectListLikeReference({kFrameWidth, kFrameHeight, c.roll, sun_at_strip, seed, 0}, list);
        ++seed;
    }
    // A target whose strips are taller than the rows a mask holds: nothing is skipped there.
    const TestList list = ListWithStrip(70, strip, 0x336699u);
    ExpectListLikeReference({400, 9000, 0.0f, sun_at_strip, 70, 0}, list);
}

TEST(StripFrame, SkySunAndListMatchTheReferencesUpright)
{
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const float x = 20.0f * static_cast<float>(seed), y = 12.0f * static_cast<float>(seed % 6);
        ExpectFrameLikeReference({160 + static_cast<int>(seed) * 7, 120 + static_cast<int>(seed) * 5, 0.0f,
                                  {kDayZenith, kSunsetHorizon, seed % 3 != 0, {x, y}, 0.1f + 0.05f * static_cast<float>(seed)},
                                  seed, 30});
    }
}

TEST(StripFrame, SkySunAndListMatchTheReferencesRolled)
{
    for (std::uint32_t seed = 21; seed <= 32; ++seed) {
        const float roll = 0.07f * static_cast<float>(seed - 26);
        ExpectFrameLikeReference({203, 150 + static_cast<int>(seed), roll == 0.0f ? 0.01f : roll,
                                  {0x243A5E, kSunsetHorizon, true, {480.0f - 30.0f * static_cast<float>(seed - 26), 290.0f}, 1.0f},
                                  seed, 30});
    }
}

TEST(StripFrame, WholeFramesMatchTheReferences)
{
    ExpectFrameLikeReference({kFrameWidth, kFrameHeight, 0.0f, {kDayZenith, kSunsetHorizon, true, {480.25f, 250.0f}, 1.0f}, 41, 60});
    ExpectFrameLikeReference({kFrameWidth, kFrameHeight, 0.12f, {kDayZenith, kSunsetHorizon, true, {700.0f, 280.0f}, 1.3f}, 42, 60});
    ExpectFrameLikeReference({kFrameWidth, kFrameHeight, -0.3f, {0x243A5E, 0x243A5E, false, {0.0f, 0.0f}, 1.0f}, 43, 60});
}

// More commands, edges or shaded commands than a plan holds: the rest is drawn after the strips,
// and the frame is the same as drawn one command at a time.
void ExpectOverflowDrawnInOrder(const TestList& list, float roll)
{
    GuardedFrame whole(320, 200, 0x00102030u);
    RasteriseDisplayList(whole.target(), roll, list.words.data(), list.length);
    for (SimdLevel level : MachineSimdLevels()) {
        GuardedFrame in_strips(320, 200, 0x00102030u);
        RenderInStrips(in_strips.target(), roll, nullptr, list.words.data(), list.length, Scratch(), level);
        ASSERT_TRUE(in_strips.guards_intact());
        EXPECT_LT(Scratch().plan.resume_position, list.length) << "the plan was meant to overflow";
        EXPECT_EQ(in_strips.storage, whole.storage) << SimdLevelName(level);
    }
}

TEST(StripFrame, ListsLargerThanThePlanAreDrawnInOrder)
{
    // Discs overlap and blend, so any change of order shows.
    TestList discs;
    for (std::size_t k = 0; k < kMaxPlannedDiscs + 500; ++k)
        discs.writer.Disc(0xFF000000u | static_cast<std::uint32_t>(k * 2654435761u), {static_cast<float>(k % 150) + 5, static_cast<float>(k % 90) + 5}, 6.0f, 0.3f);
    ExpectOverflowDrawnInOrder(discs, 0.0f);

    TestList triangles;
    for (std::size_t k = 0; k < kMaxPlannedCommands + 300; ++k) {
        const float x = static_cast<float>(k % 151), y = static_cast<float>(k % 97);
        triangles.writer.FlatPolygon(static_cast<std::uint32_t>(k * 40503u), std::vector<Vec2>{{x, y}, {x + 9, y + 1}, {x + 2, y + 7}});
    }
    ExpectOverflowDrawnInOrder(triangles, 0.0f);

    TestList many_edges;   // polygons of 1024 vertices fill the edge pool after 64
    for (int k = 0; k < 70; ++k) {
        std::vector<Vec2> ring;
        for (int v = 0; v < 1024; ++v) {
            const float a = 0.0061359f * static_cast<float>(v);
            ring.push_back({80.0f + 2.0f * static_cast<float>(k) + 40.0f * cosf(a), 50.0f + 30.0f * sinf(a * 3.0f)});
        }
        many_edges.writer.LinearPolygon(0x80FF0000u + static_cast<std::uint32_t>(k), 0xFF00FF00u, 0, 1, {40, 0}, {200, 0}, ring);
    }
    ExpectOverflowDrawnInOrder(many_edges, 0.0f);
}

TEST(StripFrame, RenderSlotPaintsThePacketFromItsTail)
{
    auto slot = std::make_unique<FrameSlot>();
    TestList list;
    RandomScene scene(5, 960, 600);
    for (int k = 0; k < 80; ++k) scene.AddCommand(list.writer);
    std::copy(list.words.begin(), list.words.begin() + static_cast<std::ptrdiff_t>(list.length), slot->display_list);
    slot->list_length = list.length;
    slot->tail.roll = 0.05f;
    slot->tail.zenith_colour = kDayZenith;
    slot->tail.horizon_colour = kSunsetHorizon;
    slot->tail.sun_x = 300.0f;
    slot->tail.sun_y = 200.0f;
    slot->tail.sun_scale = 1.0f;
    slot->tail.sun_visible = 1;
    RenderSlot(*slot, Scratch());
    const FrameCase c{kFrameWidth, kFrameHeight, 0.05f, {kDayZenith, kSunsetHorizon, true, {300.0f, 200.0f}, 1.0f}, 0, 0};
    const std::vector<std::uint32_t> expected = ReferenceFrame(c, list);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), slot->pixels));
}

} // namespace
} // namespace veldmark::test
