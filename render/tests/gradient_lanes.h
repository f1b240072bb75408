#pragma once
// The gradient parameters of the shaded spans as each vector width computes them, lane by lane,
// for the test that holds them to the one-pixel functions bit for bit: a t one ulp off only
// rarely changes a channel, so whole spans compared with the one-pixel colours would seldom
// show it.
#include "render/shaded_span.h"

namespace veldmark::test {

inline constexpr int kMostLanes = 8;

// t of Band, Radial, Linear and Elliptic, and Linear's ramp fraction, for pixels column ..
// column + lanes - 1 of the row sampled at row_centre.
struct GradientLanes {
    int lanes = 0;
    float t[4][kMostLanes] = {};
    float fraction[kMostLanes] = {};
};

GradientLanes GradientLanesVec4(const SpanShader& shader, int column, float row_centre);
GradientLanes GradientLanesVec8(const SpanShader& shader, int column, float row_centre);

} // namespace veldmark::test
