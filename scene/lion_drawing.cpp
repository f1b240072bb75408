#include "scene/lion_drawing.h"

#include <cmath>

#include "render/camera_space.h"
#include "scene/lion_poses.h"
#include "world/limits.h"

namespace veldmark {
namespace {

constexpr float kMinimumScale = 1.0f;   // logical pixels

} // namespace

void DrawLionPose(DisplayListWriter& out, const LionPose& pose, const LionPlacement& at)
{
    Vec2 mapped[kLionPartMaxPoints];
    for (std::uint64_t p = 0; p < pose.count; ++p) {
        const LionPart& part = pose.parts[p];
        if (part.count > kLionPartMaxPoints || part.count < 3) continue;
        for (std::uint64_t i = 0; i < part.count; ++i) {
            const GlyphPoint q = part.points[i];
            mapped[i] = Vec2{at.reference_x + at.scale * q.x, at.ground_y - at.scale * (at.lift + q.y)};
        }
        out.FlatPolygon(part.colour, std::span<const Vec2>(mapped, part.count));
    }
}

void DrawLion(DisplayListWriter& out, const LionEntry& lion, float focal, float view_width)
{
    const LionPose* pose = FindLionPose(lion.pose);
    if (pose == nullptr) return;
    const float ground = kHorizonY + kEyeHeight * focal / lion.depth;
    const float scale = lion.size * focal / lion.depth;
    if (!(scale >= kMinimumScale) || !std::isfinite(scale)) return;
    const float reference = view_width / 2.0f + lion.camera_x * focal / lion.depth;
    DrawLionPose(out, *pose, LionPlacement{reference, ground, scale, lion.lift});
}

} // namespace veldmark
