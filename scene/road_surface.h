#pragma once
// The road surface: a dark ribbon on the curved ground, each visible section cut into flat
// pieces at most 25 units long, and the joins that carry it round each corner.
#include <cstdint>

#include "render/display_list.h"
#include "render/track_transform.h"

namespace veldmark {

inline constexpr float kRoadPieceLength = 25.0f;
// More pieces than any section needs (the longest, 1200 units, takes 48); a longer section
// would be drawn in this many longer pieces.
inline constexpr float kMaxRoadPieces = 4096.0f;

// Pieces a section of this length is cut into.
std::uint32_t RoadPieceCount(float length);

// The pieces of the section at visible index `k`, nearest first.
void EmitRoadSurface(DisplayListWriter& out, const CameraView& view, std::uint64_t k);

// The last stretch of the section at visible index `k` and the wedge that joins it to the
// next visible section. Nothing when there is no next visible section.
void EmitRoadJoin(DisplayListWriter& out, const CameraView& view, std::uint64_t k);

// The last stretch of the section just behind the camera's section, and the wedge joining it
// to the camera's section.
void EmitRoadBehind(DisplayListWriter& out, const CameraView& view, const SectionRecord& behind);

} // namespace veldmark
