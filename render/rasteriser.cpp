#include "render/rasteriser.h"

#include "render/command_decoder.h"
#include "render/disc_filler.h"
#include "render/polygon_filler.h"

namespace veldmark {

std::uint64_t DrawCommand(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* words, std::uint64_t length,
                          std::uint64_t position)
{
    DecodedCommand command;
    const std::uint64_t next = DecodeCommand(words, length, position, command);
    switch (command.kind) {
    case DecodedCommand::Kind::kDisc:
        FillDisc(target, view, command.colour, command.centre, command.radius, command.opacity);
        break;
    case DecodedCommand::Kind::kPolygon:
        FillPolygon(target, view, command.vertices, command.n, command.shade);
        break;
    case DecodedCommand::Kind::kNothing:
        break;
    }
    return next;
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
