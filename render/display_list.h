#pragma once
// The display list: a flat stream of 32-bit words describing one frame's scene in a logical
// 960 x 600 screen, drawn in order (painter's order, no depth). Written by the scene builder on
// the main thread, copied into a frame packet, decoded by a render worker.
//
// Command layout (w0 opcode, w1 colour 0xAARRGGBB, then):
//   0 FlatPolygon      w2 n                                          + n vertices
//   1 BandPolygon      w2 shade amount, w3 n                         + n vertices
//   2 FlatPolygon      (second code; as 0)                           + n vertices
//   3 Disc             w2 cx, w3 cy, w4 radius, w5 opacity 0..1      (6 words, no vertices)
//   4 RadialPolygon    w2 outer colour, w3 cx, w4 cy, w5 radius, w6 n + n vertices
//   5 LinearPolygon    w2 end colour, w3 start, w4 end, w5-w8 P0 P1, w9 n + n vertices
//   6 EllipticPolygon  w2 outer colour, w3 start, w4 end, w5-w6 centre, w7-w8 U, w9-w10 V,
//                      w11 n                                         + n vertices
//   any other opcode   decodes as FlatPolygon.
// A vertex is two float words, x then y. Floats are stored bit for bit.
#include <cstdint>
#include <span>

#include "world/bit_cast.h"
#include "world/limits.h"

namespace veldmark {

enum Opcode : std::uint32_t {
    kOpFlatPolygon = 0,
    kOpBandPolygon = 1,
    kOpFlatPolygon2 = 2,
    kOpDisc = 3,
    kOpRadialPolygon = 4,
    kOpLinearPolygon = 5,
    kOpEllipticPolygon = 6,
};

// Header words of each command, vertices not counted.
inline constexpr std::uint32_t kFlatHeaderWords = 3;
inline constexpr std::uint32_t kBandHeaderWords = 4;
inline constexpr std::uint32_t kDiscWords = 6;
inline constexpr std::uint32_t kRadialHeaderWords = 7;
inline constexpr std::uint32_t kLinearHeaderWords = 10;
inline constexpr std::uint32_t kEllipticHeaderWords = 12;

// Header words of a command by its opcode; a Disc is all header, and every other opcode keeps
// its vertex count in its last header word. Unknown opcodes read as flat polygons.
constexpr std::uint32_t HeaderWords(std::uint32_t opcode)
{
    switch (opcode) {
    case kOpBandPolygon: return kBandHeaderWords;
    case kOpDisc: return kDiscWords;
    case kOpRadialPolygon: return kRadialHeaderWords;
    case kOpLinearPolygon: return kLinearHeaderWords;
    case kOpEllipticPolygon: return kEllipticHeaderWords;
    default: return kFlatHeaderWords;   // 0, 2 and every unknown opcode
    }
}

struct Vec2 {
    float x;
    float y;
};

inline std::uint32_t FloatWord(float f) { return BitCast<std::uint32_t>(f); }
inline float WordFloat(std::uint32_t w) { return BitCast<float>(w); }

// Appends commands to a word buffer with the fit rule: a command is written whole, or, when it
// would run past the capacity, not at all (the length is then unchanged and the caller simply
// goes on with its next command; a dropped command is not an error).
class DisplayListWriter {
public:
    DisplayListWriter(std::uint32_t* words, std::uint64_t& length,
                      std::uint64_t capacity = kDisplayListWords)
        : words_(words), length_(length), capacity_(capacity) {}

    bool Fits(std::uint64_t command_words) const
    {
        return length_ <= capacity_ && command_words <= capacity_ - length_;
    }

    bool FlatPolygon(std::uint32_t colour, std::span<const Vec2> vertices);
    bool BandPolygon(std::uint32_t colour, float shade, std::span<const Vec2> vertices);
    bool Disc(std::uint32_t colour, Vec2 centre, float radius, float opacity);
    bool RadialPolygon(std::uint32_t inner, std::uint32_t outer, Vec2 centre, float radius,
                       std::span<const Vec2> vertices);
    bool LinearPolygon(std::uint32_t start_colour, std::uint32_t end_colour, float start,
                       float end, Vec2 p0, Vec2 p1, std::span<const Vec2> vertices);
    bool EllipticPolygon(std::uint32_t inner, std::uint32_t outer, float start, float end,
                         Vec2 centre, Vec2 u, Vec2 v, std::span<const Vec2> vertices);

    std::uint64_t length() const { return length_; }

private:
    // Writes a header (opcode, colour, fields, vertex count) and the vertices, or nothing.
    bool Append(std::span<const std::uint32_t> header, std::span<const Vec2> vertices);

    std::uint32_t* words_;
    std::uint64_t& length_;
    std::uint64_t capacity_;
};

} // namespace veldmark
