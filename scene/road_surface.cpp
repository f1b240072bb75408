#include "scene/road_surface.h"

#include <cmath>

#include "render/ground_polygon.h"
#include "render/shape_emitters.h"

namespace veldmark {

std::uint32_t RoadPieceCount(float length)
{
    const float n = ceilf(length / kRoadPieceLength);
    if (!(n >= 1.0f)) return 1;
    if (n >= kMaxRoadPieces) return static_cast<std::uint32_t>(kMaxRoadPieces);
    return static_cast<std::uint32_t>(n);
}

void EmitRoadSurface(DisplayListWriter& out, const CameraView& view, std::uint64_t k)
{
    if (k >= view.chain.count) return;
    const SectionRecord& section = *view.chain.entries[k];
    const TrackRef ref = ChainRef(k);
    const float length = section.length;
    const float width = section.width;
    const std::uint32_t pieces = RoadPieceCount(length);
    const float n = static_cast<float>(pieces);
    for (std::uint32_t i = 0; i < pieces; ++i) {
        const float a0 = static_cast<float>(i) * length / n;
        const float a1 = static_cast<float>(i + 1) * length / n;
        const PlanPoint corners[] = {
            TrackToCamera(view.chain, view.camera, ref, a0, 0.0f),
            TrackToCamera(view.chain, view.camera, ref, a0, width),
            TrackToCamera(view.chain, view.camera, ref, a1, width),
            TrackToCamera(view.chain, view.camera, ref, a1, 0.0f),
        };
        EmitGroundPolygon(out, view.projection, corners, kRoadColour);
    }
}

void EmitRoadJoin(DisplayListWriter& out, const CameraView& view, std::uint64_t k)
{
    if (k + 1 >= view.chain.count) return;
    const SectionRecord& section = *view.chain.entries[k];
    const SectionRecord& next = *view.chain.entries[k + 1];
    EmitRoadPiece(out, view, ChainRef(k), ChainRef(k + 1), section.length, section.width,
                  next.width, (section.turns_right & 1) != 0);
}

void EmitRoadBehind(DisplayListWriter& out, const CameraView& view, const SectionRecord& behind)
{
    if (view.chain.count == 0) return;
    const SectionRecord& current = *view.chain.entries[0];
    EmitRoadPiece(out, view, BehindRef(behind), ChainRef(0), behind.length, behind.width,
                  current.width, (behind.turns_right & 1) != 0);
}

} // namespace veldmark
