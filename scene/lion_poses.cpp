#include "scene/lion_poses.h"

namespace veldmark {

const LionPose* FindLionPose(std::size_t pose)
{
    const std::span<const LionPose> poses = LionPoses();
    return pose < poses.size() ? &poses[pose] : nullptr;
}

} // namespace veldmark
