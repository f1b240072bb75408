#pragma once
// The lion as gathered for this frame: where it stands, which of its seven pictures it shows
// and how high its leap has carried it. Worked out afresh every frame from the car's approach.
#include <cstddef>
#include <cstdint>

namespace veldmark {

inline constexpr std::size_t kLionCapacity = 8;

// The seven pictures of the lion's scene, in the order it plays them.
enum LionPoseIndex : std::uint8_t {
    kLionWalkA = 0,
    kLionWalkB = 1,
    kLionSeated = 2,
    kLionCrouched = 3,
    kLionInFlight = 4,
    kLionLanding = 5,
    kLionLanded = 6,
};
inline constexpr std::size_t kLionPoseCount = 7;

struct LionEntry {
    float camera_x;      // lateral offset from the view axis, world units
    float depth;         // distance ahead of the eye
    float size;          // picture height, world units
    std::uint8_t pose;   // a LionPoseIndex
    float lift;          // height of the leap above the ground, in units of size
};

// The frame's lions, filled section by section; a lion beyond the capacity is not listed.
struct LionList {
    LionEntry entries[kLionCapacity];
    std::size_t count;
};

} // namespace veldmark
