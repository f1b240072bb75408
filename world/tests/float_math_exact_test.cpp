// Checks of the correctly rounded float functions that need no reference library: pow against
// IEEE operations that are correctly rounded themselves (x*x, 1/x, sqrt x), the two rounding
// tests on values placed at and around rounding boundaries, and each fast path's error against
// its stated bound, measured with the accurate path on seeded random inputs.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>

#include "world/float_math.h"
#include "world/float_math_kernels.h"

namespace veldmark {
namespace {

using float_math::AccurateRounding;
using float_math::Approximation;
using float_math::DoubleDouble;

std::uint32_t Bits(float v) { return std::bit_cast<std::uint32_t>(v); }
float FromBits(std::uint32_t b) { return std::bit_cast<float>(b); }

#define EXPECT_SAME_FLOAT(actual, expected) EXPECT_EQ(Bits(actual), Bits(expected)) << (actual) << " vs " << (expected)

constexpr int kRandomInputs = 100'000;

// Any positive finite float, every bit pattern equally likely.
float AnyPositive(std::mt19937& rng)
{
    for (;;) {
        const float x = FromBits(static_cast<std::uint32_t>(rng()) & 0x7fffffffu);
        if (std::isfinite(x) && x != 0) return x;
    }
}

TEST(FloatMathExact, PowMatchesCorrectlyRoundedOperations)
{
    std::mt19937 rng(7);
    for (int i = 0; i < kRandomInputs; ++i) {
        const float x = AnyPositive(rng);
        EXPECT_SAME_FLOAT(Pow(x, 1.0f), x);
        EXPECT_SAME_FLOAT(Pow(x, 2.0f), x * x);
        EXPECT_SAME_FLOAT(Pow(-x, 2.0f), x * x);
        EXPECT_SAME_FLOAT(Pow(-x, 1.0f), -x);
        EXPECT_SAME_FLOAT(Pow(x, -1.0f), 1.0f / x);
        EXPECT_SAME_FLOAT(Pow(x, 0.5f), std::sqrt(x));
        // With at most 17 significant bits, x^3 is exact in double and rounds once to float.
        const float short_x = FromBits(Bits(x) & 0xffffffc0u);
        const double cube = static_cast<double>(short_x) * static_cast<double>(short_x) * static_cast<double>(short_x);
        EXPECT_SAME_FLOAT(Pow(short_x, 3.0f), static_cast<float>(cube));
        EXPECT_SAME_FLOAT(Pow(-short_x, 3.0f), -static_cast<float>(cube));
    }
}

TEST(FloatMathExact, PowFindsExactResultsAndMidpoints)
{
    EXPECT_SAME_FLOAT(Pow(4.0f, 0.5f), 2.0f);
    EXPECT_SAME_FLOAT(Pow(4.0f, 1.5f), 8.0f);
    EXPECT_SAME_FLOAT(Pow(4.0f, -0.5f), 0.5f);
    EXPECT_SAME_FLOAT(Pow(8.0f, 1.0f / 3.0f), 2.0f);  // 1/3 rounds up: 2 + 2^-24.5 rounds to 2
    EXPECT_SAME_FLOAT(Pow(81.0f, 0.25f), 3.0f);
    EXPECT_SAME_FLOAT(Pow(81.0f, 0.75f), 27.0f);
    EXPECT_SAME_FLOAT(Pow(6561.0f, 0.125f), 3.0f);
    EXPECT_SAME_FLOAT(Pow(0x1p-140f, 0.25f), 0x1p-35f);
    EXPECT_SAME_FLOAT(Pow(0x1p100f, -1.25f), 0x1p-125f);
    EXPECT_SAME_FLOAT(Pow(3.0f, 15.0f), 14348907.0f);
    // 3^16 = 43046721 has 26 bits: a midpoint at 2^25 scale would need 25; it rounds to even.
    EXPECT_SAME_FLOAT(Pow(3.0f, 16.0f), static_cast<float>(43046721.0));
    // 4097^2 = 16785409 = 2^24 + 8193: exactly halfway between two floats; the tie goes to even.
    EXPECT_SAME_FLOAT(Pow(4097.0f, 2.0f), 16785408.0f);
    EXPECT_SAME_FLOAT(Pow(4099.0f, 2.0f), static_cast<float>(4099.0 * 4099.0));
    // 2^-150 from a fractional exponent is a tie too; 2^-148.5 is 1.41 subnormal steps.
    EXPECT_SAME_FLOAT(Pow(0x1p-100f, 1.5f), 0.0f);
    EXPECT_SAME_FLOAT(Pow(0x1p-99f, 1.5f), FromBits(1u));
}

// Values at, just above and just below the midpoint between two floats.
TEST(FloatMathExact, AccurateRoundingDecidesAroundMidpoints)
{
    const double one_and_half_ulp = 1.0 + 0x1p-24;  // midpoint between 1 and 1 + 2^-23
    AccurateRounding r = float_math::RoundDoubleDouble({one_and_half_ulp, 0x1p-80}, 0x1p-90);
    EXPECT_TRUE(r.decided);
    EXPECT_SAME_FLOAT(r.value, 1.0f + 0x1p-23f);
    r = float_math::RoundDoubleDouble({one_and_half_ulp, -0x1p-80}, 0x1p-90);
    EXPECT_TRUE(r.decided);
    EXPECT_SAME_FLOAT(r.value, 1.0f);
    r = float_math::RoundDoubleDouble({one_and_half_ulp, 0x1p-95}, 0x1p-90);
    EXPECT_FALSE(r.decided);
    EXPECT_EQ(r.midpoint, one_and_half_ulp);
    r = float_math::RoundDoubleDouble({-one_and_half_ulp, -0x1p-80}, 0x1p-90);
    EXPECT_TRUE(r.decided);
    EXPECT_SAME_FLOAT(r.value, -(1.0f + 0x1p-23f));

    // Below a power of two the floats are twice as dense.
    const double below_one = 1.0 - 0x1p-25;
    r = float_math::RoundDoubleDouble({below_one, 0x1p-85}, 0x1p-90);
    EXPECT_SAME_FLOAT(r.value, 1.0f);
    r = float_math::RoundDoubleDouble({below_one, -0x1p-85}, 0x1p-90);
    EXPECT_SAME_FLOAT(r.value, FromBits(0x3f7fffffu));
    r = float_math::RoundDoubleDouble({1.0, -0x1p-85}, 0x1p-90);
    EXPECT_TRUE(r.decided);
    EXPECT_SAME_FLOAT(r.value, 1.0f);

    // Overflow: above largest + half an ulp the result is infinite.
    const double overflow_midpoint = 0x1p128 - 0x1p103;
    r = float_math::RoundDoubleDouble({overflow_midpoint, 0x1p30}, 0x1p20);
    EXPECT_SAME_FLOAT(r.value, std::numeric_limits<float>::infinity());
    r = float_math::RoundDoubleDouble({overflow_midpoint, -0x1p30}, 0x1p20);
    EXPECT_SAME_FLOAT(r.value, std::numeric_limits<float>::max());
    r = float_math::RoundDoubleDouble({0x1p129, 0.0}, 0x1p30);
    EXPECT_SAME_FLOAT(r.value, std::numeric_limits<float>::infinity());

    // Underflow: 2^-150 is the midpoint between zero and the smallest subnormal.
    r = float_math::RoundDoubleDouble({0x1p-150, 0x1p-200}, 0x1p-240);
    EXPECT_SAME_FLOAT(r.value, FromBits(1u));
    r = float_math::RoundDoubleDouble({0x1p-150, -0x1p-200}, 0x1p-240);
    EXPECT_SAME_FLOAT(r.value, 0.0f);
    r = float_math::RoundDoubleDouble({0x1p-152, 0.0}, 0x1p-240);
    EXPECT_TRUE(r.decided);
    EXPECT_SAME_FLOAT(r.value, 0.0f);
    r = float_math::RoundDoubleDouble({0x1.8p-149, 0x1p-210}, 0x1p-240);  // 1.5 steps
    EXPECT_SAME_FLOAT(r.value, FromBits(2u));
}

TEST(FloatMathExact, FastRoundingRefusesIntervalsOverAMidpoint)
{
    float out = 0;
    EXPECT_FALSE(float_math::RoundIfDecided(1.0 + 0x1p-24, 0x1p-50, out));
    EXPECT_TRUE(float_math::RoundIfDecided(1.0 + 0x1p-24 + 0x1p-45, 0x1p-50, out));
    EXPECT_SAME_FLOAT(out, 1.0f + 0x1p-23f);
    EXPECT_TRUE(float_math::RoundIfDecided(-(1.0 + 0x1p-24 - 0x1p-45), 0x1p-50, out));
    EXPECT_SAME_FLOAT(out, -1.0f);
    EXPECT_FALSE(float_math::RoundIfDecided(0x1p-150, 0x1p-50, out));
    EXPECT_TRUE(float_math::RoundIfDecided(0x1.1p-150, 0x1p-50, out));
    EXPECT_SAME_FLOAT(out, FromBits(1u));
}

// The largest relative difference between a fast result and the accurate one.
struct ErrorRecord {
    double worst = 0;
    double bound = 0;
};

void Note(ErrorRecord& record, const Approximation& fast, const DoubleDouble& accurate)
{
    if (!std::isfinite(fast.value) || accurate.hi == 0) return;
    const double error = std::fabs((fast.value - accurate.hi) - accurate.lo) / std::fabs(accurate.hi);
    if (error > record.worst) record.worst = error;
    record.bound = fast.rel_error;
}

// The stated bounds carry a margin of at least four over the analysis: an observed error
// beyond a quarter of the bound means the analysis is wrong.
void ExpectWithinBound(const char* name, const ErrorRecord& record)
{
    std::printf("  %s: fast path error up to 2^%.2f of the result, bound 2^%.0f\n", name, std::log2(record.worst),
                std::log2(record.bound));
    EXPECT_LT(record.worst, record.bound / 4) << name;
}

TEST(FloatMathExact, FastPathsStayWithinTheirBounds)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> moderate(-20.0f, 20.0f);
    std::uniform_int_distribution<int> multiple(-(1 << 20), 1 << 20);
    std::uniform_int_distribution<int> nudge(-64, 64);
    ErrorRecord sin, cos, tan, atan2, exp, pow, pow_near_one;
    for (int i = 0; i < kRandomInputs; ++i) {
        const float any = AnyPositive(rng) * ((rng() & 1) ? 1.0f : -1.0f);
        // Next to multiples of pi/2, where the remainder is small.
        const float near_quarter_turn =
            FromBits(Bits(static_cast<float>(multiple(rng) * 1.5707963267948966)) + static_cast<std::uint32_t>(nudge(rng)));
        for (const float x : {any, moderate(rng), near_quarter_turn}) {
            if (std::fabs(x) < 0x1p-12f) continue;
            Note(sin, float_math::TrigFast(x, float_math::TrigKind::kSin),
                 float_math::TrigAccurate(x, float_math::TrigKind::kSin));
            Note(cos, float_math::TrigFast(x, float_math::TrigKind::kCos),
                 float_math::TrigAccurate(x, float_math::TrigKind::kCos));
            Note(tan, float_math::TrigFast(x, float_math::TrigKind::kTan),
                 float_math::TrigAccurate(x, float_math::TrigKind::kTan));
        }
        const float ay = AnyPositive(rng), ax = AnyPositive(rng);
        const bool x_negative = (rng() & 1) != 0;
        Note(atan2, float_math::AtanQuotientFast(ay, ax, x_negative),
             float_math::AtanQuotientAccurate(ay, ax, x_negative));
        const float e = std::uniform_real_distribution<float>(-103.9f, 88.7f)(rng);
        Note(exp, float_math::ExpFast(e), float_math::ExpAccurate(e));

        // pow with y log2 x spread over the whole range of floats.
        const float base = AnyPositive(rng);
        const double target = std::uniform_real_distribution<double>(-150.0, 128.0)(rng);
        const auto y = static_cast<float>(target / std::log2(static_cast<double>(base)));
        if (std::isfinite(y) && y != 0) Note(pow, float_math::PowFast(base, y), float_math::PowAccurate(base, y));
        // Bases next to 1, where log2 is smallest and the exponent largest.
        const float near_one = 1.0f + std::ldexp(std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng),
                                                 -static_cast<int>(rng() % 24));
        const auto y1 = static_cast<float>(target / std::log2(static_cast<double>(near_one)));
        if (near_one != 1.0f && std::isfinite(y1) && y1 != 0) {
            Note(pow_near_one, float_math::PowFast(near_one, y1), float_math::PowAccurate(near_one, y1));
        }
    }
    ExpectWithinBound("sin", sin);
    ExpectWithinBound("cos", cos);
    ExpectWithinBound("tan", tan);
    ExpectWithinBound("atan2", atan2);
    ExpectWithinBound("exp", exp);
    ExpectWithinBound("pow", pow);
    ExpectWithinBound("pow near 1", pow_near_one);
}

} // namespace
} // namespace veldmark

namespace veldmark {
namespace {

// A hash of the functions' results on a seeded sample, recorded from g++ and clang++ (at -O0
// and -O2) and the mingw-w64 build under Wine, which all agree: a compiler, flag or platform
// that computes different bits fails here.
TEST(FloatMathDeterminism, SeededSampleHasTheRecordedHash)
{
    constexpr std::uint64_t kRecordedHash = 0xc5a1b5f211578136u;
    constexpr int kSampleSize = 1'000'000;
    std::uint64_t hash = 1469598103934665603u;  // FNV-1a over the results' bits
    auto mix = [&hash](float v) { hash = (hash ^ Bits(v)) * 1099511628211u; };
    std::uint64_t s = 12345;
    for (int i = 0; i < kSampleSize; ++i) {
        s = s * 6364136223846793005u + 1442695040888963407u;
        const float a = FromBits(static_cast<std::uint32_t>(s >> 32));
        const float b = FromBits(static_cast<std::uint32_t>(s));
        const float m = static_cast<float>(static_cast<std::int32_t>(s >> 40)) * 1e-5f;
        const float n = static_cast<float>(static_cast<std::int32_t>(s & 0xffffff) - 0x800000) * 1e-5f;
        mix(Sin(a));
        mix(Cos(m));
        mix(Tan(b));
        mix(Atan(a));
        mix(Exp(n * 0.01f));
        mix(Atan2(m, n));
        mix(Pow(a, b));
        mix(Pow(m < 0 ? -m : m, n));
        mix(Pow(static_cast<float>(s >> 40) * 0x1p-24f, 0.7f));
    }
    EXPECT_EQ(hash, kRecordedHash) << std::hex << hash;
}

} // namespace
} // namespace veldmark
