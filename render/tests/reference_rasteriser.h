#pragma once
// A slow, obvious rasteriser written straight from the rules of the display list, for tests to
// compare the fast one against: every edge is walked on every row in the order written, every
// pixel's colour comes from one switch, nothing is prepared ahead.
#include <cstdint>

#include "render/raster_target.h"

namespace veldmark::test {

void ReferenceRasterise(const RasterTarget& target, float roll, const std::uint32_t* words,
                        std::uint64_t length);

} // namespace veldmark::test
