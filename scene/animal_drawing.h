#pragma once
// Drawing one animal: its picture stood upright on the ground at the sprite's place, facing the
// camera, scaled by distance and mirrored when the sprite says so.
#include "render/display_list.h"
#include "scene/animal_sprite.h"
#include "scene/glyph_part.h"

namespace veldmark {

// Where a picture lands on the logical screen: picture point (x, y) goes to
// (centre_x + scale * mirror * x, ground_y - scale * y).
struct GlyphPlacement {
    float centre_x;
    float ground_y;
    float scale;     // picture height in logical pixels
    float mirror;    // 1, or -1 for a left-right reversed picture
};

// Writes one command per part, back to front; a part that does not fit in the list, or whose
// point count is out of range, is skipped and the next one is tried.
void DrawAnimalGlyph(DisplayListWriter& out, const AnimalGlyph& glyph, const GlyphPlacement& at);

// Projects the sprite with this frame's focal length and draws its kind's picture. Nothing is
// drawn for a kind without a picture or a picture under one logical pixel tall.
void DrawAnimal(DisplayListWriter& out, const AnimalSprite& sprite, float focal, float view_width);

} // namespace veldmark
