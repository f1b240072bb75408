#include "app/shell/frame_scaler.h"
#include "render/simd/simd_level.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <utility>
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

// ---- Every path against the reference ------------------------------------------------------

std::vector<std::uint32_t> RandomPicture(int width, int height, std::uint32_t seed, std::uint32_t mask = 0xFFFFFF)
{
    std::mt19937 random(seed);
    std::vector<std::uint32_t> picture(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (auto& p : picture) p = static_cast<std::uint32_t>(random()) & mask;
    return picture;
}

constexpr std::uint32_t kGuard = 0xA5C3E1F7;

// Scales through `path` into rows `spare` pixels wider than the picture, and checks that the
// pixels are the reference's and that nothing beside or after them was written.
void ExpectSameAsReference(FrameScaler& scaler, SimdLevel level, const std::vector<std::uint32_t>& source,
                           std::size_t spare)
{
    const auto w = static_cast<std::size_t>(scaler.width());
    const auto h = static_cast<std::size_t>(scaler.height());
    const std::size_t pitch = w + spare;
    std::vector<std::uint32_t> expected(w * h);
    scaler.ScaleReference(source.data(), expected.data(), w);
    std::vector<std::uint32_t> out(pitch * h + 1, kGuard);
    scaler.ScaleWith(level, source.data(), out.data(), pitch);
    std::size_t wrong = 0, first_wrong = 0;
    for (std::size_t y = 0; y < h; ++y)
        for (std::size_t x = 0; x < pitch; ++x) {
            const std::uint32_t want = x < w ? expected[y * w + x] : kGuard;
            if (out[y * pitch + x] != want && wrong++ == 0) first_wrong = y * pitch + x;
        }
    EXPECT_EQ(wrong, 0u) << w << "x" << h << " pitch " << pitch << ": first at x " << first_wrong % pitch
                         << " y " << first_wrong / pitch;
    EXPECT_EQ(out.back(), kGuard) << w << "x" << h << ": wrote past the destination";
}

class FrameScalerPath : public testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override
    {
        if (FrameScaler::AvailableLevel(GetParam()) != GetParam()) GTEST_SKIP() << "not on this machine";
    }
};

TEST_P(FrameScalerPath, GivesTheReferenceBitsForTheFrameAtEverySize)
{
    const auto frame = RandomPicture(1920, 1200, 20261209);
    FrameScaler scaler;
    const std::pair<int, int> sizes[] = {
        {1, 1}, {2, 2}, {3, 5}, {152, 112}, {320, 200}, {173, 97}, {959, 601}, {960, 600}, {1280, 800},
        {1920, 1080}, {1920, 1200}, {1919, 1199}, {1921, 1201}, {2560, 1600}, {3840, 2160}, {7, 1500},
        {1500, 7}, {1280, 1200}, {2561, 1200}, {1920, 800}, {1920, 1601}};
    for (auto [w, h] : sizes) {
        scaler.Resize(w, h);
        ExpectSameAsReference(scaler, GetParam(), frame, 0);
    }
}

TEST_P(FrameScalerPath, LeavesThePaddingOfWiderRowsAlone)
{
    const auto frame = RandomPicture(1920, 1200, 7);
    FrameScaler scaler;
    for (auto [w, h, spare] : {std::tuple{961, 601, 3}, {1920, 1200, 16}, {1920, 1080, 5}, {1280, 1200, 1},
                               {2560, 1600, 64}, {13, 11, 7}}) {
        scaler.Resize(w, h);
        ExpectSameAsReference(scaler, GetParam(), frame, static_cast<std::size_t>(spare));
    }
}

TEST_P(FrameScalerPath, GivesTheReferenceBitsForOtherSources)
{
    FrameScaler scaler;
    const std::tuple<int, int, int, int> cases[] = {
        {5, 3, 5, 3},     {5, 3, 17, 9},     {1, 1, 4, 3},      {3, 1, 1, 1},    {2, 2, 1, 1},
        {640, 480, 320, 240}, {640, 480, 1024, 768}, {2561, 37, 700, 37}, {37, 2561, 37, 700},
        {9, 9, 9, 4},     {4, 9, 9, 9},      {1024, 1024, 152, 112}};
    std::uint32_t seed = 1;
    for (auto [sw, sh, w, h] : cases) {
        scaler.SetSource(sw, sh);
        scaler.Resize(w, h);
        ExpectSameAsReference(scaler, GetParam(), RandomPicture(sw, sh, seed++), 0);
    }
}

TEST_P(FrameScalerPath, ScalesAPartOfTheFrameAsIfItWereAPictureOfItsOwn)
{
    // A part of the frame is its top-left pixel and the frame's pitch: the pixels around it
    // must play no part, on every path and whether or not the part is scaled at all.
    const auto frame = RandomPicture(1920, 1200, 4242);
    const std::tuple<int, int, int, int, int, int> cases[] = {
        {0, 60, 1920, 1080, 1920, 1080}, {240, 0, 1440, 1200, 1280, 1024}, {7, 3, 1900, 1190, 960, 600},
        {0, 60, 1920, 1080, 3840, 2160}, {1919, 1199, 1, 1, 3, 2},       {100, 200, 33, 17, 33, 17}};
    FrameScaler scaler;
    for (auto [left, top, sw, sh, w, h] : cases) {
        std::vector<std::uint32_t> part;
        for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x) part.push_back(frame[static_cast<std::size_t>((top + y) * 1920 + left + x)]);
        scaler.SetSource(sw, sh);
        scaler.Resize(w, h);
        std::vector<std::uint32_t> expected(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        scaler.ScaleReference(part.data(), expected.data(), static_cast<std::size_t>(w));

        scaler.SetSource(sw, sh, 1920);
        std::vector<std::uint32_t> out(expected.size());
        const std::uint32_t* corner = frame.data() + static_cast<std::size_t>(top) * 1920 + static_cast<std::size_t>(left);
        scaler.ScaleWith(GetParam(), corner, out.data(), static_cast<std::size_t>(w));
        EXPECT_EQ(out, expected) << sw << "x" << sh << " at " << left << "," << top << " to " << w << "x" << h;
        scaler.ScaleReference(corner, out.data(), static_cast<std::size_t>(w));
        EXPECT_EQ(out, expected) << "reference, " << sw << "x" << sh << " at " << left << "," << top;
    }
}

TEST_P(FrameScalerPath, IgnoresTheUnusedTopByte)
{
    // The frame's top byte should be zero; whatever it holds must not reach the picture.
    const auto frame = RandomPicture(1920, 1200, 99, 0xFFFFFFFF);
    FrameScaler scaler;
    for (auto [w, h] : {std::pair{1920, 1200}, {1920, 1080}, {1280, 1200}, {960, 600}, {2560, 1600}, {5, 5}}) {
        scaler.Resize(w, h);
        ExpectSameAsReference(scaler, GetParam(), frame, 0);
    }
}

TEST_P(FrameScalerPath, KeepsExtremeColoursExact)
{
    // Full-scale channels next to zero ones: the sums' largest values, where a lost bit or a
    // saturating pack would show.
    FrameScaler scaler;
    std::vector<std::uint32_t> frame(1920 * 1200);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = ((i / 3 + i / 1920) % 2) ? kWhite : (i % 5 ? kRed : kBlack);
    for (auto [w, h] : {std::pair{2560, 1600}, {960, 600}, {152, 112}, {1920, 1080}, {3840, 2160}}) {
        scaler.Resize(w, h);
        ExpectSameAsReference(scaler, GetParam(), frame, 0);
    }
}

// Halving a picture weighs source pixels 2i - 1 .. 2i + 2 by a tent of radius two: 1/8, 3/8,
// 3/8, 1/8 (2048 and 6144 in 14-bit fixed point). One bright green pixel at (40, 40) of a
// 64 x 64 picture reaches output pixels 19 and 20 on each axis only, with known values; a box
// filter, a narrower tent, a tap off by one or a channel moved would each give others.
TEST_P(FrameScalerPath, SpreadsOneBrightPixelByTheTentWeights)
{
    constexpr int kSize = 64, kBright = 40;
    std::vector<std::uint32_t> src(kSize * kSize, kBlack);
    src[kBright * kSize + kBright] = 0x00FF00;
    FrameScaler scaler;
    scaler.SetSource(kSize, kSize);
    scaler.Resize(kSize / 2, kSize / 2);
    std::vector<std::uint32_t> out(kSize * kSize / 4);
    scaler.ScaleWith(GetParam(), src.data(), out.data(), kSize / 2);
    // Green 255 times 1/8 * 1/8, 1/8 * 3/8 and 3/8 * 3/8, each pass rounded.
    const std::uint32_t near[2][2] = {{4, 12}, {12, 36}};
    for (int y = 0; y < kSize / 2; ++y)
        for (int x = 0; x < kSize / 2; ++x) {
            const bool lit = (y == 19 || y == 20) && (x == 19 || x == 20);
            const std::uint32_t want = lit ? near[y - 19][x - 19] << 8 : 0;
            EXPECT_EQ(out[static_cast<std::size_t>(y * kSize / 2 + x)], want) << "at " << x << "," << y;
        }
}

// The same along one axis at a time, with the other axis the same size: the vertical pass
// alone (rounded straight to pixels) and the horizontal pass alone.
TEST_P(FrameScalerPath, HalvesEachAxisByTheTentWeights)
{
    constexpr int kLong = 64, kShort = 24, kBright = 40;
    std::vector<std::uint32_t> row(kLong * kShort, kBlack), column(kShort * kLong, kBlack);
    for (int i = 0; i < kShort; ++i) {
        row[static_cast<std::size_t>(i * kLong + kBright)] = 0xFF0000;      // a bright column
        column[static_cast<std::size_t>(kBright * kShort + i)] = 0x0000FF;  // a bright row
    }
    FrameScaler scaler;
    scaler.SetSource(kLong, kShort);
    scaler.Resize(kLong / 2, kShort);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(kLong / 2 * kShort));
    scaler.ScaleWith(GetParam(), row.data(), out.data(), kLong / 2);
    for (int y = 0; y < kShort; ++y)
        for (int x = 0; x < kLong / 2; ++x) {
            const std::uint32_t want = x == 19 ? 32u << 16 : x == 20 ? 96u << 16 : 0;
            EXPECT_EQ(out[static_cast<std::size_t>(y * kLong / 2 + x)], want) << "columns, at " << x << "," << y;
        }
    scaler.SetSource(kShort, kLong);
    scaler.Resize(kShort, kLong / 2);
    scaler.ScaleWith(GetParam(), column.data(), out.data(), kShort);
    for (int y = 0; y < kLong / 2; ++y)
        for (int x = 0; x < kShort; ++x) {
            const std::uint32_t want = y == 19 ? 32u : y == 20 ? 96u : 0;
            EXPECT_EQ(out[static_cast<std::size_t>(y * kShort + x)], want) << "rows, at " << x << "," << y;
        }
}

// Doubling is bilinear: output pixel i sits at source position i / 2 - 1/4, so a pixel between
// two sources takes 3/4 of the nearer and 1/4 of the farther. Nearest-neighbour picking, or
// the taps the wrong way round, would give other values.
TEST_P(FrameScalerPath, DoublesByBilinearWeights)
{
    constexpr int kWidth = 20;
    std::vector<std::uint32_t> src(kWidth * 2, kBlack);
    src[10] = src[kWidth + 10] = 0xFFFFFF;
    FrameScaler scaler;
    scaler.SetSource(kWidth, 2);
    scaler.Resize(kWidth * 2, 2);
    std::vector<std::uint32_t> out(kWidth * 4);
    scaler.ScaleWith(GetParam(), src.data(), out.data(), kWidth * 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < kWidth * 2; ++x) {
            // 255 / 4 = 63.75 and 255 * 3 / 4 = 191.25, rounded.
            const std::uint32_t grey = x == 19 || x == 22 ? 64 : x == 20 || x == 21 ? 191 : 0;
            EXPECT_EQ(out[static_cast<std::size_t>(y * kWidth * 2 + x)], grey * 0x010101u) << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, FrameScalerPath,
                         testing::Values(SimdLevel::Scalar, SimdLevel::Vec4, SimdLevel::Vec8),
                         [](const testing::TestParamInfo<SimdLevel>& level) {
                             switch (level.param) {
                             case SimdLevel::Vec8: return std::string("Vec8");
                             case SimdLevel::Vec4: return std::string("Vec4");
                             case SimdLevel::Scalar: break;
                             }
                             return std::string("Scalar");
                         });

TEST(FrameScaler, LowersALevelToWhatTheMachineHas)
{
    const SimdLevel supported = SupportedSimdLevel();
    EXPECT_EQ(FrameScaler::AvailableLevel(SimdLevel::Vec8), supported);
    EXPECT_EQ(FrameScaler::AvailableLevel(SimdLevel::Scalar), SimdLevel::Scalar);
    if (supported >= SimdLevel::Vec4) {
        EXPECT_EQ(FrameScaler::AvailableLevel(SimdLevel::Vec4), SimdLevel::Vec4);
    }
}

} // namespace
} // namespace veldmark
