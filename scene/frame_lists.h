#pragma once
// The frame's standing objects, gathered section by section, nearest section first, and drawn
// later by the depth-ordered pass. Each list has a fixed capacity; a list that is full refuses
// further entries, so the farthest sections are the ones that lose theirs.
#include <cstddef>
#include <cstdint>

#include "render/track_transform.h"
#include "scene/animal_sprite.h"
#include "scene/lion_entry.h"

namespace veldmark {

inline constexpr std::size_t kVegetationCapacity = 640;
inline constexpr std::size_t kMastCapacity = 16;

// A tree or bush in camera space.
struct VegetationSprite {
    float camera_x;          // lateral offset from the view axis, world units
    float depth;             // > 0.4 once listed
    float height;            // world units
    std::uint32_t colour;    // 0xRRGGBB of the crown
};

// A radio mast keeps its place in road coordinates: it is drawn in true perspective, and its
// base corners are placed around that point in the frame of its own section.
struct MastEntry {
    TrackRef ref;            // the section it belongs to
    float along;
    float across;            // from the road edge
    float yaw;               // turn of the square base, radians
    float depth;             // of the mast point, the sort key
    float blink_phase;       // ticks, 0 to 119: masts blink out of step with each other
};

// Animals rejected while gathering, for the host's statistics.
struct AnimalCounters {
    std::uint32_t too_small;      // spots under 2 logical pixels at the rest focal length
    std::uint32_t out_of_range;   // herd and group spots of sections 3 or more ahead
};

struct FrameLists {
    VegetationSprite vegetation[kVegetationCapacity];
    std::size_t vegetation_count;
    AnimalSprite animals[kAnimalCapacity];
    std::size_t animal_count;
    MastEntry masts[kMastCapacity];
    std::size_t mast_count;
    LionList lions;
    AnimalCounters counters;
};

} // namespace veldmark
