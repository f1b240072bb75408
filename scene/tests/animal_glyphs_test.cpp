// The animal and lion picture tables: the parts each kind is drawn from, in order, with their
// fills; and that every outline is drawable and sits where its picture space says.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scene/animal_glyphs.h"
#include "scene/lion_poses.h"
#include "world/animal_kinds.h"

namespace veldmark::test {
namespace {

// A part's fill as written in the tables below: "L" linear, "E" elliptic, or the flat colour.
std::string FillOf(const GlyphPart& part)
{
    if (part.has_gradient) return part.gradient_kind == kGradientLinear ? "L" : "E";
    char text[8];
    std::snprintf(text, sizeof text, "%06X", part.fill);
    return text;
}

// Expands "L*6 E 5B2F2C" into one entry per part.
std::vector<std::string> Expand(const std::string& fills)
{
    std::vector<std::string> out;
    std::istringstream in(fills);
    std::string token;
    while (in >> token) {
        const auto star = token.find('*');
        const int times = star == std::string::npos ? 1 : std::stoi(token.substr(star + 1));
        for (int i = 0; i < times; ++i) out.push_back(token.substr(0, star));
    }
    return out;
}

struct KindFills {
    std::uint32_t kind;
    const char* fills;
};

// Each kind's parts in drawing order.
constexpr KindFills kExpected[] = {
    {kOx, "L*6 E L E*3 L*2 E*4 L*2 E*2 L*2 E*2 L*2 E*3 5B2F2C L*2 FFDEA7 E*3 5B2F2C E*4 L"},
    {kCow, "9B9B9B*2 FF8687 D3D3D3 F9C23C E6E6E6 636363*7 FF8687 1C1C1C BB1D80"},
    {kPig, "FF5E59*2 FF8687 FBB8AB*2 1C1C1C"},
    {kElephant, "636363*2 9B9B9B 1C1C1C D3D3D3*2"},
    {kDuck, "44911B F9C23C 212121 D3D3D3 9B9B9B A56953"},
    {kRhinoceros, "D3D3D3 636363*2 9B9B9B 636363 1C1C1C"},
    {kGiraffe, "FF822D*3 FFB02E 636363*2 1C1C1C D3883E*17"},
    {kZebra, "9B9B9B*2 636363*2 D3D3D3 636363*16 212121"},
};

TEST(AnimalGlyphTables, EveryKindHasItsPartsFillsAndColoursInDrawingOrder)
{
    ASSERT_EQ(AnimalGlyphs().size(), std::size(kExpected));
    for (const KindFills& k : kExpected) {
        SCOPED_TRACE(k.kind);
        const AnimalGlyph* glyph = FindAnimalGlyph(k.kind);
        ASSERT_NE(glyph, nullptr);
        const std::vector<std::string> expected = Expand(k.fills);
        ASSERT_EQ(glyph->count, expected.size());
        for (std::uint64_t p = 0; p < glyph->count; ++p)
            EXPECT_EQ(FillOf(glyph->parts[p]), expected[p]) << "part " << p;
    }
}

TEST(AnimalGlyphTables, OnlyTheEightKindsHavePictures)
{
    EXPECT_EQ(FindAnimalGlyph(0x1F405), nullptr);   // tiger: no picture
    EXPECT_EQ(FindAnimalGlyph(0), nullptr);
    EXPECT_EQ(FindAnimalGlyph(0x1F403), nullptr);
}

TEST(AnimalGlyphTables, EveryPictureStandsOnTheGroundAndFillsItsSpace)
{
    for (const AnimalGlyph& glyph : AnimalGlyphs()) {
        SCOPED_TRACE(glyph.kind);
        float low = 1e9f, high = -1e9f, left = 1e9f, right = -1e9f;
        for (std::uint64_t p = 0; p < glyph.count; ++p) {
            const GlyphPart& part = glyph.parts[p];
            EXPECT_GE(part.count, 3u);
            EXPECT_LE(part.count, kGlyphPartMaxPoints);
            for (std::uint64_t i = 0; i < part.count; ++i) {
                low = std::min(low, part.points[i].y);
                high = std::max(high, part.points[i].y);
                left = std::min(left, part.points[i].x);
                right = std::max(right, part.points[i].x);
            }
            if (part.has_gradient) {
                // The gradient's colours are opaque or fading: never an unset zero pair.
                EXPECT_NE(part.colour_a | part.colour_b, 0u);
                EXPECT_LE(part.start, part.end);
            }
        }
        EXPECT_EQ(low, 0.0f);   // the feet are on the ground
        // The picture is its size tall, unless it is a long animal that fills the width.
        EXPECT_LE(high, 1.0f);
        EXPECT_TRUE(high > 0.995f || right > 0.655f) << high << " tall, " << right << " wide";
        EXPECT_GE(left, -0.66f);
        EXPECT_LE(right, 0.66f);
        EXPECT_NEAR(left + right, 0.0f, 0.01f);   // centred, so mirroring keeps its place
    }
}

struct PoseColours {
    std::uint64_t parts;
    std::map<std::uint32_t, int> colours;
};

const PoseColours kWalk{46, {{0xC8823C, 13}, {0x8A571F, 7}, {0x6E4A24, 18}, {0x3A2A17, 6},
                             {0x2E74C4, 1}, {0xB56B6B, 1}}};
const PoseColours kSeated{47, {{0xC8823C, 15}, {0x8A571F, 3}, {0x6E4A24, 16}, {0x3A2A17, 10},
                               {0x2E74C4, 2}, {0xB56B6B, 1}}};
const PoseColours kLeap{34, {{0xC8823C, 11}, {0x8A571F, 4}, {0x6E4A24, 14}, {0x3A2A17, 4},
                             {0x2E74C4, 1}}};

TEST(LionPoseTables, EveryPoseHasItsPartsAndColours)
{
    const PoseColours* expected[] = {&kWalk, &kWalk, &kSeated, &kLeap, &kLeap, &kLeap, &kLeap};
    ASSERT_EQ(LionPoses().size(), kLionPoseCount);
    for (std::size_t i = 0; i < kLionPoseCount; ++i) {
        SCOPED_TRACE(i);
        const LionPose* pose = FindLionPose(i);
        ASSERT_NE(pose, nullptr);
        ASSERT_EQ(pose->count, expected[i]->parts);
        std::map<std::uint32_t, int> colours;
        for (std::uint64_t p = 0; p < pose->count; ++p) ++colours[pose->parts[p].colour];
        EXPECT_EQ(colours, expected[i]->colours);
        // A rim always follows a fill of the coat (light or dark): it is that fill's edge.
        for (std::uint64_t p = 0; p < pose->count; ++p)
            if (pose->parts[p].colour == 0x6E4A24) {
                ASSERT_GT(p, 0u);
                const std::uint32_t fill = pose->parts[p - 1].colour;
                EXPECT_TRUE(fill == 0xC8823C || fill == 0x8A571F) << "part " << p;
            }
    }
    EXPECT_EQ(FindLionPose(kLionPoseCount), nullptr);
}

TEST(LionPoseTables, OutlinesAreDrawableAndStayInThePictureSpace)
{
    for (std::size_t i = 0; i < kLionPoseCount; ++i) {
        SCOPED_TRACE(i);
        const LionPose& pose = *FindLionPose(i);
        float low = 1e9f, left = 1e9f, right = -1e9f;
        for (std::uint64_t p = 0; p < pose.count; ++p) {
            const LionPart& part = pose.parts[p];
            EXPECT_GE(part.count, 3u);
            EXPECT_LE(part.count, kLionPartMaxPoints);
            for (std::uint64_t k = 0; k < part.count; ++k) {
                low = std::min(low, part.points[k].y);
                left = std::min(left, part.points[k].x);
                right = std::max(right, part.points[k].x);
            }
        }
        EXPECT_GE(left, -0.76f);
        EXPECT_LE(right, 1.48f);
        EXPECT_GE(low, 0.0f);
        // Only the picture in flight leaves the ground by itself; the others stand on it.
        if (i != kLionInFlight) {
            EXPECT_LT(low, 0.01f);
        }
    }
}

} // namespace
} // namespace veldmark::test
