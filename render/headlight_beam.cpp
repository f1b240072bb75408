#include <cmath>

#include "render/ground_polygon.h"
#include "render/shape_emitters.h"

namespace veldmark {
namespace {

// The beam reaches this far ahead of the lamps.
constexpr float kBeamReach = 20.4f;
// Heights of the beam's four corners: a short upright edge at the lamps, and a tall one at
// its far end that reaches from below the ground to well above it, so the glow spreads out.
constexpr float kLampLow = 0.75f;
constexpr float kLampHigh = 1.25f;
constexpr float kFarHigh = 1.6f;
constexpr float kFarLow = -0.2f;
constexpr float kLampCentre = 1.0f;

CameraPoint Lowered(PlanPoint p, float height) { return CameraPoint{p.x, p.d, height - GroundDrop(p)}; }

} // namespace

void EmitHeadlightBeam(DisplayListWriter& out, const CameraView& view,
                       std::uint64_t chain_index, float along, float across)
{
    const TrackRef ref = ChainRef(chain_index);
    const PlanPoint lamps = TrackToCamera(view.chain, view.camera, ref, along, across);
    const PlanPoint far = TrackToCamera(view.chain, view.camera, ref, along + kBeamReach, across);
    const CameraPoint corners[4] = {Lowered(lamps, kLampLow), Lowered(lamps, kLampHigh),
                                    Lowered(far, kFarHigh), Lowered(far, kFarLow)};
    for (const CameraPoint& c : corners)
        if (!(c.depth > kNearDepth)) return;

    Vec2 screen[4];
    for (int i = 0; i < 4; ++i) screen[i] = Project(view.projection, corners[i]);
    const Vec2 centre = Project(view.projection, Lowered(lamps, kLampCentre));
    float radius = 0.0f;
    for (const Vec2& v : screen) {
        const float dx = v.x - centre.x;
        const float dy = v.y - centre.y;
        radius = std::fmax(radius, sqrtf(dx * dx + dy * dy));
    }
    out.RadialPolygon(kBeamInnerColour, kBeamOuterColour, centre, radius, screen);
}

} // namespace veldmark
