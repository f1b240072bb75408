#pragma once
// How a polygon's pixels get their colour: the kind of fill and the values it needs, decoded
// once per command from the display list's header words.
#include <cstdint>

#include "render/display_list.h"

namespace veldmark {

enum class ShadeKind : std::uint8_t {
    kFlat = 0,       // one opaque colour, filled span by span
    kBlend = 1,      // one colour blended by its own top byte
    kBand = 2,       // opaque, dark at both x ends, light in the middle
    kRadial = 3,     // by distance from a centre, blended
    kLinear = 4,     // by projection onto a segment, blended
    kElliptic = 5,   // by elliptic distance from a centre, blended
};

struct ShadeRecord {
    ShadeKind kind = ShadeKind::kFlat;
    std::uint32_t colour_a = 0;   // Flat, Blend: the colour; Band: dark tone; gradients: at t = 0
    std::uint32_t colour_b = 0;   // Band: light tone; gradients: at t = 1
    float start = 0.0f;           // Linear, Elliptic: colour A up to this t
    float end = 1.0f;             // Linear, Elliptic: colour B from this t
    float min_x = 0.0f;           // Band: extent of the vertices' logical x
    float max_x = 0.0f;
    Vec2 centre = {0.0f, 0.0f};   // Radial, Elliptic
    float radius = 0.0f;          // Radial
    Vec2 p0 = {0.0f, 0.0f};       // Linear: the segment along which t runs
    Vec2 p1 = {0.0f, 0.0f};
    Vec2 u = {0.0f, 0.0f};        // Elliptic: the axes; t = 1 on the ellipse they span
    Vec2 v = {0.0f, 0.0f};
    float determinant = 0.0f;     // Elliptic: u.x v.y - u.y v.x
};

// Band tones and extent over the x of all `n` vertices at `vertex_words` (2 n words). Falls
// back to Flat when the shade amount is not positive or the extent is under one logical unit.
ShadeRecord MakeBandRecord(std::uint32_t colour, float shade, const std::uint32_t* vertex_words,
                           std::uint64_t n);

// The gradient ramps' start and end fractions: start within 0..1, end within start..1.
float ClampRampStart(float start);
float ClampRampEnd(float end, float clamped_start);

ShadeRecord MakeRadialRecord(std::uint32_t inner, std::uint32_t outer, Vec2 centre, float radius);
ShadeRecord MakeLinearRecord(std::uint32_t start_colour, std::uint32_t end_colour, float start,
                             float end, Vec2 p0, Vec2 p1);
// Blend of `inner` when the axes are (nearly) parallel and no ellipse is spanned.
ShadeRecord MakeEllipticRecord(std::uint32_t inner, std::uint32_t outer, float start, float end,
                               Vec2 centre, Vec2 u, Vec2 v);

} // namespace veldmark
