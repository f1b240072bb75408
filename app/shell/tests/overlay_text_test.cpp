#include "app/shell/overlay_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veldmark {
namespace {

constexpr std::uint32_t kGrey = 0x808080, kDarkGrey = 0x404040, kGuard = 0xABCDEF;

// A picture of width x height inside rows of `pitch` words, with guard rows above and below.
struct Canvas {
    int width, height;
    std::size_t pitch;
    std::vector<std::uint32_t> words;
    Canvas(int w, int h, std::size_t p) : width(w), height(h), pitch(p), words((static_cast<std::size_t>(h) + 2) * p, kGuard)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) at(x, y) = kGrey;
    }
    std::uint32_t& at(int x, int y) { return words[(static_cast<std::size_t>(y) + 1) * pitch + static_cast<std::size_t>(x)]; }
    void Draw(const char* text, int scale) { DrawOverlayText(&at(0, 0), pitch, width, height, text, scale); }
    // Every word outside the picture still holds the guard.
    bool GuardsIntact() const
    {
        for (std::size_t i = 0; i < words.size(); ++i) {
            const std::size_t row = i / pitch, column = i % pitch;
            const bool inside = row >= 1 && row <= static_cast<std::size_t>(height) && column < static_cast<std::size_t>(width);
            if (!inside && words[i] != kGuard) return false;
        }
        return true;
    }
};

TEST(OverlayText, AGlyphIsDrawnWhiteInADarkenedBoxInTheTopLeftCorner)
{
    // '-' untouched, 'o' darkened, '#' ink: a seven, which is the same neither flipped nor turned.
    const char* const expected[] = {
        "-----------",
        "-----------",
        "--ooooooo--",
        "--o#####o--",
        "--ooooo#o--",
        "--oooo#oo--",
        "--ooo#ooo--",
        "--oo#oooo--",
        "--oo#oooo--",
        "--oo#oooo--",
        "--ooooooo--",
        "-----------",
    };
    Canvas canvas(11, 12, 11);
    canvas.Draw("7", 1);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 11; ++x) {
            const char e = expected[y][x];
            const std::uint32_t want = e == '#' ? kOverlayInk : e == 'o' ? kDarkGrey : kGrey;
            EXPECT_EQ(canvas.at(x, y), want) << x << "," << y;
        }
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(OverlayText, CharactersTheFontLacksAreSpacesAndTheScaleDoublesEveryPixel)
{
    Canvas a(30, 12, 30), b(30, 12, 30);
    a.Draw("7 1", 1);
    b.Draw("7?1", 1);
    EXPECT_EQ(a.words, b.words);

    Canvas small(40, 12, 40), big(80, 24, 80);
    small.Draw("9%", 1);
    big.Draw("9%", 2);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(big.at(x, y), small.at(x / 2, y / 2)) << x << "," << y;
}

TEST(OverlayText, TinyPicturesAndEdgesAreClippedWithoutAWriteOutside)
{
    const char* text = "59.9 fps  104.7% cpu";
    for (int scale : {1, 2, 3, 8, 0, -4, 1000}) {
        Canvas whole(400, 120, 400);
        whole.Draw(text, scale);
        for (auto [w, h] : {std::pair{1, 1}, {2, 2}, {3, 1}, {1, 5}, {7, 9}, {17, 4}, {64, 11}, {399, 119}}) {
            Canvas cut(w, h, static_cast<std::size_t>(w) + 3);   // rows with slack between them
            cut.Draw(text, scale);
            ASSERT_TRUE(cut.GuardsIntact()) << w << "x" << h << " scale " << scale;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(cut.at(x, y), whole.at(x, y)) << "the visible part is the same picture, cut";
        }
    }
    // No pixels, no text: nothing happens at all.
    Canvas empty(0, 0, 4);
    empty.Draw(text, 1);
    DrawOverlayText(nullptr, 4, 4, 4, text, 1);
    Canvas none(8, 8, 8);
    none.Draw(nullptr, 1);
    none.Draw("", 1);
    EXPECT_TRUE(empty.GuardsIntact());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(none.at(x, y), kGrey);
}

TEST(OverlayText, TheScaleGrowsWithThePicturesHeight)
{
    EXPECT_EQ(OverlayScale(1), 1);
    EXPECT_EQ(OverlayScale(200), 1);
    EXPECT_EQ(OverlayScale(600), 1);
    EXPECT_EQ(OverlayScale(601), 2);
    EXPECT_EQ(OverlayScale(1200), 2);
    EXPECT_EQ(OverlayScale(2160), 4);
    EXPECT_EQ(OverlayScale(0), 1);
    EXPECT_EQ(OverlayScale(-7), 1);
    EXPECT_EQ(OverlayScale(1'000'000), 8);
}

} // namespace
} // namespace veldmark
