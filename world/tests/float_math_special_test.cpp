// The special values of the correctly rounded float functions, as C's Annex F gives them:
// signed zeros, infinities, NaN, and pow's many cases.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "world/float_math.h"

namespace veldmark {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kMinSubnormal = std::numeric_limits<float>::denorm_min();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
// pi, pi/2, 3 pi/4 and pi/4 correctly rounded to float.
constexpr float kPi = 0x1.921fb6p+1f;
constexpr float kHalfPi = 0x1.921fb6p+0f;
constexpr float kThreeQuarterPi = 0x1.2d97c8p+1f;
constexpr float kQuarterPi = 0x1.921fb6p-1f;

std::uint32_t Bits(float v) { return std::bit_cast<std::uint32_t>(v); }

// Bit-for-bit equality, so that -0 is not +0.
#define EXPECT_SAME_FLOAT(actual, expected) EXPECT_EQ(Bits(actual), Bits(expected)) << (actual) << " vs " << (expected)

TEST(FloatMathSpecial, TrigKeepsSignedZerosAndRejectsInfinities)
{
    EXPECT_SAME_FLOAT(Sin(0.0f), 0.0f);
    EXPECT_SAME_FLOAT(Sin(-0.0f), -0.0f);
    EXPECT_SAME_FLOAT(Tan(0.0f), 0.0f);
    EXPECT_SAME_FLOAT(Tan(-0.0f), -0.0f);
    EXPECT_SAME_FLOAT(Cos(0.0f), 1.0f);
    EXPECT_SAME_FLOAT(Cos(-0.0f), 1.0f);
    for (float x : {kInf, -kInf, kNaN, -kNaN}) {
        EXPECT_TRUE(std::isnan(Sin(x))) << x;
        EXPECT_TRUE(std::isnan(Cos(x))) << x;
        EXPECT_TRUE(std::isnan(Tan(x))) << x;
    }
}

// Whatever NaN goes in, the same quiet NaN comes out, so that NaN results too are the same
// bits with every compiler and processor.
TEST(FloatMathSpecial, EveryNaNResultIsTheSameQuietNaN)
{
    constexpr std::uint32_t kQuiet = 0x7fc00000;
    const float payload = std::bit_cast<float>(0xffc12345u);
    const float signalling = std::bit_cast<float>(0x7f800001u);
    for (float x : {payload, signalling, kNaN}) {
        EXPECT_EQ(Bits(Sin(x)), kQuiet);
        EXPECT_EQ(Bits(Cos(x)), kQuiet);
        EXPECT_EQ(Bits(Tan(x)), kQuiet);
        EXPECT_EQ(Bits(Atan(x)), kQuiet);
        EXPECT_EQ(Bits(Exp(x)), kQuiet);
        EXPECT_EQ(Bits(Atan2(x, payload)), kQuiet);
        EXPECT_EQ(Bits(Atan2(1.0f, x)), kQuiet);
        EXPECT_EQ(Bits(Pow(x, 2.0f)), kQuiet);
        EXPECT_EQ(Bits(Pow(payload, x)), kQuiet);
    }
    EXPECT_EQ(Bits(Sin(-kInf)), kQuiet);
    EXPECT_EQ(Bits(Tan(kInf)), kQuiet);
    EXPECT_EQ(Bits(Pow(-2.0f, 0.5f)), kQuiet);
}

TEST(FloatMathSpecial, TinyArgumentsRoundToThemselvesOrOne)
{
    for (float x : {kMinSubnormal, -kMinSubnormal, 0x1p-126f, 1e-20f, -3e-5f, 0x1.fffffep-13f}) {
        EXPECT_SAME_FLOAT(Sin(x), x);
        EXPECT_SAME_FLOAT(Tan(x), x);
        EXPECT_SAME_FLOAT(Atan(x), x);
        EXPECT_SAME_FLOAT(Cos(x), 1.0f);
    }
    EXPECT_SAME_FLOAT(Exp(kMinSubnormal), 1.0f);
    EXPECT_SAME_FLOAT(Exp(-kMinSubnormal), 1.0f);
}

TEST(FloatMathSpecial, AtanOfInfinitiesIsAQuarterTurn)
{
    EXPECT_SAME_FLOAT(Atan(kInf), kHalfPi);
    EXPECT_SAME_FLOAT(Atan(-kInf), -kHalfPi);
    EXPECT_SAME_FLOAT(Atan(0.0f), 0.0f);
    EXPECT_SAME_FLOAT(Atan(-0.0f), -0.0f);
    EXPECT_TRUE(std::isnan(Atan(kNaN)));
    EXPECT_SAME_FLOAT(Atan(kMax), kHalfPi);
    EXPECT_SAME_FLOAT(Atan(1.0f), kQuarterPi);
}

TEST(FloatMathSpecial, Atan2OfZerosAndInfinities)
{
    struct Case {
        float y, x, want;
    };
    const Case cases[] = {
        {0.0f, -0.0f, kPi},          {-0.0f, -0.0f, -kPi},        {0.0f, 0.0f, 0.0f},
        {-0.0f, 0.0f, -0.0f},        {0.0f, -3.0f, kPi},          {-0.0f, -3.0f, -kPi},
        {0.0f, 3.0f, 0.0f},          {-0.0f, 3.0f, -0.0f},        {-2.0f, 0.0f, -kHalfPi},
        {-2.0f, -0.0f, -kHalfPi},    {2.0f, 0.0f, kHalfPi},       {2.0f, -0.0f, kHalfPi},
        {2.0f, -kInf, kPi},          {-2.0f, -kInf, -kPi},        {2.0f, kInf, 0.0f},
        {-2.0f, kInf, -0.0f},        {kInf, 5.0f, kHalfPi},       {-kInf, -5.0f, -kHalfPi},
        {kInf, -kInf, kThreeQuarterPi}, {-kInf, -kInf, -kThreeQuarterPi},
        {kInf, kInf, kQuarterPi},    {-kInf, kInf, -kQuarterPi},  {0.0f, kInf, 0.0f},
        {-0.0f, -kInf, -kPi},        {kInf, 0.0f, kHalfPi},       {1.0f, 1.0f, kQuarterPi},
        {-1.0f, -1.0f, -kThreeQuarterPi},
    };
    for (const Case& c : cases) {
        EXPECT_SAME_FLOAT(Atan2(c.y, c.x), c.want) << "atan2(" << c.y << ", " << c.x << ")";
    }
    EXPECT_TRUE(std::isnan(Atan2(kNaN, 1.0f)));
    EXPECT_TRUE(std::isnan(Atan2(1.0f, kNaN)));
    EXPECT_TRUE(std::isnan(Atan2(kInf, kNaN)));
}

TEST(FloatMathSpecial, ExpLimitsAndOverflow)
{
    EXPECT_SAME_FLOAT(Exp(0.0f), 1.0f);
    EXPECT_SAME_FLOAT(Exp(-0.0f), 1.0f);
    EXPECT_SAME_FLOAT(Exp(kInf), kInf);
    EXPECT_SAME_FLOAT(Exp(-kInf), 0.0f);
    EXPECT_TRUE(std::isnan(Exp(kNaN)));
    // ln(largest float) is 88.7228391; the float above it already overflows.
    EXPECT_TRUE(std::isfinite(Exp(88.72283f)));
    EXPECT_GT(Exp(88.72283f), 0x1.fffp+127f);
    EXPECT_SAME_FLOAT(Exp(88.7228394f), kInf);
    EXPECT_SAME_FLOAT(Exp(100.0f), kInf);
    EXPECT_SAME_FLOAT(Exp(kMax), kInf);
    // exp(-103.972) is half the smallest subnormal: below it, zero.
    EXPECT_SAME_FLOAT(Exp(-103.2789f), kMinSubnormal);
    EXPECT_SAME_FLOAT(Exp(-103.98f), 0.0f);
    EXPECT_SAME_FLOAT(Exp(-kMax), 0.0f);
}

TEST(FloatMathSpecial, PowZeroExponentAndUnitBaseWinOverNaN)
{
    for (float x : {kNaN, -kNaN, kInf, -kInf, 0.0f, -0.0f, -3.5f, 2.0f, kMinSubnormal}) {
        EXPECT_SAME_FLOAT(Pow(x, 0.0f), 1.0f) << x;
        EXPECT_SAME_FLOAT(Pow(x, -0.0f), 1.0f) << x;
    }
    for (float y : {kNaN, -kNaN, kInf, -kInf, 0.5f, -7.0f, kMax}) {
        EXPECT_SAME_FLOAT(Pow(1.0f, y), 1.0f) << y;
    }
    EXPECT_SAME_FLOAT(Pow(-1.0f, kInf), 1.0f);
    EXPECT_SAME_FLOAT(Pow(-1.0f, -kInf), 1.0f);
    EXPECT_TRUE(std::isnan(Pow(kNaN, 1.0f)));
    EXPECT_TRUE(std::isnan(Pow(2.0f, kNaN)));
    EXPECT_TRUE(std::isnan(Pow(-1.0f, kNaN)));
}

TEST(FloatMathSpecial, PowOfZeroFollowsTheExponentsParity)
{
    EXPECT_SAME_FLOAT(Pow(0.0f, -3.0f), kInf);
    EXPECT_SAME_FLOAT(Pow(-0.0f, -3.0f), -kInf);
    EXPECT_SAME_FLOAT(Pow(-0.0f, -kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(0.0f, -kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(-0.0f, -2.0f), kInf);
    EXPECT_SAME_FLOAT(Pow(-0.0f, -0.5f), kInf);
    EXPECT_SAME_FLOAT(Pow(-0.0f, -kMax), kInf);
    EXPECT_SAME_FLOAT(Pow(0.0f, 3.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.0f, 3.0f), -0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.0f, 4.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.0f, 0.5f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.0f, kInf), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.0f, 0x1p24f + 2.0f), 0.0f);  // large floats are even integers
    EXPECT_SAME_FLOAT(Pow(-0.0f, 0x1p24f - 1.0f), -0.0f); // the largest odd one
}

TEST(FloatMathSpecial, PowOfInfiniteArguments)
{
    EXPECT_SAME_FLOAT(Pow(0.5f, -kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(-0.5f, -kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(2.0f, -kInf), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-2.0f, -kInf), 0.0f);
    EXPECT_SAME_FLOAT(Pow(0.5f, kInf), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-0.5f, kInf), 0.0f);
    EXPECT_SAME_FLOAT(Pow(2.0f, kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(-kMax, kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(-kInf, -3.0f), -0.0f);
    EXPECT_SAME_FLOAT(Pow(-kInf, -2.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-kInf, -0.5f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(-kInf, 3.0f), -kInf);
    EXPECT_SAME_FLOAT(Pow(-kInf, 2.0f), kInf);
    EXPECT_SAME_FLOAT(Pow(-kInf, 0.5f), kInf);
    EXPECT_SAME_FLOAT(Pow(kInf, -0.5f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(kInf, 0.5f), kInf);
    EXPECT_SAME_FLOAT(Pow(kInf, kInf), kInf);
    EXPECT_SAME_FLOAT(Pow(kInf, -kInf), 0.0f);
}

TEST(FloatMathSpecial, PowOfNegativeBases)
{
    EXPECT_TRUE(std::isnan(Pow(-2.0f, 0.5f)));
    EXPECT_TRUE(std::isnan(Pow(-kMinSubnormal, 1.5f)));
    EXPECT_SAME_FLOAT(Pow(-2.0f, 3.0f), -8.0f);
    EXPECT_SAME_FLOAT(Pow(-2.0f, 2.0f), 4.0f);
    EXPECT_SAME_FLOAT(Pow(-2.0f, -1.0f), -0.5f);
    EXPECT_SAME_FLOAT(Pow(-1.0f, 0x1p30f), 1.0f);
    EXPECT_SAME_FLOAT(Pow(-1.0f, 0x1p24f - 1.0f), -1.0f);
    EXPECT_SAME_FLOAT(Pow(-3.0f, 0x1p25f), kInf);
    EXPECT_SAME_FLOAT(Pow(-3.0f, 101.0f), -kInf);
    EXPECT_SAME_FLOAT(Pow(-3.0f, -101.0f), -0.0f);
    EXPECT_SAME_FLOAT(Pow(-3.0f, -100.0f), 0.0f);
}

TEST(FloatMathSpecial, PowOverflowsAndUnderflowsWithRounding)
{
    EXPECT_SAME_FLOAT(Pow(2.0f, 128.0f), kInf);
    EXPECT_SAME_FLOAT(Pow(2.0f, 127.0f), 0x1p127f);
    EXPECT_SAME_FLOAT(Pow(kMax, 1.0f), kMax);
    EXPECT_SAME_FLOAT(Pow(kMax, 1.0000001f), kInf);
    EXPECT_SAME_FLOAT(Pow(2.0f, -149.0f), kMinSubnormal);
    // 2^-150 is the midpoint between zero and the smallest subnormal: the tie goes to zero.
    EXPECT_SAME_FLOAT(Pow(2.0f, -150.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(0.5f, 150.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(0x1p-75f, 2.0f), 0.0f);
    // (3 * 2^-75)^2 = 4.5 subnormal steps and (5 * 2^-75)^2 = 12.5: the ties go to even.
    EXPECT_SAME_FLOAT(Pow(0x1.8p-74f, 2.0f), 0x1p-147f);
    EXPECT_SAME_FLOAT(Pow(0x1.4p-73f, 2.0f), 0x1.8p-146f);
    EXPECT_SAME_FLOAT(Pow(kMinSubnormal, 0.5f), 0x1.6a09e6p-75f);
    EXPECT_SAME_FLOAT(Pow(10.0f, -46.0f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(10.0f, 39.0f), kInf);
}

} // namespace
} // namespace veldmark
