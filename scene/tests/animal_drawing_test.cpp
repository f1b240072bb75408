// Drawing animals: projection onto the ground, the mirror, gradients carried into screen space,
// the one-pixel rule and the fit rule part by part.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/animal_drawing.h"
#include "scene/animal_glyphs.h"
#include "scene/tests/drawn_commands.h"
#include "world/animal_kinds.h"
#include "world/limits.h"

namespace veldmark::test {
namespace {

constexpr float kRestFocal = 685.5109f;

struct List {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords, 0);
    std::uint64_t length = 0;
    DisplayListWriter out{words.data(), length};
    std::vector<DrawnCommand> commands() const { return ReadCommands(words.data(), length); }
};

TEST(AnimalDrawing, EveryPartStandsOnTheGroundRowScaledByDistance)
{
    List list;
    const AnimalSprite duck{2.0f, 10.0f, 0.9f, kDuck, 0};
    DrawAnimal(list.out, duck, kRestFocal, 960.0f);
    const AnimalGlyph& glyph = *FindAnimalGlyph(kDuck);
    const auto commands = list.commands();
    ASSERT_EQ(commands.size(), glyph.count);

    const float ground = 300.0f + 1.2f * kRestFocal / 10.0f;
    const float k = 0.9f * kRestFocal / 10.0f;
    const float cx = 480.0f + 2.0f * kRestFocal / 10.0f;
    for (std::uint64_t p = 0; p < glyph.count; ++p) {
        ASSERT_EQ(commands[p].opcode, kOpFlatPolygon);
        EXPECT_EQ(commands[p].colour, glyph.parts[p].fill);
        ASSERT_EQ(commands[p].vertices.size(), glyph.parts[p].count);
        for (std::uint64_t i = 0; i < glyph.parts[p].count; ++i) {
            EXPECT_FLOAT_EQ(commands[p].vertices[i].x, cx + k * glyph.parts[p].points[i].x);
            EXPECT_FLOAT_EQ(commands[p].vertices[i].y, ground - k * glyph.parts[p].points[i].y);
        }
    }
}

// With the centre column at 0 every x of the mirrored picture is the exact negation of the
// plain one; elsewhere the two agree to rounding about the centre column.
TEST(AnimalDrawing, AMirroredZebraIsTheReflectionOfThePlainOne)
{
    for (const float view_width : {0.0f, 960.0f}) {
        SCOPED_TRACE(view_width);
        List plain, mirrored;
        DrawAnimal(plain.out, AnimalSprite{0.0f, 20.0f, 1.6f, kZebra, 0}, kRestFocal, view_width);
        DrawAnimal(mirrored.out, AnimalSprite{0.0f, 20.0f, 1.6f, kZebra, 1}, kRestFocal, view_width);
        ASSERT_EQ(plain.length, mirrored.length);
        const auto a = plain.commands();
        const auto b = mirrored.commands();
        ASSERT_EQ(a.size(), 22u);
        const float cx = view_width / 2.0f;
        for (std::size_t c = 0; c < a.size(); ++c) {
            EXPECT_EQ(a[c].colour, b[c].colour);
            ASSERT_EQ(a[c].vertices.size(), b[c].vertices.size());
            for (std::size_t i = 0; i < a[c].vertices.size(); ++i) {
                EXPECT_EQ(a[c].vertices[i].y, b[c].vertices[i].y);
                if (view_width == 0.0f)
                    EXPECT_EQ(b[c].vertices[i].x, -a[c].vertices[i].x);
                else
                    EXPECT_NEAR(b[c].vertices[i].x - cx, -(a[c].vertices[i].x - cx), 1e-4f);
            }
        }
    }
}

TEST(AnimalDrawing, AKindWithoutAPictureDrawsNothing)
{
    List list;
    DrawAnimal(list.out, AnimalSprite{0.0f, 10.0f, 1.6f, 0x1F405, 0}, kRestFocal, 960.0f);
    EXPECT_EQ(list.length, 0u);
}

TEST(AnimalDrawing, APictureUnderOnePixelAtTheCurrentFocalLengthIsNotDrawn)
{
    // 2.19 pixels at the rest focal length (so gathered), 0.96 at a focal length of 300.
    List list;
    const AnimalSprite zebra{0.0f, 500.0f, 1.6f, kZebra, 0};
    DrawAnimal(list.out, zebra, 300.0f, 960.0f);
    EXPECT_EQ(list.length, 0u);
    DrawAnimal(list.out, zebra, kRestFocal, 960.0f);
    EXPECT_GT(list.length, 0u);
    // A sprite at depth 0 (never gathered) or NaN gives no scale to draw at.
    List broken;
    DrawAnimal(broken.out, AnimalSprite{0.0f, 0.0f, 0.0f, kZebra, 0}, kRestFocal, 960.0f);
    DrawAnimal(broken.out, AnimalSprite{0.0f, NAN, 1.0f, kZebra, 0}, kRestFocal, 960.0f);
    EXPECT_EQ(broken.length, 0u);
}

// Points along a small square, as many as asked for.
std::vector<GlyphPoint> Points(std::size_t n)
{
    std::vector<GlyphPoint> points(n);
    for (std::size_t i = 0; i < n; ++i)
        points[i] = GlyphPoint{0.1f * static_cast<float>(i % 4), 0.1f * static_cast<float>(i % 3)};
    return points;
}

GlyphPart Flat(const std::vector<GlyphPoint>& points, std::uint32_t fill)
{
    return GlyphPart{points.data(), points.size(), fill, 0, 0.0f, 0, 0.0f, {}, {}, {}, {}, {}, 0, 0};
}

TEST(AnimalDrawing, APartThatDoesNotFitIsSkippedAndALaterSmallerOneIsStillWritten)
{
    // 18 points as a linear gradient need 46 words; 3 flat points need 9.
    const auto large = Points(18);
    const auto small = Points(3);
    GlyphPart parts[] = {Flat(large, 0x111111), Flat(small, 0x5B2F2C)};
    parts[0].has_gradient = 1;
    parts[0].gradient_kind = kGradientLinear;
    const AnimalGlyph glyph{kOx, parts, 2};

    std::vector<std::uint32_t> words(100, 0);
    std::uint64_t length = 80;   // 20 words of room
    DisplayListWriter out(words.data(), length, words.size());
    DrawAnimalGlyph(out, glyph, GlyphPlacement{480.0f, 400.0f, 50.0f, 1.0f});
    EXPECT_EQ(length, 89u);
    EXPECT_EQ(words[80], kOpFlatPolygon);
    EXPECT_EQ(words[81], 0x5B2F2Cu);
}

TEST(AnimalDrawing, PartsOfTooFewOrTooManyPointsAreSkipped)
{
    const auto two = Points(2);
    const auto most = Points(512);
    const auto too_many = Points(513);
    const GlyphPart parts[] = {Flat(two, 1), Flat(too_many, 2), Flat(most, 3)};
    List list;
    DrawAnimalGlyph(list.out, AnimalGlyph{kOx, parts, 3}, GlyphPlacement{0, 0, 10, 1});
    const auto commands = list.commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].colour, 3u);
    EXPECT_EQ(commands[0].vertices.size(), 512u);
}

TEST(AnimalDrawing, GradientAxesAreCarriedIntoTheScreenWithTheMirror)
{
    const auto outline = Points(4);
    GlyphPart linear = Flat(outline, 0);
    linear.has_gradient = 1;
    linear.gradient_kind = kGradientLinear;
    linear.colour_a = 0xFF4C2325;
    linear.colour_b = 0x00693452;
    linear.start = 0.25f;
    linear.end = 0.75f;
    linear.p0 = GlyphPoint{0.5f, 0.0f};
    linear.p1 = GlyphPoint{0.5f, 1.0f};
    GlyphPart elliptic = linear;
    elliptic.gradient_kind = kGradientElliptic;
    elliptic.centre = GlyphPoint{0.25f, 0.5f};
    elliptic.u = GlyphPoint{0.5f, 0.0f};
    elliptic.v = GlyphPoint{0.0f, 0.25f};
    const GlyphPart parts[] = {linear, elliptic};
    List list;
    DrawAnimalGlyph(list.out, AnimalGlyph{kOx, parts, 2}, GlyphPlacement{100.0f, 400.0f, 40.0f, -1.0f});
    const auto c = list.commands();
    ASSERT_EQ(c.size(), 2u);

    ASSERT_EQ(c[0].opcode, kOpLinearPolygon);
    EXPECT_EQ(c[0].colour, 0xFF4C2325u);
    const std::vector<std::uint32_t> linear_fields = {
        0x00693452u, FloatWord(0.25f), FloatWord(0.75f), FloatWord(80.0f), FloatWord(400.0f),
        FloatWord(80.0f), FloatWord(360.0f)};
    EXPECT_EQ(c[0].fields, linear_fields);

    // The centre is a point; the axes are vectors, mirrored and turned upside down only.
    ASSERT_EQ(c[1].opcode, kOpEllipticPolygon);
    const std::vector<std::uint32_t> elliptic_fields = {
        0x00693452u,        FloatWord(0.25f),  FloatWord(0.75f), FloatWord(90.0f),
        FloatWord(380.0f),  FloatWord(-20.0f), FloatWord(-0.0f), FloatWord(-0.0f),
        FloatWord(-10.0f)};
    EXPECT_EQ(c[1].fields, elliptic_fields);
    EXPECT_FLOAT_EQ(c[1].vertices[1].x, 96.0f);   // (0.1, 0.1) mirrored about x = 100
    EXPECT_FLOAT_EQ(c[1].vertices[1].y, 396.0f);
}

} // namespace
} // namespace veldmark::test
