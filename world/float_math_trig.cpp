// Correctly rounded sin, cos and tan. The argument is reduced exactly to a whole number of
// quarter turns (pi/2) plus a remainder, by multiplying its integer significand with the bits
// of 2/pi that matter for its exponent (Payne and Hanek), which keeps the remainder accurate
// up to the largest float. The remainder's sine and cosine come from Taylor polynomials in
// double, or from double-double series when the fast result is too close to call.
#include <cstdint>

#include "world/bit_cast.h"
#include "world/float_math.h"
#include "world/float_math_kernels.h"
#include "world/float_math_tables.h"

namespace veldmark::float_math {
namespace {

// Below this, sin x and tan x round to x and cos x to 1: x^3/3 and x^2/2 are below half an ulp.
constexpr std::uint32_t kTinyBits = 0x39800000;        // 2^-12
// Up to here |x| < pi/4 and x is its own remainder.
constexpr std::uint32_t kNoReductionBits = 0x3f490fda;  // the float below pi/4
// Below this (2^15), k pi/2 is subtracted in double; from here on exactly, in integers.
constexpr std::uint32_t kModerateBits = 0x47000000;
constexpr std::uint32_t kInfinityBits = 0x7f800000;

// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 to the nearest integer.
constexpr double kRoundShift = 0x1.8p52;
double NearestInteger(double v) { return (v + kRoundShift) - kRoundShift; }

// Fast path error: the remainder is within 2^-50.5 of its value relative to it (the
// fraction's three roundings, pi/2's and the product's), the polynomials add 2^-51 and tan's
// division doubles it at most; 2^-47 leaves room on top.
constexpr double kTrigRelError = 0x1p-47;

// A float's value as a fraction of quarter turns: x = (quadrant + fraction) pi/2, with the
// quadrant mod 4 and |fraction| <= 1/2 held as a sign and a magnitude of 190 bits: enough
// that the bits of 2/pi left out (below 2^-166) stay far below the double-double's 106 bits
// of even the smallest fraction a float comes to (about 2^-30).
constexpr int kLimbs = 6;

struct QuarterTurns {
    unsigned quadrant;
    bool negative;
    std::uint32_t limbs[kLimbs];  // the magnitude times 2^190, most significant limb first
};

constexpr int kExponentBias = 150;  // x = significand * 2^(biased exponent - 150)

QuarterTurns ToQuarterTurns(std::uint32_t abs_bits)
{
    const std::uint32_t significand = (abs_bits & 0x007fffffu) | 0x00800000u;
    const int e = static_cast<int>(abs_bits >> 23) - kExponentBias;
    // Bits of 2/pi with weight 2^-i for i <= e - 2 make x times them a multiple of four
    // quarter turns, and drop out; the window takes the next 192, from i = e - 1. Bit i sits at
    // position i + 31 of the table, whose first word stands for the bits before the point.
    const int position = e + 30;
    const int word = position >> 5;
    const int shift = position & 31;
    std::uint32_t window[kLimbs];
    for (int k = 0; k < kLimbs; ++k) {
        const std::uint32_t high = kTwoOverPiWords[word + k];
        const std::uint32_t low = kTwoOverPiWords[word + k + 1];
        window[k] = shift == 0 ? high : (high << shift) | (low >> (32 - shift));
    }
    // significand * window mod 2^192: the top two bits are the quadrant, the rest the fraction.
    std::uint32_t product[kLimbs];
    std::uint64_t carry = 0;
    for (int k = kLimbs - 1; k >= 0; --k) {
        const std::uint64_t t = std::uint64_t{significand} * window[k] + carry;
        product[k] = static_cast<std::uint32_t>(t);
        carry = t >> 32;
    }
    QuarterTurns out{product[0] >> 30, false, {}};
    for (int k = 0; k < kLimbs; ++k) out.limbs[k] = product[k];
    out.limbs[0] &= 0x3fffffffu;
    if (out.limbs[0] & 0x20000000u) {
        // A fraction of a half or more belongs to the next quadrant: take 1 - fraction.
        out.quadrant = (out.quadrant + 1) & 3;
        out.negative = true;
        std::uint64_t borrow = 1;
        for (int k = kLimbs - 1; k >= 0; --k) {
            const std::uint64_t t = std::uint64_t{~out.limbs[k]} + borrow;
            out.limbs[k] = static_cast<std::uint32_t>(t);
            borrow = t >> 32;
        }
        out.limbs[0] &= 0x3fffffffu;
    }
    return out;
}

constexpr double kLimb = 0x1p32;
constexpr double kFractionScale = 0x1p-190;

// The remainder in radians, to within 2^-50.5 of itself. Past the fourth limb the fraction's
// bits are below its rounding for every float.
double RemainderFast(const QuarterTurns& t)
{
    double f = static_cast<double>(t.limbs[0]) * kLimb + static_cast<double>(t.limbs[1]);
    f = f * kLimb + static_cast<double>(t.limbs[2]);
    f = f * kLimb + static_cast<double>(t.limbs[3]);
    const double r = f * (kFractionScale * kLimb * kLimb) * kHalfPi.hi;
    return t.negative ? -r : r;
}

DoubleDouble RemainderAccurate(const QuarterTurns& t)
{
    DoubleDouble f{static_cast<double>(t.limbs[0]), 0.0};
    for (int k = 1; k < kLimbs; ++k) f = Add(DoubleDouble{f.hi * kLimb, f.lo * kLimb}, static_cast<double>(t.limbs[k]));
    const DoubleDouble r = Multiply(DoubleDouble{f.hi * kFractionScale, f.lo * kFractionScale}, kHalfPi);
    return t.negative ? Negate(r) : r;
}

// Taylor coefficients 1/n!, each the correctly rounded quotient.
constexpr double kInvFactorial2 = 1.0 / 2.0;
constexpr double kInvFactorial3 = 1.0 / 6.0;
constexpr double kInvFactorial4 = 1.0 / 24.0;
constexpr double kInvFactorial5 = 1.0 / 120.0;
constexpr double kInvFactorial6 = 1.0 / 720.0;
constexpr double kInvFactorial7 = 1.0 / 5040.0;
constexpr double kInvFactorial8 = 1.0 / 40320.0;
constexpr double kInvFactorial9 = 1.0 / 362880.0;
constexpr double kInvFactorial10 = 1.0 / 3628800.0;
constexpr double kInvFactorial11 = 1.0 / 39916800.0;
constexpr double kInvFactorial12 = 1.0 / 479001600.0;
constexpr double kInvFactorial13 = 1.0 / 6227020800.0;
constexpr double kInvFactorial14 = 1.0 / 87178291200.0;
constexpr double kInvFactorial15 = 1.0 / 1307674368000.0;
constexpr double kInvFactorial16 = 1.0 / 20922789888000.0;

// sin r for |r| <= pi/4: the series to r^15, whose next term is below 2^-54 of the result.
double SinPolynomial(double r)
{
    const double r2 = r * r;
    const double tail =
        -kInvFactorial3 +
        r2 * (kInvFactorial5 +
              r2 * (-kInvFactorial7 +
                    r2 * (kInvFactorial9 +
                          r2 * (-kInvFactorial11 + r2 * (kInvFactorial13 + r2 * -kInvFactorial15)))));
    return r + r * (r2 * tail);
}

// cos r for |r| <= pi/4: the series to r^16.
double CosPolynomial(double r)
{
    const double r2 = r * r;
    const double tail =
        kInvFactorial4 +
        r2 * (-kInvFactorial6 +
              r2 * (kInvFactorial8 +
                    r2 * (-kInvFactorial10 +
                          r2 * (kInvFactorial12 + r2 * (-kInvFactorial14 + r2 * kInvFactorial16)))));
    return 1.0 - (r2 * kInvFactorial2 - (r2 * r2) * tail);
}

// The series sum over k of (-1)^k r^(2k + first) / (2k + first)!, first 0 (cos) or 1 (sin),
// in double-double, for |r| <= pi/4: terms are added until they drop below 2^-110 of the sum.
DoubleDouble TrigSeries(DoubleDouble r, int first)
{
    constexpr int kMaxTerms = 16;
    constexpr double kNegligible = 0x1p-110;
    const DoubleDouble r2 = Multiply(r, r);
    DoubleDouble term = first == 0 ? DoubleDouble{1.0, 0.0} : r;
    DoubleDouble sum = term;
    for (int k = 1; k < kMaxTerms; ++k) {
        const double n = static_cast<double>(2 * k + first);
        term = Divide(Multiply(term, r2), -(n - 1.0) * n);
        sum = Add(sum, term);
        if (Magnitude(term.hi) < kNegligible * Magnitude(sum.hi)) break;
    }
    return sum;
}

// Picks sin, cos or tan of x from the sine s and cosine c of its remainder.
template <typename Value, typename Negator, typename Divider>
Value Combine(TrigKind kind, unsigned quadrant, const Value& s, const Value& c, Negator negate, Divider divide)
{
    switch (kind) {
    case TrigKind::kSin:
        return quadrant == 0 ? s : quadrant == 1 ? c : quadrant == 2 ? negate(s) : negate(c);
    case TrigKind::kCos:
        return quadrant == 0 ? c : quadrant == 1 ? negate(s) : quadrant == 2 ? negate(c) : s;
    case TrigKind::kTan:
        break;
    }
    return (quadrant & 1) == 0 ? divide(s, c) : negate(divide(c, s));
}

float Trig(float x, TrigKind kind)
{
    const std::uint32_t abs_bits = BitCast<std::uint32_t>(x) & 0x7fffffffu;
    if (abs_bits >= kInfinityBits) return kQuietNaN;  // for infinities, and NaN stays NaN
    if (abs_bits < kTinyBits) return kind == TrigKind::kCos ? 1.0f : x;
    const Approximation fast = TrigFast(x, kind);
    float out = 0;
    if (RoundIfDecided(fast.value, fast.rel_error, out)) return out;
    const DoubleDouble accurate = TrigAccurate(x, kind);
    return RoundDoubleDouble(accurate, Magnitude(accurate.hi) * kAccurateRelError).value;
}

// sin and tan are odd, cos is even.
bool FlipsSign(float x, TrigKind kind) { return x < 0 && kind != TrigKind::kCos; }

} // namespace

Approximation TrigFast(float x, TrigKind kind)
{
    const std::uint32_t abs_bits = BitCast<std::uint32_t>(x) & 0x7fffffffu;
    const double ax = static_cast<double>(x < 0 ? -x : x);
    unsigned quadrant = 0;
    double r = ax;
    if (abs_bits <= kNoReductionBits) {
        // x is its own remainder.
    } else if (abs_bits < kModerateBits) {
        // k pi/2 in three parts: k times the first two is exact, and so is x minus the first
        // (Sterbenz); the two roundings that follow are each within 2^-53 of the remainder.
        const double k = NearestInteger(ax * kTwoOverPi);
        quadrant = static_cast<unsigned>(static_cast<int>(k)) & 3u;
        r = ((ax - k * kHalfPiPart1) - k * kHalfPiPart2) - k * kHalfPiPart3;
    } else {
        const QuarterTurns turns = ToQuarterTurns(abs_bits);
        quadrant = turns.quadrant;
        r = RemainderFast(turns);
    }
    // Only the polynomials the result needs: sin in even quadrants is sin r, in odd ones cos r.
    const bool wants_sin = kind == TrigKind::kTan || ((quadrant & 1) == 0) == (kind == TrigKind::kSin);
    const bool wants_cos = kind == TrigKind::kTan || ((quadrant & 1) == 0) == (kind == TrigKind::kCos);
    const double s = wants_sin ? SinPolynomial(r) : 0.0;
    const double c = wants_cos ? CosPolynomial(r) : 0.0;
    const double v = Combine(
        kind, quadrant, s, c, [](double a) { return -a; }, [](double a, double b) { return a / b; });
    return {FlipsSign(x, kind) ? -v : v, kTrigRelError};
}

DoubleDouble TrigAccurate(float x, TrigKind kind)
{
    const std::uint32_t abs_bits = BitCast<std::uint32_t>(x) & 0x7fffffffu;
    unsigned quadrant = 0;
    DoubleDouble r{static_cast<double>(x < 0 ? -x : x), 0.0};
    if (abs_bits > kNoReductionBits) {
        const QuarterTurns turns = ToQuarterTurns(abs_bits);
        quadrant = turns.quadrant;
        r = RemainderAccurate(turns);
    }
    const DoubleDouble s = TrigSeries(r, 1);
    const DoubleDouble c = TrigSeries(r, 0);
    const DoubleDouble v = Combine(
        kind, quadrant, s, c, [](DoubleDouble a) { return Negate(a); },
        [](DoubleDouble a, DoubleDouble b) { return Divide(a, b); });
    return FlipsSign(x, kind) ? Negate(v) : v;
}

} // namespace veldmark::float_math

namespace veldmark {

float Sin(float x) { return float_math::Trig(x, float_math::TrigKind::kSin); }
float Cos(float x) { return float_math::Trig(x, float_math::TrigKind::kCos); }
float Tan(float x) { return float_math::Trig(x, float_math::TrigKind::kTan); }

} // namespace veldmark
