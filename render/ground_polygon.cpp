#include "render/ground_polygon.h"

#include "render/near_clip.h"

namespace veldmark {

bool EmitGroundPolygon(DisplayListWriter& out, const Projection& view,
                       std::span<const PlanPoint> points, std::uint32_t colour)
{
    if (points.size() < kMinGroundPoints || points.size() > kMaxGroundPoints) return false;
    CameraPoint raised[kMaxGroundPoints];
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PlanPoint p = points[i];
        raised[i] = CameraPoint{p.x, p.d, (p.x * p.x + p.d * p.d) / -kGroundCurvature};
    }
    CameraPoint clipped[ClipCapacity(kMaxGroundPoints)];
    const std::size_t m = ClipNear(raised, points.size(), clipped);
    if (m < 3) return false;
    Vec2 screen[ClipCapacity(kMaxGroundPoints)];
    for (std::size_t i = 0; i < m; ++i) screen[i] = Project(view, clipped[i]);
    return out.FlatPolygon(colour, std::span<const Vec2>(screen, m));
}

} // namespace veldmark
