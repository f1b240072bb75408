// Coverage, decoding and hostile input of the command rasteriser, on small asymmetric scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/rasteriser.h"
#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

constexpr std::uint32_t kBlack = 0;
constexpr float kQuarterTurn = 1.57079637f;

void Draw(GuardedFrame& frame, const TestList& list, float roll = 0.0f)
{
    RasteriseDisplayList(frame.target(), roll, list.words.data(), list.length);
    ASSERT_TRUE(frame.guards_intact());
}

TEST(PolygonCoverage, UnitSquareCoversExactlyTwoByTwoPixels)
{
    GuardedFrame frame(kFrameWidth, kFrameHeight, kBlack);
    TestList list;
    list.writer.FlatPolygon(0xFF00FF00u, Rect(100, 100, 101, 101));
    Draw(frame, list);
    EXPECT_EQ(frame.count(0x00FF00u), 4u);   // top byte dropped
    for (int y = 200; y <= 201; ++y)
        for (int x = 200; x <= 201; ++x) EXPECT_EQ(frame.at(x, y), 0x00FF00u) << x << "," << y;
}

TEST(PolygonCoverage, SharedEdgesNeitherGapNorDoubleCoverHorizontally)
{
    // Two triangles sharing a slanted diagonal, and two rectangles sharing a horizontal edge,
    // each drawn with a blend so a pixel covered twice would show a different colour.
    GuardedFrame frame(400, 300, kBlack);
    TestList list;
    const std::uint32_t half_red = 0x80FF0000u;
    const std::vector<Vec2> upper = {{10, 10}, {90, 10}, {90, 70.3f}};
    const std::vector<Vec2> lower = {{90, 70.3f}, {10, 70.3f}, {10, 10}};
    list.writer.EllipticPolygon(half_red, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, upper);
    list.writer.EllipticPolygon(half_red, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, lower);
    list.writer.EllipticPolygon(half_red, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, Rect(110, 10, 150, 40.25f));
    list.writer.EllipticPolygon(half_red, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, Rect(110, 40.25f, 150, 70));
    Draw(frame, list);
    const std::uint32_t once = 0x800000u;   // 255 x 128/255 + 0.5
    // Every pixel of the two squares' interiors is covered; on the shared diagonal some are
    // covered by both, nowhere is a gap.
    for (int y = 20; y < 140; ++y)
        for (int x = 20; x < 180; ++x) EXPECT_NE(frame.at(x, y), kBlack) << x << "," << y;
    for (int y = 20; y < 140; ++y)
        for (int x = 220; x < 300; ++x) EXPECT_EQ(frame.at(x, y), once) << x << "," << y;
}

TEST(PolygonCoverage, PixelCentreOnASharedVerticalEdgeIsCoveredByBoth)
{
    // The edge at logical x = 160.25 runs through the centres of pixel column 320.
    GuardedFrame frame(400, 100, kBlack);
    TestList list;
    list.writer.EllipticPolygon(0x80FF0000u, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, Rect(150, 10, 160.25f, 40));
    list.writer.EllipticPolygon(0x80FF0000u, 0, 0, 1, {0, 0}, {1, 0}, {2, 0}, Rect(160.25f, 10, 170, 40));
    Draw(frame, list);
    EXPECT_EQ(frame.at(319, 50), 0x800000u);
    EXPECT_EQ(frame.at(320, 50), 0xC00000u);   // blended twice: 128 x 127/255 + 128, rounded
    EXPECT_EQ(frame.at(321, 50), 0x800000u);
}

TEST(PolygonCoverage, SelfIntersectingStarLeavesItsCentreEmpty)
{
    GuardedFrame frame(400, 400, kBlack);
    TestList list;
    std::vector<Vec2> star;
    for (int k = 0; k < 5; ++k) {
        const float a = -1.5707964f + static_cast<float>(k * 2) * 1.2566371f;   // every second point
        star.push_back({100.0f + 80.0f * cosf(a), 100.0f + 80.0f * sinf(a)});
    }
    list.writer.FlatPolygon(0xFFFFFF, star);
    Draw(frame, list);
    EXPECT_EQ(frame.at(200, 200), kBlack);          // the central pentagon
    EXPECT_EQ(frame.at(200, 60), 0xFFFFFFu);        // the top point
    EXPECT_EQ(frame.at(200, 350), kBlack);          // between the two lower points
}

TEST(PolygonCoverage, ClippedToTheBuffer)
{
    GuardedFrame frame(kFrameWidth, kFrameHeight, kBlack);
    TestList list;
    list.writer.FlatPolygon(0x0000FF, Rect(-500, 100, -1, 200));     // wholly left: nothing
    Draw(frame, list);
    EXPECT_EQ(frame.count(kBlack), frame.pixel_count());
    list.writer.FlatPolygon(0x00FF00, Rect(-1e6f, -1e6f, 1e6f, 1e6f));
    Draw(frame, list);
    EXPECT_EQ(frame.count(0x00FF00), frame.pixel_count());
}

TEST(PolygonCoverage, DegenerateOnesDrawNothing)
{
    GuardedFrame frame(200, 200, kBlack);
    TestList list;
    list.writer.FlatPolygon(0xFFFFFF, std::vector<Vec2>{{10, 10}, {90, 90}});          // n = 2
    list.writer.FlatPolygon(0xFFFFFF, std::vector<Vec2>{{10, 50}, {90, 50}, {40, 50}}); // one row
    Draw(frame, list);
    EXPECT_EQ(frame.count(kBlack), frame.pixel_count());
}

TEST(Decoder, UnknownOpcodesDecodeAsFlatWithThreeWordHeaders)
{
    GuardedFrame expected(200, 100, kBlack);
    TestList flat;
    flat.writer.FlatPolygon(0xFF3366, Rect(10, 10, 60, 40));
    flat.writer.FlatPolygon(0x00CC00, Rect(30, 20, 90, 45));
    Draw(expected, flat);
    for (std::uint32_t op : {2u, 7u, 0xFFFFFFFFu}) {
        std::vector<std::uint32_t> words = flat.words;
        words[0] = op;
        GuardedFrame frame(200, 100, kBlack);
        RasteriseDisplayList(frame.target(), 0.0f, words.data(), flat.length);
        EXPECT_EQ(frame.storage, expected.storage) << "opcode " << op;
    }
}

TEST(Decoder, VerticesPast1024AreSkippedNotDrawn)
{
    // 2000 vertices: the first 1024 outline the left square (the rest repeat its last corner),
    // the last 976 would reach across to x = 150.
    std::vector<Vec2> many(2000, Vec2{10, 50});
    many[0] = {10, 10};
    many[1] = {50, 10};
    for (std::size_t k = 2; k < 1024; ++k) many[k] = {50, 50};
    for (std::size_t k = 1024; k < 2000; ++k) many[k] = {150, 50};
    GuardedFrame frame(320, 120, kBlack);
    TestList list;
    list.writer.FlatPolygon(0x0000FF, many);
    ASSERT_EQ(list.length, 3u + 4000u);
    list.writer.FlatPolygon(0xFF0000, Rect(100, 10, 110, 20));   // found 4003 words on
    Draw(frame, list);
    EXPECT_EQ(frame.at(80, 30), 0x0000FFu);    // inside the triangle of the first three
    EXPECT_EQ(frame.at(250, 90), kBlack);      // only the skipped vertices reach here
    EXPECT_EQ(frame.at(210, 30), 0xFF0000u);
}

TEST(Decoder, SkippedDiscAndRadialStillAdvanceTheReader)
{
    GuardedFrame frame(200, 100, kBlack);
    TestList list;
    list.writer.Disc(0xFFFFFF, {20, 20}, 0.49f, 1.0f);
    list.writer.Disc(0xFFFFFF, {20, 20}, 10.0f, 0.019f);
    list.writer.RadialPolygon(0xFFFFFFFFu, 0xFFFFFFFFu, {20, 20}, 0.3f, Rect(0, 0, 50, 50));
    list.writer.FlatPolygon(0x00FF00, Rect(80, 10, 90, 20));
    Draw(frame, list);
    EXPECT_EQ(frame.count(0x00FF00), 400u);
    EXPECT_EQ(frame.count(kBlack), frame.pixel_count() - 400u);
}

TEST(Roll, QuarterTurnCarriesThePictureAboutTheCentre)
{
    GuardedFrame frame(kFrameWidth, kFrameHeight, kBlack);
    TestList list;
    // A box right of the centre: rolled a quarter turn it lands above the centre.
    list.writer.FlatPolygon(0xFFFFFF, Rect(500, 290, 520, 310));
    Draw(frame, list, kQuarterTurn);
    EXPECT_EQ(frame.at(960, 540), 0xFFFFFFu);
    EXPECT_EQ(frame.at(1020, 600), kBlack);
    EXPECT_EQ(frame.count(0xFFFFFF), 1600u);
}

TEST(Roll, GradientsTurnWithTheScene)
{
    // A half-turn mirrors the picture through the centre, gradients included (to within the
    // rounding of a sine that is not exactly 0).
    TestList list;
    list.writer.LinearPolygon(0xFF102030u, 0xFFF0E0D0u, 0, 1, {100, 0}, {800, 0}, Rect(100, 100, 800, 500));
    GuardedFrame upright(kFrameWidth, kFrameHeight, kBlack);
    GuardedFrame turned(kFrameWidth, kFrameHeight, kBlack);
    Draw(upright, list);
    Draw(turned, list, 3.14159274f);
    for (int x = 300; x < 1600; x += 97) {
        const std::uint32_t a = upright.at(x, 500);
        const std::uint32_t b = turned.at(kFrameWidth - 1 - x, kFrameHeight - 1 - 500);
        for (int shift : {16, 8, 0})
            EXPECT_LE(std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)), 1);
    }
}

// Hostile lists: every truncation of a valid list, and fields full of NaN, infinities and huge
// values. The words live in a vector of exactly `length` so that a read past the end is caught
// by the address sanitizer; a write outside the frame changes a guard.
TEST(HostileInput, TruncatedListsEndWithoutReadingPastTheirLength)
{
    TestList list;
    list.writer.BandPolygon(0x808080, 1.0f, Rect(1, 1, 30, 30));
    list.writer.Disc(0xFFFFFF, {10, 10}, 5, 0.5f);
    list.writer.EllipticPolygon(0xFF00FF00u, 0x00FF0000u, 0, 1, {10, 10}, {5, 0}, {0, 5}, Rect(1, 1, 30, 30));
    const std::uint64_t band_end = 4 + 8;
    for (std::uint64_t length = 0; length <= list.length; ++length) {
        std::vector<std::uint32_t> words(list.words.begin(), list.words.begin() + static_cast<std::ptrdiff_t>(length));
        GuardedFrame frame(64, 64, kBlack);
        RasteriseDisplayList(frame.target(), 0.3f, words.data(), length);
        EXPECT_TRUE(frame.guards_intact());
        // A command cut short is not drawn at all, not even the vertices that are there.
        if (length < band_end) {
            EXPECT_EQ(frame.count(kBlack), frame.pixel_count()) << length;
        }
    }
}

TEST(HostileInput, NothingPastTheCapacityIsRead)
{
    // A list filled to the last word, with a length claiming more: the words beyond the
    // capacity are not there (the address sanitizer would report the read).
    std::vector<std::uint32_t> words(kDisplayListWords);
    std::uint64_t length = kDisplayListWords - 9;
    DisplayListWriter writer(words.data(), length);
    ASSERT_TRUE(writer.FlatPolygon(0xFFFFFF, std::vector<Vec2>{{1, 1}, {30, 1}, {1, 30}}));
    // Before it: an empty Band (4 words) and then empty flats (3 zero words each), which end
    // exactly where the triangle begins.
    words[0] = kOpBandPolygon;
    GuardedFrame frame(64, 64, kBlack);
    RasteriseDisplayList(frame.target(), 0.0f, words.data(), kDisplayListWords + 1000);
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_GT(frame.count(0xFFFFFF), 100u);   // the last command is still drawn
}

TEST(HostileInput, SpecialFloatsAndHugeCountsAreHarmless)
{
    const float specials[] = {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY,
                              3.4e38f, -3.4e38f, 1e-40f, 0.0f, 1e9f};
    for (float s : specials) {
        TestList list;
        const std::vector<Vec2> poly = {{s, 10}, {40, s}, {s, s}, {5, 40}};
        list.writer.FlatPolygon(0xFFFFFF, poly);
        list.writer.BandPolygon(0xFFFFFF, s, poly);
        list.writer.Disc(0xFFFFFF, {s, 10}, s, s);
        list.writer.Disc(0xFFFFFF, {10, 10}, 1e30f, s);
        list.writer.RadialPolygon(0xFFFFFFFFu, 0, {s, s}, s, Rect(0, 0, 40, 40));
        list.writer.LinearPolygon(0xFFFFFFFFu, 0x80000000u, s, s, {s, 0}, {0, s}, Rect(0, 0, 40, 40));
        list.writer.EllipticPolygon(0xFFFFFFFFu, 0x80000000u, s, s, {s, 0}, {s, 1}, {1, s}, Rect(0, 0, 40, 40));
        list.writer.FlatPolygon(0xFFFFFF, Rect(-s, -s, s, s));
        for (float roll : {0.0f, 0.5f, s}) {
            GuardedFrame frame(48, 48, kBlack);
            RasteriseDisplayList(frame.target(), roll, list.words.data(), list.length);
            EXPECT_TRUE(frame.guards_intact());
        }
    }
    // A vertex count of 2^32 - 1 runs past any list: the list ends there.
    std::vector<std::uint32_t> words = {kOpFlatPolygon, 0xFFFFFF, 0xFFFFFFFFu, 0, 0, 0, 0};
    GuardedFrame frame(48, 48, kBlack);
    RasteriseDisplayList(frame.target(), 0.0f, words.data(), words.size());
    EXPECT_EQ(frame.count(kBlack), frame.pixel_count());
}

} // namespace
} // namespace veldmark::test
