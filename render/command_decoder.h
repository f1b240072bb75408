#pragma once
// Reading one command of a display list: its header, its vertices and the ShadeRecord its fill
// needs. Both ways of drawing a list (one command at a time, and a whole frame planned first and
// drawn a strip of rows at a time) decode through here, so they trust the words equally little:
// a command whose header or vertices would run past the list's length ends the list.
#include <cstdint>

#include "render/display_list.h"
#include "render/shade_record.h"

namespace veldmark {

struct DecodedCommand {
    enum class Kind : std::uint8_t {
        kNothing,   // draws no pixel (too few vertices, a radial fill too small, ...)
        kDisc,
        kPolygon,
    };
    Kind kind = Kind::kNothing;
    // Disc: colour, centre and radius (logical) and opacity, as written.
    std::uint32_t colour = 0;
    Vec2 centre = {0.0f, 0.0f};
    float radius = 0.0f;
    float opacity = 0.0f;
    // Polygon: 2 n words of vertices (n >= 3) and its fill.
    const std::uint32_t* vertices = nullptr;
    std::uint64_t n = 0;
    ShadeRecord shade;
};

// Decodes the command whose opcode word is at `position` (< length). Returns the position of
// the next command, or `length` when this one does not fit within the list (it is then
// kNothing).
std::uint64_t DecodeCommand(const std::uint32_t* words, std::uint64_t length,
                            std::uint64_t position, DecodedCommand& out);

} // namespace veldmark
