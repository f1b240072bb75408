#include "render/rasteriser.h"

#include <cstddef>

#include "render/disc_filler.h"
#include "render/polygon_filler.h"
#include "render/shade_record.h"

namespace veldmark {
namespace {

inline constexpr float kMinRadialRadius = 0.5f;   // logical units; smaller gradients are not drawn

Vec2 PointAt(const std::uint32_t* w, std::size_t index)
{
    return Vec2{WordFloat(w[index]), WordFloat(w[index + 1])};
}

} // namespace

std::uint64_t DrawCommand(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* words, std::uint64_t length,
                          std::uint64_t position)
{
    if (position >= length) return length;
    const std::uint32_t opcode = words[position];
    const std::uint64_t header = HeaderWords(opcode);
    if (header > length - position) return length;
    const std::uint32_t* w = words + position;
    const std::uint32_t colour = w[1];

    if (opcode == kOpDisc) {
        FillDisc(target, view, colour, PointAt(w, 2), WordFloat(w[4]), WordFloat(w[5]));
        return position + kDiscWords;
    }

    // The vertex count is the header's last word; the vertices must lie wholly inside the list.
    const std::uint64_t n = w[header - 1];
    if (2 * n > length - position - header) return length;
    const std::uint32_t* vertices = w + header;

    ShadeRecord shade;
    shade.colour_a = colour;
    bool fill = true;
    switch (opcode) {
    case kOpBandPolygon:
        shade = MakeBandRecord(colour, WordFloat(w[2]), vertices, n);
        break;
    case kOpRadialPolygon:
        shade = MakeRadialRecord(colour, w[2], PointAt(w, 3), WordFloat(w[5]));
        fill = WordFloat(w[5]) >= kMinRadialRadius;
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
    if (fill) FillPolygon(target, view, vertices, n, shade);
    return position + header + 2 * n;
}

void RasteriseDisplayList(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* words, std::uint64_t length)
{
    if (length > kDisplayListWords) length = kDisplayListWords;
    std::uint64_t position = 0;
    while (position < length) position = DrawCommand(target, view, words, length, position);
}

void RasteriseDisplayList(const RasterTarget& target, float roll, const std::uint32_t* words,
                          std::uint64_t length)
{
    RasteriseDisplayList(target, MakeViewTransform(roll), words, length);
}

void RasteriseDisplayList(const std::uint32_t* words, std::uint64_t length, float roll,
                          std::uint32_t* pixels)
{
    RasteriseDisplayList(RasterTarget{pixels, kFrameWidth, kFrameHeight}, roll, words, length);
}

} // namespace veldmark
