#pragma once
// Trees and bushes: every roadside object is drawn as the same tree, a brown trunk under a
// conical crown of eight stacked layers that widen downward, sized and coloured by its entry.
// A near tree gets round, perspective-correct crown layers; a far one gets flat triangles.
#include <cstddef>
#include <span>

#include "render/camera_space.h"
#include "render/display_list.h"
#include "scene/frame_lists.h"

namespace veldmark {

// Round crowns are worth their trigonometry only this close.
inline constexpr float kRoundCrownDepth = 200.0f;
// Only the trees with fewer than this many others strictly nearer get the shaded trunk.
inline constexpr std::size_t kNearTreeRank = 4;

// The depth up to which a tree of this list counts as near: the fourth-smallest depth, or
// infinity when the list holds fewer than four trees. A tree is near when its depth is at
// most this, that is when fewer than four trees are strictly nearer.
float NearTreeLimit(std::span<const VegetationSprite> vegetation);

// Draws one tree; `near` says whether it is one of the nearest few.
void DrawTree(DisplayListWriter& out, const Projection& projection, const VegetationSprite& tree,
              bool near);

} // namespace veldmark
