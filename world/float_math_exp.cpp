// Correctly rounded exp and pow. Both end in 2^t = 2^(k/64) 2^r: the table gives 2^(j/64) for
// j = k mod 64, the exponent takes k/64 rounded down, and a short polynomial (or, on the
// accurate path, a double-double series) the remainder |r| <= 1/128. pow computes
// t = y log2 x with log2 x to about 2^-58 (a double-double from a table reduction), since
// |t| up to 150 magnifies its error. pow's results can be exact midpoints between floats
// (4^(1/2) is not one, but 3^2 * 2^-150 is); no approximation decides those, so an
// undecided accurate result is checked for exactness with integers.
#include <cmath>
#include <cstdint>
#include <limits>

#include "world/bit_cast.h"
#include "world/float_math.h"
#include "world/float_math_kernels.h"
#include "world/float_math_tables.h"

namespace veldmark::float_math {
namespace {

// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 to the nearest integer.
constexpr double kRoundShift = 0x1.8p52;
constexpr double kStepsPerOctave = 64.0;
constexpr int kTableMask = 63;
constexpr int kStepBits = 6;

// Fast path errors, with room on top of the analysis: exp's remainder is exact to 2^-60 of
// itself and polynomial, table and products add about 2^-52; pow's log2 is within 2^-58.5 of
// itself, which |t| <= 152 turns into 2^-51.3 of the result.
constexpr double kExpRelError = 0x1p-49;
constexpr double kPowRelError = 0x1p-48;

// Results beyond every float or below half the smallest, handed to the rounding test.
constexpr double kFarAboveFloats = 0x1p200;
constexpr double kFarBelowFloats = 0x1p-200;
constexpr double kTAboveFloats = 130.0;
constexpr double kTBelowFloats = -152.0;

double NearestInteger(double v) { return (v + kRoundShift) - kRoundShift; }

// 2^(k/64) * (1 + p) for the table step k and a small p, as a double.
double ScaleByTable(int k, double p)
{
    const DoubleDouble& entry = kExp2Table[k & kTableMask];
    return (entry.hi + (entry.lo + entry.hi * p)) * PowerOfTwo(k >> kStepBits);
}

DoubleDouble ScaleByTable(int k, DoubleDouble v)
{
    const DoubleDouble product = Multiply(kExp2Table[k & kTableMask], v);
    const double scale = PowerOfTwo(k >> kStepBits);
    return {product.hi * scale, product.lo * scale};
}

// exp r - 1 for |r| <= ln 2 / 128: the series to r^6, whose next term is below 2^-64.
double ExpMinusOnePolynomial(double r)
{
    return r + (r * r) * (1.0 / 2.0 + r * (1.0 / 6.0 + r * (1.0 / 24.0 + r * (1.0 / 120.0 + r * (1.0 / 720.0)))));
}

// exp r for |r| <= 1/64 in double-double: the series until its terms drop below 2^-110.
DoubleDouble ExpSeries(DoubleDouble r)
{
    constexpr int kMaxTerms = 16;
    constexpr double kNegligible = 0x1p-110;
    DoubleDouble term{1.0, 0.0};
    DoubleDouble sum{1.0, 0.0};
    for (int n = 1; n < kMaxTerms; ++n) {
        term = Divide(Multiply(term, r), static_cast<double>(n));
        sum = Add(sum, term);
        if (Magnitude(term.hi) < kNegligible) break;
    }
    return sum;
}

// Coefficients of 2^r - 1 = sum (r ln 2)^n / n!, from ln 2 in double (their own rounding is
// far below the fast path's bound).
constexpr double kExp2Coefficient1 = kLn2.hi;
constexpr double kExp2Coefficient2 = kExp2Coefficient1 * kLn2.hi / 2.0;
constexpr double kExp2Coefficient3 = kExp2Coefficient2 * kLn2.hi / 3.0;
constexpr double kExp2Coefficient4 = kExp2Coefficient3 * kLn2.hi / 4.0;
constexpr double kExp2Coefficient5 = kExp2Coefficient4 * kLn2.hi / 5.0;
constexpr double kExp2Coefficient6 = kExp2Coefficient5 * kLn2.hi / 6.0;

// 2^(hi + lo) for |hi| <= 152 and a small lo.
double Exp2Fast(double hi, double lo)
{
    const double kd = NearestInteger(hi * kStepsPerOctave);
    const double r = (hi - kd / kStepsPerOctave) + lo;  // the subtraction is exact
    const double p =
        r * (kExp2Coefficient1 +
             r * (kExp2Coefficient2 +
                  r * (kExp2Coefficient3 + r * (kExp2Coefficient4 + r * (kExp2Coefficient5 + r * kExp2Coefficient6)))));
    return ScaleByTable(static_cast<int>(kd), p);
}

DoubleDouble Exp2Accurate(DoubleDouble t)
{
    const double kd = NearestInteger(t.hi * kStepsPerOctave);
    const DoubleDouble r = TwoSum(t.hi - kd / kStepsPerOctave, t.lo);
    return ScaleByTable(static_cast<int>(kd), ExpSeries(Multiply(r, kLn2)));
}

// log2 x = e - log2 c + log2(1 + r), with x = 2^e m, m in [0.75, 1.5), c from the table row
// of m's leading bits and r = m c - 1 exact, |r| < 2^-7.
struct Log2Reduction {
    int e;
    const LogRow* row;
    double r;
};

Log2Reduction ReduceLog2(float ax)
{
    constexpr int kDoubleBias = 1023;
    constexpr int kRowShift = 45;  // the significand's top 7 bits pick the row
    constexpr int kHalvedRows = 64;
    const std::uint64_t bits = BitCast<std::uint64_t>(static_cast<double>(ax));
    int e = static_cast<int>(bits >> 52) - kDoubleBias;
    const int row = static_cast<int>((bits >> kRowShift) & (kLogTableSize - 1));
    double m = BitCast<double>((bits & 0x000fffffffffffffu) | 0x3ff0000000000000u);
    if (row >= kHalvedRows) {
        m *= 0.5;
        e += 1;
    }
    return {e, &kLogTable[row], m * kLogTable[row].c - 1.0};
}

// Coefficients of log2(1 + r) - r / ln 2 = sum over n >= 2 of (-1)^(n+1) r^n / (n ln 2).
constexpr double kLog2Coefficient2 = -kInvLn2.hi / 2.0;
constexpr double kLog2Coefficient3 = kInvLn2.hi / 3.0;
constexpr double kLog2Coefficient4 = -kInvLn2.hi / 4.0;
constexpr double kLog2Coefficient5 = kInvLn2.hi / 5.0;
constexpr double kLog2Coefficient6 = -kInvLn2.hi / 6.0;
constexpr double kLog2Coefficient7 = kInvLn2.hi / 7.0;
constexpr double kLog2Coefficient8 = -kInvLn2.hi / 8.0;
constexpr double kLog2Coefficient9 = kInvLn2.hi / 9.0;

DoubleDouble Log2Fast(float ax)
{
    const Log2Reduction x = ReduceLog2(ax);
    const double r = x.r;
    DoubleDouble linear = TwoProduct(r, kInvLn2.hi);
    linear.lo += r * kInvLn2.lo;
    const double rest =
        (r * r) *
        (kLog2Coefficient2 +
         r * (kLog2Coefficient3 +
              r * (kLog2Coefficient4 +
                   r * (kLog2Coefficient5 +
                        r * (kLog2Coefficient6 + r * (kLog2Coefficient7 + r * (kLog2Coefficient8 + r * kLog2Coefficient9)))))));
    const DoubleDouble whole = TwoSum(static_cast<double>(x.e), x.row->minus_log2_c.hi);
    const DoubleDouble sum = TwoSum(whole.hi, linear.hi);
    return FastTwoSum(sum.hi, sum.lo + whole.lo + x.row->minus_log2_c.lo + linear.lo + rest);
}

// log(1 + r) for |r| < 2^-7 in double-double: the series until its terms drop below 2^-110.
DoubleDouble Log1pSeries(double r)
{
    constexpr int kMaxTerms = 20;
    constexpr double kNegligible = 0x1p-110;
    DoubleDouble power{r, 0.0};
    DoubleDouble sum = power;
    for (int n = 2; n < kMaxTerms; ++n) {
        power = Negate(Multiply(power, r));
        const DoubleDouble term = Divide(power, static_cast<double>(n));
        sum = Add(sum, term);
        if (Magnitude(term.hi) < kNegligible * Magnitude(sum.hi)) break;
    }
    return sum;
}

DoubleDouble Log2Accurate(float ax)
{
    const Log2Reduction x = ReduceLog2(ax);
    const DoubleDouble whole = Add(x.row->minus_log2_c, static_cast<double>(x.e));
    if (x.r == 0) return whole;
    return Add(whole, Multiply(Log1pSeries(x.r), kInvLn2));
}

// A positive finite value as odd * 2^exponent.
struct OddScaled {
    std::uint64_t odd;
    int exponent;
};

OddScaled DecomposeFloat(float a)
{
    const std::uint32_t bits = BitCast<std::uint32_t>(a);
    const std::uint32_t biased = bits >> 23;
    std::uint64_t significand = bits & 0x007fffffu;
    int exponent = -149;
    if (biased != 0) {
        significand |= 0x00800000u;
        exponent = static_cast<int>(biased) - 150;
    }
    const int zeros = std::countr_zero(significand);
    return {significand >> zeros, exponent + zeros};
}

OddScaled DecomposeDouble(double a)
{
    const std::uint64_t bits = BitCast<std::uint64_t>(a);
    const std::uint64_t significand = (bits & 0x000fffffffffffffu) | 0x0010000000000000u;
    const int zeros = std::countr_zero(significand);
    return {significand >> zeros, static_cast<int>(bits >> 52) - 1075 + zeros};
}

// Whether base^n == target, for target below 2^26.
bool PowerIs(std::uint64_t base, std::uint64_t n, std::uint64_t target)
{
    if (base == 1) return target == 1;
    std::uint64_t power = 1;
    for (std::uint64_t i = 0; i < n; ++i) {
        power *= base;
        if (power > target) return false;
    }
    return power == target;
}

// Whether a * odd * 2^shift == target, for |a| < 2^9, odd < 2^24 and |target| < 2^9.
bool ScaledProductIs(int a, OddScaled y, int target)
{
    constexpr int kShiftsThatStayBig = 24;   // |a odd| >= 1 shifted this far exceeds any target
    constexpr int kShiftsThatStaySmall = 34; // |target| >= 1 shifted this far exceeds any |a odd|
    const std::int64_t product = std::int64_t{a} * static_cast<std::int64_t>(y.odd);
    if (y.exponent >= 0) {
        if (product == 0) return target == 0;
        if (y.exponent >= kShiftsThatStayBig) return false;
        return product * (std::int64_t{1} << y.exponent) == target;
    }
    const int k = -y.exponent;
    if (k >= kShiftsThatStaySmall) return product == 0 && target == 0;
    return product == std::int64_t{target} * (std::int64_t{1} << k);
}

} // namespace

Approximation ExpFast(float xf)
{
    const double x = static_cast<double>(xf);
    const double kd = NearestInteger(x * kExpSteps);
    // kd * kExpStep1 is exact (39 + 14 bits), and so is its difference with x (Sterbenz).
    const double r = (x - kd * kExpStep1) - kd * kExpStep2;
    return {ScaleByTable(static_cast<int>(kd), ExpMinusOnePolynomial(r)), kExpRelError};
}

DoubleDouble ExpAccurate(float xf)
{
    const double x = static_cast<double>(xf);
    const double kd = NearestInteger(x * kExpSteps);
    DoubleDouble r = TwoSum(x - kd * kExpStep1, -(kd * kExpStep2));
    r = Add(r, -(kd * kExpStep3));
    return ScaleByTable(static_cast<int>(kd), ExpSeries(r));
}

Approximation PowFast(float ax, float yf)
{
    const DoubleDouble l = Log2Fast(ax);
    const double y = static_cast<double>(yf);
    DoubleDouble t = TwoProduct(y, l.hi);
    t.lo += y * l.lo;
    if (t.hi > kTAboveFloats) return {kFarAboveFloats, kPowRelError};
    if (t.hi < kTBelowFloats) return {kFarBelowFloats, kPowRelError};
    return {Exp2Fast(t.hi, t.lo), kPowRelError};
}

DoubleDouble PowAccurate(float ax, float yf)
{
    const DoubleDouble l = Log2Accurate(ax);
    const double y = static_cast<double>(yf);
    const DoubleDouble t = Add(TwoProduct(y, l.hi), y * l.lo);
    return Exp2Accurate(t);
}

// ax^y with ax = mx 2^ex and y = my 2^ey (mx, my odd) is the dyadic mm 2^em exactly when the
// odd and the binary parts match: mx^y = mm and ex y = em. For y < 0 that needs mx = mm = 1;
// for y = my / 2^k it needs mx to be a 2^k-th power t^(2^k) with t^my = mm.
bool PowIsExactly(float ax, float y, double m)
{
    const bool y_negative = y < 0;
    const OddScaled x = DecomposeFloat(ax);
    const OddScaled power = DecomposeFloat(y_negative ? -y : y);
    const OddScaled result = DecomposeDouble(m);
    if (y_negative && (x.odd != 1 || result.odd != 1)) return false;
    if (!ScaledProductIs(y_negative ? -x.exponent : x.exponent, power, result.exponent)) return false;
    if (power.exponent >= 0) {
        // An integer n = my 2^ey: with mx >= 3, n >= 26 makes mx^n too big for a midpoint.
        constexpr int kLargestUsefulShift = 5;
        if (x.odd == 1) return result.odd == 1;
        if (power.exponent >= kLargestUsefulShift) return false;
        return PowerIs(x.odd, power.odd << power.exponent, result.odd);
    }
    std::uint64_t root = x.odd;
    for (int k = -power.exponent; k > 0 && root != 1; --k) {
        // Square roots of integers below 2^24 are exact when they are integers.
        const auto s = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(root)));
        if (s * s != root) return false;
        root = s;
    }
    return PowerIs(root, power.odd, result.odd);
}

} // namespace veldmark::float_math

namespace veldmark {
namespace {

using float_math::Approximation;
using float_math::DoubleDouble;

constexpr float kExpOverflowAbove = 89.0f;     // exp(89) is beyond the largest float
constexpr float kExpUnderflowBelow = -104.0f;  // exp(-104) is below half the smallest subnormal
constexpr std::uint32_t kExpTinyBits = 0x33000000;  // 2^-25: below it, exp x rounds to 1

// Whether a finite y is an integer, and if so whether odd.
enum class Parity { kNotInteger, kOdd, kEven };

Parity ParityOf(float y)
{
    constexpr int kFractionBits = 23;
    constexpr int kBias = 127;
    const std::uint32_t bits = BitCast<std::uint32_t>(y);
    const int exponent = static_cast<int>((bits >> kFractionBits) & 0xffu) - kBias;
    if (exponent < 0) return y == 0 ? Parity::kEven : Parity::kNotInteger;
    if (exponent > kFractionBits) return Parity::kEven;  // 2^24 and above are even
    const std::uint32_t significand = (bits & 0x007fffffu) | 0x00800000u;
    const int below_point = kFractionBits - exponent;
    if (significand & ((1u << below_point) - 1u)) return Parity::kNotInteger;
    return ((significand >> below_point) & 1u) ? Parity::kOdd : Parity::kEven;
}

// ax^y for finite positive ax and finite nonzero y.
float PowPositive(float ax, float y)
{
    const Approximation fast = float_math::PowFast(ax, y);
    float out = 0;
    if (float_math::RoundIfDecided(fast.value, fast.rel_error, out)) return out;
    const DoubleDouble accurate = float_math::PowAccurate(ax, y);
    const float_math::AccurateRounding rounding =
        float_math::RoundDoubleDouble(accurate, accurate.hi * float_math::kAccurateRelError);
    // Only an exact midpoint is this close to one; rounding it as a double to float breaks
    // the tie to even.
    if (!rounding.decided && float_math::PowIsExactly(ax, y, rounding.midpoint)) {
        return static_cast<float>(rounding.midpoint);
    }
    return rounding.value;
}

} // namespace

float Exp(float x)
{
    if (std::isnan(x)) return float_math::kQuietNaN;
    if (x > kExpOverflowAbove) return std::numeric_limits<float>::infinity();
    if (x < kExpUnderflowBelow) return 0.0f;
    if ((BitCast<std::uint32_t>(x) & 0x7fffffffu) < kExpTinyBits) return 1.0f;
    const Approximation fast = float_math::ExpFast(x);
    float out = 0;
    if (float_math::RoundIfDecided(fast.value, fast.rel_error, out)) return out;
    const DoubleDouble accurate = float_math::ExpAccurate(x);
    return float_math::RoundDoubleDouble(accurate, accurate.hi * float_math::kAccurateRelError).value;
}

// The special cases in the order Annex F gives them precedence: a zero exponent and a base of
// one win over NaN, infinities and zeros next, then negative bases.
float Pow(float x, float y)
{
    const float infinity = std::numeric_limits<float>::infinity();
    if (y == 0) return 1.0f;
    if (x == 1.0f) return 1.0f;
    if (std::isnan(x) || std::isnan(y)) return float_math::kQuietNaN;
    const float ax = std::fabs(x);
    if (std::isinf(y)) {
        if (ax == 1.0f) return 1.0f;  // (-1)^(+-inf)
        return (ax < 1.0f) == (y > 0) ? 0.0f : infinity;
    }
    const Parity parity = ParityOf(y);
    const bool odd = parity == Parity::kOdd;
    if (std::isinf(x)) {
        const float magnitude = y < 0 ? 0.0f : infinity;
        return x < 0 && odd ? -magnitude : magnitude;
    }
    if (x == 0) {
        const float magnitude = y < 0 ? infinity : 0.0f;
        return odd ? std::copysign(magnitude, x) : magnitude;
    }
    if (x < 0 && parity == Parity::kNotInteger) return float_math::kQuietNaN;
    const float result = PowPositive(ax, y);
    return x < 0 && odd ? -result : result;
}

} // namespace veldmark
