#pragma once
// Radio masts: 80-unit lattice towers on a square base, drawn in true perspective from thick
// grey members, with a blinking light on top. They stand far off, so they follow the world's
// curvature: a mast sinks by its squared distance over 40,000 and is gone once it has sunk by
// its whole height.
#include "render/display_list.h"
#include "render/track_transform.h"
#include "scene/frame_lists.h"

namespace veldmark {

inline constexpr float kMastHeight = 80.0f;
inline constexpr float kMastCurvature = 40000.0f;

// How far the light is on at `ticks` for a mast of this blink phase: 0 dark to 1 full.
float MastLightOpacity(float blink_phase, float ticks);

// Draws one mast: the four legs, the rings from the lowest up, the diagonal bracing of the
// lower bay and then the upper one, and the light.
void DrawMast(DisplayListWriter& out, const CameraView& view, const MastEntry& mast, float ticks);

} // namespace veldmark
