#pragma once
// Colour words as the display list and the frame packet carry them: 0x00RRGGBB.
#include <cmath>
#include <cstdint>

namespace veldmark {

// A channel value rounded to the nearest whole number, halves away from zero, and kept inside
// 0..255 (0 for NaN) so that the conversion to an integer is always defined.
inline std::uint32_t NearestChannel(float value)
{
    const float rounded = roundf(value);
    if (!(rounded >= 0.0f)) return 0;
    if (rounded >= 255.0f) return 255;
    return static_cast<std::uint32_t>(rounded);
}

inline std::uint32_t PackRgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return (r << 16) | (g << 8) | b;
}

// Each channel rounded to the nearest, then packed.
inline std::uint32_t PackNearest(float r, float g, float b)
{
    return PackRgb(NearestChannel(r), NearestChannel(g), NearestChannel(b));
}

} // namespace veldmark
