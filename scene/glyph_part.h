#pragma once
// The vector pictures of the animals and the lion: constant lists of filled outlines in a
// picture space of their own, drawn back to front. Their points come from scene/art, where
// each picture is described as a few named shapes; these are the records the tables hold.
#include <cstddef>
#include <cstdint>

namespace veldmark {

// A point of a picture: x across (0 at the animal's centre), y up from the feet (1 = size).
struct GlyphPoint {
    float x;
    float y;
};

enum GradientKind : std::uint8_t {
    kGradientLinear = 1,
    kGradientElliptic = 2,
};

// Points beyond these make a part too long to be drawn; such a part is skipped.
inline constexpr std::uint64_t kGlyphPartMaxPoints = 512;
inline constexpr std::uint64_t kLionPartMaxPoints = 256;

// One polygon of an animal picture: a flat fill, or a gradient whose axis (linear: p0 to p1;
// elliptic: centre with axes u and v) is given in picture space like the outline.
struct GlyphPart {
    const GlyphPoint* points;
    std::uint64_t count;
    std::uint32_t fill;        // 0xRRGGBB without a gradient
    std::uint32_t colour_a;    // 0xAARRGGBB at the gradient's start
    float start;
    std::uint32_t colour_b;    // 0xAARRGGBB at its end
    float end;
    GlyphPoint p0, p1;
    GlyphPoint centre, u, v;
    std::uint8_t gradient_kind;
    std::uint8_t has_gradient;
};

struct AnimalGlyph {
    std::uint32_t kind;        // code point of the pictograph
    const GlyphPart* parts;
    std::uint64_t count;
};

// One flat polygon of a lion picture, in the lion's picture space (x from about -0.72 to 1.46
// with 0 at the reference point, y up from the ground, 1 = size).
struct LionPart {
    const GlyphPoint* points;
    std::uint64_t count;
    std::uint32_t colour;      // 0xRRGGBB
};

struct LionPose {
    const LionPart* parts;
    std::uint64_t count;
};

// Builders that keep the generated tables one line per part.
template <std::size_t N>
constexpr GlyphPart FlatPart(const GlyphPoint (&points)[N], std::uint32_t fill)
{
    return GlyphPart{points, N, fill, 0, 0.0f, 0, 0.0f, {}, {}, {}, {}, {}, 0, 0};
}

template <std::size_t N>
constexpr GlyphPart LinearPart(const GlyphPoint (&points)[N], std::uint32_t colour_a, float start,
                               std::uint32_t colour_b, float end, GlyphPoint p0, GlyphPoint p1)
{
    return GlyphPart{points, N, 0, colour_a, start, colour_b, end, p0, p1, {}, {}, {},
                     kGradientLinear, 1};
}

template <std::size_t N>
constexpr GlyphPart EllipticPart(const GlyphPoint (&points)[N], std::uint32_t colour_a,
                                 float start, std::uint32_t colour_b, float end,
                                 GlyphPoint centre, GlyphPoint u, GlyphPoint v)
{
    return GlyphPart{points, N, 0, colour_a, start, colour_b, end, {}, {}, centre, u, v,
                     kGradientElliptic, 1};
}

template <std::size_t N>
constexpr LionPart Outline(const GlyphPoint (&points)[N], std::uint32_t colour)
{
    return LionPart{points, N, colour};
}

} // namespace veldmark
