// Correctly rounded atan and atan2. Both come down to atan(q) for a quotient q in [0, 1]
// (swapping the operands past 1 and taking pi/2 minus the result), reduced to the nearest
// sixteenth c by atan q = atan c + atan((q - c) / (1 + q c)), whose second term is small
// enough for a short odd polynomial.
#include <cstddef>
#include <cstdint>
#include <cmath>

#include "world/bit_cast.h"
#include "world/float_math.h"
#include "world/float_math_kernels.h"
#include "world/float_math_tables.h"

namespace veldmark::float_math {
namespace {

constexpr double kSixteenths = 16.0;
constexpr std::size_t kTableSteps = 16;
static_assert(kAtanTableSize == kTableSteps + 1, "the table holds atan of every sixteenth from 0 to 1");

// Fast path error: the quotient's rounding (2^-53), the reduced argument's three roundings and
// the table's and the polynomial's (each below 2^-53 of the result), and the two additions of
// pi/2 and pi: below 2^-50; 2^-48 leaves room on top.
constexpr double kAtanRelError = 0x1p-48;

// atan t for |t| <= 1/32: the series to t^11, whose next term is below 2^-63 of the result.
double AtanPolynomial(double t)
{
    const double t2 = t * t;
    const double tail = -1.0 / 3.0 + t2 * (1.0 / 5.0 + t2 * (-1.0 / 7.0 + t2 * (1.0 / 9.0 + t2 * (-1.0 / 11.0))));
    return t + t * (t2 * tail);
}

int NearestSixteenth(double q) { return static_cast<int>(q * kSixteenths + 0.5); }

// atan q for q in [0, 1].
double AtanUnitFast(double q)
{
    const int j = NearestSixteenth(q);
    const double c = static_cast<double>(j) / kSixteenths;
    const double t = (q - c) / (1.0 + q * c);
    return kAtanTable[j].hi + (kAtanTable[j].lo + AtanPolynomial(t));
}

// atan t for |t| <= 1/32 in double-double: the odd series until its terms drop below 2^-110.
DoubleDouble AtanSeries(DoubleDouble t)
{
    constexpr int kMaxTerms = 12;
    constexpr double kNegligible = 0x1p-110;
    const DoubleDouble t2 = Multiply(t, t);
    DoubleDouble power = t;
    DoubleDouble sum = t;
    for (int k = 1; k < kMaxTerms; ++k) {
        power = Negate(Multiply(power, t2));
        const DoubleDouble term = Divide(power, static_cast<double>(2 * k + 1));
        sum = Add(sum, term);
        if (Magnitude(term.hi) < kNegligible * Magnitude(sum.hi)) break;
    }
    return sum;
}

DoubleDouble AtanUnitAccurate(DoubleDouble q)
{
    const int j = NearestSixteenth(q.hi);
    const double c = static_cast<double>(j) / kSixteenths;
    // q - c is exact in its high part: c is within 1/32 of q.hi, so within a factor 2.
    const DoubleDouble numerator = FastTwoSum(q.hi - c, q.lo);
    const DoubleDouble denominator = Add(Multiply(q, c), 1.0);
    const DoubleDouble t = Divide(numerator, denominator);
    return Add(kAtanTable[j], AtanSeries(t));
}

} // namespace

Approximation AtanQuotientFast(float ay, float ax, bool x_negative)
{
    const double y = static_cast<double>(ay);
    const double x = static_cast<double>(ax);
    double a = 0;
    if (ay <= ax) {
        a = AtanUnitFast(y / x);
    } else {
        a = kHalfPi.hi - (AtanUnitFast(x / y) - kHalfPi.lo);
    }
    if (x_negative) a = kPi.hi - (a - kPi.lo);
    return {a, kAtanRelError};
}

DoubleDouble AtanQuotientAccurate(float ay, float ax, bool x_negative)
{
    const bool swap = ay > ax;
    const double num = static_cast<double>(swap ? ax : ay);
    const double den = static_cast<double>(swap ? ay : ax);
    // The quotient in double-double: the remainder num - q den is exact.
    const double q = num / den;
    const DoubleDouble rest = Subtract(DoubleDouble{num, 0.0}, TwoProduct(q, den));
    DoubleDouble a = AtanUnitAccurate(FastTwoSum(q, rest.hi / den));
    if (swap) a = Subtract(kHalfPi, a);
    if (x_negative) a = Subtract(kPi, a);
    return a;
}

} // namespace veldmark::float_math

namespace veldmark {
namespace {

using float_math::Approximation;
using float_math::DoubleDouble;

// atan2 of positive finite magnitudes, with the sign of y put back.
float AtanOfQuotient(float ay, float ax, bool x_negative, bool y_negative)
{
    const Approximation fast = float_math::AtanQuotientFast(ay, ax, x_negative);
    float out = 0;
    if (!float_math::RoundIfDecided(fast.value, fast.rel_error, out)) {
        const DoubleDouble accurate = float_math::AtanQuotientAccurate(ay, ax, x_negative);
        out = float_math::RoundDoubleDouble(accurate, accurate.hi * float_math::kAccurateRelError).value;
    }
    return y_negative ? -out : out;
}

// Below this, atan x rounds to x: x^3/3 is below half the gap to the float under x.
constexpr std::uint32_t kAtanTinyBits = 0x39800000;  // 2^-12

float WithSignOf(float magnitude, bool negative) { return negative ? -magnitude : magnitude; }

} // namespace

float Atan(float x)
{
    const std::uint32_t abs_bits = BitCast<std::uint32_t>(x) & 0x7fffffffu;
    const bool negative = std::signbit(x);
    if (std::isnan(x)) return float_math::kQuietNaN;
    if (std::isinf(x)) return WithSignOf(float_math::kHalfPiFloat, negative);
    if (abs_bits < kAtanTinyBits) return x;
    return AtanOfQuotient(negative ? -x : x, 1.0f, false, negative);
}

float Atan2(float y, float x)
{
    if (std::isnan(x) || std::isnan(y)) return float_math::kQuietNaN;
    const bool y_negative = std::signbit(y);
    const bool x_negative = std::signbit(x);
    const float ay = y_negative ? -y : y;
    const float ax = x_negative ? -x : x;
    // Zeros and infinities, as Annex F has them: the angle of the limit, with y's sign.
    if (ay == 0) return WithSignOf(x_negative ? float_math::kPiFloat : 0.0f, y_negative);
    if (std::isinf(ay)) {
        const float angle = !std::isinf(ax) ? float_math::kHalfPiFloat
                            : x_negative    ? float_math::kThreeQuarterPiFloat
                                            : float_math::kQuarterPiFloat;
        return WithSignOf(angle, y_negative);
    }
    if (ax == 0) return WithSignOf(float_math::kHalfPiFloat, y_negative);
    if (std::isinf(ax)) return WithSignOf(x_negative ? float_math::kPiFloat : 0.0f, y_negative);
    return AtanOfQuotient(ay, ax, x_negative, y_negative);
}

} // namespace veldmark
