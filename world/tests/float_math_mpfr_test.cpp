// The correctly rounded float functions against MPFR: every special value and pairs of them,
// a few million seeded random inputs per function over all floats and over the ranges where
// rounding is hard, a dense sample of pow(x, 0.7) on [0, 1], and the accurate paths' error
// against MPFR at 200 bits. scripts/check-float-math runs the exhaustive version.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "world/float_math.h"
#include "world/float_math_kernels.h"
#include "world/tests/float_math_mpfr.h"

#ifndef VELDMARK_FLOAT_MATH_SAMPLE_DIVISOR
#define VELDMARK_FLOAT_MATH_SAMPLE_DIVISOR 1
#endif

namespace veldmark {
namespace {

using testing::MpfrBinary;
using testing::MpfrUnary;
using testing::Reference;
using testing::SameFloat;

// Sanitized builds run a fraction of the random inputs.
constexpr int Samples(int count) { return count / VELDMARK_FLOAT_MATH_SAMPLE_DIVISOR; }

constexpr int kListedMismatches = 5;
constexpr float kInf = std::numeric_limits<float>::infinity();

float FromBits(std::uint32_t b) { return std::bit_cast<float>(b); }

class FloatMathMpfr : public ::testing::Test {
protected:
    void SetUp() override { testing::UseFloatExponentRange(); }
};

// Counts mismatches and reports the first few.
struct Mismatches {
    int count = 0;
    void Check(const char* name, float x, float y, bool binary, float ours, float want)
    {
        if (SameFloat(ours, want)) return;
        if (++count <= kListedMismatches) {
            ADD_FAILURE() << name << "(" << std::hexfloat << x << (binary ? ", " : "")
                          << (binary ? std::to_string(y) : std::string()) << ") = " << ours << ", MPFR says " << want;
        }
    }
};

struct Unary {
    const char* name;
    float (*ours)(float);
    MpfrUnary mpfr;
};

const Unary kUnary[] = {
    {"sin", Sin, mpfr_sin}, {"cos", Cos, mpfr_cos}, {"tan", Tan, mpfr_tan},
    {"atan", Atan, mpfr_atan}, {"exp", Exp, mpfr_exp},
};

void CheckUnary(const Unary& f, float x, Mismatches& m) { m.Check(f.name, x, 0, false, f.ours(x), Reference(f.mpfr, x)); }

// Zeros, subnormal and normal limits, infinities, NaN, and values next to the points where
// the functions change character.
std::vector<float> SpecialFloats()
{
    const std::vector<float> magnitudes = {
        0.0f, FromBits(1), FromBits(2), FromBits(0x007fffff), FromBits(0x00800000), 0x1p-75f, 0x1p-12f,
        0x1.fffffep-13f, 0x1p-25f, 0.5f, 0.7f, FromBits(0x3f490fda), FromBits(0x3f490fdb), 1.0f,
        FromBits(0x3f7fffff), FromBits(0x3f800001), 1.5f, 2.0f, 3.0f, 0x1.921fb6p+0f, 0x1.921fb6p+1f,
        10.0f, 88.72283f, 88.7228394f, 89.0f, 103.97f, 104.0f, 0x1p23f, 0x1p24f, 0x1p24f + 2.0f,
        16777215.0f, 1e10f, 0x1p64f, 0x1p127f, std::numeric_limits<float>::max(), kInf,
        std::numeric_limits<float>::quiet_NaN(),
    };
    std::vector<float> all;
    for (float v : magnitudes) {
        all.push_back(v);
        all.push_back(-v);
    }
    return all;
}

TEST_F(FloatMathMpfr, SpecialValues)
{
    const std::vector<float> specials = SpecialFloats();
    Mismatches m;
    for (const Unary& f : kUnary) {
        for (float x : specials) CheckUnary(f, x, m);
    }
    for (float x : specials) {
        for (float y : specials) {
            m.Check("atan2", y, x, true, Atan2(y, x), Reference(mpfr_atan2, y, x));
            m.Check("pow", x, y, true, Pow(x, y), Reference(mpfr_pow, x, y));
        }
    }
    EXPECT_EQ(m.count, 0);
}

TEST_F(FloatMathMpfr, OneArgumentFunctionsOnRandomFloats)
{
    std::mt19937 rng(101);
    Mismatches m;
    for (int i = 0; i < Samples(600'000); ++i) {
        const float any = FromBits(static_cast<std::uint32_t>(rng()));
        for (const Unary& f : kUnary) CheckUnary(f, any, m);
    }
    EXPECT_EQ(m.count, 0);
}

TEST_F(FloatMathMpfr, TrigOnHardRanges)
{
    std::mt19937 rng(102);
    std::uniform_real_distribution<float> moderate(-1000.0f, 1000.0f);
    std::uniform_int_distribution<int> multiple(-(1 << 20), 1 << 20);
    std::uniform_int_distribution<int> nudge(-64, 64);
    Mismatches m;
    for (int i = 0; i < Samples(150'000); ++i) {
        // Next to multiples of pi/2, where the reduced argument is small.
        const float near_quarter_turn =
            FromBits(std::bit_cast<std::uint32_t>(static_cast<float>(multiple(rng) * 1.5707963267948966)) +
                     static_cast<std::uint32_t>(nudge(rng)));
        for (float x : {moderate(rng), near_quarter_turn}) {
            for (int f = 0; f < 3; ++f) CheckUnary(kUnary[f], x, m);
        }
    }
    EXPECT_EQ(m.count, 0);
}

TEST_F(FloatMathMpfr, ExpAndAtanOnTheirRanges)
{
    std::mt19937 rng(103);
    std::uniform_real_distribution<float> exp_range(-104.0f, 89.0f);
    std::uniform_real_distribution<float> small(-0.1f, 0.1f);
    std::uniform_real_distribution<float> atan_range(-40.0f, 40.0f);
    Mismatches m;
    for (int i = 0; i < Samples(250'000); ++i) {
        CheckUnary(kUnary[4], exp_range(rng), m);
        CheckUnary(kUnary[4], small(rng), m);
        CheckUnary(kUnary[3], atan_range(rng), m);
        CheckUnary(kUnary[3], small(rng), m);
    }
    EXPECT_EQ(m.count, 0);
}

float Signed(std::mt19937& rng, float v) { return (rng() & 1) ? -v : v; }

float WithExponent(std::mt19937& rng, int exponent)
{
    return FromBits((static_cast<std::uint32_t>(exponent + 127) << 23) | (static_cast<std::uint32_t>(rng()) & 0x7fffff));
}

TEST_F(FloatMathMpfr, Atan2OnRandomPairs)
{
    std::mt19937 rng(104);
    std::uniform_int_distribution<int> exponent(-125, 124);
    std::uniform_real_distribution<float> moderate(-10.0f, 10.0f);
    Mismatches m;
    auto check = [&](float y, float x) { m.Check("atan2", y, x, true, Atan2(y, x), Reference(mpfr_atan2, y, x)); };
    for (int i = 0; i < Samples(300'000); ++i) {
        check(FromBits(static_cast<std::uint32_t>(rng())), FromBits(static_cast<std::uint32_t>(rng())));
        const int e = exponent(rng);
        check(Signed(rng, WithExponent(rng, e)), Signed(rng, WithExponent(rng, e + static_cast<int>(rng() % 3) - 1)));
        check(moderate(rng), moderate(rng));
        // Subnormal results, and results next to pi.
        check(Signed(rng, FromBits(static_cast<std::uint32_t>(rng()) & 0x00ffffff)), WithExponent(rng, static_cast<int>(rng() % 30)));
        check(Signed(rng, WithExponent(rng, e / 2 - 40)), -WithExponent(rng, e / 2));
    }
    EXPECT_EQ(m.count, 0);
}

TEST_F(FloatMathMpfr, PowOnRandomPairs)
{
    std::mt19937 rng(105);
    std::uniform_real_distribution<float> base(0.0f, 4.0f);
    std::uniform_real_distribution<float> power(-60.0f, 60.0f);
    std::uniform_real_distribution<double> target_log2(-152.0, 130.0);
    Mismatches m;
    auto check = [&](float x, float y) { m.Check("pow", x, y, true, Pow(x, y), Reference(mpfr_pow, x, y)); };
    for (int i = 0; i < Samples(300'000); ++i) {
        check(FromBits(static_cast<std::uint32_t>(rng())), FromBits(static_cast<std::uint32_t>(rng())));
        check(base(rng), power(rng));
        // Results over the whole range, subnormals and overflow included.
        const float x = FromBits(static_cast<std::uint32_t>(rng()) & 0x7fffffff);
        const auto y = static_cast<float>(target_log2(rng) / std::log2(static_cast<double>(x)));
        if (std::isfinite(y)) check(Signed(rng, x), y);
        // Bases next to 1 with large exponents, and tiny exponents (results next to 1).
        const float near_one = 1.0f + std::ldexp(std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng),
                                                 -static_cast<int>(rng() % 24));
        check(near_one, Signed(rng, WithExponent(rng, static_cast<int>(rng() % 36))));
        check(x, Signed(rng, WithExponent(rng, -static_cast<int>(20 + rng() % 100))));
        // Small integer exponents on bases with few bits, where results are exact or midpoints.
        const auto odd = static_cast<float>(1 + 2 * (rng() % 4096));
        check(Signed(rng, std::ldexp(odd, static_cast<int>(rng() % 200) - 110)), static_cast<float>(static_cast<int>(rng() % 31) - 15));
    }
    EXPECT_EQ(m.count, 0);
}

TEST_F(FloatMathMpfr, PowSevenTenthsOnUnitInterval)
{
    // Every 1024th float of [0, 1] (the exhaustive check takes them all), and the ends.
    constexpr std::uint32_t kOne = 0x3f800000;
    const std::uint32_t stride = 1024 * VELDMARK_FLOAT_MATH_SAMPLE_DIVISOR;
    Mismatches m;
    for (std::uint32_t b = 0; b <= kOne; b += stride) {
        const float x = FromBits(b);
        m.Check("pow", x, 0.7f, true, Pow(x, 0.7f), Reference(mpfr_pow, x, 0.7f));
    }
    m.Check("pow", 1.0f, 0.7f, true, Pow(1.0f, 0.7f), Reference(mpfr_pow, 1.0f, 0.7f));
    m.Check("pow", FromBits(kOne - 1), 0.7f, true, Pow(FromBits(kOne - 1), 0.7f), Reference(mpfr_pow, FromBits(kOne - 1), 0.7f));
    EXPECT_EQ(m.count, 0);
}

// The accurate paths against MPFR at 200 bits: their error must stay below the bound the
// final rounding test assumes.
struct Precise {
    mpfr_t a, b, r, d;
    Precise()
    {
        mpfr_inits2(200, a, b, r, d, static_cast<mpfr_ptr>(nullptr));
    }
    ~Precise() { mpfr_clears(a, b, r, d, static_cast<mpfr_ptr>(nullptr)); }
    Precise(const Precise&) = delete;
    Precise& operator=(const Precise&) = delete;

    // |(hi + lo) - r| / |r|, as a double.
    double RelativeError(float_math::DoubleDouble v)
    {
        mpfr_set_d(d, v.hi, MPFR_RNDN);
        mpfr_add_d(d, d, v.lo, MPFR_RNDN);
        mpfr_sub(d, d, r, MPFR_RNDN);
        mpfr_div(d, d, r, MPFR_RNDN);
        return std::fabs(mpfr_get_d(d, MPFR_RNDN));
    }
};

TEST_F(FloatMathMpfr, AccuratePathsStayWithinTheirBound)
{
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
    std::mt19937 rng(106);
    Precise p;
    double worst = 0;
    auto note = [&](float_math::DoubleDouble v) {
        const double e = p.RelativeError(v);
        if (e > worst) worst = e;
    };
    std::uniform_real_distribution<float> exp_range(-104.0f, 89.0f);
    std::uniform_real_distribution<double> target_log2(-150.0, 128.0);
    for (int i = 0; i < Samples(20'000); ++i) {
        float x = FromBits(static_cast<std::uint32_t>(rng()) & 0x7f7fffff);
        if (x < 0x1p-12f) x = 0.5f;
        x = Signed(rng, x);
        mpfr_set_flt(p.a, x, MPFR_RNDN);
        mpfr_sin(p.r, p.a, MPFR_RNDN);
        note(float_math::TrigAccurate(x, float_math::TrigKind::kSin));
        mpfr_cos(p.r, p.a, MPFR_RNDN);
        note(float_math::TrigAccurate(x, float_math::TrigKind::kCos));
        mpfr_tan(p.r, p.a, MPFR_RNDN);
        note(float_math::TrigAccurate(x, float_math::TrigKind::kTan));

        const float ay = FromBits(1 + (static_cast<std::uint32_t>(rng()) % 0x7f7fffff));
        const float ax = FromBits(1 + (static_cast<std::uint32_t>(rng()) % 0x7f7fffff));
        const bool x_negative = (rng() & 1) != 0;
        mpfr_set_flt(p.a, ay, MPFR_RNDN);
        mpfr_set_flt(p.b, x_negative ? -ax : ax, MPFR_RNDN);
        mpfr_atan2(p.r, p.a, p.b, MPFR_RNDN);
        note(float_math::AtanQuotientAccurate(ay, ax, x_negative));

        const float e = exp_range(rng);
        mpfr_set_flt(p.a, e, MPFR_RNDN);
        mpfr_exp(p.r, p.a, MPFR_RNDN);
        note(float_math::ExpAccurate(e));

        const float base = FromBits(1 + (static_cast<std::uint32_t>(rng()) % 0x7f7fffff));
        const auto y = static_cast<float>(target_log2(rng) / std::log2(static_cast<double>(base)));
        if (base != 1.0f && std::isfinite(y) && y != 0) {
            mpfr_set_flt(p.a, base, MPFR_RNDN);
            mpfr_set_flt(p.b, y, MPFR_RNDN);
            mpfr_pow(p.r, p.a, p.b, MPFR_RNDN);
            note(float_math::PowAccurate(base, y));
        }
    }
    std::printf("  accurate paths: error up to 2^%.2f of the result, bound 2^%.0f\n", std::log2(worst),
                std::log2(float_math::kAccurateRelError));
    EXPECT_LT(worst, float_math::kAccurateRelError / 16);
}

} // namespace
} // namespace veldmark
