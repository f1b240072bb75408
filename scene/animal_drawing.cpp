#include "scene/animal_drawing.h"

#include <cmath>

#include "render/camera_space.h"
#include "scene/animal_glyphs.h"
#include "world/limits.h"

namespace veldmark {
namespace {

// A picture under one logical pixel would only speckle the ground.
constexpr float kMinimumScale = 1.0f;

Vec2 MapPoint(const GlyphPlacement& at, GlyphPoint p)
{
    return Vec2{at.centre_x + at.scale * at.mirror * p.x, at.ground_y - at.scale * p.y};
}

Vec2 MapVector(const GlyphPlacement& at, GlyphPoint v)
{
    return Vec2{at.scale * at.mirror * v.x, -at.scale * v.y};
}

} // namespace

void DrawAnimalGlyph(DisplayListWriter& out, const AnimalGlyph& glyph, const GlyphPlacement& at)
{
    Vec2 mapped[kGlyphPartMaxPoints];
    for (std::uint64_t p = 0; p < glyph.count; ++p) {
        const GlyphPart& part = glyph.parts[p];
        if (part.count > kGlyphPartMaxPoints || part.count < 3) continue;
        for (std::uint64_t i = 0; i < part.count; ++i) mapped[i] = MapPoint(at, part.points[i]);
        const std::span<const Vec2> outline(mapped, part.count);
        if (!part.has_gradient) {
            out.FlatPolygon(part.fill, outline);
        } else if (part.gradient_kind == kGradientLinear) {
            out.LinearPolygon(part.colour_a, part.colour_b, part.start, part.end,
                              MapPoint(at, part.p0), MapPoint(at, part.p1), outline);
        } else if (part.gradient_kind == kGradientElliptic) {
            out.EllipticPolygon(part.colour_a, part.colour_b, part.start, part.end,
                                MapPoint(at, part.centre), MapVector(at, part.u),
                                MapVector(at, part.v), outline);
        }
    }
}

void DrawAnimal(DisplayListWriter& out, const AnimalSprite& sprite, float focal, float view_width)
{
    const AnimalGlyph* glyph = FindAnimalGlyph(sprite.kind);
    if (glyph == nullptr) return;
    const float ground = kHorizonY + kEyeHeight * focal / sprite.depth;
    const float scale = sprite.size * focal / sprite.depth;
    // Written so that NaN (a depth of 0 over 0, say) also fails the test.
    if (!(scale >= kMinimumScale) || !std::isfinite(scale)) return;
    const float centre = view_width / 2.0f + sprite.camera_x * focal / sprite.depth;
    const float mirror = (sprite.mirrored & 1u) ? -1.0f : 1.0f;
    DrawAnimalGlyph(out, *glyph, GlyphPlacement{centre, ground, scale, mirror});
}

} // namespace veldmark
