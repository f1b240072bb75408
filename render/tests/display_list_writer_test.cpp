// The fit rule: a command is written whole or not at all, and a dropped one leaves no trace.
#include <gtest/gtest.h>

#include <vector>

#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

const std::vector<Vec2> kTriangle = {{0, 0}, {1, 0}, {0, 1}};   // flat: 3 + 6 = 9 words

TEST(DisplayListWriter, CommandEndingAtCapacityIsWrittenOnePastIsDropped)
{
    TestList list;
    list.length = kDisplayListWords - 8;   // a triangle would end at word 262,145
    EXPECT_FALSE(list.writer.FlatPolygon(0x112233, kTriangle));
    EXPECT_EQ(list.length, kDisplayListWords - 8);
    for (std::size_t k = kDisplayListWords - 8; k < kDisplayListWords; ++k)
        EXPECT_EQ(list.words[k], 0xDEADBEEFu) << "word " << k;

    list.length = kDisplayListWords - 9;   // ends exactly at 262,144
    EXPECT_TRUE(list.writer.FlatPolygon(0x112233, kTriangle));
    EXPECT_EQ(list.length, kDisplayListWords);
    EXPECT_EQ(list.words[kDisplayListWords - 9], kOpFlatPolygon);
    EXPECT_EQ(list.words[kDisplayListWords - 7], 3u);
    EXPECT_EQ(WordFloat(list.words[kDisplayListWords - 1]), 1.0f);

    // A full list takes nothing more, not even a Disc; a dropped command is not the end.
    EXPECT_FALSE(list.writer.Disc(0, {0, 0}, 1, 1));
    list.length = kDisplayListWords - 6;
    EXPECT_FALSE(list.writer.FlatPolygon(0, kTriangle));
    EXPECT_TRUE(list.writer.Disc(0, {0, 0}, 1, 1));
    EXPECT_EQ(list.length, kDisplayListWords);
}

TEST(DisplayListWriter, EveryCommandHasItsHeaderSizeAndFieldOrder)
{
    TestList list;
    const std::vector<Vec2> quad = Rect(1, 2, 3, 4);
    ASSERT_TRUE(list.writer.FlatPolygon(0xFF000001u, quad));
    ASSERT_TRUE(list.writer.BandPolygon(2, 0.5f, quad));
    ASSERT_TRUE(list.writer.Disc(3, {5, 6}, 7, 0.25f));
    ASSERT_TRUE(list.writer.RadialPolygon(4, 40, {8, 9}, 10, quad));
    ASSERT_TRUE(list.writer.LinearPolygon(5, 50, 0.1f, 0.9f, {1, 2}, {3, 4}, quad));
    ASSERT_TRUE(list.writer.EllipticPolygon(6, 60, 0.2f, 0.8f, {1, 2}, {3, 4}, {5, 6}, quad));
    const std::uint64_t sizes[] = {3 + 8, 4 + 8, 6, 7 + 8, 10 + 8, 12 + 8};
    std::uint64_t p = 0;
    const std::uint32_t opcodes[] = {0, 1, 3, 4, 5, 6};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(list.words[p], opcodes[k]) << "command " << k;
        p += sizes[k];
    }
    EXPECT_EQ(p, list.length);
    EXPECT_EQ(list.words[13], 0x3F000000u);              // band shade 0.5
    EXPECT_EQ(list.words[14], 4u);                       // band n
    EXPECT_EQ(WordFloat(list.words[23 + 4]), 7.0f);      // disc radius
    EXPECT_EQ(list.words[29 + 2], 40u);                  // radial outer colour
    EXPECT_EQ(list.words[29 + 6], 4u);                   // radial n
    EXPECT_EQ(list.words[44 + 9], 4u);                   // linear n
    EXPECT_EQ(WordFloat(list.words[62 + 10]), 6.0f);     // elliptic V.y
    EXPECT_EQ(list.words[62 + 11], 4u);                  // elliptic n
}

} // namespace
} // namespace veldmark::test
