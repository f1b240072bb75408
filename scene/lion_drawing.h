#pragma once
// Drawing the lion: one of its seven pictures stood at its place, raised by its leap. The lion
// is always drawn the same way round; it crosses the road in one direction only.
#include "render/display_list.h"
#include "scene/glyph_part.h"
#include "scene/lion_entry.h"

namespace veldmark {

// Where the picture lands: picture point (x, y) goes to
// (reference_x + scale * x, ground_y - scale * (lift + y)).
struct LionPlacement {
    float reference_x;
    float ground_y;
    float scale;     // picture height (size) in logical pixels
    float lift;      // in units of size
};

// Writes each part as a flat polygon, back to front. A part with fewer than 3 or more than 256
// points, or that does not fit in the list, is skipped and the next one is tried.
void DrawLionPose(DisplayListWriter& out, const LionPose& pose, const LionPlacement& at);

// Projects the entry with this frame's focal length and draws its pose. Nothing is drawn for an
// unknown pose or a picture under one logical pixel tall.
void DrawLion(DisplayListWriter& out, const LionEntry& lion, float focal, float view_width);

} // namespace veldmark
