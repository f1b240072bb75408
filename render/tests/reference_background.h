#pragma once
// The background as plainly as it can be written, one pixel at a time over the whole buffer, for
// tests to compare the fast row, strip and vector paths against.
#include <cstdint>
#include <vector>

#include "render/display_list.h"

namespace veldmark::test {

// The sky and ground of a `width` x `height` buffer, rows top to bottom.
std::vector<std::uint32_t> ReferenceRolledSky(int width, int height, float roll, std::uint32_t zenith,
                                              std::uint32_t horizon);

// Halo and disc of the sun over `pixels` (a finite scale).
void ReferenceSun(std::vector<std::uint32_t>& pixels, int width, int height, float roll, Vec2 centre, float scale);

} // namespace veldmark::test
