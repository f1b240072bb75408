#pragma once
// The horizon silhouettes: what lies infinitely far away on the horizon, fixed to the world,
// so it moves only when the view turns. Two mountain ranges, a snow cap on the nearer, higher
// one, and a band of low green hills all around that merges with the ground below the horizon.
#include <cstdint>

#include "render/display_list.h"

namespace veldmark {

inline constexpr std::uint32_t kHillColour = 0x4A8F43;   // the ground colour of the background

// A mountain range about one bearing: the profile rises as a cosine bump over the half-width,
// rippled by two cosines of the bearing.
struct MountainRange {
    float centre;        // the range stands about bearing -centre
    float half_width;    // radians
    float height;        // logical pixels at rest zoom
    float ripple1;
    float ripple2;
    int red, green, blue;   // day colour; darkened by the light factor
};

inline constexpr MountainRange kFarRange = {2.0416f, 0.72f, 120.0f, 11.0f, 27.0f, 57, 67, 95};
inline constexpr MountainRange kNearRange = {0.0f, 0.95f, 150.0f, 8.0f, 21.0f, 91, 106, 143};

// What the horizon depends on in this frame.
struct HorizonView {
    float bearing;      // absolute view bearing
    float focal;
    float zoom;         // focal / rest focal length
    float darkness;     // 0 by day, 1 at night
    float light;        // 1 - darkness / 2: what the distant mountains keep of their colour
    float view_width;
};

// Height of a range's profile along `bearing`, in logical pixels at rest zoom.
float RangeHeight(const MountainRange& range, float bearing);

// The bearing a screen column looks along.
float ColumnBearing(const HorizonView& view, float x);

// Colours as the light of the frame makes them.
std::uint32_t RangeColour(const MountainRange& range, float light);
std::uint32_t SnowColour(float darkness);

// Appends the far range, the near range, its snow cap and the hills (each only if it fits).
void EmitHorizon(DisplayListWriter& out, const HorizonView& view);

} // namespace veldmark
