#pragma once
// The evaluations behind the correctly rounded float functions, shared between their files and
// open to the tests, which measure each fast path's error against its stated bound. A fast
// evaluation returns a double and the bound on its relative error that the rounding test
// uses; an accurate one returns a double-double.
#include <cstdint>

#include "world/bit_cast.h"
#include "world/float_math_dd.h"

namespace veldmark::float_math {

// Every NaN result is this one: which operand's NaN an addition passes on depends on how the
// compiler orders it, and the processor's own default NaN differs between architectures.
inline constexpr float kQuietNaN = BitCast<float>(std::uint32_t{0x7fc00000});

struct Approximation {
    double value;
    double rel_error;  // bound on |value - exact| / |exact|, with the rounding test's margin
};

// sin, cos and tan of finite x with |x| at least 2^-12 (smaller ones the callers answer at
// once).
enum class TrigKind { kSin, kCos, kTan };
Approximation TrigFast(float x, TrigKind kind);
DoubleDouble TrigAccurate(float x, TrigKind kind);

// atan(ay / ax) for positive finite ay and ax, plus pi when x_negative: atan2 in the upper
// half-plane.
Approximation AtanQuotientFast(float ay, float ax, bool x_negative);
DoubleDouble AtanQuotientAccurate(float ay, float ax, bool x_negative);

// exp(x) for finite x in [-104, 89].
Approximation ExpFast(float x);
DoubleDouble ExpAccurate(float x);

// ax^y for finite positive ax and finite nonzero y with y log2(ax) in [-152, 130].
Approximation PowFast(float ax, float y);
DoubleDouble PowAccurate(float ax, float y);
// Whether ax^y is exactly the (positive) double m.
bool PowIsExactly(float ax, float y, double m);

// The relative error bound of every accurate evaluation.
inline constexpr double kAccurateRelError = 0x1p-90;

} // namespace veldmark::float_math
