#pragma once
// The arithmetic under the correctly rounded float functions: exact sums and products of doubles
// (no fused multiply-add: the product is split into halves), double-double operations, and the
// two tests that decide a float rounding from an approximation with a known error bound.
// Everything is IEEE double arithmetic in round-to-nearest, so every compiler and platform
// computes the same bits.
#include <cstdint>
#include <limits>

#include "world/bit_cast.h"

namespace veldmark::float_math {

// An unevaluated sum hi + lo with |lo| at most about half an ulp of hi: some 106 bits.
struct DoubleDouble {
    double hi;
    double lo;
};

// One row of the log2 reduction: log2(m) = -log2(c) + log2(m c), with m c close to 1 and the
// product exact (c has at most 11 significant bits).
struct LogRow {
    double c;
    DoubleDouble minus_log2_c;
};

// a + b exactly, for any a and b.
inline DoubleDouble TwoSum(double a, double b)
{
    const double s = a + b;
    const double b_part = s - a;
    const double a_part = s - b_part;
    return {s, (a - a_part) + (b - b_part)};
}

// a + b exactly, when |a| >= |b| (or a is zero).
inline DoubleDouble FastTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// Veltkamp's split of a into two halves of at most 26 bits each (|a| below 2^995).
inline void SplitHalves(double a, double& hi, double& lo)
{
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double t = kSplitter * a;
    hi = t - (t - a);
    lo = a - hi;
}

// a * b exactly (Dekker), without a fused multiply-add.
inline DoubleDouble TwoProduct(double a, double b)
{
    double a_hi = 0, a_lo = 0, b_hi = 0, b_lo = 0;
    SplitHalves(a, a_hi, a_lo);
    SplitHalves(b, b_hi, b_lo);
    const double p = a * b;
    const double e = ((a_hi * b_hi - p) + a_hi * b_lo + a_lo * b_hi) + a_lo * b_lo;
    return {p, e};
}

inline DoubleDouble Add(DoubleDouble a, DoubleDouble b)
{
    DoubleDouble s = TwoSum(a.hi, b.hi);
    const DoubleDouble t = TwoSum(a.lo, b.lo);
    s = FastTwoSum(s.hi, s.lo + t.hi);
    return FastTwoSum(s.hi, s.lo + t.lo);
}

inline DoubleDouble Add(DoubleDouble a, double b)
{
    const DoubleDouble s = TwoSum(a.hi, b);
    return FastTwoSum(s.hi, s.lo + a.lo);
}

inline DoubleDouble Negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

inline DoubleDouble Subtract(DoubleDouble a, DoubleDouble b) { return Add(a, Negate(b)); }

inline DoubleDouble Multiply(DoubleDouble a, DoubleDouble b)
{
    DoubleDouble p = TwoProduct(a.hi, b.hi);
    p.lo += a.hi * b.lo + a.lo * b.hi;
    return FastTwoSum(p.hi, p.lo);
}

inline DoubleDouble Multiply(DoubleDouble a, double b)
{
    DoubleDouble p = TwoProduct(a.hi, b);
    p.lo += a.lo * b;
    return FastTwoSum(p.hi, p.lo);
}

// a / b, for b an exact small integer or any double.
inline DoubleDouble Divide(DoubleDouble a, double b)
{
    const double q1 = a.hi / b;
    const DoubleDouble rest = Subtract(a, TwoProduct(q1, b));
    const double q2 = rest.hi / b;
    const DoubleDouble rest2 = Subtract(rest, TwoProduct(q2, b));
    const DoubleDouble q = FastTwoSum(q1, q2);
    return Add(q, rest2.hi / b);
}

inline DoubleDouble Divide(DoubleDouble a, DoubleDouble b)
{
    const double q1 = a.hi / b.hi;
    const DoubleDouble rest = Subtract(a, Multiply(b, q1));
    const double q2 = rest.hi / b.hi;
    const DoubleDouble rest2 = Subtract(rest, Multiply(b, q2));
    const DoubleDouble q = FastTwoSum(q1, q2);
    return Add(q, rest2.hi / b.hi);
}

// 2^e as a double, for e in the normal range of doubles.
inline double PowerOfTwo(int e)
{
    return BitCast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

inline double Magnitude(double v) { return v < 0 ? -v : v; }

// The fast test: v approximates the result with a relative error below rel_error, which must
// already include 2^-52 for the rounding of v * rel_error and v -/+ that. Rounding to float is
// monotonic, so when both ends of the interval round to the same float, every value inside
// does too, the exact result included. Returns false when the interval holds a rounding
// boundary (a midpoint between two floats).
inline bool RoundIfDecided(double v, double rel_error, float& out)
{
    const double e = v * rel_error;
    const float below = static_cast<float>(v - e);
    const float above = static_cast<float>(v + e);
    if (below != above) return false;
    out = below;
    return true;
}

// The accurate test, for a double-double v with an absolute error below abs_error: decides on
// which side of the nearest midpoints between floats the exact value lies, by subtracting the
// midpoint from v exactly. When v lies within the error of a midpoint, `decided` is false,
// `midpoint` is that midpoint and `value` is the side v is on.
struct AccurateRounding {
    float value;
    bool decided;
    double midpoint;  // positive; only when not decided
};

inline AccurateRounding RoundDoubleDouble(DoubleDouble v, double abs_error)
{
    const bool negative = v.hi < 0;
    const double h = negative ? -v.hi : v.hi;
    const double l = negative ? -v.lo : v.lo;
    const float f = static_cast<float>(h);
    const float largest = std::numeric_limits<float>::max();
    const std::uint32_t bits = BitCast<std::uint32_t>(f);
    // The float's value and its neighbours as doubles; 2^128 stands for the float after the
    // largest, and a result rounded to zero has no lower neighbour.
    constexpr double kPastLargest = 0x1p128;
    const bool overflowed = f > largest;
    const double centre = overflowed ? kPastLargest : static_cast<double>(f);
    const double below = overflowed ? static_cast<double>(largest)
                         : f == 0   ? -static_cast<double>(BitCast<float>(1u))
                                    : static_cast<double>(BitCast<float>(bits - 1));
    const double above = overflowed || f == largest ? kPastLargest
                                                    : static_cast<double>(BitCast<float>(bits + 1));
    const float value_below = overflowed ? largest : f == 0 ? 0.0f : BitCast<float>(bits - 1);
    const float value_above = f == largest ? std::numeric_limits<float>::infinity()
                                           : overflowed ? f : BitCast<float>(bits + 1);
    const double upper_midpoint = (centre + above) * 0.5;
    const double lower_midpoint = (centre + below) * 0.5;

    // v minus a midpoint, with the rounding of the two operations added to the error.
    constexpr double kOperationRounding = 0x1p-51;
    AccurateRounding out{f, true, 0.0};
    const double to_upper = h - upper_midpoint;
    const double past_upper = to_upper + l;
    const double upper_margin = abs_error + kOperationRounding * (Magnitude(to_upper) + Magnitude(l));
    const double to_lower = h - lower_midpoint;
    const double past_lower = to_lower + l;
    const double lower_margin = abs_error + kOperationRounding * (Magnitude(to_lower) + Magnitude(l));
    if (!overflowed && past_upper > -upper_margin) {
        out.value = past_upper > 0 ? value_above : f;
        out.decided = past_upper > upper_margin;
        out.midpoint = upper_midpoint;
    } else if (f != 0 && past_lower < lower_margin) {
        out.value = past_lower < 0 ? value_below : f;
        out.decided = past_lower < -lower_margin;
        out.midpoint = lower_midpoint;
    }
    if (negative) out.value = -out.value;
    return out;
}

} // namespace veldmark::float_math
