#include "render/ground_polygon.h"
#include "render/line_crossing.h"
#include "render/shape_emitters.h"

namespace veldmark {

void EmitRoadPiece(DisplayListWriter& out, const CameraView& view, const TrackRef& a_ref,
                   const TrackRef& b_ref, float along, float width, float next_width,
                   bool turns_right)
{
    auto on_a = [&](float a, float b) { return TrackToCamera(view.chain, view.camera, a_ref, a, b); };
    auto on_b = [&](float a, float b) { return TrackToCamera(view.chain, view.camera, b_ref, a, b); };

    const PlanPoint strip[] = {on_a(along, 0.0f), on_a(along, width),
                               on_a(along - kRoadPieceReach, width),
                               on_a(along - kRoadPieceReach, 0.0f)};
    EmitGroundPolygon(out, view.projection, strip, kRoadColour);

    // The wedge lies on the outer side of the bend: from the inner corner (the pivot of the
    // turn), along the outer edge to where it meets the next section's outer edge, and back to
    // the next section's start.
    const float outer = turns_right ? 0.0f : width;
    const float next_outer = turns_right ? 0.0f : next_width;
    const PlanPoint pivot = on_a(along, turns_right ? width : 0.0f);
    const PlanPoint end = on_a(along, outer);
    const PlanPoint beyond_end = on_a(along + 1.0f, outer);
    const PlanPoint next_start = on_b(0.0f, next_outer);
    const PlanPoint next_on = on_b(1.0f, next_outer);
    const PlanPoint corner = LineCrossing(end, beyond_end, next_start, next_on);
    const PlanPoint wedge[] = {pivot, end, corner, next_start};
    EmitGroundPolygon(out, view.projection, wedge, kRoadColour);
}

} // namespace veldmark
