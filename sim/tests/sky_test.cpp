#include "sim/sky.h"

#include <gtest/gtest.h>

#include <cmath>

namespace veldmark {
namespace {

TEST(SkyTest, FullDayAtTheStartOfADrive)
{
    EXPECT_EQ(SunHeight(0.0f), 244.0f);
    EXPECT_EQ(Darkness(244.0f), 0.0f);
    EXPECT_EQ(ZenithColour(0.0f), 0x8ECAE6u);
    EXPECT_EQ(HorizonColour(0.0f), 0x8ECAE6u) << "no sunset tint with the sun high";
}

TEST(SkyTest, SunsetIsStrongestWithTheSunOnTheHorizon)
{
    const float q = 244.0f / 290.0f;
    EXPECT_FLOAT_EQ(Darkness(0.0f), q * 0.5942623f * q);
    EXPECT_NEAR(Darkness(0.0f), 0.4207f, 1e-4f);
    // Sun exactly on the horizon: the horizon is pulled 85 % of the way to 0xDE5834.
    const float ticks = 244.0f / 0.061258752f;
    const std::uint32_t zenith = ZenithColour(ticks);
    const std::uint32_t horizon = HorizonColour(ticks);
    const int r0 = static_cast<int>(zenith >> 16);
    const int r = static_cast<int>(horizon >> 16);
    EXPECT_NEAR(r, std::lround((222 - r0) * 0.85 + r0), 1);
    EXPECT_NE(horizon, zenith);
}

TEST(SkyTest, FullNightBelowMinus92)
{
    EXPECT_FLOAT_EQ(Darkness(-46.0f), 0.5942623f);
    EXPECT_EQ(Darkness(-92.0f), 1.0f);
    EXPECT_EQ(Darkness(-500.0f), 1.0f);
    const float ticks = (244.0f + 120.0f) / 0.061258752f;   // h = -120
    EXPECT_EQ(ZenithColour(ticks), 0x243A5Eu);
    EXPECT_EQ(HorizonColour(ticks), 0x243A5Eu) << "no tint 110 or more below the horizon";
}

TEST(SkyTest, DarknessRisesSteadilyThroughTheDrive)
{
    float previous = -1.0f;
    for (float h = 244.0f; h >= -100.0f; h -= 1.0f) {
        const float e = Darkness(h);
        EXPECT_GE(e, previous) << h;
        EXPECT_LE(e, 1.0f);
        previous = e;
    }
}

TEST(SkyTest, ColoursStayDefinedForAbsurdClocks)
{
    for (float ticks : {-1e30f, 1e30f, INFINITY, -INFINITY, NAN}) {
        const std::uint32_t z = ZenithColour(ticks);
        EXPECT_EQ(z >> 24, 0u);
        EXPECT_EQ(HorizonColour(ticks) >> 24, 0u);
    }
}

TEST(SkyTest, RollIsZeroForTinySteering)
{
    EXPECT_EQ(RollFromSteer(0.0005f), 0.0f);
    EXPECT_EQ(RollFromSteer(-0.0009999f), 0.0f);
    EXPECT_EQ(RollFromSteer(-0.002f), -0.002f);
    EXPECT_EQ(RollFromSteer(0.001f), 0.001f);
}

} // namespace
} // namespace veldmark
