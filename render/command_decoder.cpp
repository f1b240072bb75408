#include "render/command_decoder.h"

#include <cstddef>

namespace veldmark {
namespace {

inline constexpr float kMinRadialRadius = 0.5f;   // logical units; smaller gradients are not drawn
inline constexpr std::uint64_t kMinPolygonVertices = 3;

Vec2 PointAt(const std::uint32_t* w, std::size_t index)
{
    return Vec2{WordFloat(w[index]), WordFloat(w[index + 1])};
}

} // namespace

std::uint64_t DecodeCommand(const std::uint32_t* words, std::uint64_t length,
                            std::uint64_t position, DecodedCommand& out)
{
    out.kind = DecodedCommand::Kind::kNothing;
    if (position >= length) return length;
    const std::uint32_t opcode = words[position];
    const std::uint64_t header = HeaderWords(opcode);
    if (header > length - position) return length;
    const std::uint32_t* w = words + position;
    const std::uint32_t colour = w[1];

    if (opcode == kOpDisc) {
        out.kind = DecodedCommand::Kind::kDisc;
        out.colour = colour;
        out.centre = PointAt(w, 2);
        out.radius = WordFloat(w[4]);
        out.opacity = WordFloat(w[5]);
        return position + kDiscWords;
    }

    // The vertex count is the header's last word; the vertices must lie wholly inside the list.
    const std::uint64_t n = w[header - 1];
    if (2 * n > length - position - header) return length;
    const std::uint64_t next = position + header + 2 * n;
    if (n < kMinPolygonVertices) return next;   // skipped over, never drawn
    const std::uint32_t* vertices = w + header;

    ShadeRecord shade;
    shade.colour_a = colour;
    switch (opcode) {
    case kOpBandPolygon:
        shade = MakeBandRecord(colour, WordFloat(w[2]), vertices, n);
        break;
    case kOpRadialPolygon:
        if (!(WordFloat(w[5]) >= kMinRadialRadius)) return next;
        shade = MakeRadialRecord(colour, w[2], PointAt(w, 3), WordFloat(w[5]));
        break;
    case kOpLinearPolygon:
        shade = MakeLinearRecord(colour, w[2], WordFloat(w[3]), WordFloat(w[4]), PointAt(w, 5),
                                 PointAt(w, 7));
        break;
    case kOpEllipticPolygon:
        shade = MakeEllipticRecord(colour, w[2], WordFloat(w[3]), WordFloat(w[4]), PointAt(w, 5),
                                   PointAt(w, 7), PointAt(w, 9));
        break;
    default:
        break;   // Flat with the colour word
    }
    out.kind = DecodedCommand::Kind::kPolygon;
    out.vertices = vertices;
    out.n = n;
    out.shade = shade;
    return next;
}

} // namespace veldmark
