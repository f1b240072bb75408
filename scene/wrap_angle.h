#pragma once
// Angles in the scene are compared as bearings in [-pi, pi].
#include <cmath>

#include "world/angles.h"

namespace veldmark {

// Beyond this many radians the bearing is first reduced by a remainder: stepping by 2 pi would
// take ever longer, and from about 2^24 on it would no longer move at all. Drive angles stay
// far inside it.
inline constexpr float kDirectWrapLimit = 4096.0f;

// Brings an angle into [-pi, pi] by whole turns. Not-a-number and infinities come back as they
// are (they compare false against every limit that uses the result).
inline float WrapAngle(float a)
{
    if (!std::isfinite(a)) return a;
    if (std::fabs(a) > kDirectWrapLimit) a = std::fmod(a, kTwoPi);
    while (a > kPi) a -= kTwoPi;
    while (a < -kPi) a += kTwoPi;
    return a;
}

} // namespace veldmark
