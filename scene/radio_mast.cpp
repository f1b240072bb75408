#include "scene/radio_mast.h"

#include <cmath>

#include "render/ground_polygon.h"
#include "world/angles.h"
#include "world/float_math.h"

namespace veldmark {
namespace {

constexpr float kHalfBase = 6.0f;
// The base corners, in order round the square, as (across, along) signs.
constexpr float kCorners[4][2] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
constexpr float kMemberWidth = 0.24f;   // world units at the top's depth
constexpr float kRings[] = {20.0f, 40.0f, 60.0f};
constexpr float kBays[] = {0.0f, 20.0f};
constexpr float kBayHeight = 20.0f;
constexpr std::uint32_t kMemberColour = 0x9AA0A8;

constexpr std::uint32_t kLightColour = 0xFF2FE6;
constexpr float kLightRadius = 3.0f;      // world units
constexpr float kBlinkPeriod = 120.0f;    // ticks
constexpr float kDarkLight = 0.02f;       // opacity under which the light is not drawn
constexpr float kSmallestLight = 0.5f;    // logical pixels

CameraPoint Lerp(const CameraPoint& a, const CameraPoint& b, float s)
{
    return CameraPoint{a.lateral + (b.lateral - a.lateral) * s, a.depth + (b.depth - a.depth) * s,
                       a.height + (b.height - a.height) * s};
}

// The mast in camera space: its base corners and its top, sunk by its drop.
class Lattice {
public:
    Lattice(const PlanPoint (&base)[4], PlanPoint top, float drop) : top_(top), drop_(drop)
    {
        for (int k = 0; k < 4; ++k) base_[k] = base[k];
    }

    // Leg k at fraction s of the way from its base corner (0) to the top (1).
    CameraPoint Leg(int k, float s) const
    {
        const PlanPoint& c = base_[k & 3];
        return CameraPoint{c.x + (top_.x - c.x) * s, c.d + (top_.d - c.d) * s,
                           kMastHeight * s - drop_};
    }

    CameraPoint Top() const { return CameraPoint{top_.x, top_.d, kMastHeight - drop_}; }

private:
    PlanPoint base_[4];
    PlanPoint top_;
    float drop_;
};

// Moves an end nearer than the near plane along its member to depth exactly 0.4.
CameraPoint ToNearPlane(const CameraPoint& p, const CameraPoint& q)
{
    const float t = (kNearDepth - p.depth) / (q.depth - p.depth);
    return CameraPoint{p.lateral + t * (q.lateral - p.lateral), kNearDepth,
                       p.height + t * (q.height - p.height)};
}

// A member is a quad `width` pixels thick around its projected centre line.
void Member(DisplayListWriter& out, const Projection& projection, CameraPoint a, CameraPoint b,
            float width)
{
    if (a.depth < kNearDepth && b.depth < kNearDepth) return;
    if (a.depth < kNearDepth) a = ToNearPlane(a, b);
    if (b.depth < kNearDepth) b = ToNearPlane(b, a);
    const Vec2 sa = Project(projection, a);
    const Vec2 sb = Project(projection, b);
    const Vec2 along{sb.x - sa.x, sb.y - sa.y};
    float length = sqrtf(along.x * along.x + along.y * along.y);
    if (length < 0.0001f) length = 1.0f;
    const Vec2 normal{-along.y / length, along.x / length};
    const Vec2 half{normal.x * width / 2.0f, normal.y * width / 2.0f};
    const Vec2 quad[] = {{sa.x + half.x, sa.y + half.y},
                         {sb.x + half.x, sb.y + half.y},
                         {sb.x - half.x, sb.y - half.y},
                         {sa.x - half.x, sa.y - half.y}};
    out.FlatPolygon(kMemberColour, quad);
}

} // namespace

float MastLightOpacity(float blink_phase, float ticks)
{
    float u = fmodf(blink_phase + ticks, kBlinkPeriod);
    if (u < 0.0f) u += kBlinkPeriod;
    return (1.0f - Cos((kTwoPi * u) / kBlinkPeriod)) / 2.0f;
}

void DrawMast(DisplayListWriter& out, const CameraView& view, const MastEntry& mast, float ticks)
{
    const float cy = Cos(mast.yaw);
    const float sy = Sin(mast.yaw);
    PlanPoint base[4];
    for (int k = 0; k < 4; ++k) {
        const float cx = kCorners[k][0];
        const float ca = kCorners[k][1];
        base[k] = TrackToCamera(view.chain, view.camera, mast.ref,
                                mast.along + kHalfBase * ((ca * cy) + (cx * sy)),
                                mast.across + kHalfBase * ((cx * cy) - (ca * sy)));
    }
    const PlanPoint top = TrackToCamera(view.chain, view.camera, mast.ref, mast.along, mast.across);
    if (!(top.d >= kNearDepth)) return;
    const float drop = ((top.x * top.x) + (top.d * top.d)) / kMastCurvature;
    if (!(drop < kMastHeight)) return;

    const Projection& projection = view.projection;
    const float width = (kMemberWidth * projection.focal) / top.d;
    const Lattice mast_lattice(base, top, drop);

    // The legs rise from where the sunken ground meets them.
    for (int k = 0; k < 4; ++k)
        Member(out, projection, mast_lattice.Leg(k, drop / kMastHeight), mast_lattice.Top(), width);

    for (const float h : kRings) {
        if (!(h > drop)) continue;
        const float s = h / kMastHeight;
        for (int c = 1; c <= 4; ++c) {
            CameraPoint a = mast_lattice.Leg(c - 1, s);
            CameraPoint b = mast_lattice.Leg(c % 4, s);
            a.height = h - drop;
            b.height = h - drop;
            Member(out, projection, a, b, width);
        }
    }

    for (const float bottom : kBays) {
        const float top_of_bay = bottom + kBayHeight;
        if (!(top_of_bay > drop)) continue;
        const float s0 = bottom / kMastHeight;
        const float s1 = top_of_bay / kMastHeight;
        // A bay the ground has half swallowed starts where the ground now is.
        const float buried = drop > bottom ? (drop - bottom) / kBayHeight : 0.0f;
        for (int c = 1; c <= 4; ++c) {
            const int left = c - 1;
            const int right = c % 4;
            const CameraPoint up1 = mast_lattice.Leg(right, s1);
            const CameraPoint up2 = mast_lattice.Leg(left, s1);
            CameraPoint low1 = mast_lattice.Leg(left, s0);
            CameraPoint low2 = mast_lattice.Leg(right, s0);
            if (buried > 0.0f) {
                low1 = Lerp(low1, up1, buried);
                low2 = Lerp(low2, up2, buried);
            }
            Member(out, projection, low1, up1, width);
            Member(out, projection, low2, up2, width);
        }
    }

    const float opacity = MastLightOpacity(mast.blink_phase, ticks);
    if (opacity < kDarkLight) return;
    const float radius = (kLightRadius * projection.focal) / top.d;
    if (radius < kSmallestLight) return;
    out.Disc(kLightColour, Project(projection, mast_lattice.Top()), radius, opacity);
}

} // namespace veldmark
