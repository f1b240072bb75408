#pragma once
// Ground shapes: flat polygons lying on the curved ground, given as points on the ground plan.
#include <cstddef>
#include <cstdint>
#include <span>

#include "render/camera_space.h"
#include "render/display_list.h"

namespace veldmark {

inline constexpr std::size_t kMinGroundPoints = 4;
inline constexpr std::size_t kMaxGroundPoints = 7;

// How far the ground at this plan point lies below the ground at the camera.
inline float GroundDrop(PlanPoint p) { return (p.x * p.x + p.d * p.d) / kGroundCurvature; }

// Logical screen position of a camera-space point (x to the right, y downward, the horizon
// line at y = 300); callers project only points at depth >= 0.4.
inline Vec2 Project(const Projection& view, const CameraPoint& p)
{
    return Vec2{view.centre_x + (view.focal * p.lateral) / p.depth,
                       kHorizonY - (view.focal * (p.height - kEyeHeight)) / p.depth};
}

// Emits the polygon of 4 to 7 plan points on the ground as one FlatPolygon of `colour`: each
// point sinks by the ground's fall-off, the polygon is clipped at the near plane and projected.
// Nothing is written when fewer than 3 vertices survive the clip, when the point count is out
// of range, or when the command does not fit. Returns whether a command was written.
bool EmitGroundPolygon(DisplayListWriter& out, const Projection& view,
                       std::span<const PlanPoint> points, std::uint32_t colour);

} // namespace veldmark
