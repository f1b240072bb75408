#include "scene/lead_vehicle.h"

#include <algorithm>
#include <cmath>

#include "render/near_clip.h"
#include "world/angles.h"
#include "world/float_math.h"
#include "world/limits.h"

namespace veldmark {
namespace {

// Lengths along the vehicle, from the middle of its rear box. The two odd decimals are one
// float step above 1.05 and 1.925, so that the roof and the front wheel come out exactly where
// they always have.
constexpr float kHalfBox = 4.2f;
constexpr float kRoofBeyondBox = 1.05000007f;
constexpr float kFrontBeyondBox = 3.5f;
constexpr float kWheelInset = 1.6f;
constexpr float kWheelPairHalfGap = 0.6f;
constexpr float kFrontWheelBeyondBox = 1.92500007f;

// Heights of the outline.
constexpr float kBoxFloor = 1.12f;
constexpr float kRoof = 3.6f;
constexpr float kBonnet = 1.8f;
constexpr float kCabFloor = 0.5f;

constexpr float kWheelRadius = 0.5f;
constexpr std::size_t kWheelPoints = 16;

constexpr std::uint32_t kSideColour = 0x152150;
constexpr std::uint32_t kEndColour = 0x1C2E66;
constexpr std::uint32_t kRoofColour = 0x3A52A8;
constexpr std::uint32_t kWheelColour = 0x15151A;

constexpr std::size_t kPolygonCount = 16;
constexpr std::size_t kMaxPolygonPoints = kWheelPoints;

struct LeadPolygon {
    std::size_t count;
    std::uint32_t colour;
    CameraPoint vertices[kMaxPolygonPoints];
};

// The side outline as (along, height): the rear box, the roof running on over the cab, the
// sloping front, and the cab reaching down lower than the box.
struct OutlinePoint {
    float along;
    float height;
};

void Side(LeadPolygon& p, const LeadFrame& frame, const LeadModel& m, float across)
{
    const OutlinePoint outline[] = {
        {m.rear, kBoxFloor}, {m.rear, kRoof},     {m.roof_end, kRoof}, {m.front, kBonnet},
        {m.front, kCabFloor}, {m.box_front, kCabFloor}, {m.box_front, kBoxFloor},
    };
    p.count = std::size(outline);
    p.colour = kSideColour;
    for (std::size_t i = 0; i < p.count; ++i)
        p.vertices[i] = LeadToCamera(frame, across, outline[i].along, outline[i].height);
}

// A face across the vehicle from side a1 to side a2: corners (a1, near), (a2, near), (a2, far),
// (a1, far), each an (along, height).
void Face(LeadPolygon& p, const LeadFrame& frame, float a1, float a2, OutlinePoint near,
          OutlinePoint far, std::uint32_t colour)
{
    p.count = 4;
    p.colour = colour;
    p.vertices[0] = LeadToCamera(frame, a1, near.along, near.height);
    p.vertices[1] = LeadToCamera(frame, a2, near.along, near.height);
    p.vertices[2] = LeadToCamera(frame, a2, far.along, far.height);
    p.vertices[3] = LeadToCamera(frame, a1, far.along, far.height);
}

// A wheel standing on the road, from its forward-most point turning upward first.
void Wheel(LeadPolygon& p, const LeadFrame& frame, float across, float centre)
{
    p.count = kWheelPoints;
    p.colour = kWheelColour;
    for (std::size_t k = 0; k < kWheelPoints; ++k) {
        const float t = ((static_cast<float>(k) * 0.0625f) * 2.0f) * kPi;
        p.vertices[k] = LeadToCamera(frame, across, centre + kWheelRadius * Cos(t),
                                     kWheelRadius + kWheelRadius * Sin(t));
    }
}

float MeanDepth(const LeadPolygon& p)
{
    float sum = 0.0f;
    for (std::size_t i = 0; i < p.count; ++i) sum += p.vertices[i].depth;
    return sum / static_cast<float>(p.count);
}

} // namespace

LeadPlacement PlaceLeadVehicle(const CameraView& view, float route_before_camera,
                               float lead_position)
{
    const LeadPlacement none{false, 0, 0.0f, 0.0f};
    const SectionChain& chain = view.chain;
    if (chain.count == 0) return none;
    const float camera_along = view.camera.along;
    const float ahead = lead_position - (route_before_camera + camera_along);
    if (!(ahead > 0.0f)) return none;
    float p = ahead + camera_along;
    std::size_t n = 0;
    while (p > chain.entries[n]->length) {
        const bool last = chain.entries[n]->is_terminal != 0 || n + 1 >= kMaxVisibleSections ||
                          n + 1 >= chain.count;
        if (last) return none;
        p -= chain.entries[n]->length;
        ++n;
    }
    const PlanPoint at =
        TrackToCamera(chain, view.camera, ChainRef(n), p, chain.entries[n]->width / 2.0f);
    if (!(at.d > kNearDepth)) return none;
    return LeadPlacement{true, n, p, at.d};
}

LeadModel PrepareLeadModel(float along)
{
    LeadModel m{};
    m.rear = along - kHalfBox;
    m.box_front = along + kHalfBox;
    m.roof_end = m.box_front + kRoofBeyondBox;
    m.front = m.box_front + kFrontBeyondBox;
    const float rear_pair = m.rear + kWheelInset;
    const float front_pair = m.box_front - kWheelInset;
    m.wheels[0] = rear_pair - kWheelPairHalfGap;
    m.wheels[1] = rear_pair + kWheelPairHalfGap;
    m.wheels[2] = front_pair - kWheelPairHalfGap;
    m.wheels[3] = front_pair + kWheelPairHalfGap;
    m.wheels[4] = m.box_front + kFrontWheelBeyondBox;
    return m;
}

LeadFrame MakeLeadFrame(const CameraView& view, std::uint64_t n)
{
    const std::uint64_t k = std::min<std::uint64_t>(n, view.chain.count == 0 ? 0 : view.chain.count - 1);
    const float width = view.chain.count == 0 ? 0.0f : view.chain.entries[k]->width;
    return LeadFrame{&view, k, 0.5f * width};
}

CameraPoint LeadToCamera(const LeadFrame& frame, float across, float along, float height)
{
    const SectionChain& chain = frame.view->chain;
    float a = across;
    float z = along;
    for (std::uint64_t i = std::min<std::uint64_t>(frame.n, chain.count); i-- > 0;) {
        const SectionRecord& section = *chain.entries[i];
        const float s = chain.turn_sin[i];
        const float co = chain.turn_cos[i];
        const float length = section.length;
        const float w = section.width;
        if (section.turns_right & 1) {
            const float new_a = ((co * a) + (s * z)) + ((1.0f - co) * w);
            z = length + (((co * z) - (s * a)) + (s * w));
            a = new_a;
        } else {
            const float new_a = (co * a) - (s * z);
            z = length + ((co * z) + (s * a));
            a = new_a;
        }
    }
    const CameraRecord& camera = frame.view->camera;
    const float dx = z - camera.along;
    const float dy = a - camera.across;
    const float depth = (dx * camera.heading_cos) + (dy * camera.heading_sin);
    const float x = (dy * camera.heading_cos) - (dx * camera.heading_sin);
    return CameraPoint{x, depth, height + ((x * x) + (depth * depth)) / -kGroundCurvature};
}

Vec2 ProjectLead(const Projection& projection, const CameraPoint& p)
{
    return Vec2{projection.centre_x + (p.lateral / p.depth) * projection.focal,
                kHorizonY - ((p.height - kEyeHeight) / p.depth) * projection.focal};
}

bool EmitLeadPolygon(DisplayListWriter& out, const Projection& projection,
                     const CameraPoint* vertices, std::size_t count, std::uint32_t colour)
{
    constexpr std::size_t kMaxClipped = ClipCapacity(kMaxPolygonPoints);
    if (count > kMaxPolygonPoints) return false;
    CameraPoint clipped[kMaxClipped];
    const std::size_t m = ClipNear(vertices, count, clipped);
    if (m < 3) return false;
    Vec2 screen[kMaxClipped];
    for (std::size_t i = 0; i < m; ++i) screen[i] = ProjectLead(projection, clipped[i]);
    return out.FlatPolygon(colour, std::span<const Vec2>(screen, m));
}

void DrawLeadBody(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& m)
{
    const float a1 = frame.centre - kLeadHalfWidth;
    const float a2 = frame.centre + kLeadHalfWidth;
    LeadPolygon polygons[kPolygonCount];
    Side(polygons[0], frame, m, a1);
    Side(polygons[1], frame, m, a2);
    Face(polygons[2], frame, a1, a2, {m.rear, kBoxFloor}, {m.rear, kRoof}, kEndColour);
    Face(polygons[3], frame, a1, a2, {m.rear, kRoof}, {m.roof_end, kRoof}, kRoofColour);
    Face(polygons[4], frame, a1, a2, {m.roof_end, kRoof}, {m.front, kBonnet}, kEndColour);
    Face(polygons[5], frame, a1, a2, {m.front, kBonnet}, {m.front, kCabFloor}, kEndColour);
    for (std::size_t w = 0; w < 5; ++w) {
        Wheel(polygons[6 + w], frame, a1, m.wheels[w]);
        Wheel(polygons[11 + w], frame, a2, m.wheels[w]);
    }

    // Farthest first by mean depth; equal means keep the model's order.
    float mean[kPolygonCount];
    std::size_t order[kPolygonCount];
    for (std::size_t i = 0; i < kPolygonCount; ++i) {
        mean[i] = MeanDepth(polygons[i]);
        order[i] = i;
    }
    for (std::size_t i = 1; i < kPolygonCount; ++i) {
        const std::size_t moving = order[i];
        std::size_t j = i;
        for (; j > 0 && mean[moving] > mean[order[j - 1]]; --j) order[j] = order[j - 1];
        order[j] = moving;
    }

    for (const std::size_t i : order)
        EmitLeadPolygon(out, frame.view->projection, polygons[i].vertices, polygons[i].count,
                        polygons[i].colour);
}

} // namespace veldmark
