#pragma once
// Where two road edges meet at a corner: the crossing of the line through p0 and p1 with the
// line through q0 and q1, all on the ground plan.
#include <cmath>

#include "render/camera_space.h"

namespace veldmark {

inline PlanPoint LineCrossing(PlanPoint p0, PlanPoint p1, PlanPoint q0, PlanPoint q1)
{
    const float numerator = (q1.d - q0.d) * (q0.x - p0.x) - (q1.x - q0.x) * (q0.d - p0.d);
    const float denominator = (q1.d - q0.d) * (p1.x - p0.x) - (q1.x - q0.x) * (p1.d - p0.d);
    float m = numerator / denominator;
    // Parallel edges (a straight joint) never cross: the corner is then p0 itself rather than
    // a point at infinity.
    if (!std::isfinite(m)) m = 0.0f;
    return PlanPoint{p0.x + m * (p1.x - p0.x), p0.d + m * (p1.d - p0.d)};
}

} // namespace veldmark
