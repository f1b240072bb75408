#pragma once
// One animal gathered for this frame: where it stands in camera space and which picture it is.
// Gathering fills a list of these (herds, groups, the corner pair, the ducks); the draw pass
// hands each one to DrawAnimal when its depth comes up.
#include <cstddef>
#include <cstdint>

namespace veldmark {

inline constexpr std::size_t kAnimalCapacity = 320;

struct AnimalSprite {
    float camera_x;          // lateral offset from the view axis, world units
    float depth;             // distance ahead of the eye, > 0.4 once listed
    float size;              // drawn height, world units
    std::uint32_t kind;      // code point of the animal's pictograph
    std::uint8_t mirrored;   // bit 0: drawn left-right reversed
};

} // namespace veldmark
