#include "app/web/canvas_picture.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "world/limits.h"

namespace veldmark::web {
namespace {

std::array<std::uint8_t, 4> BytesOf(std::uint32_t word)
{
    std::array<std::uint8_t, 4> bytes{};
    std::memcpy(bytes.data(), &word, 4);
    return bytes;
}

TEST(CanvasSize, DevicePixelsOfTheLayoutSize)
{
    const CanvasSize plain = CanvasSizeFor(1920, 1080, 1.0);
    EXPECT_EQ(plain.width, 1920);
    EXPECT_EQ(plain.height, 1080);
    const CanvasSize retina = CanvasSizeFor(1280, 800, 2.0);
    EXPECT_EQ(retina.width, 2560);
    EXPECT_EQ(retina.height, 1600);
    // A fractional ratio and fractional CSS sizes round to the nearest device pixel.
    const CanvasSize zoomed = CanvasSizeFor(1366.4, 767.6, 1.25);
    EXPECT_EQ(zoomed.width, 1708);
    EXPECT_EQ(zoomed.height, 960);
}

TEST(CanvasSize, NothingSillyReachesTheScaler)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (const CanvasSize s : {CanvasSizeFor(0, 0, 1), CanvasSizeFor(-5, 10, 1), CanvasSizeFor(kNaN, kNaN, 1),
                               CanvasSizeFor(0.2, 0.2, 1)}) {
        EXPECT_GE(s.width, 1);
        EXPECT_GE(s.height, 1);
    }
    EXPECT_EQ(CanvasSizeFor(-5, 10, 1).width, 1);
    EXPECT_EQ(CanvasSizeFor(-5, 10, 1).height, 10);
    // A ratio that makes no sense counts as 1.
    for (const double ratio : {0.0, -2.0, kNaN, kInf}) {
        const CanvasSize s = CanvasSizeFor(800, 600, ratio);
        EXPECT_EQ(s.width, 800) << ratio;
        EXPECT_EQ(s.height, 600) << ratio;
    }
    const CanvasSize huge = CanvasSizeFor(kInf, 100, 1);
    EXPECT_LE(huge.width, kMaxCanvasSide);
    EXPECT_GE(huge.height, 1);
}

TEST(CanvasSize, AnOversizedCanvasKeepsItsShape)
{
    const CanvasSize s = CanvasSizeFor(4000, 2000, 2.0);   // 8000 x 4000 device pixels
    EXPECT_EQ(s.width, kMaxCanvasSide);
    EXPECT_EQ(s.height, kMaxCanvasSide / 2);
    const CanvasSize tall = CanvasSizeFor(300, 9000, 1.0);
    EXPECT_EQ(tall.height, kMaxCanvasSide);
    EXPECT_EQ(tall.width, 137);   // 300 x 4096 / 9000, rounded
}

TEST(CanvasPicture, RedAndBlueTradePlacesAndAlphaIsOpaque)
{
    // One word of each channel alone, and one with all three different.
    std::vector<std::uint32_t> pixels = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00123456u, 0xAB000000u};
    ToCanvasByteOrder(pixels.data(), pixels.size());
    using Bytes = std::array<std::uint8_t, 4>;
    EXPECT_EQ(BytesOf(pixels[0]), (Bytes{0xFF, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(BytesOf(pixels[1]), (Bytes{0x00, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(BytesOf(pixels[2]), (Bytes{0x00, 0x00, 0xFF, 0xFF}));
    EXPECT_EQ(BytesOf(pixels[3]), (Bytes{0x12, 0x34, 0x56, 0xFF}));
    EXPECT_EQ(BytesOf(pixels[4]), (Bytes{0x00, 0x00, 0x00, 0xFF})) << "the frame's top byte never shows";
}

class CanvasPictureTest : public ::testing::Test {
protected:
    // A frame whose four quarters differ: a flip, a mirror or a channel swap shows.
    void SetUp() override
    {
        frame_.assign(kFramePixels, 0);
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const bool right = x >= kFrameWidth / 2, bottom = y >= kFrameHeight / 2;
                frame_[static_cast<std::size_t>(y) * kFrameWidth + static_cast<std::size_t>(x)] =
                    bottom ? (right ? 0x00FFFFFFu : 0x0000FF00u) : (right ? 0x000000FFu : 0x00FF0000u);
            }
    }
    std::array<std::uint8_t, 4> At(const CanvasPicture& p, int x, int y) const
    {
        return BytesOf(p.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                                static_cast<std::size_t>(x)]);
    }
    std::vector<std::uint32_t> frame_;
};

TEST_F(CanvasPictureTest, TheFrameFillsTheWholeCanvasTheRightWayUp)
{
    CanvasPicture picture;
    ResizeCanvasPicture(picture, {160, 90});   // wider than the frame: its top and bottom are cut
    ASSERT_EQ(picture.pixels.size(), 160u * 90u);
    DrawFrameToCanvas(frame_.data(), picture, nullptr);
    using Bytes = std::array<std::uint8_t, 4>;
    EXPECT_EQ(At(picture, 0, 0), (Bytes{0xFF, 0, 0, 0xFF})) << "top left red";
    EXPECT_EQ(At(picture, 159, 0), (Bytes{0, 0, 0xFF, 0xFF})) << "top right blue";
    EXPECT_EQ(At(picture, 0, 89), (Bytes{0, 0xFF, 0, 0xFF})) << "bottom left green";
    EXPECT_EQ(At(picture, 159, 89), (Bytes{0xFF, 0xFF, 0xFF, 0xFF})) << "bottom right white";
    EXPECT_EQ(At(picture, 70, 40), (Bytes{0xFF, 0, 0, 0xFF})) << "quarters meet in the middle";
    EXPECT_EQ(At(picture, 90, 50), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(CanvasPictureTest, ResizingAllocatesOnlyForANewSize)
{
    CanvasPicture picture;
    ResizeCanvasPicture(picture, {640, 400});
    const std::uint32_t* buffer = picture.pixels.data();
    ResizeCanvasPicture(picture, {640, 400});
    EXPECT_EQ(picture.pixels.data(), buffer);
    ResizeCanvasPicture(picture, {800, 500});
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 500);
    EXPECT_EQ(picture.pixels.size(), 800u * 500u);
    ResizeCanvasPicture(picture, {0, 100000});   // kept within bounds
    EXPECT_EQ(picture.width, 1);
    EXPECT_EQ(picture.height, kMaxCanvasSide);
}

TEST_F(CanvasPictureTest, TheOverlayIsDrawnOnlyWhenAsked)
{
    CanvasPicture plain, marked;
    ResizeCanvasPicture(plain, {320, 200});
    ResizeCanvasPicture(marked, {320, 200});
    FpsMeter meter;
    std::snprintf(meter.text, sizeof meter.text, "60.0 fps");
    DrawFrameToCanvas(frame_.data(), plain, nullptr);
    DrawFrameToCanvas(frame_.data(), marked, &meter);
    int changed = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            if (At(plain, x, y) != At(marked, x, y)) {
                ++changed;
                EXPECT_LT(x, 160) << "the overlay stays in the top-left corner";
                EXPECT_LT(y, 40);
            }
    EXPECT_GT(changed, 50);
    EXPECT_EQ(At(marked, 319, 199), At(plain, 319, 199));
    EXPECT_EQ(At(marked, 0, 0)[3], 0xFF) << "the overlay is converted to the canvas's order too";
}

} // namespace
} // namespace veldmark::web
