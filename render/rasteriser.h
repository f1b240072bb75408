#pragma once
// Decoding the display list and drawing it, command by command in stream order, over whatever
// the buffer already holds (the background).
//
// The words may come from anywhere (a host can write the list itself), so decoding trusts
// nothing: a command whose header or vertices would run past the list's length ends the list,
// words beyond the capacity are never read, and no field value (NaN, infinities, huge
// coordinates, vertex counts up to 2^32 - 1) can make it write outside the buffer.
#include <cstdint>

#include "render/raster_target.h"

namespace veldmark {

// Decodes the command whose opcode word is at `position` and draws it. Returns the position of
// the next command, or `length` when this command does not fit within the list.
std::uint64_t DrawCommand(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* words, std::uint64_t length,
                          std::uint64_t position);

// Draws every command of the list of `length` words (at most the capacity is read).
void RasteriseDisplayList(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* words, std::uint64_t length);

// The same with the view made from the frame's roll angle.
void RasteriseDisplayList(const RasterTarget& target, float roll, const std::uint32_t* words,
                          std::uint64_t length);

// The same for a frame packet's 1920 x 1200 buffer.
void RasteriseDisplayList(const std::uint32_t* words, std::uint64_t length, float roll,
                          std::uint32_t* pixels);

} // namespace veldmark
