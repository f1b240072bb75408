#include "scene/lead_lights.h"

#include <cmath>

#include "render/shape_emitters.h"
#include "world/angles.h"
#include "world/float_math.h"

namespace veldmark {
namespace {

// The beams start at the front face, just inside each side.
constexpr float kBeamInset = 0.3f;
// Below this, sun height + 46 says dusk has come (the sun a few pixels under the horizon).
constexpr float kBeamSunOffset = 46.0f;
constexpr float kBeamDusk = 42.633415f;

// Each lamp spans this much of the rear face, measured in from its side; the odd decimals
// are one float step above 0.24, 0.864 and 2.36.
constexpr float kLampInner = 0.864000082f;
constexpr float kLampOuter = 0.24000001f;
constexpr float kLampLow = 1.616f;
constexpr float kLampHigh = 2.36000013f;
constexpr std::uint32_t kLampColour = 0xFF2A18;

constexpr std::uint32_t kGlowInner = 0xE6FF503C;
constexpr std::uint32_t kGlowOuter = 0x00FF2A18;
constexpr float kGlowReach = 3.2f;
constexpr std::size_t kGlowPoints = 16;

void DrawGlow(DisplayListWriter& out, const Projection& projection, const CameraPoint (&lamp)[4])
{
    for (const CameraPoint& c : lamp)
        if (!(c.depth > kNearDepth)) return;
    Vec2 corner[4];
    for (int i = 0; i < 4; ++i) corner[i] = ProjectLead(projection, lamp[i]);
    const Vec2 centre{(((corner[0].x + corner[1].x) + corner[2].x) + corner[3].x) * 0.25f,
                      (((corner[0].y + corner[1].y) + corner[2].y) + corner[3].y) * 0.25f};
    float reach = 0.0f;
    for (const Vec2& c : corner) {
        const float dx = c.x - centre.x;
        const float dy = c.y - centre.y;
        reach = std::fmax(reach, sqrtf(dx * dx + dy * dy));
    }
    const float r = kGlowReach * reach;
    // A circle starting right of the centre and running downward on the screen first.
    Vec2 rim[kGlowPoints];
    for (std::size_t k = 0; k < kGlowPoints; ++k) {
        const float angle = (static_cast<float>(k) * kTwoPi) / static_cast<float>(kGlowPoints);
        rim[k] = Vec2{centre.x + r * Cos(angle), centre.y + r * Sin(angle)};
    }
    out.RadialPolygon(kGlowInner, kGlowOuter, centre, r, rim);
}

void DrawLamp(DisplayListWriter& out, const LeadFrame& frame, float rear, float from, float to)
{
    const CameraPoint lamp[4] = {
        LeadToCamera(frame, from, rear, kLampLow),
        LeadToCamera(frame, to, rear, kLampLow),
        LeadToCamera(frame, to, rear, kLampHigh),
        LeadToCamera(frame, from, rear, kLampHigh),
    };
    DrawGlow(out, frame.view->projection, lamp);
    EmitLeadPolygon(out, frame.view->projection, lamp, 4, kLampColour);
}

} // namespace

void DrawLeadBeams(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model,
                   float sun_height)
{
    if (!(sun_height + kBeamSunOffset < kBeamDusk)) return;
    const float a1 = frame.centre - kLeadHalfWidth;
    const float a2 = frame.centre + kLeadHalfWidth;
    EmitHeadlightBeam(out, *frame.view, frame.n, model.front, a1 + kBeamInset);
    EmitHeadlightBeam(out, *frame.view, frame.n, model.front, a2 - kBeamInset);
}

void DrawBrakeLights(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model)
{
    const float a1 = frame.centre - kLeadHalfWidth;
    const float a2 = frame.centre + kLeadHalfWidth;
    DrawLamp(out, frame, model.rear, a1 + kLampOuter, a1 + kLampInner);
    DrawLamp(out, frame, model.rear, a2 - kLampInner, a2 - kLampOuter);
}

} // namespace veldmark
