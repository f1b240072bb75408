#include "sim/turn_speed.h"

#include <cmath>

namespace veldmark {
namespace {

struct TurnSpeedRow {
    float degrees;
    TurnSpeeds speeds;
};

constexpr TurnSpeedRow kTurnSpeedTable[] = {
    {15.0f, {1.297f, 1.0376f}}, {20.0f, {0.84f, 0.672f}},   {30.0f, {0.461f, 0.3688f}},
    {50.0f, {0.222f, 0.1776f}}, {70.0f, {0.139f, 0.1112f}}, {80.0f, {0.117f, 0.0936f}},
};
constexpr TurnSpeeds kOtherTurnSpeeds = {0.222f, 0.1776f};
constexpr float kRadiansToDegrees = 57.2957795f;

} // namespace

TurnSpeeds TurnSpeedsFor(float turn_angle_radians)
{
    // Compared as floats so that no angle, however odd, is converted to an integer.
    const float degrees = roundf(turn_angle_radians * kRadiansToDegrees);
    for (const TurnSpeedRow& row : kTurnSpeedTable)
        if (degrees == row.degrees) return row.speeds;
    return kOtherTurnSpeeds;
}

} // namespace veldmark
