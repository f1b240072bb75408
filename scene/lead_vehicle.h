#pragma once
// The lead vehicle: a blue box-shaped vehicle with a sloping front and five wheels a side,
// driving ahead on the road. It is rigid in the frame of the section it stands in: near a
// section end its front reaches straight on past the corner rather than bending with the road.
//
// Its points take their own path into camera space: model point (across, along) through the
// turns of the sections before it, then relative to the camera, with the ground's fall-off
// added to the height. The projection divides before it scales, (x / depth) x focal.
#include <cstddef>
#include <cstdint>

#include "render/camera_space.h"
#include "render/display_list.h"
#include "render/track_transform.h"

namespace veldmark {

inline constexpr float kLeadHalfWidth = 1.2f;

// Where the lead vehicle stands this frame, if it is in view: in the section at visible
// index `n`, at `along` (the middle of its rear box), `depth` ahead of the eye.
struct LeadPlacement {
    bool present;
    std::uint64_t n;
    float along;
    float depth;
};

// Walks `lead_position` (a route distance) forward from the camera through the visible
// sections; `route_before_camera` is the route distance to the start of the camera's section.
// Not present when the vehicle is behind the camera or at depth 0.4 or nearer, or when it
// lies beyond the last visible section or beyond a terminal one.
LeadPlacement PlaceLeadVehicle(const CameraView& view, float route_before_camera,
                               float lead_position);

// The along positions of the model, worked out once per frame from the placement.
struct LeadModel {
    float rear;        // rear face
    float roof_end;    // where the flat roof gives way to the sloping front
    float front;       // front face
    float box_front;   // front end of the rear box, where the lower cab begins
    float wheels[5];   // wheel centres, rear first
};

LeadModel PrepareLeadModel(float along);

// The vehicle's frame for one frame: the view, its section's visible index and centre line.
struct LeadFrame {
    const CameraView* view;
    std::uint64_t n;
    float centre;      // across of the centre line of its section
};

LeadFrame MakeLeadFrame(const CameraView& view, std::uint64_t n);

// A model point (across from the road edge, along, height) in camera space.
CameraPoint LeadToCamera(const LeadFrame& frame, float across, float along, float height);

// The logical screen position of a camera-space point of the vehicle (depth >= 0.4).
Vec2 ProjectLead(const Projection& projection, const CameraPoint& p);

// Cuts a polygon at the near plane, projects it and appends it as a FlatPolygon, whole or not
// at all. Returns whether it was written.
bool EmitLeadPolygon(DisplayListWriter& out, const Projection& projection,
                     const CameraPoint* vertices, std::size_t count, std::uint32_t colour);

// The body and wheels: 16 polygons, drawn farthest first by their mean depth.
void DrawLeadBody(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model);

} // namespace veldmark
