#pragma once
// The seven pictures of the lion, indexed by LionPoseIndex.
#include <cstddef>
#include <span>

#include "scene/glyph_part.h"
#include "scene/lion_entry.h"

namespace veldmark {

// All seven, in pose order.
std::span<const LionPose> LionPoses();

// The picture for `pose`, or nullptr when the pose is not one of the seven.
const LionPose* FindLionPose(std::size_t pose);

} // namespace veldmark
