#include "app/shell/frame_scaler.h"

#include <gtest/gtest.h>

#include <vector>

namespace veldmark {
namespace {

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

std::vector<std::uint32_t> Scaled(FrameScaler& scaler, const std::vector<std::uint32_t>& src)
{
    std::vector<std::uint32_t> out(static_cast<std::size_t>(scaler.width() * scaler.height()) + 1, 0xABCDEF);
    scaler.Scale(src.data(), out.data(), static_cast<std::size_t>(scaler.width()));
    EXPECT_EQ(out.back(), 0xABCDEFu) << "wrote past the destination";
    out.pop_back();
    return out;
}

TEST(FrameScaler, AFlatColourStaysExactlyThatColourAtAnySize)
{
    FrameScaler scaler;
    const std::vector<std::uint32_t> frame(1920 * 1200, 0x3C7A19);
    for (auto [w, h] : {std::pair{960, 600}, {1, 1}, {173, 97}, {1920, 1200}, {2560, 1600}, {7, 1500}}) {
        scaler.Resize(w, h);
        for (std::uint32_t p : Scaled(scaler, frame)) ASSERT_EQ(p, 0x3C7A19u) << w << "x" << h;
    }
}

TEST(FrameScaler, TheSameSizeIsACopy)
{
    FrameScaler scaler;
    scaler.SetSource(5, 3);
    scaler.Resize(5, 3);
    std::vector<std::uint32_t> src(15);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint32_t>(i * 0x0F1D27);
    for (auto& p : src) p &= 0xFFFFFF;
    EXPECT_EQ(Scaled(scaler, src), src);
}

TEST(FrameScaler, KeepsLeftRightTopAndBottomWhereTheyWere)
{
    // An asymmetric picture: red top-left quarter, blue bottom-right quarter, black elsewhere.
    FrameScaler scaler;
    scaler.SetSource(8, 8);
    std::vector<std::uint32_t> src(64, kBlack);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            src[std::size_t(y * 8 + x)] = kRed;
            src[std::size_t((y + 4) * 8 + x + 4)] = kBlue;
        }
    scaler.Resize(4, 4);
    const auto out = Scaled(scaler, src);
    EXPECT_EQ(out[0], kRed);
    EXPECT_EQ(out[15], kBlue);
    EXPECT_EQ(out[3], kBlack);
    EXPECT_EQ(out[12], kBlack);
}

TEST(FrameScaler, ShrinkingAveragesFineDetailInsteadOfPickingPixels)
{
    // One-pixel stripes shrunk four times must come out grey, not all white or all black.
    FrameScaler scaler;
    scaler.SetSource(64, 4);
    std::vector<std::uint32_t> src(64 * 4);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = (i % 2) ? kWhite : kBlack;
    scaler.Resize(16, 1);
    const auto out = Scaled(scaler, src);
    for (std::size_t x = 0; x < out.size(); ++x) {
        const std::uint32_t g = out[x] & 0xFF;
        // The filter is cut off at the picture's edges, so the edge pixels lean a little.
        const int tolerance = (x == 0 || x + 1 == out.size()) ? 16 : 2;
        EXPECT_NEAR(static_cast<int>(g), 128, tolerance) << x;
        EXPECT_EQ(out[x], g * 0x010101u) << "channels stay equal";
    }
}

TEST(FrameScaler, GrowingBlendsBetweenNeighbours)
{
    FrameScaler scaler;
    scaler.SetSource(2, 1);
    const std::vector<std::uint32_t> src{kBlack, kWhite};
    scaler.Resize(8, 1);
    const auto out = Scaled(scaler, src);
    EXPECT_EQ(out.front(), kBlack);
    EXPECT_EQ(out.back(), kWhite);
    for (std::size_t i = 1; i < out.size(); ++i) EXPECT_GE(out[i] & 0xFF, out[i - 1] & 0xFF);
    EXPECT_GT(out[4] & 0xFF, 0u);
    EXPECT_LT(out[3] & 0xFF, 255u);
}

TEST(FrameScaler, AResizeBetweenFramesTakesEffect)
{
    FrameScaler scaler;
    const std::vector<std::uint32_t> frame(1920 * 1200, kBlue);
    scaler.Resize(300, 200);
    Scaled(scaler, frame);
    scaler.Resize(40, 25);
    const auto out = Scaled(scaler, frame);
    EXPECT_EQ(out.size(), 1000u);
    EXPECT_EQ(out[999], kBlue);
}

} // namespace
} // namespace veldmark
