#pragma once
// The lead vehicle's lights: two headlight beams on the road ahead of it once the sun is low,
// painted before its body so the body covers their start; and, while it brakes, two red brake
// lights on its rear face, each over a soft red-orange glow, painted after the body.
#include "render/display_list.h"
#include "scene/lead_vehicle.h"

namespace veldmark {

// The headlights come on when the sun, `sun_height` logical pixels above the horizon line at
// rest zoom, has sunk a little below it.
void DrawLeadBeams(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model,
                   float sun_height);

// Both brake lights, each its glow and then its lamp. A glow needs the whole lamp beyond the
// near plane; the lamp itself is cut at it.
void DrawBrakeLights(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model);

} // namespace veldmark
