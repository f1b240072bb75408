#pragma once
// A 64-bit FNV-1a hash of a frame's pixels: two frames are the same picture exactly when (with
// overwhelming likelihood) their hashes agree. Used to check determinism across runs and worker
// counts.
#include <cstddef>
#include <cstdint>

namespace veldmark {

inline std::uint64_t HashPixels(const std::uint32_t* pixels, std::size_t count)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= pixels[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

} // namespace veldmark
